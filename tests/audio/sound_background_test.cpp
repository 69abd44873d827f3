// The music loops decode in the background: calls made before their samples arrive must
// end up exactly where they would have with the samples at hand.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <vector>

#include "audio/test_sounds.h"
#include "embedded_assets.h"

namespace {

class BackgroundDecodeTest : public SoundBankTest {
 protected:
  void SetUp() override {
    SoundBankTest::SetUp();
    RegisterEmbeddedResources();
    ASSERT_TRUE(FindResource("res\\menu-loop.ogg")) << "embedded sounds not built yet";
    // Channels 1 and 2; the second waits behind the first in the decoder.
    ASSERT_EQ(Sound::Load("res\\menu-loop.ogg", 1), 1);
    ASSERT_EQ(Sound::Load("res\\ingame-loop.ogg", 1), 1);
  }
};

TEST_F(BackgroundDecodeTest, EarlyPlayStopAndVolumeComeOutAsIfDecodedAtOnce) {
  Sound::ChannelVolume("menu-loop", 50);
  Sound::Play("Menu-Loop", 1);
  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 1);  // asked for, so a caller may stop it
  Sound::Play("ingame-loop", 1);
  Sound::ChannelVolume("ingame-loop", 33);
  // What the game does when a game starts: stop the menu music, start the game's.
  Sound::Stop("menu-loop");
  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 0);
  EXPECT_EQ(Sound::IsPlaying("ingame-loop"), 1);

  const std::vector<Sound>& list = SoundList();  // waits for both
  ASSERT_EQ(list.size(), 2u);
  for (const Sound& sound : list) {
    EXPECT_NE(sound.soundFX, nullptr) << sound.FX;
    EXPECT_EQ(sound.decoding, 0) << sound.FX;
    EXPECT_EQ(sound.startPending, 0) << sound.FX;
  }
  EXPECT_EQ(list[0].channel, -1);
  EXPECT_EQ(list[0].isplay, 0);
  EXPECT_EQ(Mix_Playing(1), 0);  // the stopped request never sounds
  EXPECT_EQ(list[1].channel, 2);
  EXPECT_EQ(list[1].isplay, 1);
  EXPECT_EQ(list[1].loop, 1);
  EXPECT_EQ(Mix_Playing(2), 1);
  EXPECT_EQ(Mix_Volume(2, -1), 42);  // the volume set while it waited

  // Once there, it is an ordinary loop: a second looping Play does not restart it.
  Sound::Play("ingame-loop", 1);
  EXPECT_EQ(Mix_Playing(2), 1);
  Sound::Stop("ingame-loop");
  EXPECT_EQ(Mix_Playing(2), 0);
}

TEST_F(BackgroundDecodeTest, PausedBeforeTheSamplesArriveResumesIntoPlayback) {
  Sound::Play("ingame-loop", 1);
  Sound::Pause("ingame-loop", 0);
  const Sound* game = &SoundList()[1];
  EXPECT_EQ(game->isplay, 0);
  EXPECT_EQ(game->channel, 2);
  // A paused loop is not marked as playing: Stop returns at it.
  Sound::Stop("ingame-loop");
  EXPECT_EQ(game->channel, 2);

  Sound::GlobalVolume(50);
  Sound::Pause("all", 1);
  EXPECT_EQ(game->isplay, 1);
  EXPECT_EQ(game->startPending, 0);
  EXPECT_EQ(Mix_Playing(2), 1);
  EXPECT_EQ(Mix_Paused(2), 0);
  EXPECT_EQ(Mix_Volume(2, -1), 64);  // the master volume set while it waited
  EXPECT_EQ(Mix_Playing(1), 0);      // the menu loop was never asked for
}

TEST_F(BackgroundDecodeTest, AppExitWhileDecodingLeavesAWorkingBank) {
  Sound::Play("menu-loop", 1);
  Sound::Play("ingame-loop", 0);
  EXPECT_EQ(Sound::AppExit(), 0);
  EXPECT_FALSE(SoundDeviceOpen());
  EXPECT_TRUE(SoundList().empty());

  ASSERT_EQ(SoundInit(100), 1);
  ASSERT_EQ(Sound::Load("res\\ingame-loop.ogg", 1), 1);
  Sound::Play("ingame-loop", 1);
  ASSERT_EQ(SoundList().size(), 1u);
  EXPECT_EQ(SoundList()[0].ChannelNr, 1);  // the load counter started afresh
  EXPECT_EQ(Mix_Playing(1), 1);
}

TEST(BackgroundDecodeLoadTest, LargeBytesThatAreNoSoundStillFailAtLoad) {
  Sound::AppExit();
  ClearResources();
  ASSERT_EQ(SoundInit(100), 1);
  RegisterSoundBytes("res\\big.ogg", std::vector<unsigned char>(512 * 1024, 'x'));
  RegisterSoundBytes("res\\after.ogg", MakeOggTone(0.2, 440));
  EXPECT_EQ(Sound::Load("res\\big.ogg", 1), 0);
  EXPECT_EQ(Sound::Load("res\\after.ogg", 1), 1);
  ASSERT_EQ(SoundList().size(), 1u);
  EXPECT_EQ(SoundList()[0].ChannelNr, 2);
  Sound::AppExit();
  ClearResources();
}

}  // namespace
