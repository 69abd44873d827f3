// The web of each level: its segments, colour layouts, level rules and both drawings.
#include "arena/web.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "arena/level_start.h"
#include "arena/level_state.h"
#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

constexpr std::uint32_t kBlueGlow = 0xFF0000FFu;
constexpr std::uint32_t kGreenGlow = 0xFF40FF40u;
constexpr std::uint32_t kRedGlow = 0xFFFF4040u;

std::vector<Web> Segments() {
  std::vector<Web> out;
  for (const Web& w : WebList) out.push_back(w);
  return out;
}

// ColorIndex of segment k (1-based) of ring (1-based).
int Kind(const std::vector<Web>& web, int ring, int k) {
  return web[12 * (ring - 1) + (k - 1)].ColorIndex;
}

std::vector<int> Kinds(int level) {
  BuildWeb(level);
  std::vector<int> out;
  for (const Web& w : WebList) out.push_back(w.ColorIndex);
  return out;
}

class WebTest : public testing::Test {
 protected:
  void SetUp() override {
    LoadWebLayouts();
    LoadColorTable();
    WebColourStep = 0;
  }
};

TEST_F(WebTest, RingSegmentsInPointOrderThenTwelveSpokes) {
  BuildWeb(1);
  const std::vector<Web> web = Segments();
  ASSERT_EQ(web.size(), 108u);
  for (int i = 0; i < 96; ++i) EXPECT_EQ(web[i].RingNumber, i / 12) << i;

  // Ring 1: the top segment one pixel longer at each end; the last one moved up.
  EXPECT_EQ(web[0].x1, 491);
  EXPECT_EQ(web[0].y1, 350);
  EXPECT_EQ(web[0].x2, 533);
  EXPECT_EQ(web[0].y2, 350);
  EXPECT_EQ(web[11].x1, 472);
  EXPECT_EQ(web[11].y1, 358);
  EXPECT_EQ(web[11].x2, 493);
  EXPECT_EQ(web[11].y2, 349);
  // Ring 8, segment 10: the left vertical, both ends moved inward.
  EXPECT_EQ(web[84 + 9].x1, 114);
  EXPECT_EQ(web[84 + 9].y1, 454);
  EXPECT_EQ(web[84 + 9].x2, 114);
  EXPECT_EQ(web[84 + 9].y2, 317);

  // Spokes are copied unadjusted, all plain blue.
  EXPECT_EQ(web[96].x1, 532);
  EXPECT_EQ(web[96].y1, 350);
  EXPECT_EQ(web[96].x2, 687);
  EXPECT_EQ(web[96].y2, 80);
  EXPECT_EQ(web[107].x2, 337);
  EXPECT_EQ(web[107].y2, 80);
  for (int i = 96; i < 108; ++i) {
    EXPECT_EQ(web[i].ColorIndex, kWebBlue);
    EXPECT_EQ(web[i].glowcolor, kBlueGlow);
    EXPECT_EQ(web[i].RingNumber, 0);
  }

  // A second build replaces the web rather than adding to it.
  BuildWeb(3);
  EXPECT_EQ(WebList.Count(), 108u);
}

TEST_F(WebTest, LevelOneHasGreenOnRingsFiveAndSixAndNoRed) {
  BuildWeb(1);
  const std::vector<Web> web = Segments();
  for (int k = 1; k <= 12; ++k) {
    EXPECT_EQ(Kind(web, 6, k), (k == 4 || k == 10) ? kWebBlue : kWebGreen) << k;
    EXPECT_EQ(Kind(web, 5, k), (k == 4 || k == 10) ? kWebGreen : kWebBlue) << k;
  }
  int greens = 0;
  for (const Web& w : web) {
    EXPECT_NE(w.ColorIndex, kWebRed);
    if (w.ColorIndex == kWebGreen) {
      ++greens;
      EXPECT_EQ(w.glowcolor, kGreenGlow);
      EXPECT_EQ(w.r, 64);
      EXPECT_EQ(w.g, 255);
      EXPECT_EQ(w.b, 64);
    } else {
      EXPECT_EQ(w.glowcolor, kBlueGlow);
      EXPECT_EQ(w.b, 255);
    }
  }
  EXPECT_EQ(greens, 12);
}

