// The spider figure: its turned tables and what it draws in both graphics modes.
#include "arena/spider_figure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "arena/player.h"
#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

constexpr std::uint32_t kWireRed = 0xFFFF4040u;
constexpr std::uint32_t kCrimsonGlow = 0xFFBD0022u;

std::uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b);
}

class SpiderFigure : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png");
    CenterImageHandle(DotImage);
    LoadColorTable();
    PrecomputeSpiderFigure();
  }
  static void TearDownTestSuite() {
    DotImage.reset();
    CloseDisplay();
  }
  void SetUp() override {
    NeonMode = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    SpiderFlashRow = 0;
    EnableDrawLog(true);
    ClearDrawLog();
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    SetScreenSize(1024, 768);
  }
  static std::vector<DrawEntry> Logged(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  static int CountColour(const std::vector<DrawEntry>& entries, std::uint32_t argb) {
    int n = 0;
    for (const DrawEntry& e : entries) n += e.argb == argb;
    return n;
  }
};

TEST_F(SpiderFigure, TurnedTablesTruncateTowardZero) {
  // Heading 0 is the art itself.
  for (int f = 0; f < kSpiderFrames; ++f)
    for (int i = 0; i < kSpiderLines; ++i) {
      EXPECT_EQ(SpiderFigureTable[f][0][i].x1, SpiderFigureData[f][i].x1);
      EXPECT_EQ(SpiderFigureTable[f][0][i].y2, SpiderFigureData[f][i].y2);
    }
  // Facing right: the head line (-5, -5)-(5, -5) stands upright on the right.
  const SpiderFigureLine head = SpiderFigureTable[0][90][12];
  EXPECT_EQ(head.x1, 5);
  EXPECT_EQ(head.y1, -5);
  EXPECT_EQ(head.x2, 5);
  EXPECT_EQ(head.y2, 5);
  // At 30 degrees the tail (5, 25)-(-5, 25) lands on (-8.17, 24.15)-(-16.83, 19.15).
  const SpiderFigureLine tail = SpiderFigureTable[0][30][6];
  EXPECT_EQ(tail.x1, -8);
  EXPECT_EQ(tail.y1, 24);
  EXPECT_EQ(tail.x2, -16);
  EXPECT_EQ(tail.y2, 19);
  // Legs differ between frames, the body does not.
  EXPECT_NE(SpiderFigureTable[1][200][13].x2, SpiderFigureTable[2][200][13].x2);
  EXPECT_EQ(SpiderFigureTable[1][200][9].x2, SpiderFigureTable[2][200][9].x2);
}

TEST_F(SpiderFigure, QuarterTurnsMoveEveryPointExactly) {
  // (x, y) turned by 90 degrees is (-y, x), by 180 (-x, -y), by 270 (y, -x): no point
  // may lose a pixel to a cosine that is not quite zero.
  for (int f = 0; f < kSpiderFrames; ++f)
    for (int i = 0; i < kSpiderLines; ++i) {
      SCOPED_TRACE(testing::Message() << "frame " << f << " line " << i);
      const SpiderLine& a = SpiderFigureData[f][i];
      const SpiderFigureLine& r = SpiderFigureTable[f][90][i];
      EXPECT_EQ(r.x1, -a.y1);
      EXPECT_EQ(r.y1, a.x1);
      EXPECT_EQ(r.x2, -a.y2);
      EXPECT_EQ(r.y2, a.x2);
      const SpiderFigureLine& h = SpiderFigureTable[f][180][i];
      EXPECT_EQ(h.x1, -a.x1);
      EXPECT_EQ(h.y2, -a.y2);
      const SpiderFigureLine& t = SpiderFigureTable[f][270][i];
      EXPECT_EQ(t.x2, a.y2);
      EXPECT_EQ(t.y1, -a.x1);
    }
}

