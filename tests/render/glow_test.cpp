#include "render/glow.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "embedded_assets.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/screen.h"
#include "render/tpoly.h"
#include "support/pixels.h"

namespace {

// ---- Widths and palette ------------------------------------------------------------

TEST(GlowWidths, FollowTheGlowAmountAtEveryLevel) {
  struct Row {
    int amount, w14, w16, w18, w20, w24, w32;
  };
  const Row rows[] = {{-3, 11, 13, 12, 14, 15, 23}, {-2, 12, 14, 14, 16, 18, 26},
                      {-1, 13, 15, 16, 18, 21, 29}, {0, 14, 16, 18, 20, 24, 32},
                      {1, 15, 17, 20, 22, 27, 35},  {2, 16, 18, 22, 24, 30, 38},
                      {3, 17, 19, 24, 26, 33, 41}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.amount);
    GlowAmount = r.amount;
    RecomputeGlowWidths();
    EXPECT_EQ(GlowWidth14, r.w14);
    EXPECT_EQ(GlowWidth16, r.w16);
    EXPECT_EQ(GlowWidth18, r.w18);
    EXPECT_EQ(GlowWidth20, r.w20);
    EXPECT_EQ(GlowWidth24, r.w24);
    EXPECT_EQ(GlowWidth32, r.w32);
  }
  // A damaged setting is held to the nearest level rather than giving silly widths.
  GlowAmount = -40;
  RecomputeGlowWidths();
  EXPECT_EQ(GlowWidth14, 11);
  GlowAmount = 0;
  RecomputeGlowWidths();
  EXPECT_EQ(GlowWidth32, 32);
}

TEST(ColorTable, HoldsSixteenRowsThreeTimesOver) {
  LoadColorTable();
  EXPECT_EQ(ColorTable[0].glow, 0xFFFF0000u);
  // Glow and wire colours of row 9 differ on purpose.
  EXPECT_EQ(ColorTable[9].glow, 0xFF800080u);
  EXPECT_EQ(ColorTable[9].r, 128);
  EXPECT_EQ(ColorTable[9].g, 255);
  EXPECT_EQ(ColorTable[9].b, 128);
  EXPECT_EQ(ColorTable[13].glow, 0xFFA99999u);
  EXPECT_EQ(ColorTable[13].r, 170);
  EXPECT_EQ(ColorTable[15].glow, 0xFFEB8DD6u);
  for (int row = 16; row < kColorTableRows; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(ColorTable[row].glow, ColorTable[row % 16].glow);
    EXPECT_EQ(ColorTable[row].r, ColorTable[row % 16].r);
    EXPECT_EQ(ColorTable[row].g, ColorTable[row % 16].g);
    EXPECT_EQ(ColorTable[row].b, ColorTable[row % 16].b);
  }
  for (int row = 0; row < kColorTableRows; ++row) EXPECT_EQ(ColorTable[row].glow >> 24, 0xFFu);
}

// ---- Drawing in the two modes -----------------------------------------------------

class GlowDrawTest : public testing::Test {
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
    saved_neon_ = NeonMode;
    GlowAmount = 0;
    RecomputeGlowWidths();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    NeonMode = saved_neon_;
    ScreenOffsetX = 0;
    ScreenOffsetY = 0;
    SetColor(255, 255, 255);
  }

  static std::vector<DrawEntry> Entries(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog()) {
      if (e.kind == kind) out.push_back(e);
    }
    return out;
  }
  // A capped strip's segment ends are the midpoints of its body's vertex pairs.
  static void StripEnds(const DrawEntry& s, double* x1, double* y1, double* x2, double* y2) {
    *x1 = (s.points[2].x + s.points[3].x) / 2;
    *y1 = (s.points[2].y + s.points[3].y) / 2;
    *x2 = (s.points[4].x + s.points[5].x) / 2;
    *y2 = (s.points[4].y + s.points[5].y) / 2;
  }
  static double HalfWidth(const DrawEntry& s) {
    return std::hypot(s.points[2].x - s.points[3].x, s.points[2].y - s.points[3].y) / 2;
  }

  int saved_neon_ = 0;
};