TEST_F(WebTest, LevelThreeHasRedAtQuarterPointsOfRingFive) {
  BuildWeb(3);
  const std::vector<Web> web = Segments();
  for (int k = 1; k <= 12; ++k) {
    const bool red = k == 1 || k == 4 || k == 7 || k == 10;
    EXPECT_EQ(Kind(web, 5, k), red ? kWebRed : kWebBlue) << k;
  }
  const Web& red = web[12 * 4];
  EXPECT_EQ(red.glowcolor, kRedGlow);
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.g, 64);
  EXPECT_EQ(red.b, 64);
}

// The distinct layout rows as the web's description writes them, ring 1 to ring 8.
struct Layout {
  int row;
  const char* colours;
};
constexpr Layout kLayouts[] = {
    {1,
     "000000000000000000000000000000000000000000000000000100000100111011111011000000000000000000000"
     "000"},
    {2,
     "000000000000000000000000000000100000000001010000000010001000000100000100001000000010110000000"
     "001"},
    {3,
     "000000000000000000000000000000000000000000000000200200200200011011011011000000000000000000000"
     "000"},
    {4,
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000"},
    {5,
     "000000000000000000000000000000000000000000000000000000000000212121212121000000000000000000000"
     "000"},
    {6,
     "000000000000000000000000000000000000000000000000202020202020010101010101000000000000000000000"
     "000"},
    {7,
     "000000000000000000000000000000000000200000000222020000000000002000000000000200000000000022222"
     "000"},
    {8,
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000"},
    {9,
     "000000000000000000000000000000000000000000000000222200000222000022222000000000000000000000000"
     "000"},
    {10,
     "000000000000000000000000000000000000222200000222000000000000000022222000000000000000000000000"
     "000"},
    {11,
     "000000000000000000000000000000000000000100000100000000000000222022222022000000000000000000000"
     "000"},
    {12,
     "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
     "000"},
    {33,
     "000000000000000000000000000000000000222200000222000022222000000000000000000000000000000000000"
     "000"},
    {51,
     "000000000000000000000000000000000000101010101010020202020202000000000000202020202020010001010"
     "001"},
    {54,
     "000000000000000000000000000000000000000000000000202020002020010100010101000000000000000000000"
     "000"},
};

// Every row of the loaded table: rows 13..64 repeat 1..12 but for 33, 51 and 54, and
// rows 0 and 65..100 stay blue.
TEST_F(WebTest, EveryLoadedLayoutRowIsTheDescribedOne) {
  auto described = [](int row) -> const char* {
    if (row < 1 || row > 64) return nullptr;
    for (const Layout& l : kLayouts)
      if (l.row == row) return l.colours;
    for (const Layout& l : kLayouts)
      if (l.row == (row - 1) % 12 + 1) return l.colours;
    return nullptr;
  };
  for (int row = 0; row < kWebLayoutRows; ++row) {
    SCOPED_TRACE(row);
    const char* want = described(row);
    for (int i = 0; i < kWebRingSegments; ++i)
      ASSERT_EQ(WebLayouts[row][i], want ? want[i] - '0' : 0) << "segment " << i;
  }
}

TEST_F(WebTest, LayoutsRepeatEveryTwelveLevelsExceptThreeAndEndAtSixtyFour) {
  EXPECT_EQ(Kinds(13), Kinds(1));
  EXPECT_EQ(Kinds(62), Kinds(2));
  EXPECT_EQ(Kinds(59), Kinds(11));

  // 33 would repeat 9, 51 would repeat 3, 54 would repeat 6.
  const std::vector<int> l33 = Kinds(33);
  EXPECT_NE(l33, Kinds(9));
  BuildWeb(33);
  std::vector<Web> web = Segments();
  EXPECT_EQ(Kind(web, 4, 1), kWebRed);
  EXPECT_EQ(Kind(web, 4, 5), kWebBlue);
  EXPECT_EQ(Kind(web, 5, 5), kWebRed);
  EXPECT_EQ(Kind(web, 6, 5), kWebBlue);

  EXPECT_NE(Kinds(51), Kinds(3));
  web = Segments();
  EXPECT_EQ(Kind(web, 4, 1), kWebGreen);
  EXPECT_EQ(Kind(web, 8, 12), kWebGreen);
  EXPECT_EQ(Kind(web, 8, 11), kWebBlue);

  EXPECT_NE(Kinds(54), Kinds(6));
  web = Segments();
  EXPECT_EQ(Kind(web, 5, 7), kWebBlue);  // where level 6 has red
  EXPECT_EQ(Kind(web, 5, 9), kWebRed);

  // Bonus levels and every level past the table's data are plain.
  const std::vector<int> blue(108, kWebBlue);
  EXPECT_EQ(Kinds(4), blue);
  EXPECT_EQ(Kinds(64), blue);
  EXPECT_EQ(Kinds(65), blue);
  EXPECT_EQ(Kinds(100), blue);
  EXPECT_NE(Kinds(63), blue);
}

TEST_F(WebTest, LevelOutsideTheTableBuildsAnAllBlueWeb) {
  const std::vector<int> blue(108, kWebBlue);
  for (int level : {101, 1000, INT_MAX, -1, -12, INT_MIN}) {
    SCOPED_TRACE(level);
    EXPECT_EQ(Kinds(level), blue);
    EXPECT_EQ(WebList.Count(), 108u);
  }
}

TEST_F(WebTest, BeginningALevelSettlesItsRulesWithItsWeb) {
  HurryOut = 1;
  BonusLevel = 1;
  // The web alone settles nothing.
  BuildWeb(1);
  EXPECT_EQ(HurryOut, 1);
  EXPECT_EQ(BonusLevel, 1);
  BeginLevel(1);
  EXPECT_EQ(HurryOut, 0);
  EXPECT_EQ(BonusLevel, 0);
  EXPECT_DOUBLE_EQ(EnemySpeedFactor, 1.0 + 2.0 / 30.0);  // not integer division
  EXPECT_DOUBLE_EQ(GameStartSpeedFactor(1), 1.1);

  BeginLevel(29);
  EXPECT_DOUBLE_EQ(EnemySpeedFactor, 2.0);

  const int budgets[][2] = {{4, 1380}, {8, 1260}, {12, 1140}, {48, 60}, {52, -60}};
  for (const auto& [level, frames] : budgets) {
    BonusLevel = 0;
    BeginLevel(level);
    EXPECT_EQ(BonusLevel, 1) << level;
    EXPECT_EQ(BonusLevelFrames, frames) << level;
  }
  BeginLevel(5);
  EXPECT_EQ(BonusLevel, 0);

  // Far-out levels must not overflow the budget arithmetic.
  EXPECT_LT(BonusLevelBudget(INT_MAX - 3), 0);
  EXPECT_GT(BonusLevelBudget(INT_MIN), 0);
}

TEST_F(WebTest, GameOverPlainWebLeavesOutTheBonusSetUp) {
  BonusLevelFrames = 777;
  HurryOut = 1;
  BeginPlainWeb();
  EXPECT_EQ(BonusLevel, 0);
  EXPECT_EQ(BonusLevelFrames, 777);
  EXPECT_EQ(HurryOut, 0);
  EXPECT_EQ(WebList.Count(), 108u);
  // Level 4 itself is a bonus level.
  BeginLevel(4);
  EXPECT_EQ(BonusLevel, 1);
  EXPECT_EQ(BonusLevelFrames, 1380);
}

// Drawing, checked through the draw log on an offscreen display.
class WebDrawTest : public WebTest {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1440, 900);
    display_ = OpenDisplay(1440, 900, 0, 0, 0);
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png");
    if (DotImage) CenterImageHandle(DotImage);
  }
  void SetUp() override {
    WebTest::SetUp();
    ASSERT_TRUE(display_) << "no offscreen display";
    SetScreenSize(1440, 900);
    BackgroundOn = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    EnableDrawLog(true);
    ClearDrawLog();
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    NeonMode = 0;
    WebTest::TearDown();
  }
  static std::vector<DrawEntry> Entries(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  static bool IsWhite() {
    const DrawState& s = CurrentDrawState();
    return s.color_red == 255 && s.color_green == 255 && s.color_blue == 255;
  }
  static inline bool display_ = false;
};

std::uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b);
}

