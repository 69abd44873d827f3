// The line-picture drawer: the buffer, the scale-then-turn of each end, the sparkle.
#include "render/line_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"

namespace {

class LinePictureTest : public testing::Test {
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
    ASSERT_TRUE(DotImage) << "the embedded glow texture res\\dot.png could not be loaded";
    GlowAmount = 0;
    RecomputeGlowWidths();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    NeonMode = 0;
    SetColor(255, 255, 255);
  }

  static std::vector<DrawEntry> Entries(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
};

std::vector<LineArtRecord> Lines(int count, std::uint32_t glow) {
  return std::vector<LineArtRecord>(static_cast<std::size_t>(count),
                                    LineArtRecord{glow, -5, 0, 5, 0, 1, 2, 3});
}

TEST_F(LinePictureTest, LoadingCutsAtTheBufferAndStartsTheDrawerAfresh) {
  const std::vector<LineArtRecord> many = Lines(600, 0xFF102030u);
  PictureZoom = 3;
  PictureAngle = 40;
  PictureSparkle = 1.0;
  SparkleCounter = 77;
  LoadPicture(LineArtPicture{600, many.data()});
  EXPECT_EQ(PictureLines, kPictureBufferLines);
  EXPECT_EQ(PictureZoom, 1.0);
  EXPECT_EQ(PictureAngle, 0.0);
  EXPECT_EQ(PictureSparkle, 0.0);
  EXPECT_EQ(SparkleCounter, 0);
  LoadPicture(LineArtPicture{5, nullptr});  // no lines: nothing to draw, nothing read
  EXPECT_EQ(PictureLines, 0);
  EXPECT_LE(IntroLogoData.lines, kPictureBufferLines);
}

// Ends are scaled and cut to whole pixels before the turn, about (512 + dx, 386).
TEST_F(LinePictureTest, NeonStripsAreScaledThenTurnedAboutTheCentre) {
  NeonMode = 1;
  const LineArtRecord line[] = {{0xFF0000FFu, 3, 0, 7, 0, 0, 0, 255}};
  LoadPicture(LineArtPicture{1, line});
  PictureZoom = 1.5;  // 4.5 and 10.5 are cut to 4 and 10
  PictureAngle = 90;  // x' = -y, y' = x
  DrawPicture(-100);
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 1u);
  const DrawEntry& s = strips[0];
  const double x1 = (s.points[2].x + s.points[3].x) / 2, y1 = (s.points[2].y + s.points[3].y) / 2;
  const double x2 = (s.points[4].x + s.points[5].x) / 2, y2 = (s.points[4].y + s.points[5].y) / 2;
  EXPECT_NEAR(x1, 412, 1e-6);
  EXPECT_NEAR(y1, 386 + 4, 1e-6);
  EXPECT_NEAR(x2, 412, 1e-6);
  EXPECT_NEAR(y2, 386 + 10, 1e-6);
  EXPECT_NEAR(std::hypot(s.points[2].x - s.points[3].x, s.points[2].y - s.points[3].y) / 2,
              GlowWidth24, 1e-3);
}

// While on, the sparkle recolours only the silver lines, with a colour drawn anew at
// the 101st line counted and every 101 after.
TEST_F(LinePictureTest, TheSparkleRecoloursSilverLinesAndChangesEvery101Lines) {
  NeonMode = 1;
  std::vector<LineArtRecord> lines = Lines(250, kSparkleLineColour);
  lines[50].glow = 0xFF123456u;
  LoadPicture(LineArtPicture{250, lines.data()});
  SparkleColour = 0xFF000001u;
  PictureSparkle = 1.0;
  DrawPicture(0);
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 250u);
  auto colour = [&](int i) { return strips[static_cast<std::size_t>(i)].points[0].argb; };
  EXPECT_EQ(colour(0), 0xFF000001u);
  EXPECT_EQ(colour(99), 0xFF000001u);
  EXPECT_EQ(colour(50), 0xFF123456u);  // not silver: its own colour
  EXPECT_NE(colour(100), 0xFF000001u);
  EXPECT_EQ(colour(200), colour(100));
  EXPECT_EQ(SparkleCounter, 250 - 2 * 101);

  // Off (anything but exactly 1.0), the silver lines keep their own colour.
  ClearDrawLog();
  PictureSparkle = 0.5;
  DrawPicture(0);
  const auto plain = Entries(DrawKind::Strip);
  ASSERT_EQ(plain.size(), 250u);
  for (int i = 0; i < 250; ++i) {
    if (i == 50) continue;
    ASSERT_EQ(plain[static_cast<std::size_t>(i)].points[0].argb, kSparkleLineColour) << i;
  }
}

TEST_F(LinePictureTest, WireLinesTakeEachRecordsColourAndEndWhite) {
  NeonMode = 0;
  const LineArtRecord lines[] = {{kSparkleLineColour, 0, 0, 10, 0, 200, 210, 220},
                                 {0xFF00FF00u, 0, 0, 0, 10, 10, 20, 30}};
  LoadPicture(LineArtPicture{2, lines});
  PictureSparkle = 1.0;
  DrawPicture(0);
  EXPECT_TRUE(Entries(DrawKind::Strip).empty());
  const auto drawn = Entries(DrawKind::Line);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].argb & 0xFFFFFFu, 0xC8D2DCu);  // the sparkle is not seen in wire
  EXPECT_EQ(drawn[1].argb & 0xFFFFFFu, 0x0A141Eu);
  EXPECT_EQ(CurrentDrawState().color_red, 255);
  EXPECT_EQ(CurrentDrawState().color_blue, 255);
}

}  // namespace