TEST_F(GlowDrawTest, NeonShapeIsOneBatchOfCappedStripsAtTheScreenOffset) {
  NeonMode = 1;
  ScreenOffsetX = 128;
  ScreenOffsetY = 116;
  const ShapeSegment shape[] = {{-5, 0, 5, 0}, {0, -5, 0, 5}, {-3, -3, 3, 3}};
  const long binds = TPoly::BindCount();
  DrawShape(shape, 3, 100, 200, 0xFF00FF80u, 1, 2, 3, GlowWidth24);
  EXPECT_EQ(TPoly::BindCount(), binds + 1);
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(strips[i].points.size(), 8u);
    double x1, y1, x2, y2;
    StripEnds(strips[i], &x1, &y1, &x2, &y2);
    EXPECT_NEAR(x1, 228 + shape[i].x1, 1e-3);
    EXPECT_NEAR(y1, 316 + shape[i].y1, 1e-3);
    EXPECT_NEAR(x2, 228 + shape[i].x2, 1e-3);
    EXPECT_NEAR(y2, 316 + shape[i].y2, 1e-3);
    EXPECT_NEAR(HalfWidth(strips[i]), 24, 1e-3);
    for (const DrawVertex& v : strips[i].points) EXPECT_EQ(v.argb, 0xFF00FF80u);
  }
  EXPECT_TRUE(Entries(DrawKind::Line).empty());
}

TEST_F(GlowDrawTest, WireShapeDrawsLinesInTheWireColourAndEndsWhite) {
  NeonMode = 0;
  ScreenOffsetX = 128;
  const ShapeSegment shape[] = {{0, 0, 10, 0}, {10, 0, 10, 10}};
  DrawShape(shape, 2, 50, 60, 0xFF00FF80u, 128, 255, 64, GlowWidth16);
  EXPECT_TRUE(Entries(DrawKind::Strip).empty());
  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].argb & 0xFFFFFFu, 0x80FF40u);
  ASSERT_GE(lines[1].points.size(), 2u);
  // Lines pass through pixel centres.
  EXPECT_NEAR(lines[1].points[0].x, 128 + 60 + 0.5, 1e-6);
  EXPECT_NEAR(lines[1].points[1].y, 60 + 10 + 0.5, 1e-6);
  const DrawState& s = CurrentDrawState();
  EXPECT_EQ(s.color_red, 255);
  EXPECT_EQ(s.color_green, 255);
  EXPECT_EQ(s.color_blue, 255);
}

TEST_F(GlowDrawTest, GlowLineInBothModes) {
  NeonMode = 1;
  ScreenOffsetY = 116;
  GlowLine(10, 20, 110, 20, 0xFFFFFF00u, 1, 2, 3);
  auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 1u);
  ASSERT_EQ(strips[0].points.size(), 8u);
  EXPECT_NEAR(strips[0].points[0].x, 10 - 16, 1e-3);  // cap reaches GlowWidth16 beyond
  EXPECT_NEAR(strips[0].points[2].y, 136 - 16, 1e-3);
  EXPECT_EQ(strips[0].points[7].argb, 0xFFFFFF00u);

  ClearDrawLog();
  NeonMode = 0;
  SetColor(9, 9, 9);
  GlowLine(10, 20, 110, 20, 0xFFFFFF00u, 200, 100, 50);
  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].argb & 0xFFFFFFu, 0xC86432u);
  EXPECT_EQ(CurrentDrawState().color_red, 255);
  EXPECT_EQ(CurrentDrawState().color_blue, 255);
}

TEST_F(GlowDrawTest, OctagonHasItsCircumradiusAndStartsStraightAbove) {
  NeonMode = 1;
  GlowPolygon(400, 300, 0, 8, 36, 0xFF00FFFFu, 0, 255, 255);
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 8u);
  const double radius = 36 / 2.0 / Sin(22.5);
  EXPECT_NEAR(radius, 47.04, 0.005);
  double x1, y1, x2, y2;
  StripEnds(strips[0], &x1, &y1, &x2, &y2);
  EXPECT_NEAR(x1, 400, 1e-3);
  EXPECT_NEAR(y1, 300 - radius, 1e-3);
  for (const DrawEntry& s : strips) {
    StripEnds(s, &x1, &y1, &x2, &y2);
    EXPECT_NEAR(std::hypot(x1 - 400, y1 - 300), radius, 1e-3);
    EXPECT_NEAR(std::hypot(x2 - x1, y2 - y1), 36, 1e-3);
    EXPECT_NEAR(HalfWidth(s), GlowWidth18, 1e-3);
  }
  // Closed: the last edge ends where the first began.
  double fx1, fy1, fx2, fy2;
  StripEnds(strips[0], &fx1, &fy1, &fx2, &fy2);
  StripEnds(strips[7], &x1, &y1, &x2, &y2);
  EXPECT_NEAR(x2, fx1, 1e-3);
  EXPECT_NEAR(y2, fy1, 1e-3);
}