TEST_F(WebDrawTest, WireDrawsOneLinePerSegmentInItsColourThenWhite) {
  NeonMode = 0;
  BuildWeb(3);
  const std::vector<Web> web = Segments();
  DrawWeb();
  const std::vector<DrawEntry> lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 108u);
  EXPECT_TRUE(Entries(DrawKind::Strip).empty());
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].argb, Argb(web[i].r, web[i].g, web[i].b));
    ASSERT_GE(lines[i].points.size(), 2u);
    // The drawing service logs pixel centres.
    EXPECT_DOUBLE_EQ(lines[i].points[0].x, web[i].x1 + 208.5);
    EXPECT_DOUBLE_EQ(lines[i].points[0].y, web[i].y1 + 66.5);
    EXPECT_DOUBLE_EQ(lines[i].points[1].x, web[i].x2 + 208.5);
    EXPECT_DOUBLE_EQ(lines[i].points[1].y, web[i].y2 + 66.5);
  }
  EXPECT_EQ(lines[48].argb, Argb(255, 64, 64));  // ring 5, segment 1 is red on level 3
  EXPECT_TRUE(IsWhite());
}

TEST_F(WebDrawTest, NeonDrawsEachSegmentTwiceAsGlowStrips) {
  ASSERT_TRUE(DotImage) << "glow texture not available";
  NeonMode = 1;
  BuildWeb(1);
  const std::vector<Web> web = Segments();
  DrawWeb();
  const std::vector<DrawEntry> strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 216u);
  EXPECT_TRUE(Entries(DrawKind::Line).empty());
  for (size_t i = 0; i < web.size(); ++i) {
    SCOPED_TRACE(i);
    for (const DrawEntry* s : {&strips[2 * i], &strips[2 * i + 1]}) {
      ASSERT_EQ(s->points.size(), 8u);  // rounded ends
      for (const DrawVertex& v : s->points) EXPECT_EQ(v.argb, web[i].glowcolor);
      // The body's first pair straddles the first end, the second pair the second,
      // each GlowWidth20 to either side.
      const DrawVertex* p = s->points.data();
      EXPECT_NEAR((p[2].x + p[3].x) / 2, web[i].x1 + 208.0, 1e-3);
      EXPECT_NEAR((p[2].y + p[3].y) / 2, web[i].y1 + 66.0, 1e-3);
      EXPECT_NEAR((p[4].x + p[5].x) / 2, web[i].x2 + 208.0, 1e-3);
      EXPECT_NEAR((p[4].y + p[5].y) / 2, web[i].y2 + 66.0, 1e-3);
      EXPECT_NEAR(std::hypot(p[2].x - p[3].x, p[2].y - p[3].y), 40.0, 1e-3);
      EXPECT_EQ(s->texture, strips[0].texture);
    }
  }
  EXPECT_NE(strips[0].texture, 0u);
  EXPECT_EQ(strips[2 * 65].argb, kGreenGlow);  // ring 6, segment 6
}

