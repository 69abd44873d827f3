// The bonus level's thunderbugs: their paths, the snake, breaking off, the hits and
// the ways a bonus level ends.
#include "arena/thunderbugs.h"

#include <gtest/gtest.h>

#include <cmath>

#include "arena/arena_world.h"
#include "arena/insect_shapes.h"
#include "arena/level_start.h"
#include "data/thunder_paths.h"
#include "platform/geometry.h"

namespace {

constexpr int kPathPoints[kThunderPathCount] = {87, 42, 31, 27, 23, 30, 31, 32,
                                                45, 35, 57, 46, 51, 51, 54, 58};

bool OnOrBeyondTheBorder(int x, int y) {
  return x <= 0 || x >= 1023 || y <= 0 || y >= 767;
}

class Thunderbugs : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    LoadEnemyShapes();
    LoadWebLayouts();
  }
  void SetUp() override {
    ResetWorld();
    Level = 4;
    PlayerX = 512;  // where no path runs close by
    PlayerY = 700;
  }
  void TearDown() override { ResetWorld(); }
  static Enemies& Bug() {
    NewThunderbug();
    return *EnemyList.Last();
  }
};

TEST_F(Thunderbugs, EveryPathHasItsPointsAndRunsFromBorderToBorder) {
  for (int p = 0; p < kThunderPathCount; ++p) {
    SCOPED_TRACE(p + 1);
    const int* t = ThunderPathTables[p];
    int n = 0;
    while (n <= kThunderPathMaxPoints && t[2 * n] != kThunderPathEnd) ++n;
    ASSERT_EQ(n, kPathPoints[p]);
    EXPECT_TRUE(OnOrBeyondTheBorder(t[0], t[1]));
    EXPECT_TRUE(OnOrBeyondTheBorder(t[2 * n - 2], t[2 * n - 1]));
    // Through the arena, not along its edge.
    bool crosses_the_web = false;
    for (int i = 0; i < n; ++i) crosses_the_web |= InsidePlayEllipse(t[2 * i], t[2 * i + 1]);
    EXPECT_TRUE(crosses_the_web);
  }
}

TEST_F(Thunderbugs, AnUnshotThunderbugFliesEachWholePathAndIsGoneAtItsEnd) {
  PlayerX = -1000;  // out of every path's way
  PlayerY = -1000;
  for (int p = 1; p <= kThunderPathCount; ++p) {
    SCOPED_TRACE(p);
    EnemyList.Clear();
    LoadThunderPath(p);
    ThunderRandomDelay = 1000000;  // alone, it would soon count as a beaten group
    ASSERT_EQ(ThunderPathPoints, kPathPoints[p - 1]);
    Enemies* bug = EnemyList.First();
    ASSERT_NE(bug, nullptr);
    EXPECT_FLOAT_EQ(bug->x, ThunderPath[1].x);
    EXPECT_EQ(bug->TargetX, ThunderPath[2].x);
    int last_point = 1, frames = 0;
    HurryOut = 0;
    while (EnemyList.Contains(bug) && frames < 2000) {
      UpdateThunderbugs();
      ++frames;
      if (EnemyList.Contains(bug)) {
        // Point by point, never skipping one nor falling behind for long.
        ASSERT_GE(bug->PathCount, last_point);
        ASSERT_LE(bug->PathCount, last_point + 1);
        last_point = bug->PathCount;
      }
    }
    EXPECT_FALSE(EnemyList.Contains(bug)) << "still flying after " << frames << " frames";
    EXPECT_EQ(last_point, kPathPoints[p - 1] - 1);
    // With none left the level is over: everything sent off, no kill.
    EXPECT_EQ(HurryOut, 1);
    EXPECT_EQ(WavePhase, 4);
    EXPECT_EQ(ThunderHits, 0);
    EXPECT_EQ(PlayerHit, 0);
  }
}

TEST_F(Thunderbugs, OneBeyondTheEndOfAShorterPathLeavesAtItsNextPoint) {
  // A bonus level's web built again (the level-complete flow builds level 4's) can
  // choose a shorter path under thunderbugs already far along another.
  PlayerX = -1000;
  LoadThunderPath(1);
  ThunderRandomDelay = 1000000;
  Enemies& bug = *EnemyList.First();
  bug.PathCount = 80;
  LoadThunderPath(5);
  EnemyList.Remove(EnemyList.Last());  // the new path's own first thunderbug
  bug.x = static_cast<float>(bug.TargetX);
  bug.y = static_cast<float>(bug.TargetY);
  UpdateThunderbugs();
  EXPECT_FALSE(EnemyList.Contains(&bug));
}

TEST_F(Thunderbugs, ElevenComeNoseToTailTenFramesApart) {
  SetUpThunderbugs();
  EXPECT_EQ(EnemyList.Count(), 1u);
  int made_at[11] = {};
  int made = 1;
  for (int frame = 1; frame <= 200; ++frame) {
    SpawnThunderbugs();
    if (static_cast<int>(EnemyList.Count()) > made) made_at[made++] = frame;
  }
  EXPECT_EQ(made, 11);
  EXPECT_EQ(made_at[1], 1);
  for (int i = 2; i < 11; ++i) EXPECT_EQ(made_at[i] - made_at[i - 1], 10) << i;
  for (const Enemies& e : EnemyList) {
    EXPECT_EQ(e.EnemyType, kThunderbug);
    EXPECT_EQ(e.Life, 2);
    EXPECT_EQ(e.Size, 20);
  }
}

