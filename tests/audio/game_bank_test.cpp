// The game's fifteen sounds: the load order, their channels and the music volumes.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <string>

#include "audio/test_sounds.h"
#include "embedded_assets.h"

namespace {

constexpr const char* kResources[] = {
    "res\\WoorpSND.ogg",      "res\\shot.ogg",      "res\\shot3.ogg",      "res\\BlipSND.ogg",
    "res\\TakeGrub.ogg",      "res\\Crunch1.ogg",   "res\\Crunch2.ogg",    "res\\Crunch3.ogg",
    "res\\EggPushedOff.ogg",  "res\\BonusShip.ogg", "res\\Swoosh.ogg",     "res\\Boing.ogg",
    "res\\LevelComplete.ogg", "res\\menu-loop.ogg", "res\\ingame-loop.ogg"};
constexpr const char* kNames[] = {"woorpsnd",      "shot",      "shot3",      "blipsnd",
                                  "takegrub",      "crunch1",   "crunch2",    "crunch3",
                                  "eggpushedoff",  "bonusship", "swoosh",     "boing",
                                  "levelcomplete", "menu-loop", "ingame-loop"};

class GameBankTest : public testing::Test {
 protected:
  void SetUp() override {
    Sound::AppExit();
    ClearResources();
  }
  void TearDown() override {
    Sound::AppExit();
    ClearResources();
  }

  void ExpectGameBank() {
    ASSERT_EQ(SoundInit(100), 1);
    LoadGameSounds();
    const auto& list = SoundList();
    ASSERT_EQ(list.size(), 15u);
    for (int i = 0; i < 15; ++i) {
      EXPECT_EQ(list[i].FX, kNames[i]);
      EXPECT_EQ(list[i].ChannelNr, i + 1);
      EXPECT_NE(list[i].soundFX, nullptr) << kNames[i];
      const double volume = list[i].FX == "menu-loop"     ? 0.5
                            : list[i].FX == "ingame-loop" ? 0.33
                                                          : 1.0;
      EXPECT_DOUBLE_EQ(list[i].cvolume, volume) << kNames[i];
      EXPECT_EQ(list[i].channel, -1);
    }

    // The callers' names in their own spelling reach the right channels.
    Sound::Play("menu-loop", 1);
    EXPECT_EQ(Mix_Volume(14, -1), 64);
    EXPECT_EQ(Sound::IsPlaying("menu-loop"), 1);
    Sound::Stop("menu-loop");
    Sound::Play("ingame-loop", 1);
    EXPECT_EQ(Mix_Volume(15, -1), 42);
    Sound::Play("BlipSND", 0);
    Sound::Play("BonusShip", 0);
    EXPECT_EQ(Mix_Playing(4), 1);
    EXPECT_EQ(Mix_Playing(10), 1);
  }
};

TEST_F(GameBankTest, LoadsTheFifteenResourcesInOrder) {
  for (const char* resource : kResources) RegisterSoundBytes(resource, MakeOggTone(1.0, 440));
  ExpectGameBank();
}

TEST_F(GameBankTest, EmbeddedSoundsAllDecode) {
  RegisterEmbeddedResources();
  ASSERT_TRUE(FindResource("res\\shot.ogg")) << "embedded sounds not built yet";
  ExpectGameBank();
}

}  // namespace