TEST_F(SpiderFigure, WireLinesSitAtThePositionPlusTheScreenOffset) {
  SetScreenSize(1280, 1024);
  DrawSpiderFigure(1, 300, 200, 0, 0);
  const std::vector<DrawEntry> lines = Logged(DrawKind::Line);
  ASSERT_EQ(lines.size(), 25u);
  EXPECT_EQ(CountColour(lines, kWireRed), 25);
  // Frame 1, line 13: (5, 4)-(15, 9); the service draws at pixel centres.
  EXPECT_DOUBLE_EQ(lines[13].points[0].x, 128 + 300 + 5 + 0.5);
  EXPECT_DOUBLE_EQ(lines[13].points[0].y, 128 + 200 + 4 + 0.5);
  EXPECT_DOUBLE_EQ(lines[13].points[1].x, 128 + 300 + 15 + 0.5);
  EXPECT_DOUBLE_EQ(lines[13].points[1].y, 128 + 200 + 9 + 0.5);
  const DrawState& st = CurrentDrawState();
  EXPECT_EQ(st.color_red, 255);
  EXPECT_EQ(st.color_green, 255);
  EXPECT_EQ(st.color_blue, 255);
}

TEST_F(SpiderFigure, FlashingBodyWalksThePaletteOncePerFigure) {
  SpiderFlashRow = 46;
  DrawSpiderFigure(0, 500, 400, 0, 1);
  DrawSpiderFigure(0, 500, 400, 0, 1);
  DrawSpiderFigure(0, 500, 400, 0, 0);  // a steady figure leaves the row alone
  EXPECT_EQ(SpiderFlashRow, 0);
  const std::vector<DrawEntry> lines = Logged(DrawKind::Line);
  ASSERT_EQ(lines.size(), 75u);
  const ColorRow& r46 = ColorTable[46];
  const ColorRow& r47 = ColorTable[47];
  for (int i = 0; i < 25; ++i) {
    const bool body = i >= 7 && i <= 12;
    EXPECT_EQ(lines[i].argb, body ? Argb(r46.r, r46.g, r46.b) : kWireRed) << i;
    EXPECT_EQ(lines[25 + i].argb, body ? Argb(r47.r, r47.g, r47.b) : kWireRed) << i;
    EXPECT_EQ(lines[50 + i].argb, kWireRed) << i;
  }
}

TEST_F(SpiderFigure, NeonIsOneCrimsonStripPerLine) {
  NeonMode = 1;
  SpiderFlashRow = 8;
  DrawSpiderFigure(2, 512, 384, 45, 0);
  std::vector<DrawEntry> strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 25u);
  EXPECT_EQ(CountColour(strips, kCrimsonGlow), 25);
  EXPECT_TRUE(Logged(DrawKind::Line).empty());
  ClearDrawLog();
  DrawSpiderFigure(2, 512, 384, 45, 1);
  strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 25u);
  EXPECT_EQ(CountColour(strips, ColorTable[8].glow), 6);
  EXPECT_EQ(CountColour(strips, kCrimsonGlow), 19);
}

TEST_F(SpiderFigure, OddHeadingsAndFramesAreFoldedIn) {
  auto points = [](int frame, int heading) {
    ClearDrawLog();
    DrawSpiderFigure(frame, 400, 300, heading, 0);
    std::vector<double> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == DrawKind::Line)
        for (const DrawVertex& v : e.points) out.push_back(v.x * 10000 + v.y);
    return out;
  };
  EXPECT_EQ(points(0, 450), points(0, 90));
  EXPECT_EQ(points(0, -90), points(0, 270));
  EXPECT_EQ(points(7, 10), points(0, 10));
  EXPECT_EQ(points(-1, 10), points(0, 10));
}

TEST_F(SpiderFigure, PlayerSpiderUsesWalkFrameAndTruncatedHeading) {
  PlayerX = 333;
  PlayerY = 222;
  PlayerAngle = 359.9;
  PlayerWalkStep = 3;  // frame 2
  DrawPlayerSpider(0);
  const std::vector<DrawEntry> player = Logged(DrawKind::Line);
  ClearDrawLog();
  DrawSpiderFigure(2, 333, 222, 359, 0);
  const std::vector<DrawEntry> figure = Logged(DrawKind::Line);
  ASSERT_EQ(player.size(), figure.size());
  for (size_t i = 0; i < player.size(); ++i) {
    EXPECT_EQ(player[i].points[0].x, figure[i].points[0].x);
    EXPECT_EQ(player[i].points[1].y, figure[i].points[1].y);
  }
}

}  // namespace
