// Playback on the fixed channels: replay, looping guard, volumes, stop and pause.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "audio/test_sounds.h"

namespace {

// Counts how often each channel's playback ended (by itself, halted or replaced).
std::array<std::atomic<int>, 128> finished;

void SDLCALL OnFinished(int channel) {
  if (channel >= 0 && channel < static_cast<int>(finished.size())) ++finished[channel];
}

class SoundPlayTest : public SoundBankTest {
 protected:
  void SetUp() override {
    SoundBankTest::SetUp();
    for (auto& count : finished) count = 0;
    Mix_ChannelFinished(OnFinished);
    // Channels 1..4: a long effect, the menu loop, the game loop, a very short blip.
    RegisterSoundBytes("res\\Crunch1.ogg", MakeOggTone(3.0, 300));
    RegisterSoundBytes("res\\menu-loop.ogg", MakeOggTone(1.0, 440));
    RegisterSoundBytes("res\\ingame-loop.ogg", MakeOggTone(1.0, 550));
    RegisterSoundBytes("res\\BlipSND.ogg", MakeOggTone(0.05, 880));
    for (const char* name :
         {"res\\Crunch1.ogg", "res\\menu-loop.ogg", "res\\ingame-loop.ogg", "res\\BlipSND.ogg"}) {
      ASSERT_EQ(Sound::Load(name, 1), 1) << name;
    }
  }
  void TearDown() override {
    Mix_ChannelFinished(nullptr);
    SoundBankTest::TearDown();
  }
};

TEST_F(SoundPlayTest, NamesAreLoweredExceptForIsPlaying) {
  EXPECT_EQ(Sound::Play("Menu-Loop", 1), 0);
  const Sound* menu = FindSound("menu-loop");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->channel, 2);
  EXPECT_EQ(menu->isplay, 1);
  EXPECT_EQ(menu->loop, 1);
  EXPECT_EQ(Mix_Playing(2), 1);

  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 1);
  EXPECT_EQ(Sound::IsPlaying("Menu-Loop"), 0);
  EXPECT_EQ(Sound::IsPlaying("res\\menu-loop.ogg"), 0);
  EXPECT_EQ(Sound::IsPlaying("ingame-loop"), 0);  // never played: no channel
}

TEST_F(SoundPlayTest, LoopingPlayWhilePlayingDoesNotRestart) {
  Sound::Play("menu-loop", 1);
  ASSERT_EQ(Mix_Playing(2), 1);
  Sound::Play("menu-loop", 1);
  Sound::Play("MENU-LOOP", 1);
  EXPECT_EQ(finished[2], 0);
  EXPECT_EQ(Mix_Playing(2), 1);

  // A one-shot call is not guarded: it replaces the loop on the same channel.
  Sound::Play("menu-loop", 0);
  EXPECT_EQ(finished[2], 1);
  EXPECT_EQ(FindSound("menu-loop")->loop, 0);
}

TEST_F(SoundPlayTest, OneShotReplayRestartsOnItsOwnChannel) {
  Sound::Play("Crunch1", 0);
  ASSERT_EQ(Mix_Playing(1), 1);
  Sound::Play("crunch1", 0);
  EXPECT_EQ(finished[1], 1);  // the first playback was cut off
  EXPECT_EQ(Mix_Playing(1), 1);
  EXPECT_EQ(FindSound("crunch1")->channel, 1);
  // Other sounds' channels were not touched.
  for (int ch = 2; ch <= 4; ++ch) EXPECT_EQ(Mix_Playing(ch), 0) << ch;
}

TEST_F(SoundPlayTest, OneShotEndingByItselfKeepsItsBookkeeping) {
  Sound::Play("blipsnd", 0);
  const Uint32 start = SDL_GetTicks();
  while (Sound::IsPlaying("blipsnd") == 1 && SDL_GetTicks() - start < 3000) SDL_Delay(10);
  EXPECT_EQ(Sound::IsPlaying("blipsnd"), 0);
  const Sound* blip = FindSound("blipsnd");
  EXPECT_EQ(blip->isplay, 1);
  EXPECT_EQ(blip->channel, 4);

  // Still marked as playing, so a looping call does nothing...
  Sound::Play("blipsnd", 1);
  EXPECT_EQ(Mix_Playing(4), 0);
  // ...while a one-shot call plays it again.
  Sound::Play("blipsnd", 0);
  EXPECT_EQ(Mix_Playing(4), 1);
}

TEST_F(SoundPlayTest, VolumeIsMasterTimesOwnVolume) {
  Sound::ChannelVolume("Menu-Loop", 50);  // before the first playback
  Sound::ChannelVolume("ingame-loop", 33);
  EXPECT_DOUBLE_EQ(FindSound("menu-loop")->cvolume, 0.5);
  Sound::Play("menu-loop", 1);
  Sound::Play("ingame-loop", 1);
  EXPECT_EQ(Mix_Volume(2, -1), 64);
  EXPECT_EQ(Mix_Volume(3, -1), 42);

  Sound::GlobalVolume(50);
  EXPECT_EQ(Mix_Volume(2, -1), 32);
  EXPECT_EQ(Mix_Volume(3, -1), 21);
  Sound::Play("crunch1", 0);  // master applies to a new playback too
  EXPECT_EQ(Mix_Volume(1, -1), 64);

  // Out-of-range percentages are kept but clamped on the channel.
  Sound::GlobalVolume(100);
  Sound::ChannelVolume("crunch1", 250);
  EXPECT_EQ(Mix_Volume(1, -1), MIX_MAX_VOLUME);
  Sound::ChannelVolume("crunch1", -20);
  EXPECT_EQ(Mix_Volume(1, -1), 0);
  EXPECT_DOUBLE_EQ(FindSound("crunch1")->cvolume, -0.2);
}

