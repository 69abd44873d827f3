// The line-picture drawer: what loading a picture puts back, where each line lands
// when zoomed and turned, the sparkle, and the two modes.
#include "render/line_picture.h"

#include <gtest/gtest.h>

#include <vector>

#include "embedded_assets.h"
#include "platform/random.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"

namespace {

std::vector<DrawEntry> Entries(DrawKind kind) {
  std::vector<DrawEntry> out;
  for (const DrawEntry& e : GetDrawLog())
    if (e.kind == kind) out.push_back(e);
  return out;
}

class LinePicture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    if (DotImage) CenterImageHandle(DotImage);
    TPoly::Initialise();
  }
  static void TearDownTestSuite() { DotImage.reset(); }

  void SetUp() override {
    NeonMode = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    NeonMode = 0;
    ScreenOffsetX = ScreenOffsetY = 0;
  }
};

TEST_F(LinePicture, LoadingPutsTheDrawerBackAndKeepsAtMostFiveHundredLines) {
  std::vector<LineArtRecord> big(620, LineArtRecord{0xFF102030u, 1, 2, 3, 4, 16, 32, 48});
  big[499].x1 = 77;
  big[500].x1 = 88;
  PictureZoom = 2.5;
  PictureAngle = 30;
  PictureSparkle = 1.0;
  SparkleCounter = 57;
  LoadPicture(LineArtPicture{static_cast<int>(big.size()), big.data()});
  EXPECT_EQ(PictureLines, kPictureBufferLines);
  EXPECT_EQ(PictureBuffer[499].x1, 77);
  EXPECT_EQ(PictureZoom, 1.0);
  EXPECT_EQ(PictureAngle, 0.0);
  EXPECT_EQ(PictureSparkle, 0.0);
  EXPECT_EQ(SparkleCounter, 0);
  LoadPicture(LineArtPicture{-3, big.data()});
  EXPECT_EQ(PictureLines, 0);
}

TEST_F(LinePicture, EachEndIsZoomedAndTruncatedThenTurnedAboutTheCentre) {
  const LineArtRecord lines[] = {{0xFF00FF00u, 10, -21, 0, 0, 255, 0, 0},
                                 {0xFF00FF00u, -3, 5, 7, 7, 0, 0, 255}};
  LoadPicture(LineArtPicture{2, lines});
  PictureZoom = 1.5;  // 10 x 1.5 = 15, -21 x 1.5 = -31.5 -> -31, -3 x 1.5 -> -4
  PictureAngle = 90;  // (x, y) turns to (-y, x)
  ScreenOffsetX = 128;
  ScreenOffsetY = 66;
  DrawPicture(-40);
  const auto drawn = Entries(DrawKind::Line);
  ASSERT_EQ(drawn.size(), 2u);
  // Centre (512 - 40, 386) plus the offsets; lines pass through pixel centres.
  EXPECT_NEAR(drawn[0].points[0].x, 128 + 472 + 31 + 0.5, 1e-9);
  EXPECT_NEAR(drawn[0].points[0].y, 66 + 386 + 15 + 0.5, 1e-9);
  EXPECT_NEAR(drawn[0].points[1].x, 128 + 472 + 0.5, 1e-9);
  EXPECT_NEAR(drawn[1].points[0].x, 128 + 472 - 7 + 0.5, 1e-9);
  EXPECT_NEAR(drawn[1].points[0].y, 66 + 386 - 4 + 0.5, 1e-9);
  // Wire mode: each line in its own colour, white afterwards.
  EXPECT_EQ(drawn[0].argb & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(drawn[1].argb & 0xFFFFFFu, 0x0000FFu);
  EXPECT_EQ(CurrentDrawState().color_green, 255);
}

TEST_F(LinePicture, TheSparkleRecoloursOnlyItsOwnLinesAndOnlyWhileOn) {
  if (!DotImage) GTEST_SKIP() << "no glow texture";
  NeonMode = 1;
  std::vector<LineArtRecord> lines(150, LineArtRecord{0xFF112233u, 0, 0, 10, 0, 1, 1, 1});
  for (std::size_t i = 0; i < lines.size(); i += 3) lines[i].glow = kSparkleLineColour;
  LoadPicture(LineArtPicture{150, lines.data()});
  SeedRandom(5);
  DrawPicture(0);
  auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 150u);
  // Off: every line in its own colour; the counter still runs and draws a colour once
  // it passes 100.
  for (std::size_t i = 0; i < strips.size(); ++i)
    EXPECT_EQ(strips[i].points[0].argb, lines[i].glow);
  EXPECT_EQ(SparkleCounter, 150 - 101);

  ClearDrawLog();
  PictureSparkle = 1.0;
  const std::uint32_t before = SparkleColour;
  DrawPicture(0);
  strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 150u);
  // The counter passes 100 at the 52nd line of this pass: a new colour from there on.
  for (std::size_t i = 0; i < strips.size(); ++i) {
    SCOPED_TRACE(i);
    const std::uint32_t want = lines[i].glow != kSparkleLineColour ? lines[i].glow
                               : i < 51                            ? before
                                                                   : SparkleColour;
    EXPECT_EQ(strips[i].points[0].argb, want);
  }
  // Something other than 1.0 is off.
  ClearDrawLog();
  PictureSparkle = 0.999;
  DrawPicture(0);
  EXPECT_EQ(Entries(DrawKind::Strip)[0].points[0].argb, kSparkleLineColour);
}

}  // namespace
