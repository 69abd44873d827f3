// Screens with the game's sound bank open on the dummy device, and a probe for which
// effects were asked for: a play marks its sound as playing until it is stopped.
#pragma once

#include <string_view>

#include "audio/sound.h"
#include "embedded_assets.h"
#include "screen_fixture.h"

class SoundScreenTest : public ScreenTest {
 protected:
  static void SetUpTestSuite() {
    ScreenTest::SetUpTestSuite();
    RegisterEmbeddedResources();
    ASSERT_EQ(SoundInit(100), 1);
    LoadGameSounds();
    ASSERT_EQ(SoundList().size(), 15u);  // waits for the decoding too
  }
  static void TearDownTestSuite() {
    Sound::AppExit();
    ScreenTest::TearDownTestSuite();
  }
  void SetUp() override {
    ScreenTest::SetUp();
    ForgetPlays();
  }
  void TearDown() override {
    ForgetPlays();
    ScreenTest::TearDown();
  }

  // Stops every sound one by one (the "all" walk ends at a stopped loop).
  static void ForgetPlays() {
    for (const Sound& s : SoundList()) Sound::Stop(s.FX);
  }
  // name as the bank keeps it: lower case, no folder or extension.
  static bool Played(std::string_view name) {
    for (const Sound& s : SoundList())
      if (s.FX == name) return s.isplay == 1;
    ADD_FAILURE() << "no sound " << name;
    return false;
  }
};
