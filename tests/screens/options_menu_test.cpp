// The options menu: what each row does to the sound, the music, the drawing state and
// the display, and the glow adjustment screen it opens.
#include "screens/options_menu.h"

#include <string>
#include <vector>

#include "platform/window.h"
#include "screens/glow_screen.h"
#include "sound_probe.h"

namespace {

class OptionsTest : public SoundScreenTest {
 protected:
  void TearDown() override {
    PlatformPretendDesktop(0, 0);
    if (ScreenWidth != 1024 || ScreenHeight != 768) ChangeDisplaySize(1024, 768);
    GlowAmount = 0;
    RecomputeGlowWidths();
    SoundScreenTest::TearDown();
  }

  // Down presses from row 1 to `row`, one a frame from frame 1; gives the next frame.
  int MoveTo(int row) {
    for (int f = 1; f < row; ++f) script.Press(f, KeyMoveDown);
    return row;
  }
};

TEST_F(OptionsTest, UpFromTheFirstRowWrapsToReturnAndDownFromThereBack) {
  std::vector<int> rows;
  script.EachFrame([&](int) { rows.push_back(OptionsRow); });
  script.Press(1, KeyMoveUp).Press(2, KeyMoveDown).Press(3, KeyMoveUp).Press(4, kVkEnter);
  OptionsMenu();  // Enter on "return to mainmenu" leaves
  // Each frame records the row before that frame's press is seen.
  EXPECT_EQ(rows, (std::vector<int>{1, 13, 1, 13}));
  EXPECT_EQ(script.Frames(), 4);
}

TEST_F(OptionsTest, TheGlowRowOpensTheGlowScreenOnlyInNeon) {
  for (int neon : {0, 1}) {
    SCOPED_TRACE(neon);
    script.Restart();
    NeonMode = neon;
    SoundOn = 1;
    GlowSpin = -1;  // the glow screen sets it to 0 when it opens
    const int f = MoveTo(10);
    script.At(f, [] { ForgetPlays(); }).Press(f, kVkEnter);
    bool crunch = false, blip = false;
    double spin = 0;
    script.At(f + 1, [&] {
      crunch = Played("crunch1");
      blip = Played("blipsnd");
      spin = GlowSpin;
    });
    script.StopAfter(f + 1);
    EXPECT_THROW(OptionsMenu(), ScriptStop);
    EXPECT_EQ(crunch, neon == 0);
    EXPECT_EQ(blip, neon == 1);
    if (neon == 1)
      EXPECT_GE(spin, 0);
    else
      EXPECT_EQ(spin, -1);  // wire mode stays in the options
    EXPECT_EQ(OptionsRow, 10);
  }
}

TEST_F(OptionsTest, SoundOffBlipsBeforeTheChangeAndOnIsSilent) {
  SoundOn = 1;
  const int f = MoveTo(11);
  script.At(f, [] { ForgetPlays(); }).Press(f, kVkEnter);
  bool blip_off = false, blip_on = true;
  int sound_after_off = -1, sound_after_on = -1;
  script.At(f + 1, [&] {
    blip_off = Played("blipsnd");
    sound_after_off = SoundOn;
    ForgetPlays();
  });
  script.Press(f + 1, kVkEnter).At(f + 2, [&] {
    blip_on = Played("blipsnd");
    sound_after_on = SoundOn;
  });
  script.StopAfter(f + 2);
  EXPECT_THROW(OptionsMenu(), ScriptStop);
  EXPECT_TRUE(blip_off);
  EXPECT_EQ(sound_after_off, 0);
  EXPECT_FALSE(blip_on);
  EXPECT_EQ(sound_after_on, 1);
}

TEST_F(OptionsTest, TheMusicFollowsItsSwitchAtOnce) {
  MusicOn = 1;
  Sound::Play("menu-loop", 1);
  ASSERT_EQ(Sound::IsPlaying("menu-loop"), 1);
  const int f = MoveTo(12);
  int after_off = -1, after_on = -1;
  script.Press(f, kVkEnter).At(f + 1, [&] { after_off = Sound::IsPlaying("menu-loop"); });
  script.Press(f + 1, kVkEnter).At(f + 2, [&] { after_on = Sound::IsPlaying("menu-loop"); });
  script.StopAfter(f + 2);
  EXPECT_THROW(OptionsMenu(), ScriptStop);
  EXPECT_EQ(after_off, 0);
  EXPECT_EQ(after_on, 1);
  EXPECT_EQ(MusicOn, 1);
  Sound::Stop("menu-loop");
  MusicOn = 0;
}

TEST_F(OptionsTest, BackdropFpsAndModeRowsFlipTheirSwitches) {
  int backdrop = -1, fps = -1, neon = -1;
  script.Press(1, KeyMoveDown).Press(2, KeyMoveDown).Press(3, KeyMoveDown);
  script.Press(4, KeyMoveDown).Press(5, KeyMoveDown).Press(6, KeyMoveDown);  // row 7
  script.Press(7, kVkEnter).At(8, [&] { backdrop = BackgroundOn; });
  script.Press(8, KeyMoveDown).Press(9, kVkEnter).At(10, [&] { fps = ShowFPS; });
  script.Press(10, KeyMoveDown).Press(11, kVkEnter).At(12, [&] { neon = NeonMode; });
  script.Press(12, kVkEscape);
  OptionsMenu();
  EXPECT_EQ(backdrop, 1);
  EXPECT_EQ(fps, 1);
  EXPECT_EQ(neon, 1);
  ShowFPS = 0;
}

// Each size row reopens the window at its size with the play area centred, and leaves
// the drawing state as the mode wants it: solid lines in wire, additive strips in neon.
TEST_F(OptionsTest, ASizeRowReopensTheWindowCentredWithTheModesBlend) {
  struct Case {
    int row, width, height, x, y;
  };
  const Case cases[] = {{2, 1280, 1024, 128, 128},
                        {3, 1440, 900, 208, 66},
                        {4, 1680, 1050, 328, 141},
                        {1, 1024, 768, 0, 0}};
  for (int neon : {0, 1}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.row) + (neon ? " neon" : " wire"));
      script.Restart();
      NeonMode = neon;
      SetBlend(BLEND_ADD);  // as start-up leaves it in both modes
      const int f = MoveTo(c.row);
      int width = 0, height = 0;
      DrawState state;
      script.Press(f, kVkEnter).At(f + 1, [&] {
        width = PlatformWindowWidth();
        height = PlatformWindowHeight();
        state = CurrentDrawState();
      });
      script.Press(f + 1, kVkEscape);
      OptionsMenu();
      EXPECT_EQ(width, c.width);
      EXPECT_EQ(height, c.height);
      EXPECT_EQ(ScreenOffsetX, c.x);
      EXPECT_EQ(ScreenOffsetY, c.y);
      EXPECT_EQ(SavedOffsetY, c.y);
      EXPECT_EQ(state.blend_mode, neon ? BLEND_ADD : BLEND_SOLID);
      EXPECT_EQ(state.viewport_x, c.x);
      EXPECT_EQ(state.viewport_y, c.y);
      EXPECT_EQ(state.viewport_w, 1024);
      EXPECT_EQ(state.viewport_h, 768);
    }
  }
}