TEST_F(Thunderbugs, TheGroupBreaksOffAfterAHundredFramesOnlyBelowFourteenHitsLeft) {
  PlayerX = -1000;  // out of the snake's way
  SetUpThunderbugs();
  for (int i = 0; i < 10; ++i) NewThunderbug();  // 11 bugs, 22 hits to go
  int n = 0;
  for (Enemies& e : EnemyList)
    if (n++ < 9) e.Life = 1;  // 13 left
  for (int frame = 1; frame < 100; ++frame) {
    UpdateThunderbugs();
    ASSERT_EQ(ThunderWentRandom, 0) << frame;
  }
  UpdateThunderbugs();
  EXPECT_EQ(ThunderWentRandom, 1);
  for (const Enemies& e : EnemyList) EXPECT_EQ(e.GoRandom, 1);

  // Fourteen hits left: it stays on the path however long.
  ResetWorld();
  Level = 4;
  PlayerX = -1000;
  SetUpThunderbugs();
  for (int i = 0; i < 10; ++i) NewThunderbug();
  n = 0;
  for (Enemies& e : EnemyList)
    if (n++ < 8) e.Life = 1;
  for (int frame = 0; frame < 300; ++frame) UpdateThunderbugs();
  EXPECT_EQ(ThunderWentRandom, 0);
}

TEST_F(Thunderbugs, OffThePathTheyCrossTheArena) {
  LoadThunderPath(4);
  ThunderRandomDelay = 1000000;
  Enemies& e = *EnemyList.First();
  e.GoRandom = 1;
  e.x = 512;
  e.y = 384;
  for (int i = 0; i < 300; ++i) {
    e.TargetX = static_cast<int>(e.x);  // arrived: a new target now
    e.TargetY = static_cast<int>(e.y);
    UpdateThunderbugs();
    ASSERT_TRUE(InsidePlayEllipse(e.TargetX, e.TargetY));
    ASSERT_GT(Distance(e.x, e.y, e.TargetX, e.TargetY), 250 - 8);
  }
}

TEST_F(Thunderbugs, TwoHitsEachFirstAColourThenARingAndTwoHundredFifty) {
  SetUpThunderbugs();
  Enemies& e = *EnemyList.First();
  e.x = 300;
  e.y = 300;
  Level = 4;
  int left = 0;
  for (int seed = 1; seed <= 200; ++seed) {
    SeedRandom(seed);
    e.EnemyType = kThunderbug;
    e.Life = 2;
    e.GoRandom = 0;
    HitThunderbug(e);
    left += e.GoRandom;
  }
  EXPECT_EQ(e.EnemyType, kThunderbugHit);
  EXPECT_EQ(e.Life, 1);
  EXPECT_EQ(ThunderHits, 200);
  EXPECT_NEAR(left, 50, 20);  // on level 4 one first hit in four sends it off the path
  EXPECT_EQ(Score, 0);
  ExplosionList.Clear();
  HitThunderbug(e);
  EXPECT_TRUE(EnemyList.Empty());
  EXPECT_EQ(Score, 250);
  ASSERT_EQ(ExplosionList.Count(), 1u);
  EXPECT_DOUBLE_EQ(ExplosionList.First()->MaxRingSize, 32);

  // From level 79 on every first hit breaks off.
  Level = 79;
  Enemies& late = Bug();
  HitThunderbug(late);
  EXPECT_EQ(late.GoRandom, 1);
  EXPECT_TRUE(InsidePlayEllipse(late.TargetX, late.TargetY));
}

TEST_F(Thunderbugs, TwentyHitsPayFiveThousandOnce) {
  SetUpThunderbugs();
  for (int i = 0; i < 3; ++i) NewThunderbug();
  ThunderHits = 19;
  UpdateThunderbugs();
  EXPECT_EQ(Score, 0);
  ThunderHits = 20;
  UpdateThunderbugs();
  EXPECT_EQ(Score, 5000);
  std::string shown;
  for (const chars& c : CharList) shown += c.ch;
  EXPECT_EQ(shown, "5000");
  EXPECT_EQ(CharList.First()->y, 700 - 50);
  for (int i = 0; i < 10; ++i) UpdateThunderbugs();
  EXPECT_EQ(Score, 5000);
}

// Contact is tested on every frame: whichever insect types the round-robin of normal
// levels would test next, a thunderbug on the spider ends the bonus level.
TEST_F(Thunderbugs, TouchingOneEndsTheBonusLevelOnEveryFrame) {
  for (const int round_robin : {1, 2, 3, 5, 6, 7, 9}) {
    SCOPED_TRACE(round_robin);
    ResetWorld();
    PlayerX = 512;
    PlayerY = 700;
    Level = 4;
    BeginLevel(4);
    ContactCheckType = round_robin;
    Enemies& bug = Bug();
    bug.x = bug.TargetX = 512;
    bug.y = bug.TargetY = 700 - 8;
    bug.angle = 180;
    bug.GoRandom = 1;
    // It asks for the next level at once (the game loop begins it) and sends all off.
    EXPECT_TRUE(UpdateThunderbugs());
    ASSERT_EQ(PlayerHit, 1);
    EXPECT_EQ(HurryOut, 1);
  }
}

}  // namespace
