// Dragonflies, grenade bugs, rocket bugs, rockettes and spoilers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "arena/arena_world.h"
#include "arena/hits.h"
#include "arena/insect_shapes.h"
#include "arena/insects.h"
#include "platform/geometry.h"
#include "platform/trig.h"

namespace {

class Wanderers : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadEnemyShapes(); }
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }
  static int Count(int type) {
    int n = 0;
    for (const Enemies& e : EnemyList) n += e.EnemyType == type;
    return n;
  }
};

TEST_F(Wanderers, RocketBugsHoldTheirFireForTwoSecondsThenShootAtTheSpider) {
  for (int i = 0; i < 20; ++i) CreateEnemy(1, 300 + 20 * i, 300, 0, kRocketBug);
  for (int frame = 1; frame <= 120; ++frame) {
    UpdateEnemies(0);
    ASSERT_EQ(Count(kRockette), 0) << "frame " << frame;
  }
  // One chance in 320 a frame each: twenty bugs fire a few times in 200 frames.
  for (int frame = 0; frame < 200; ++frame) UpdateEnemies(0);
  EXPECT_GE(Count(kRockette), 3);
  EXPECT_LE(Count(kRockette), 40);
}

TEST_F(Wanderers, ARocketteFiredAtTheRimFliesSixtyFramesBeforeItCanBurst) {
  PlayerX = 1000;  // straight out to the right
  PlayerY = 384;
  CreateEnemy(1, 930, 384, 0, kRockette);
  Enemies* r = EnemyList.First();
  EXPECT_EQ(r->angle, 90);
  for (int frame = 1; frame < 60; ++frame) {
    UpdateEnemies(0);
    ASSERT_TRUE(EnemyList.Contains(r)) << frame;
  }
  EXPECT_FLOAT_EQ(r->x, 930 + 59 * 7);
  UpdateEnemies(0);
  EXPECT_TRUE(EnemyList.Empty());
  ASSERT_EQ(ExplosionList.Count(), 1u);
  EXPECT_DOUBLE_EQ(ExplosionList.First()->MaxRingSize, 22);
  EXPECT_EQ(ExplosionList.First()->Deadly, 0);
}

TEST_F(Wanderers, AHuntingRocketBugKeepsItsKnockBackForLaterASpoilerNot) {
  Enemies& rocket = Insect(kRocketBug, 400, 300, 90);
  rocket.HuntingMode = 2;
  rocket.DelayBeforeBeingAbleToShoot = 1000;
  rocket.TargetX = rocket.TargetY = 400;  // near: no reason to stop hunting
  Enemies& spoiler = Insect(kSpoiler, 600, 300, 90);
  spoiler.HuntingMode = 2;
  const PlayerBullets push = [] {
    PlayerBullets b;
    b.xspeed = 0;
    b.yspeed = -10;
    return b;
  }();
  SeedRandom(4);
  HitEnemy(&rocket, &push);
  HitEnemy(&spoiler, &push);
  ASSERT_EQ(rocket.PushFrames, 2);
  ASSERT_EQ(spoiler.PushFrames, 3);
  const float spoiler_y = spoiler.y;
  UpdateEnemies(0);
  EXPECT_FLOAT_EQ(spoiler.y, spoiler_y - 5);  // half the bullet's speed
  EXPECT_EQ(spoiler.PushFrames, 2);
  ASSERT_EQ(rocket.HuntingMode, 2);  // this seed's draw keeps it hunting
  EXPECT_EQ(rocket.PushFrames, 2);   // still waiting
  // Back to wandering, it takes the knock at last.
  rocket.HuntingMode = 0;
  rocket.TargetX = 100;
  rocket.TargetY = 100;
  const float rocket_y = rocket.y;
  UpdateEnemies(0);
  EXPECT_FLOAT_EQ(rocket.y, rocket_y - 5);
  EXPECT_EQ(rocket.PushFrames, 1);
}

// Every draw the rules name is made, in their order, even where the distance alone
// decides: a generator seeded the same then gives the same game.
TEST_F(Wanderers, HuntingRocketBugsAndSpoilersDrawTheirChanceEveryFrame) {
  std::vector<RandomDraw> draws;
  auto drawn = [&] {
    draws.clear();
    AttachRandomDrawLog(&draws);
    UpdateEnemies(0);
    AttachRandomDrawLog(nullptr);
  };
  // Far from its target, the rocket bug stops hunting whatever the chance says; the
  // chance is drawn after the two firing draws, then a new target.
  Enemies& rocket = Insect(kRocketBug, 400, 300);
  rocket.HuntingMode = 2;
  rocket.DelayBeforeBeingAbleToShoot = 1000;
  rocket.TargetX = 900;
  rocket.TargetY = 700;
  drawn();
  EXPECT_EQ(rocket.HuntingMode, 0);
  ASSERT_GE(draws.size(), 5u);
  EXPECT_EQ(draws[0], (RandomDraw{1, 100}));
  EXPECT_EQ(draws[1], (RandomDraw{1, 320}));
  EXPECT_EQ(draws[2], (RandomDraw{1, 100}));
  ASSERT_EQ(draws.size() % 2, 1u);
  for (std::size_t i = 3; i < draws.size(); i += 2) {
    EXPECT_EQ(draws[i], (RandomDraw{192, 732})) << i;
    EXPECT_EQ(draws[i + 1], (RandomDraw{184, 484})) << i;
  }
  // Near its target, the spoiler keeps hunting whatever the chance says; it is drawn.
  EnemyList.Clear();
  Enemies& spoiler = Insect(kSpoiler, 400, 300);
  spoiler.HuntingMode = 2;
  spoiler.TargetX = 420;
  spoiler.TargetY = 300;
  drawn();
  EXPECT_EQ(spoiler.HuntingMode, 2);
  EXPECT_EQ(draws, (std::vector<RandomDraw>{{1, 100}}));
}

TEST_F(Wanderers, AHuntingGrenadeBugFliesTwiceItsSpeedAtTheSpider) {
  EnemySpeedFactor = 1.5;
  PlayerX = 512;
  PlayerY = 600;
  Enemies& g = Insect(kGrenadeBug, 512, 200, 170);
  g.HuntingMode = 2;
  for (int frame = 0; frame < 10; ++frame) {
    const float x = g.x, y = g.y;
    const int angle = g.angle;
    UpdateEnemies(0);
    EXPECT_NEAR(std::hypot(g.x - x, g.y - y), 1.6 * 1.5, 1e-4);
    const int turned = std::abs(g.angle - angle);
    EXPECT_LE(std::min(turned, 360 - turned), 3);
  }
  EXPECT_NEAR(g.angle, 180, 2);  // on the spider's line by now, within the dead band
}

TEST_F(Wanderers, DragonfliesWanderFromPointToPoint) {
  EnemySpeedFactor = 2;
  Enemies& d = Insect(kDragonfly, 400, 300, 90);
  d.TargetX = 419;
  d.TargetY = 300;
  UpdateEnemies(0);
  EXPECT_NEAR(std::hypot(d.xspeed, d.yspeed), 3.0, 1e-5);
  // It was within 20 of the point after the move: a new one, on the web.
  EXPECT_FALSE(d.TargetX == 419 && d.TargetY == 300);
  EXPECT_TRUE(InsidePlayEllipse(d.TargetX, d.TargetY));
  EXPECT_EQ(LastRandomPoint().x, d.TargetX);
}

}  // namespace
