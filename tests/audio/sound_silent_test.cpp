// A bank without an audio device: it loads, keeps its bookkeeping and plays nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "audio/test_sounds.h"

namespace {

class SilentBankTest : public testing::Test {
 protected:
  void SetUp() override {
    Sound::AppExit();
    ClearResources();
    RegisterSoundBytes("res\\Crunch1.ogg", MakeOggTone(0.5, 300));
    RegisterSoundBytes("res\\menu-loop.ogg", MakeOggTone(0.5, 440));
    RegisterSoundBytes("res\\text.ogg", std::vector<unsigned char>(16, 'x'));
  }
  void TearDown() override {
    Sound::AppExit();
    ClearResources();
  }

  // Opens the bank with an audio driver that does not exist.
  int InitWithoutDevice() {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const int opened = SoundInit(100);
    if (saved) {
      setenv("SDL_AUDIODRIVER", saved->c_str(), 1);
    } else {
      unsetenv("SDL_AUDIODRIVER");
    }
    return opened;
  }

  // Runs the game's whole repertoire of calls on the silent bank.
  void ExpectBookkeepingWithoutSound() {
    EXPECT_FALSE(SoundDeviceOpen());
    EXPECT_EQ(Sound::Load("res\\Crunch1.ogg", 1), 1);
    EXPECT_EQ(Sound::Load("res\\missing.ogg", 1), 0);
    EXPECT_EQ(Sound::Load("res\\menu-loop.ogg", 1), 1);
    ASSERT_EQ(SoundList().size(), 2u);
    EXPECT_EQ(SoundList()[1].ChannelNr, 3);
    EXPECT_EQ(SoundList()[1].soundFX, nullptr);

    Sound::ChannelVolume("menu-loop", 50);
    Sound::Play("Menu-Loop", 1);
    Sound::Play("crunch1", 0);
    const Sound* menu = FindSound("menu-loop");
    EXPECT_EQ(menu->channel, 3);
    EXPECT_EQ(menu->isplay, 1);
    EXPECT_EQ(menu->loop, 1);
    EXPECT_DOUBLE_EQ(menu->cvolume, 0.5);
    EXPECT_EQ(Sound::IsPlaying("menu-loop"), 0);  // nothing really plays
    EXPECT_EQ(Sound::IsPlaying("crunch1"), 0);

    Sound::GlobalVolume(20);
    Sound::Pause("all", 0);
    EXPECT_EQ(menu->isplay, 0);
    Sound::Stop("all");  // early return at the paused loop
    EXPECT_EQ(FindSound("crunch1")->channel, -1);
    EXPECT_EQ(menu->channel, 3);
    Sound::Pause("all", 1);
    EXPECT_EQ(menu->isplay, 1);
    Sound::Stop("menu-loop");
    EXPECT_EQ(menu->channel, -1);
    EXPECT_EQ(menu->isplay, 0);
    EXPECT_EQ(Sound::AppExit(), 0);
    EXPECT_EQ(Sound::AppExit(), 0);
    EXPECT_TRUE(SoundList().empty());
  }
};

TEST_F(SilentBankTest, NoAudioDevice) {
  EXPECT_EQ(InitWithoutDevice(), 0);
  ExpectBookkeepingWithoutSound();
}

TEST_F(SilentBankTest, NeverInitialised) {
  ExpectBookkeepingWithoutSound();
}

TEST_F(SilentBankTest, CannotTellBadBytesFromSoundWithoutDecoder) {
  // Without a device nothing is decoded, so any non-empty resource loads.
  EXPECT_EQ(InitWithoutDevice(), 0);
  EXPECT_EQ(Sound::Load("res\\text.ogg", 1), 1);
  EXPECT_EQ(Sound::Load("", 1), 0);
  EXPECT_EQ(Sound::Load("/", 1), 0);  // a folder
}

TEST_F(SilentBankTest, DeviceCanOpenAfterAFailedAttempt) {
  EXPECT_EQ(InitWithoutDevice(), 0);
  EXPECT_EQ(SoundInit(100), 1);
  EXPECT_TRUE(SoundDeviceOpen());
  EXPECT_EQ(SoundInit(100), 1);  // a second call keeps the open device
  ASSERT_EQ(Sound::Load("res\\Crunch1.ogg", 1), 1);
  Sound::Play("crunch1", 0);
  EXPECT_EQ(Sound::IsPlaying("crunch1"), 1);
}

}  // namespace
