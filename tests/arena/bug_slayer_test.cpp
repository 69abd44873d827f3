// The bug slayer: choosing a victim, winding up, charging and eating.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "arena/arena_world.h"
#include "arena/insect_shapes.h"
#include "arena/insects.h"
#include "platform/geometry.h"

namespace {

enum { kRoam = 1, kWindUpInsect = 2, kChase = 3, kWindUpGrub = 4, kCharge = 5 };

class BugSlayer : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadEnemyShapes(); }
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }
  // A slayer that arrives at its roaming point this frame, and so chooses a victim.
  static Enemies& Arriving(double x, double y) {
    Enemies& s = Insect(kBugSlayer, x, y);
    s.HuntingMode = kRoam;
    s.TargetX = static_cast<int>(x);
    s.TargetY = static_cast<int>(y);
    return s;
  }
};

TEST_F(BugSlayer, AloneItWindsUpChargesItsRoamingPointAndRoamsAgain) {
  Enemies& s = Arriving(400, 300);
  UpdateEnemies(0);
  ASSERT_EQ(s.HuntingMode, kWindUpGrub);  // nothing else on the web: a grubsteak, none
  EXPECT_EQ(s.TargetID, 0);
  const int tx = s.TargetX, ty = s.TargetY;
  int frames = 0;
  while (s.HuntingMode == kWindUpGrub && frames < 100) {
    UpdateEnemies(0);
    ++frames;
  }
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(s.HuntingMode, kCharge);
  UpdateEnemies(0);  // charges once at its point, finds no grubsteak of its own
  EXPECT_EQ(s.HuntingMode, kRoam);
  EXPECT_NEAR(std::hypot(s.xspeed, s.yspeed), 5.0, 1e-4);
  EXPECT_EQ(AimAt(tx, ty, s.x - s.xspeed, s.y - s.yspeed), s.angle);
}

TEST_F(BugSlayer, WithFoodAndCompanyItGoesForAnInsectOneTimeInFour) {
  std::map<int, int> chosen;
  for (int seed = 1; seed <= 400; ++seed) {
    ResetWorld();
    SeedRandom(seed);
    CreateGrub(200, 400);
    Insect(kSpoiler, 700, 500);
    Enemies& s = Arriving(400, 300);
    UpdateEnemies(0);
    ++chosen[s.HuntingMode];
  }
  EXPECT_EQ(chosen.size(), 2u);
  EXPECT_NEAR(chosen[kWindUpInsect], 100, 30);  // above 74 in 100
  EXPECT_NEAR(chosen[kWindUpGrub], 300, 30);
}

TEST_F(BugSlayer, AClaimedGrubsteakIsNeverChosen) {
  CreateGrub(200, 400);
  GrubList.First()->TargetID = 555;  // a hornet's
  CreateGrub(600, 400);
  Grubs& free_one = *GrubList.Last();
  Enemies& s = Arriving(400, 300);
  UpdateEnemies(0);
  ASSERT_EQ(s.HuntingMode, kWindUpGrub);
  EXPECT_EQ(GrubList.First()->Flashing, 0);
  EXPECT_EQ(GrubList.First()->TargetID, 555);
  EXPECT_EQ(free_one.Flashing, 1);
  EXPECT_EQ(free_one.TargetID, s.TargetID);
  EXPECT_EQ(s.TargetX, 600);
  // Hornets leave the marked one alone too.
  Enemies& hornet = Insect(kHornet, 600, 380);
  hornet.HuntingMode = 3;
  hornet.GraceperiodForNotCheckingPerimeter = 100;
  hornet.EarlierMode = 1;
  UpdateEnemies(0);
  EXPECT_EQ(hornet.TargetID, 0);
}

