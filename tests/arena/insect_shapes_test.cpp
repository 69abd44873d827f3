// The insects' line art and its tables turned to every heading.
#include "arena/insect_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "arena/enemies.h"
#include "data/enemy_shapes.h"

namespace {

class InsectShapes : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadEnemyShapes(); }
};

struct ShapeFacts {
  int lines, frames;
  std::uint32_t c1;
  int n1;
  std::uint32_t c2;
  int n2;
  std::uint32_t flash;
  int extent;
};
const ShapeFacts kFacts[kEnemyShapeCount] = {
    {29, 3, 0xFFBD0B00, 42, 0xFF888800, 45, 0xFFBD0B00, 21},
    {20, 3, 0xFF32C21E, 48, 0xFFF900C3, 12, 0xFFF900C3, 19},
    {33, 3, 0xFF1627FF, 42, 0xFFBD0022, 57, 0xFF1627FF, 31},
    {33, 3, 0xFF8CC200, 39, 0xFFC2C2C2, 60, 0xFF8CC200, 67},
    {20, 3, 0xFFBD0022, 36, 0xFF8CC200, 24, 0xFFBD0022, 28},
    {16, 3, 0xFFFFFFFF, 24, 0xFFBD0022, 24, 0xFFFFFFFF, 30},
    {40, 3, 0xFF862389, 30, 0xFF852221, 90, 0xFF862389, 33},
    {35, 3, 0xFFBE23C3, 21, 0xFF32C21E, 84, 0xFFBE23C3, 33},
    {15, 3, 0xFFBD0022, 24, 0xFFFFFFFF, 21, 0, 20},
    {12, 4, 0xFFFBC200, 16, 0xFFBD0022, 32, 0, 26},
    {31, 1, 0xFF3EFF00, 13, 0xFFC2C2C2, 18, 0, 27},
    {12, 4, 0xFFF900C3, 16, 0xFF32C21E, 32, 0, 26},
};

TEST_F(InsectShapes, ShapeTablesHoldTheirLinesColoursAndExtents) {
  for (int s = 1; s <= kEnemyShapeCount; ++s) {
    const ShapeFacts& want = kFacts[s - 1];
    const EnemyShapeSource& src = EnemyShapeSources[s - 1];
    ASSERT_EQ(src.lines, want.lines) << s;
    ASSERT_EQ(src.frames, want.frames) << s;
    EXPECT_EQ(src.flash_color, want.flash) << s;
    std::map<std::uint32_t, int> counts;
    std::map<std::uint32_t, std::vector<int>> wire;
    double extent = 0;
    for (int i = 0; i < src.lines * src.frames; ++i) {
      const EnemyShapeRecord& r = src.records[i];
      ++counts[r.color];
      std::vector<int> rgb{r.red, r.green, r.blue};
      if (wire.count(r.color)) {
        EXPECT_EQ(wire[r.color], rgb) << s;  // one wire colour each
      }
      wire[r.color] = rgb;
      for (float v : {r.x1, r.y1, r.x2, r.y2}) extent = std::max(extent, std::fabs(double{v}));
    }
    EXPECT_EQ(counts.size(), 2u) << s;
    EXPECT_EQ(counts[want.c1], want.n1) << s;
    EXPECT_EQ(counts[want.c2], want.n2) << s;
    EXPECT_DOUBLE_EQ(extent, want.extent) << s;
    if (s <= kBugSlayer) {
      EXPECT_EQ(EnemyFlashColor(s), want.flash);
    }
  }
  // The hornet's red lines are crimson in wire mode.
  const EnemyShapeRecord& hornet = EnemyShapeSources[0].records[0];
  EXPECT_EQ(hornet.color, 0xFFBD0B00u);
  EXPECT_EQ((std::vector<int>{hornet.red, hornet.green, hornet.blue}),
            (std::vector<int>{189, 0, 34}));
  EXPECT_EQ(EnemyFlashColor(kRockette), 0u);
  EXPECT_EQ(EnemyFlashColor(kThunderbugHit), 0u);
}