TEST_F(WebDrawTest, BackdropAndGlowPrimingComeBeforeTheWeb) {
  ASSERT_TRUE(DotImage) << "glow texture not available";
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png");
  ASSERT_TRUE(BackdropImage) << "backdrop not available";
  NeonMode = 1;
  BackgroundOn = 1;
  BuildWeb(1);
  DrawWeb();
  const std::vector<DrawEntry>& log = GetDrawLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0].kind, DrawKind::Image);
  ASSERT_FALSE(log[0].points.empty());
  EXPECT_DOUBLE_EQ(log[0].points[0].x, 208.0);
  EXPECT_DOUBLE_EQ(log[0].points[0].y, 66.0);
  EXPECT_EQ(log[1].kind, DrawKind::Image);
  ASSERT_FALSE(log[1].points.empty());
  EXPECT_GT(log[1].points[0].x, 5000.0);  // far off screen
  EXPECT_EQ(log[2].kind, DrawKind::Strip);

  ClearDrawLog();
  BackgroundOn = 0;
  DrawWeb();
  ASSERT_GE(GetDrawLog().size(), 2u);
  EXPECT_GT(GetDrawLog()[0].points[0].x, 5000.0);  // no backdrop: the priming comes first
  BackdropImage.reset();
}

TEST_F(WebDrawTest, LevelCompleteColoursMoveOutwardRingByRing) {
  BuildWeb(4);
  struct Case {
    int step;
    int ring1_row, spoke_row;  // rows of the sixteen-colour cycle
  };
  for (const Case& c : {Case{0, 11, 3}, Case{1, 12, 4}, Case{5, 0, 8}, Case{31, 10, 2}}) {
    SCOPED_TRACE(c.step);
    WebColourStep = c.step;

    NeonMode = 0;
    ClearDrawLog();
    DrawLevelCompleteWeb();
    std::vector<DrawEntry> lines = Entries(DrawKind::Line);
    ASSERT_EQ(lines.size(), 108u);
    const ColorRow& ring1 = ColorTable[c.ring1_row];
    const ColorRow& spoke = ColorTable[c.spoke_row];
    EXPECT_EQ(lines[0].argb, Argb(ring1.r, ring1.g, ring1.b));
    EXPECT_EQ(lines[11].argb, Argb(ring1.r, ring1.g, ring1.b));
    EXPECT_EQ(lines[107].argb, Argb(spoke.r, spoke.g, spoke.b));
    // Ring q + 1 shows what ring q showed one step earlier.
    for (int q = 1; q < 9; ++q) {
      const ColorRow& row = ColorTable[(11 - q + c.step) % 48];
      EXPECT_EQ(lines[12 * q].argb, Argb(row.r, row.g, row.b)) << q;
      EXPECT_EQ(lines[12 * q + 11].argb, Argb(row.r, row.g, row.b)) << q;
    }
    EXPECT_TRUE(IsWhite());

    if (!DotImage) continue;
    NeonMode = 1;
    ClearDrawLog();
    DrawLevelCompleteWeb();
    const std::vector<DrawEntry> strips = Entries(DrawKind::Strip);
    ASSERT_EQ(strips.size(), 216u);
    EXPECT_EQ(strips[0].argb, ring1.glow);
    EXPECT_EQ(strips[1].argb, ring1.glow);
    EXPECT_EQ(strips[215].argb, spoke.glow);
    EXPECT_TRUE(IsWhite());
  }
  // Wire and glow colours differ in hue in row 9: the wire line must use the wire one.
  WebColourStep = 0;
  NeonMode = 0;
  ClearDrawLog();
  DrawLevelCompleteWeb();
  EXPECT_EQ(Entries(DrawKind::Line)[12 * 2].argb, Argb(128, 255, 128));  // ring 3: row 9
}

TEST_F(WebDrawTest, LevelCompleteStepOutOfRangeStaysInThePalette) {
  BuildWeb(4);
  NeonMode = 0;
  for (int step : {-1, -100, 48, 1000, INT_MAX, INT_MIN}) {
    SCOPED_TRACE(step);
    WebColourStep = step;
    ClearDrawLog();
    DrawLevelCompleteWeb();
    const std::vector<DrawEntry> lines = Entries(DrawKind::Line);
    ASSERT_EQ(lines.size(), 108u);
    long long row = (11LL + step) % 48;
    if (row < 0) row += 48;
    const ColorRow& ring1 = ColorTable[row];
    EXPECT_EQ(lines[0].argb, Argb(ring1.r, ring1.g, ring1.b));
  }
  WebColourStep = 0;
}

}  // namespace