TEST_F(OptionsTest, FlippingTheModeResetsTheBlend) {
  SetBlend(BLEND_ADD);
  std::vector<int> blends;
  const int f = MoveTo(9);
  script.Press(f, kVkEnter).At(f + 1, [&] { blends.push_back(CurrentDrawState().blend_mode); });
  script.Press(f + 1, kVkEnter).At(f + 2, [&] { blends.push_back(CurrentDrawState().blend_mode); });
  script.Press(f + 2, kVkEscape);
  OptionsMenu();
  EXPECT_EQ(blends, (std::vector<int>{BLEND_ADD, BLEND_SOLID}));  // neon, then wire again
  EXPECT_EQ(NeonMode, 0);
}

TEST_F(OptionsTest, ASizeTheDesktopCannotHoldKeepsTheWindowAndSaysSo) {
  PlatformPretendDesktop(1440, 900);
  SetBlend(BLEND_SOLID);
  const int f = MoveTo(4);  // 1680x1050
  int width = 0, height = 0;
  script.Press(f, kVkEnter).At(f + 1, [&] {
    width = PlatformWindowWidth();
    height = PlatformWindowHeight();
  });
  // The next smaller size fits exactly.
  int fitted_width = 0;
  script.Press(f + 1, KeyMoveUp).Press(f + 2, kVkEnter).At(f + 3, [&] {
    fitted_width = PlatformWindowWidth();
  });
  script.Press(f + 3, kVkEscape);
  testing::internal::CaptureStderr();
  OptionsMenu();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(width, 1024);
  EXPECT_EQ(height, 768);
  EXPECT_NE(said.find("1680x1050"), std::string::npos) << said;
  EXPECT_NE(said.find("staying at 1024x768"), std::string::npos) << said;
  EXPECT_EQ(fitted_width, 1440);
  EXPECT_EQ(ScreenOffsetX, 208);
}