TEST_F(InsectShapes, StartUpLoadsTheFramesEachShapeIsUsedWith) {
  const int frames[] = {3, 3, 3, 3, 3, 3, 3, 3, 3, 4, 1, 4};
  for (int s = 1; s <= kEnemyShapeCount; ++s) {
    EXPECT_EQ(EnemyShapeFrameCount(s), frames[s - 1]) << s;
    EXPECT_EQ(EnemyShapeLineCount(s), kFacts[s - 1].lines) << s;
    EXPECT_NE(EnemyShapeLines(s, 359, frames[s - 1] - 1), nullptr);
    EXPECT_EQ(EnemyShapeLines(s, 0, frames[s - 1]), nullptr);
  }
  EXPECT_EQ(EnemyShapeLines(0, 0, 0), nullptr);
  EXPECT_EQ(EnemyShapeLines(13, 0, 0), nullptr);
  EXPECT_EQ(EnemyShapeLineCount(13), 0);
}

TEST_F(InsectShapes, TurnedTablesRotateClockwiseAndTruncateTowardZero) {
  // The hornet's sting: its abdomen runs (5.8, 12) to (0, 21) on the right side.
  const EnemyShapeSource& src = EnemyShapeSources[0];
  int sting = -1;
  for (int i = 0; i < src.lines; ++i) {
    const EnemyShapeRecord& r = src.records[i];
    if (r.x1 == 5.8f && r.y1 == 12.0f && r.x2 == 0.0f && r.y2 == 21.0f) sting = i;
  }
  ASSERT_GE(sting, 0);
  const EnemyShapeLine& up = EnemyShapeLines(1, 0, 0)[sting];
  EXPECT_EQ(up.x1, 5);
  EXPECT_EQ(up.y1, 12);
  EXPECT_EQ(up.y2, 21);
  // Facing right the sting points left; every length is kept.
  const EnemyShapeLine& right = EnemyShapeLines(1, 90, 0)[sting];
  EXPECT_EQ(right.x1, -12);
  EXPECT_EQ(right.y1, 5);
  EXPECT_EQ(right.x2, -21);
  EXPECT_EQ(right.y2, 0);
  EXPECT_EQ(right.L, 29);
  EXPECT_EQ(right.color, 0xFF888800u);
  EXPECT_EQ(right.red, 255);
  // 30 degrees: (5.8 cos - 12 sin, 5.8 sin + 12 cos) = (-0.98, 13.29); (0, 21) goes
  // to (-10.5, 18.19).
  const EnemyShapeLine& thirty = EnemyShapeLines(1, 30, 0)[sting];
  EXPECT_EQ(thirty.x1, 0);
  EXPECT_EQ(thirty.y1, 13);
  EXPECT_EQ(thirty.x2, -10);
  EXPECT_EQ(thirty.y2, 18);
  // Headings wrap.
  EXPECT_EQ(EnemyShapeLines(1, 450, 0), EnemyShapeLines(1, 90, 0));
  EXPECT_EQ(EnemyShapeLines(1, -270, 0), EnemyShapeLines(1, 90, 0));
  // Every quarter turn of every line of every shape is exact.
  for (int s = 1; s <= kEnemyShapeCount; ++s) {
    const EnemyShapeSource& sh = EnemyShapeSources[s - 1];
    for (int f = 0; f < EnemyShapeFrameCount(s); ++f) {
      const EnemyShapeLine* q = EnemyShapeLines(s, 180, f);
      for (int i = 0; i < sh.lines; ++i) {
        const EnemyShapeRecord& r = sh.records[f * sh.lines + i];
        EXPECT_EQ(q[i].x1, -static_cast<int>(r.x1)) << s << " " << i;
        EXPECT_EQ(q[i].y2, -static_cast<int>(r.y2)) << s << " " << i;
      }
    }
  }
}

}  // namespace