TEST_F(SoundPlayTest, StopEndsPlaybackAndForgetsTheChannel) {
  Sound::Stop("menu-loop");  // never started: nothing happens
  EXPECT_EQ(FindSound("menu-loop")->channel, -1);
  EXPECT_EQ(finished[2], 0);

  Sound::Play("menu-loop", 1);
  Sound::Stop("MENU-loop");
  const Sound* menu = FindSound("menu-loop");
  EXPECT_EQ(menu->channel, -1);
  EXPECT_EQ(menu->isplay, 0);
  EXPECT_EQ(menu->count, 0);
  EXPECT_EQ(Mix_Playing(2), 0);
  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 0);

  Sound::Stop("menu-loop");     // stopped loop: returns at once, harmless
  Sound::Play("menu-loop", 1);  // and it can start again
  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 1);
}

TEST_F(SoundPlayTest, StopAllReturnsEarlyAtAPausedLoop) {
  Sound::Play("crunch1", 0);
  Sound::Play("menu-loop", 1);
  Sound::Pause("menu-loop", 0);
  Sound::Play("ingame-loop", 1);

  Sound::Stop("all");
  EXPECT_EQ(FindSound("crunch1")->channel, -1);  // before the paused loop: stopped
  EXPECT_EQ(Mix_Playing(1), 0);
  EXPECT_EQ(FindSound("menu-loop")->channel, 2);  // the paused loop and all after it: untouched
  EXPECT_EQ(Mix_Paused(2), 1);
  EXPECT_EQ(FindSound("ingame-loop")->isplay, 1);
  EXPECT_EQ(Sound::IsPlaying("ingame-loop"), 1);

  Sound::Pause("menu-loop", 1);
  Sound::Stop("ALL");
  for (const Sound& sound : SoundList()) {
    EXPECT_EQ(sound.channel, -1) << sound.FX;
    EXPECT_EQ(sound.isplay, 0) << sound.FX;
  }
  for (int ch = 1; ch <= 4; ++ch) EXPECT_EQ(Mix_Playing(ch), 0) << ch;
}

TEST_F(SoundPlayTest, PauseAndResume) {
  Sound::Pause("menu-loop", 0);  // no channel yet: nothing
  EXPECT_EQ(FindSound("menu-loop")->isplay, 0);

  Sound::ChannelVolume("menu-loop", 50);
  Sound::Play("menu-loop", 1);
  Sound::Play("crunch1", 0);
  Sound::Pause("All", 0);
  EXPECT_EQ(Mix_Paused(1), 1);
  EXPECT_EQ(Mix_Paused(2), 1);
  EXPECT_EQ(FindSound("menu-loop")->isplay, 0);
  EXPECT_EQ(FindSound("ingame-loop")->isplay, 0);  // never played, still without channel
  EXPECT_EQ(FindSound("ingame-loop")->channel, -1);

  Sound::GlobalVolume(50);  // while paused
  Sound::Pause("Menu-Loop", 7);
  EXPECT_EQ(Mix_Paused(2), 0);
  EXPECT_EQ(Mix_Paused(1), 1);
  EXPECT_EQ(FindSound("menu-loop")->isplay, 1);
  EXPECT_EQ(Mix_Volume(2, -1), 32);

  // A paused loop is no longer marked as playing, so a looping call starts it afresh.
  Sound::Pause("menu-loop", 0);
  Sound::Play("menu-loop", 1);
  EXPECT_EQ(Mix_Paused(2), 0);
  EXPECT_EQ(finished[2], 1);
  EXPECT_EQ(Sound::IsPlaying("menu-loop"), 1);
}

TEST_F(SoundPlayTest, UnknownNamesDoNothing) {
  EXPECT_EQ(Sound::Play("nosuch", 0), 0);
  EXPECT_EQ(Sound::Play("", 1), 0);
  EXPECT_EQ(Sound::ChannelVolume("nosuch", 10), 0);
  EXPECT_EQ(Sound::Pause("nosuch", 0), 0);
  EXPECT_EQ(Sound::Stop("nosuch"), 0);
  EXPECT_EQ(Sound::IsPlaying("nosuch"), 0);
  for (const Sound& sound : SoundList()) {
    EXPECT_EQ(sound.channel, -1);
    EXPECT_DOUBLE_EQ(sound.cvolume, 1.0);
  }
}

TEST(SoundChannelsTest, SoundBeyondTheAllocatedChannelsStaysSilent) {
  Sound::AppExit();
  ClearResources();
  ASSERT_EQ(SoundInit(3), 1);  // channels 0 to 2
  RegisterSoundBytes("res\\x.ogg", MakeOggTone(1.0, 440));
  RegisterSoundBytes("res\\y.ogg", MakeOggTone(1.0, 440));
  ASSERT_EQ(Sound::Load("res\\x.ogg", 1), 1);
  ASSERT_EQ(Sound::Load("res\\missing.ogg", 1), 0);
  ASSERT_EQ(Sound::Load("res\\y.ogg", 1), 1);  // channel 3

  Sound::Play("y", 0);
  EXPECT_EQ(FindSound("y")->channel, -1);
  EXPECT_EQ(Sound::IsPlaying("y"), 0);
  Sound::Play("x", 1);
  EXPECT_EQ(Sound::IsPlaying("x"), 1);
  Sound::Stop("all");
  EXPECT_EQ(Sound::IsPlaying("x"), 0);
  Sound::AppExit();
  ClearResources();
}

}  // namespace