TEST_F(GlowDrawTest, SideCountThatDoesNotDivideTheTurnLeavesAGap) {
  NeonMode = 0;
  GlowPolygon(400, 300, 0, 7, 30, 0xFF00FFFFu, 10, 20, 30);
  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 7u);
  // step 51: the last edge stops at 357 degrees, short of the first vertex.
  const double radius = 30 / 2.0 / Sin(25.5);
  const auto& last = lines.back().points;
  ASSERT_GE(last.size(), 2u);
  EXPECT_NEAR(last[1].x - 0.5, 400 - radius * Sin(357), 1e-3);
  EXPECT_NEAR(last[1].y - 0.5, 300 - radius * Cos(357), 1e-3);
  EXPECT_GT(std::hypot(last[1].x - lines[0].points[0].x, last[1].y - lines[0].points[0].y), 1.0);
  EXPECT_EQ(CurrentDrawState().color_green, 255);

  ClearDrawLog();
  GlowPolygon(400, 300, 0, 0, 30, 0xFF00FFFFu, 10, 20, 30);    // no sides
  GlowPolygon(400, 300, 0, 400, 30, 0xFF00FFFFu, 10, 20, 30);  // step rounds to 0
  EXPECT_TRUE(GetDrawLog().empty());
}

TEST_F(GlowDrawTest, PrimingLeavesTheGlowTextureBound) {
  PrimeGlow();
  EXPECT_EQ(Entries(DrawKind::Image).size(), 1u);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<unsigned>(bound), GetImageFrame(DotImage, 0)->name);
}

// Intensity of a pixel drawn additively over black.
int Level(int x, int y) {
  const Rgb p = ReadPixel(x, y);
  return std::max(p.r, std::max(p.g, p.b));
}

TEST_F(GlowDrawTest, NeonStripGlowsBrightestOnItsCentreLine) {
  NeonMode = 1;
  EnableDrawLog(false);
  SetBlend(BLEND_ADD);
  SetClsColor(0, 0, 0);
  Cls();
  PrimeGlow();
  GlowLine(200, 300, 800, 300, 0xFF0000FFu, 0, 0, 255);

  // Blue glow: the vertex colour's bytes reach the right channels.
  const Rgb centre = ReadPixel(500, 300);
  EXPECT_GT(centre.b, 80);
  EXPECT_EQ(centre.r, 0);
  EXPECT_EQ(centre.g, 0);

  // Fades steadily outwards on both sides, to almost nothing at the edge.
  int previous = 256;
  for (int k = 0; k < 16; ++k) {
    const int level = Level(500, 300 + k);
    EXPECT_LE(level, previous + 1) << "at " << k << " below the centre line";
    EXPECT_NEAR(Level(500, 299 - k), level, 2) << "asymmetric at " << k;
    previous = level;
  }
  EXPECT_LT(Level(500, 300 + 10), Level(500, 300) / 4);
  EXPECT_LE(Level(500, 300 + 15), 8);
  EXPECT_EQ(Level(500, 300 + 20), 0);

  // Even along the strip.
  EXPECT_NEAR(Level(250, 300), Level(750, 300), 2);
  EXPECT_NEAR(Level(250, 306), Level(750, 306), 2);

  // The cap fades past the end like half a dot.
  EXPECT_GT(Level(801, 300), 15);
  EXPECT_LT(Level(808, 300), Level(802, 300));
  EXPECT_LT(Level(812, 300), Level(808, 300));
  EXPECT_LE(Level(815, 300), 8);
  EXPECT_EQ(Level(820, 300), 0);
}

}  // namespace
