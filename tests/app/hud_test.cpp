// The heads-up display: what it shows where, the extra lives and the FPS counter.
#include "app/hud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "arena/level_state.h"
#include "audio/sound_switches.h"
#include "platform/clock.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

constexpr std::uint32_t kYellow = 0xFFFFFF00u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBonusRed = 0xFFFF3020u;
constexpr std::uint32_t kFpsBlue = 0xFF4043FFu;
constexpr double kPixelCentre = 0.5;

class Hud : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    LoadFont();
  }
  static void TearDownTestSuite() { CloseDisplay(); }
  void SetUp() override {
    UseVirtualClock(1000);
    NeonMode = 0;  // wire lines log their colour, which tells the texts apart
    SoundOn = 0;
    ShowFPS = 0;
    Score = 0;
    Lives = 3;
    Level = 1;
    NextBonusAt = 20000;
    BonusBlink = 0;
    ResetFpsTimeBase();
    FpsFrameTally = 0;
    EnableDrawLog(true);
    ClearDrawLog();
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    UseRealClock();
  }
  // Wire lines drawn in this colour since the log was cleared.
  static std::vector<DrawEntry> LinesIn(std::uint32_t argb) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == DrawKind::Line && e.argb == argb) out.push_back(e);
    return out;
  }
  // A vertical line (the glyph "1") centred at play-area x; lines sit on pixel centres.
  static bool HasVerticalAt(const std::vector<DrawEntry>& lines, double x) {
    x += kPixelCentre;
    for (const DrawEntry& e : lines)
      if (e.points.size() == 2 && std::fabs(e.points[0].x - x) < 0.01 &&
          std::fabs(e.points[1].x - x) < 0.01 && std::fabs(e.points[0].y - e.points[1].y) > 10)
        return true;
    return false;
  }
  static std::vector<DrawEntry> ScoreLines() {
    std::vector<DrawEntry> top;
    for (const DrawEntry& e : LinesIn(kYellow))
      if (e.points[0].y < 100) top.push_back(e);
    return top;
  }
};

// The score cell: column 7 at scale 0.66, one character every 18.48 pixels.
double ScoreCharX(int slot) {
  return 7 * 28 * 0.66 + slot * 28 * 0.66;
}

TEST_F(Hud, ScoreIsRightAlignedInEightCharacters) {
  Score = 123;
  DrawHud(1);
  const std::vector<DrawEntry> lines = ScoreLines();
  // "     123": the "1" stands in the sixth cell, nothing left of it.
  EXPECT_TRUE(HasVerticalAt(lines, ScoreCharX(5)));
  double left = 1e9;
  for (const DrawEntry& e : lines)
    for (const DrawVertex& v : e.points) left = std::min(left, v.x);
  EXPECT_NEAR(left, ScoreCharX(5) + kPixelCentre, 0.01);
  EXPECT_EQ(lines.size(), 1u + 5u + 5u);  // glyphs "1", "2", "3"
}

TEST_F(Hud, LongScoreKeepsItsLastEightDigits) {
  Score = 900000001;
  DrawHud(1);
  const std::vector<DrawEntry> lines = ScoreLines();
  // "00000001": seven four-line zeros and the one; a leading "9" would add a fifth line.
  EXPECT_EQ(lines.size(), 7u * 4u + 1u);
  EXPECT_TRUE(HasVerticalAt(lines, ScoreCharX(7)));
}

// The award is a rule of its own; the HUD only shows what it gave.
TEST_F(Hud, ExtraLivesComeOnePerAwardAndTheHudGivesNone) {
  Score = 45000;  // past 20000 and 40000 at once
  DrawHud(1);
  EXPECT_EQ(Lives, 3);
  AwardExtraLife();
  EXPECT_EQ(Lives, 4);
  EXPECT_EQ(NextBonusAt, 40000);
  AwardExtraLife();
  EXPECT_EQ(Lives, 5);
  EXPECT_EQ(NextBonusAt, 60000);
  AwardExtraLife();
  EXPECT_EQ(Lives, 5);
  EXPECT_EQ(NextBonusAt, 60000);
  Score = 59999;
  AwardExtraLife();
  EXPECT_EQ(Lives, 5);
  Score = 60000;  // reaching it exactly is enough
  AwardExtraLife();
  EXPECT_EQ(Lives, 6);
}

TEST_F(Hud, LivesShowADigitUpToNineThenAPlus) {
  Lives = 9;
  DrawHud(1);
  EXPECT_EQ(LinesIn(kWhite).size(), 5u);  // the "9"
  ClearDrawLog();
  Lives = 10;
  DrawHud(1);
  const std::vector<DrawEntry> plus = LinesIn(kWhite);
  ASSERT_EQ(plus.size(), 2u);
  // "+" at column 22.81, row 2.6 on the half-scale grid.
  const double cx = 22.81 * 28 * 0.5 + kPixelCentre;
  const double cy = 2.6 * 28 * 0.5 + kPixelCentre;
  EXPECT_NEAR((plus[0].points[0].x + plus[0].points[1].x) / 2, cx, 0.01);
  EXPECT_NEAR((plus[0].points[0].y + plus[0].points[1].y) / 2, cy, 0.01);
}

TEST_F(Hud, BonusLineBlinksOnlyWhileBlinkingIsOn) {
  for (int i = 0; i < 30; ++i) DrawHud(1);
  EXPECT_TRUE(LinesIn(kBonusRed).empty());
  DrawHud(1);  // the 31st frame shows it
  EXPECT_FALSE(LinesIn(kBonusRed).empty());
  // Frozen: stays shown, counter untouched.
  ClearDrawLog();
  for (int i = 0; i < 100; ++i) DrawHud(0);
  EXPECT_EQ(BonusBlink, 31);
  EXPECT_FALSE(LinesIn(kBonusRed).empty());
  // Back to play: visible up to 60, then hidden again.
  for (int i = 0; i < 29; ++i) DrawHud(1);
  EXPECT_EQ(BonusBlink, 60);
  ClearDrawLog();
  DrawHud(1);
  EXPECT_EQ(BonusBlink, 0);
  EXPECT_TRUE(LinesIn(kBonusRed).empty());
  // A hidden line stays hidden through a frozen scene.
  ClearDrawLog();
  for (int i = 0; i < 50; ++i) DrawHud(0);
  EXPECT_TRUE(LinesIn(kBonusRed).empty());
}

TEST_F(Hud, FpsIsSampledOncePerFrame) {
  ShowFPS = 1;
  int frames = 0;
  // 16 ms frames: the first window closes on frame 32 (512 ms after the base).
  while (FpsValue == 0 && frames < 100) {
    Delay(16);
    DrawHud(1);
    ++frames;
  }
  EXPECT_EQ(frames, 32);
  EXPECT_EQ(FpsValue, 64);
  EXPECT_EQ(FpsTimeBase, 1500);
  // The base moves by 500, not to the present, so the next window is 31 frames.
  for (int i = 0; i < 31; ++i) {
    Delay(16);
    DrawHud(0);
  }
  EXPECT_EQ(FpsValue, 62);
  EXPECT_FALSE(LinesIn(kFpsBlue).empty());
  ClearDrawLog();
  ShowFPS = 0;
  DrawHud(1);
  EXPECT_TRUE(LinesIn(kFpsBlue).empty());
}

}  // namespace
