// The whole start-up, headless, to its frame loop and out again.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/startup.h"
#include "audio/sound.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/screen.h"
#include "support/frame_script.h"
#include "support/pixels.h"

namespace {

int Brightness(const Rgb& c) {
  return c.r + c.g + c.b;
}

TEST(StartupScenario, BackdropInsideThePlayAreaBlackOutsideAndEscapeLeaves) {
  FrameScript script;
  SetScreenSize(1280, 1024);
  BackgroundOn = 1;

  size_t sounds_loaded = 0;
  int menu_music_playing = -1;
  int ingame_music_playing = -1;
  int lit_inside = 0;
  Rgb outside_left, outside_top, outside_corner;
  int brightest_outside = 0;
  script.At(1, [&] {
    sounds_loaded = SoundList().size();
    menu_music_playing = Sound::IsPlaying("menu-loop");
  });
  script.At(3, [&] {
    // The backdrop is dim but not black: some probes inside must show it.
    for (int y = 128 + 10; y < 128 + 768; y += 37)
      for (int x = 128 + 10; x < 128 + 1024; x += 41)
        if (Brightness(ReadPixel(x, y)) > 0) ++lit_inside;
    outside_left = ReadPixel(60, 500);
    outside_top = ReadPixel(640, 60);
    outside_corner = ReadPixel(1279, 1023);
    for (int y = 0; y < 1024; y += 16) {
      brightest_outside = std::max(brightest_outside, Brightness(ReadPixel(127, y)));
      brightest_outside = std::max(brightest_outside, Brightness(ReadPixel(1152, y)));
    }
  });
  // The spider walks in first (91 frames); Escape is heard once it stands, and Yes in
  // the quit dialog leaves the program.
  script.At(95, [&] { ingame_music_playing = Sound::IsPlaying("ingame-loop"); })
      .Press(95, kVkEscape)
      .Press(100, 'Y')
      .StopAfter(201);  // the dialog was not seen

  int code = -1;
  ASSERT_NO_THROW(code = Startup());

  EXPECT_EQ(code, 0);
  EXPECT_EQ(script.Frames(), 100);  // Yes given during frame 100 ends the game after it
  EXPECT_GT(lit_inside, 100);
  EXPECT_EQ(sounds_loaded, 15u);
  // The game stopped the menu loop as it began and plays its own once the spider
  // stands.
  EXPECT_EQ(menu_music_playing, 0);
  EXPECT_EQ(ingame_music_playing, 1);
  EXPECT_EQ(Brightness(outside_left), 0);
  EXPECT_EQ(Brightness(outside_top), 0);
  EXPECT_EQ(Brightness(outside_corner), 0);
  EXPECT_EQ(brightest_outside, 0);
  EXPECT_EQ(ScreenOffsetX, 128);
  EXPECT_EQ(ScreenOffsetY, 128);
  // The display and the sound bank are released on the way out.
  EXPECT_FALSE(SoundDeviceOpen());
}

}  // namespace
