#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/clock.h"
#include "platform/random.h"
#include "platform/trig.h"

namespace {

TEST(Random, SameSeedSameSequenceAndBoundsIncluded) {
  SeedRandom(1234);
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(RandInt(1, 6));
  SeedRandom(1234);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(RandInt(1, 6), first[i]);

  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int v = RandInt(-2, 2);
    ASSERT_GE(v, -2);
    ASSERT_LE(v, 2);
    seen.insert(v);
  }
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(RandInt(7, 7), 7);
  EXPECT_GE(RandInt(5, 3), 3);
  EXPECT_LE(RandInt(5, 3), 5);
}

TEST(Random, RealsStayInsideHalfOpenRange) {
  SeedRandom(99);
  for (int i = 0; i < 5000; ++i) {
    const double v = RandReal(-1.5, 2.5);
    ASSERT_GE(v, -1.5);
    ASSERT_LT(v, 2.5);
  }
}

TEST(Random, CosmeticDrawsNeverShiftTheGamesNumbers) {
  SeedRandom(77);
  std::vector<int> game;
  for (int i = 0; i < 20; ++i) game.push_back(RandInt(0, 1000));

  // However many cosmetic numbers are drawn in between, the game's come out the same.
  SeedRandom(77);
  std::vector<int> look;
  for (int i = 0; i < 20; ++i) {
    for (int k = 0; k < i; ++k) look.push_back(CosmeticRandInt(0, 1000));
    EXPECT_EQ(RandInt(0, 1000), game[static_cast<size_t>(i)]) << i;
  }
  // The cosmetic stream is seeded too, and is not the game's stream over again.
  SeedRandom(77);
  std::vector<int> again;
  for (size_t i = 0; i < look.size(); ++i) again.push_back(CosmeticRandInt(0, 1000));
  EXPECT_EQ(again, look);
  SeedRandom(77);
  int same = 0;
  for (int i = 0; i < 20; ++i) same += CosmeticRandInt(0, 1000) == game[static_cast<size_t>(i)];
  EXPECT_LT(same, 3);
  EXPECT_GE(CosmeticRandInt(5, 3), 3);
  EXPECT_LE(CosmeticRandInt(5, 3), 5);
}

TEST(Trig, DegreesAndHeadingConvention) {
  EXPECT_NEAR(Sin(90), 1.0, 1e-12);
  EXPECT_NEAR(Cos(180), -1.0, 1e-12);
  EXPECT_NEAR(ATan2(1, 1), 45.0, 1e-12);
  // Speed s on heading a moves by (s sin a, -s cos a): heading 90 moves right.
  EXPECT_NEAR(3 * Sin(90), 3.0, 1e-12);
  EXPECT_NEAR(-3 * Cos(90), 0.0, 1e-12);
}

TEST(Clock, VirtualClockOnlyMovesByDelay) {
  UseVirtualClock(5000);
  EXPECT_TRUE(ClockIsVirtual());
  EXPECT_EQ(Millisecs(), 5000);
  Delay(40000);
  EXPECT_EQ(Millisecs(), 45000);
  Delay(-5);
  Delay(0);
  EXPECT_EQ(Millisecs(), 45000);
  UseRealClock();
  EXPECT_FALSE(ClockIsVirtual());
}

}  // namespace
