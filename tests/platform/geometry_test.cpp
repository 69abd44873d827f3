// The pure geometry of the movers and screens, and the arena's ellipses.
#include "platform/geometry.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Geometry, WithinRadiusIsStrictAndIntegerExact) {
  EXPECT_FALSE(WithinRadius(0, 0, 3, 4, 5));  // exactly r away
  EXPECT_TRUE(WithinRadius(0, 0, 3, 4, 6));
  EXPECT_TRUE(WithinRadius(10, 10, 10, 10, 1));
  EXPECT_FALSE(WithinRadius(10, 10, 10, 10, 0));
  EXPECT_FALSE(WithinRadius(0, 0, 1, 1, -5));
  // Far-apart points must not wrap around into "near".
  EXPECT_FALSE(WithinRadius(-2000000000, 0, 2000000000, 0, 100));
}

TEST(Geometry, DistanceAndRemap) {
  EXPECT_DOUBLE_EQ(Distance(1, 2, 4, 6), 5.0);
  EXPECT_DOUBLE_EQ(Distance(-3, 0, -3, 0), 0.0);
  EXPECT_DOUBLE_EQ(Remap(5, 0, 10, 100, 200), 150.0);
  EXPECT_DOUBLE_EQ(Remap(15, 0, 10, 100, 200), 250.0);  // carried beyond the range
  EXPECT_DOUBLE_EQ(Remap(2, 10, 0, 0, 1), 0.8);         // reversed source range
  EXPECT_DOUBLE_EQ(Remap(3, 4, 4, 7, 9), 7.0);          // empty source range
}

TEST(Geometry, InsideEllipseExcludesTheRim) {
  EXPECT_TRUE(InsideEllipse(512, 384, 512, 384, 420, 300));
  EXPECT_FALSE(InsideEllipse(512 + 420, 384, 512, 384, 420, 300));
  EXPECT_FALSE(InsideEllipse(512, 384 - 300, 512, 384, 420, 300));
  EXPECT_TRUE(InsideEllipse(512 + 419.9, 384, 512, 384, 420, 300));
  EXPECT_FALSE(InsideEllipse(512 + 300, 384 + 250, 512, 384, 420, 300));
  EXPECT_FALSE(InsideEllipse(5, 5, 5, 5, 0, 0));  // degenerate ellipse holds nothing
}

TEST(Geometry, SegmentsCrossOnlyWhenTheirInsidesMeet) {
  EXPECT_TRUE(SegmentsCross(0, 0, 10, 10, 0, 10, 10, 0));   // a clean X
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 10, 0, 20, 5));   // touch at an end
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 5, 0, 5, 10));    // T: end on the other
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 0, 5, 10, 5));    // parallel
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 0, 2, 0, 8, 0));     // collinear overlap
  EXPECT_FALSE(SegmentsCross(0, 0, 10, 10, 20, 0, 11, 9));  // lines cross, segments not
  EXPECT_TRUE(SegmentsCross(0, 0, 10, 0, 9.99, -1, 9.99, 1));
}

TEST(Geometry, RectsOverlapCountsTouching) {
  EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 5, 5, 10, 10));
  EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 10, 0, 10, 10));  // edges touch
  EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 10, 10, 5, 5));   // corners touch
  EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 11, 0, 10, 10));
  EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 0, -11, 10, 10));
  EXPECT_TRUE(RectsOverlap(0, 0, 100, 100, 40, 40, 2, 2));  // one inside the other
}

TEST(Geometry, TruncationTowardZeroSurvivesGarbage) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);  // toward zero, not down
  EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
  // Held where squared distances still fit: two far points are never "near".
  EXPECT_EQ(TruncToInt(1e300), 30000);
  EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), -30000);
  EXPECT_FALSE(WithinRadius(TruncToInt(1e12), 0, TruncToInt(-1e12), 0, 100));
}

TEST(Geometry, TheArenaEllipsesNestAndExcludeTheirRims) {
  EXPECT_TRUE(InsidePlayEllipse(kArenaCX, kArenaCY));
  EXPECT_FALSE(InsidePlayEllipse(kArenaCX + kPlayRX, kArenaCY));
  EXPECT_TRUE(InsidePlayEllipse(kArenaCX, kArenaCY - kPlayRY + 0.5));
  // A point just past the play rim is still inside the exit ellipse, and the entry
  // ellipse lies between the two.
  EXPECT_TRUE(InsideExitEllipse(kArenaCX + kPlayRX + 1, kArenaCY));
  EXPECT_TRUE(InsideExitEllipse(kArenaCX + kEntryRX, kArenaCY));
  EXPECT_FALSE(InsidePlayEllipse(kArenaCX + kEntryRX, kArenaCY));
  EXPECT_FALSE(InsideExitEllipse(kArenaCX, kArenaCY + kExitRY));
}

}  // namespace