// The glow screen: clamped at both ends, silent there, and the widths follow at once.
TEST_F(OptionsTest, GlowStopsAtBothEndsAndTheWidthsFollowAtOnce) {
  NeonMode = 1;
  SoundOn = 1;
  GlowAmount = -2;
  RecomputeGlowWidths();
  const int width_at_minus_two = GlowWidth24;
  std::vector<int> amounts, widths;
  std::vector<bool> crunches;
  script.EachFrame([&](int) {
    amounts.push_back(GlowAmount);
    widths.push_back(GlowWidth24);
    crunches.push_back(Played("crunch1"));
    ForgetPlays();
  });
  script.Press(1, KeyMoveLeft).Press(2, KeyMoveLeft);          // -3, then nothing
  for (int f = 3; f <= 9; ++f) script.Press(f, KeyMoveRight);  // up to 3, then nothing
  script.Press(10, kVkEscape);
  GlowScreen();
  EXPECT_EQ(amounts, (std::vector<int>{-2, -3, -3, -2, -1, 0, 1, 2, 3, 3}));
  // A press is seen after the frame it came in; the two refused ones are silent.
  EXPECT_EQ(crunches,
            (std::vector<bool>{false, true, false, true, true, true, true, true, true, false}));
  EXPECT_LT(widths[1], width_at_minus_two);  // -3 narrower, already on the next frame
  EXPECT_EQ(widths[2], widths[1]);
  EXPECT_GT(widths[8], widths[5]);  // 3 wider than 0
  EXPECT_EQ(widths[9], widths[8]);
  EXPECT_EQ(GlowAmount, 3);
}

// An amount from a damaged file is stepped from the end the widths already use.
TEST_F(OptionsTest, AGlowAmountOutOfRangeIsSteppedFromTheNearerEnd) {
  NeonMode = 1;
  GlowAmount = 9;
  int shown = 0;
  script.At(1, [&] { shown = GlowAmount; }).Press(1, KeyMoveLeft).Press(3, kVkEscape);
  GlowScreen();
  EXPECT_EQ(shown, 3);
  EXPECT_EQ(GlowAmount, 2);
}

TEST_F(OptionsTest, CentredLinePadsUntilLongerThanFortyEightCharacters) {
  EXPECT_EQ(CentredColumn("Glow amount: normal"), 1 + 15);  // 19 + 2 x 15 = 49
  EXPECT_EQ(CentredColumn(std::string(47, 'x')), 2);
  EXPECT_EQ(CentredColumn(std::string(48, 'x')), 2);
  EXPECT_EQ(CentredColumn(std::string(49, 'x')), 1);
  EXPECT_EQ(GlowAmountText(-3), "Glow amount: minimal");
  EXPECT_EQ(GlowAmountText(3), "Glow amount: too much :-)");
}

// Leaving the glow screen with Return comes back to the options on the glow row, not
// out of them: the held-fire exit from that row is dropped.
TEST_F(OptionsTest, TheControlRowOpensTheControlSelectionAndComesBackToIt) {
  ControlScheme = 0;
  const int f = MoveTo(6);
  int row_after = -1;
  // In the selection: down to the twin stick, then out with Escape.
  script.Press(f, kVkEnter).Press(f + 2, KeyMoveDown).Press(f + 4, kVkEscape);
  script.At(f + 6, [&] { row_after = OptionsRow; }).StopAfter(f + 6);
  EXPECT_THROW(OptionsMenu(), ScriptStop);
  EXPECT_EQ(ControlScheme, 1);
  EXPECT_EQ(row_after, 6);
  ControlScheme = 0;
}

TEST_F(OptionsTest, LeavingTheGlowScreenReturnsToTheOptions) {
  NeonMode = 1;
  const int f = MoveTo(10);
  int row_after = -1;
  script.Press(f, kVkEnter).Press(f + 2, kVkEnter).Hold(f + 2, KeyFireUp);
  script.At(f + 4, [&] { row_after = OptionsRow; }).StopAfter(f + 4);
  EXPECT_THROW(OptionsMenu(), ScriptStop);
  EXPECT_EQ(row_after, 10);
}

}  // namespace