// Arrived, it chooses a victim in any case; the whim is drawn all the same, after the
// new roaming point.
TEST_F(BugSlayer, ItDrawsItsWhimEveryRoamingFrameEvenWhenItHasArrived) {
  Enemies& s = Arriving(400, 300);
  std::vector<RandomDraw> draws;
  AttachRandomDrawLog(&draws);
  UpdateEnemies(0);
  AttachRandomDrawLog(nullptr);
  EXPECT_EQ(s.HuntingMode, kWindUpGrub);
  ASSERT_GE(draws.size(), 3u);
  ASSERT_EQ(draws.size() % 2, 1u);
  // The new roaming point: 300 either side of where it flew to, 200 above and below.
  for (std::size_t i = 0; i + 1 < draws.size(); i += 2) {
    EXPECT_EQ(draws[i].hi - draws[i].lo, 600) << i;
    EXPECT_EQ(draws[i + 1].hi - draws[i + 1].lo, 400) << i;
  }
  EXPECT_EQ(draws.back(), (RandomDraw{1, 900}));  // alone: the choice draws nothing
}

TEST_F(BugSlayer, HornetsArePreferredAndEvenARocketBugCanBeEaten) {
  int insect_chosen = 0;
  for (int seed = 1; seed <= 30; ++seed) {
    ResetWorld();
    SeedRandom(seed);
    Insect(kSpoiler, 700, 500);
    Enemies& hornet = Insect(kHornet, 200, 500);
    Insect(kBugSlayer, 100, 100).HuntingMode = 9;  // never a victim
    Enemies& s = Arriving(400, 300);
    UpdateEnemies(0);
    if (s.HuntingMode != kWindUpInsect) continue;
    ++insect_chosen;
    EXPECT_EQ(hornet.Flashing, 1);
    int marked = 0;
    for (const Enemies& e : EnemyList) marked += e.Flashing;
    EXPECT_EQ(marked, 1);
  }
  // One time in four an insect, so these seeds choose one several times.
  EXPECT_GE(insect_chosen, 3);
  // A marked rocket bug, which no bullet kills, is eaten once reached.
  ResetWorld();
  Enemies& rocket = Insect(kRocketBug, 420, 300);
  rocket.Flashing = 1;
  rocket.DelayBeforeBeingAbleToShoot = 1000;
  Enemies& s = Insect(kBugSlayer, 400, 300);
  s.HuntingMode = kChase;
  UpdateEnemies(0);
  EXPECT_FALSE(EnemyList.Contains(&rocket));
  EXPECT_EQ(s.HuntingMode, kRoam);
  EXPECT_EQ(Score, 0);
  EXPECT_TRUE(ExplosionList.Empty());
}

TEST_F(BugSlayer, AVictimGoneAnotherWayEndsTheChase) {
  Enemies& s = Insect(kBugSlayer, 400, 300);
  s.HuntingMode = kChase;
  const float x = s.x;
  UpdateEnemies(0);  // nobody flashes
  EXPECT_EQ(s.HuntingMode, kRoam);
  EXPECT_FLOAT_EQ(s.x, x);
  EXPECT_TRUE(InsidePlayEllipse(s.TargetX, s.TargetY));
}

TEST_F(BugSlayer, ItEatsItsGrubsteakWithinTwentyAndAnOrphanedMarkOutlivesItsClaim) {
  CreateGrub(419, 300);
  Grubs& g = *GrubList.First();
  g.Flashing = 1;
  g.TargetID = 77;
  Enemies& s = Insect(kBugSlayer, 400, 300);
  s.HuntingMode = kCharge;
  s.TargetID = 77;
  s.TargetX = 419;
  s.TargetY = 300;
  UpdateEnemies(0);
  EXPECT_TRUE(GrubList.Empty());
  EXPECT_EQ(s.HuntingMode, kRoam);
  EXPECT_EQ(s.TargetID, 0);
  EXPECT_EQ(Score, 0);

  // A marked grubsteak whose slayer has gone is free of its claim, but only the next
  // slayer's choice takes the mark away.
  CreateGrub(300, 300);
  Grubs& orphan = *GrubList.First();
  orphan.Flashing = 1;
  orphan.TargetID = 78;
  StepGrubs(0);
  EXPECT_EQ(orphan.TargetID, 0);
  EXPECT_EQ(orphan.Flashing, 1);
  // A lone slayer's choice clears every mark, then marks the one free grubsteak anew.
  EnemyList.Clear();
  Arriving(500, 300);
  UpdateEnemies(0);
  EXPECT_EQ(orphan.Flashing, 1);
  EXPECT_NE(orphan.TargetID, 0);
}

}  // namespace
