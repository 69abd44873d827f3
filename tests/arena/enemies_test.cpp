// The insects: steering, creation, the common update with its web bounce and wing
// flaps, hits, contact with the spider, the flight off screen, the shape tables and
// what the drawing sends to OpenGL.
#include "arena/enemies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "arena/arena_world.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/hits.h"
#include "arena/insect_shapes.h"
#include "arena/insects.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "data/enemy_shapes.h"
#include "embedded_assets.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"
#include "render/vector_font.h"
#include "support/pixels.h"

namespace {

// An insect that keeps its heading this frame, whatever its type: hornets, mosquitoes
// and beetles are on their way to a claimed grubsteak far off, between their checks on
// it and on a frame without steering, at the given speeds; rocket bugs, spoilers and
// bug slayers drift with a knock-back at the given speeds; dragonflies and grenade bugs
// fly their own speed at a target straight ahead.
Enemies& Straight(int type, double x, double y, int angle, float xspeed, float yspeed) {
  Enemies& e = Insect(type, x, y, angle);
  e.xspeed = xspeed;
  e.yspeed = yspeed;
  if (type >= kHornet && type <= kBeetle) {
    static int ticket = 100;
    Grubs g;
    g.X = 300;
    g.Y = 600;
    g.TargetID = ++ticket;
    GrubList.Add(g);
    e.HuntingMode = 4;
    e.TargetID = g.TargetID;
    e.TargetX = g.X;
    e.TargetY = g.Y;
    e.IsGrubStillPresetCheck = 1000;
    e.OnlyEverySecondTime = 0;  // flips to 1: hornets and mosquitoes steer on 0
    e.Frame = 1;                // beetles steer only while showing frame 0
  } else if (type == kRocketBug || type == kSpoiler || type == kBugSlayer) {
    e.HuntingMode = type == kBugSlayer ? 1 : 0;
    e.PushFrames = 1;
    e.PushXSpeed = xspeed;
    e.PushYSpeed = yspeed;
  } else {
    e.HuntingMode = 0;
    e.TargetX = static_cast<int>(x + 1000 * Sin(angle));
    e.TargetY = static_cast<int>(y - 1000 * Cos(angle));
  }
  return e;
}

void AddWebSegment(int x1, int y1, int x2, int y2, int colour_index) {
  Web w;
  w.x1 = x1;
  w.y1 = y1;
  w.x2 = x2;
  w.y2 = y2;
  w.ColorIndex = colour_index;
  WebList.Add(w);
}

int CountExplosions(int type) {
  int n = 0;
  for (const Explosions& x : ExplosionList) n += x.explosiontype == type;
  return n;
}

const Explosions* FirstRing() {
  for (const Explosions& x : ExplosionList)
    if (x.explosiontype == kExplosionRing) return &x;
  return nullptr;
}

class EnemyRules : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadEnemyShapes(); }
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }
};

// ---------------------------------------------------------------- steering

TEST_F(EnemyRules, HeadingsPointUpAtZeroAndGrowClockwise) {
  EXPECT_NEAR(HeadingTo(512, 384, 512, 300), 0, 1e-9);
  EXPECT_NEAR(HeadingTo(512, 384, 600, 384), 90, 1e-9);
  EXPECT_NEAR(HeadingTo(512, 384, 512, 500), 180, 1e-9);
  EXPECT_NEAR(HeadingTo(512, 384, 400, 384), 270, 1e-9);
  EXPECT_NEAR(HeadingTo(512, 384, 612, 284), 45, 1e-9);
  EXPECT_NEAR(HeadingTo(512, 384, 412, 284), 315, 1e-9);
  EXPECT_EQ(AimAt(600, 384, 512, 384), 90);
  EXPECT_EQ(AimAt(411, 285, 512, 384), 314);  // 314.43 truncated
}

TEST_F(EnemyRules, TurnsStepTowardTheTargetAndWrapOnce) {
  // Target due right (90): from 0 turn clockwise by the step.
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 0, 4), 4);
  // Heading 10 from 358: clockwise over 360.
  EXPECT_EQ(TurnTowardPoint(512 + 100 * std::sin(10 * kPi / 180),
                            384 - 100 * std::cos(10 * kPi / 180), 512, 384, 358, 4),
            2);
  // Heading 350 from 2: counter-clockwise under 0.
  EXPECT_EQ(TurnTowardPoint(512 - 100 * std::sin(10 * kPi / 180),
                            384 - 100 * std::cos(10 * kPi / 180), 512, 384, 2, 4),
            358);
  // Within two degrees either way nothing changes.
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 89, 4), 89);
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 88, 4), 88);
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 92, 4), 92);
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 93, 4), 89);
  // Straight behind counts as the clockwise side.
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 270, 4), 274);
  // A fractional step is truncated after adding.
  EXPECT_EQ(TurnTowardPoint(600, 384, 512, 384, 10, 1.5), 11);
  // The player variant steers at the spider.
  PlayerX = 400;
  EXPECT_EQ(TurnTowardPlayer(512, 384, 0, 3), 357);
}

TEST_F(EnemyRules, RandomPointsLieInTheirBoxesAndThePlayEllipse) {
  for (int i = 0; i < 500; ++i) {
    const PlayPoint p = RandomPlayPoint();
    EXPECT_GE(p.x, 192);
    EXPECT_LE(p.x, 732);
    EXPECT_GE(p.y, 184);
    EXPECT_LE(p.y, 484);
    EXPECT_TRUE(InsidePlayEllipse(p.x, p.y));
    const PlayPoint q = RandomPointNear(900, 384, 75, 64);
    EXPECT_GE(q.x, 825);
    EXPECT_LE(q.y, 448);
    EXPECT_TRUE(InsidePlayEllipse(q.x, q.y)) << q.x << "," << q.y;
  }
  // A box wholly outside the ellipse gives up and falls back to a play point.
  const PlayPoint far = RandomPointNear(3000, -2000, 10, 10);
  EXPECT_TRUE(InsidePlayEllipse(far.x, far.y));
  EXPECT_GE(far.x, 192);
}

// ---------------------------------------------------------------- creation

TEST_F(EnemyRules, CreationPlacesOnTheEntryRimOrAtThePoint) {
  EnemySpeedFactor = 1.5;
  CreateEnemy(0, 0, 0, 90, kHornet);
  CreateEnemy(0, 0, 0, 0, kBeetle);
  CreateEnemy(1, 300, 200, 123, kMosquito);
  ASSERT_EQ(EnemyList.Count(), 3u);
  auto it = EnemyList.begin();
  Enemies& a = *it;
  Enemies& b = *++it;
  Enemies& c = *++it;
  EXPECT_NEAR(a.x, 962, 1e-3);
  EXPECT_NEAR(a.y, 384, 1e-3);
  EXPECT_NEAR(b.x, 512, 1e-3);
  EXPECT_NEAR(b.y, 54, 1e-3);
  EXPECT_FLOAT_EQ(c.x, 300);
  EXPECT_FLOAT_EQ(c.y, 200);
  for (const Enemies& e : EnemyList) {
    EXPECT_TRUE(InsidePlayEllipse(e.TargetX, e.TargetY));
    const double h = HeadingTo(e.x, e.y, e.TargetX, e.TargetY);
    EXPECT_EQ(e.angle, static_cast<int>(h));
    EXPECT_NEAR(std::hypot(e.xspeed, e.yspeed), 3.0, 1e-5);
    EXPECT_NEAR(e.xspeed, 3.0 * std::sin(h * kPi / 180), 1e-5);
    EXPECT_EQ(e.EnemyFrameIndex, 1);
    EXPECT_EQ(e.EnemyFrameDelay, 0);
    EXPECT_EQ(e.DelayBeforeBeingAbleToShoot, 120);
    EXPECT_EQ(e.GraceperiodForNotCheckingPerimeter, 60);
    EXPECT_GE(e.IsGrubStillPresetCheck, 5);
    EXPECT_LE(e.IsGrubStillPresetCheck, 15);
    EXPECT_GE(e.Frame, 0);
    EXPECT_LE(e.Frame, 2);
  }
  EXPECT_EQ(a.Size, 18);
  EXPECT_EQ(c.Size, 15);
}

TEST_F(EnemyRules, RocketteFliesAtTheSpiderAtSevenWhateverTheLevel) {
  EnemySpeedFactor = 2.5;
  PlayerX = 100;
  PlayerY = 384;
  CreateEnemy(1, 600, 384, 0, kRockette);
  const Enemies& r = *EnemyList.First();
  EXPECT_EQ(r.angle, 270);
  EXPECT_NEAR(r.xspeed, -7, 1e-5);
  EXPECT_NEAR(r.yspeed, 0, 1e-5);
  EXPECT_EQ(r.Size, 15);
}

TEST_F(EnemyRules, SizesByType) {
  const int sizes[] = {0, 18, 15, 20, 23, 20, 20, 20, 20, 15, 20, 0, 0};
  for (int t = 0; t <= 12; ++t) EXPECT_EQ(EnemySize(t), sizes[t]) << t;
  EXPECT_EQ(EnemySize(-3), 0);
}

// The draws of a creation, replayed from the same seed in the order they are made.
struct Draws {
  PlayPoint target;
  int frame, even, grub, mode;
};
Draws Replay(int type) {
  Draws d;
  d.target = RandomPlayPoint();
  d.frame = RandInt(0, 2);
  d.even = RandInt(0, 1);
  d.grub = RandInt(5, 15);
  d.mode = RandInt(1, 100) < 76 ? 0 : 2;
  if (type == kGrenadeBug && RandInt(1, 10) < 5) d.mode = 2;
  if (type == kRocketBug && RandInt(1, 10) < 8) d.mode = 0;
  if (type == kSpoiler && RandInt(1, 10) < 5) d.mode = 2;
  if (type == kBugSlayer) d.mode = 1;
  return d;
}

TEST_F(EnemyRules, CreationDrawsItsRandomNumbersInTheirOrder) {
  std::map<int, std::map<int, int>> modes_seen;
  for (int type : {kHornet, kMosquito, kGrenadeBug, kRocketBug, kSpoiler, kBugSlayer}) {
    for (int seed = 1; seed <= 60; ++seed) {
      EnemyList.Clear();
      SeedRandom(seed);
      CreateEnemy(0, 0, 0, 200, type);
      const int after = RandInt(1, 1000000);
      SeedRandom(seed);
      const Draws d = Replay(type);
      // Same count of draws: the next number matches too.
      ASSERT_EQ(RandInt(1, 1000000), after) << "type " << type << " seed " << seed;
      const Enemies& e = *EnemyList.First();
      EXPECT_EQ(e.TargetX, d.target.x);
      EXPECT_EQ(e.TargetY, d.target.y);
      EXPECT_EQ(e.Frame, d.frame);
      EXPECT_EQ(e.OnlyEverySecondTime, d.even);
      EXPECT_EQ(e.IsGrubStillPresetCheck, d.grub);
      EXPECT_EQ(e.HuntingMode, d.mode);
      ++modes_seen[type][e.HuntingMode];
    }
  }
  // The seeds reach both outcomes where a type has two.
  EXPECT_EQ(modes_seen[kHornet].size(), 2u);
  EXPECT_EQ(modes_seen[kGrenadeBug].size(), 2u);
  EXPECT_EQ(modes_seen[kRocketBug].size(), 2u);
  EXPECT_EQ(modes_seen[kBugSlayer].size(), 1u);
  EXPECT_EQ(modes_seen[kBugSlayer][1], 60);
}

TEST_F(EnemyRules, DragonflyLimitGivesAHornetMosquitoOrBeetleOfSizeTwentyThree) {
  DragonflyAppeared = 1;
  for (int i = 0; i < 30; ++i) CreateEnemy(0, 0, 0, 10 * i, kDragonfly);
  DragonflyAppeared = 0;
  DragonflyCounter = 3;  // too soon after the last one
  for (int i = 0; i < 30; ++i) CreateEnemy(0, 0, 0, 10 * i, kDragonfly);
  std::map<int, int> types;
  for (const Enemies& e : EnemyList) {
    ++types[e.EnemyType];
    EXPECT_EQ(e.Size, 23);
  }
  EXPECT_EQ(types.size(), 3u);
  EXPECT_EQ(types.count(kDragonfly), 0u);
  EXPECT_EQ(DragonflyAppeared, 0);
  EXPECT_EQ(DragonflyCounter, 3);

  EnemyList.Clear();
  DragonflyCounter = 4;
  CreateEnemy(0, 0, 0, 45, kDragonfly);
  CreateEnemy(0, 0, 0, 45, kDragonfly);
  EXPECT_EQ(EnemyList.First()->EnemyType, kDragonfly);
  EXPECT_NE(EnemyList.Last()->EnemyType, kDragonfly);
  EXPECT_EQ(DragonflyAppeared, 1);
  EXPECT_EQ(DragonflyCounter, 0);

  // A new level allows the next one again.
  ApplyLevelRules(9, 1);
  EXPECT_EQ(DragonflyAppeared, 0);
}

// ---------------------------------------------------------------- the update

TEST_F(EnemyRules, OutwardCrossingOfARedOrGreenSegmentBouncesBack) {
  AddWebSegment(400, 100, 624, 100, kWebGreen);
  // Seed whose bounce adds -45 to the heading: the target is drawn first.
  int seed = 0;
  for (int s = 1; s < 20000 && seed == 0; ++s) {
    SeedRandom(s);
    RandomPointNear(512, 103, 75, 64);
    if (RandInt(-45, 45) == -45) seed = s;
  }
  ASSERT_NE(seed, 0);
  SeedRandom(seed);
  const PlayPoint expected = RandomPointNear(512, 103, 75, 64);

  Enemies& e = Straight(kHornet, 512, 103, 10, 0, -2);  // straight out, from the centre
  const Grubs* claimed = GrubList.Last();
  ASSERT_EQ(claimed->TargetID, e.TargetID);
  SeedRandom(seed);
  UpdateEnemies(0);
  EXPECT_EQ(e.angle, 325);
  EXPECT_FLOAT_EQ(e.x, 512);
  EXPECT_FLOAT_EQ(e.y, 103);
  EXPECT_EQ(e.HuntingMode, 1);
  // The claim is given up on both sides.
  EXPECT_EQ(e.TargetID, 0);
  EXPECT_EQ(claimed->TargetID, 0);
  EXPECT_EQ(e.TargetX, expected.x);
  EXPECT_EQ(e.TargetY, expected.y);
  EXPECT_FLOAT_EQ(e.yspeed, -2);  // speeds wait for the next steering
}

TEST_F(EnemyRules, InwardCrossingsAndPlainSegmentsDoNotBounce) {
  AddWebSegment(400, 100, 624, 100, kWebRed);
  AddWebSegment(400, 600, 624, 600, kWebBlue);
  Enemies& in = Straight(kBeetle, 500, 98.5, 180, 0, 2);      // crossing towards the centre
  Enemies& blue = Straight(kHornet, 520, 599, 180, 0, 2);     // outward across a blue segment
  Enemies& spoiler = Straight(kSpoiler, 530, 103, 0, 0, -2);  // spoilers are never bounced
  UpdateEnemies(0);
  EXPECT_FLOAT_EQ(in.y, 100.5);
  EXPECT_EQ(in.angle, 180);
  EXPECT_EQ(in.HuntingMode, 4);
  EXPECT_NE(in.TargetID, 0);
  EXPECT_FLOAT_EQ(blue.y, 601);
  EXPECT_FLOAT_EQ(spoiler.y, 101);
}

TEST_F(EnemyRules, BouncedGrenadeAndRocketBugsWanderOthersRoam) {
  AddWebSegment(300, 100, 724, 100, kWebGreen);
  std::vector<Enemies*> bugs;
  int x = 420;
  for (int type : {kDragonfly, kGrenadeBug, kRocketBug, kMosquito}) {
    Enemies& e = Straight(type, x, 101.5, 0, 0, -2);
    x += 40;
    bugs.push_back(&e);
  }
  UpdateEnemies(0);
  for (const Enemies* e : bugs) EXPECT_FLOAT_EQ(e->y, 101.5) << e->EnemyType;
  EXPECT_EQ(bugs[0]->HuntingMode, 1);
  EXPECT_EQ(bugs[1]->HuntingMode, 0);
  EXPECT_EQ(bugs[2]->HuntingMode, 0);
  EXPECT_EQ(bugs[3]->HuntingMode, 1);
  for (const Enemies* e : bugs) {
    EXPECT_GE(e->angle, 0);
    EXPECT_LE(e->angle, 359);
  }
}

TEST_F(EnemyRules, EveryFrameCountsDownTheGraceFlipsThePhaseAndFlapsTheWings) {
  Enemies& e = Straight(kHornet, 512, 384, 0, 0, 0);
  e.GraceperiodForNotCheckingPerimeter = 2;
  e.Frame = 2;  // the random start frame shows only until the first update
  std::vector<int> frames;
  for (int i = 1; i <= 44; ++i) {
    UpdateEnemies(0);
    if (i <= 3) {
      EXPECT_EQ(e.GraceperiodForNotCheckingPerimeter, std::max(0, 2 - i));
      EXPECT_EQ(e.OnlyEverySecondTime, i % 2);
    }
    frames.push_back(e.Frame);
  }
  for (int i = 0; i < 10; ++i) EXPECT_EQ(frames[i], 0) << i;
  // Each image holds eleven frames; the cycle is 0, 1, 2, 1.
  EXPECT_EQ(frames[10], 1);
  EXPECT_EQ(frames[20], 1);
  EXPECT_EQ(frames[21], 2);
  EXPECT_EQ(frames[32], 1);
  EXPECT_EQ(frames[43], 0);
  EXPECT_EQ(e.EnemyFrameIndex, 1);
}

TEST_F(EnemyRules, AKnockedBackSpoilerDriftsThenSteersEveryFrame) {
  EnemySpeedFactor = 1.25;
  Enemies& e = Insect(kSpoiler, 512, 384, 0);
  e.HuntingMode = 0;
  e.TargetX = 700;
  e.TargetY = 384;
  e.PushFrames = 1;
  e.PushXSpeed = 3;
  e.PushYSpeed = -1;
  UpdateEnemies(0);
  EXPECT_FLOAT_EQ(e.x, 515);
  EXPECT_FLOAT_EQ(e.y, 383);
  EXPECT_EQ(e.PushFrames, 0);
  EXPECT_EQ(e.angle, 0);
  for (int frame = 1; frame <= 2; ++frame) {
    UpdateEnemies(0);  // every frame: 4 degrees and 1.2 x factor
    EXPECT_EQ(e.angle, 4 * frame);
  }
  EXPECT_NEAR(std::hypot(e.xspeed, e.yspeed), 1.5, 1e-5);

  // Closer than 50 to its target, it takes a new one.
  e.x = 660;
  e.y = 384;
  UpdateEnemies(0);
  EXPECT_FALSE(e.TargetX == 700 && e.TargetY == 384);
  EXPECT_TRUE(InsidePlayEllipse(e.TargetX, e.TargetY));
}

TEST_F(EnemyRules, RocketteFliesStraightAndBurstsOutsideThePlayEllipse) {
  Enemies& r = Insect(kRockette, 928, 384, 90);
  r.xspeed = 7;
  r.GraceperiodForNotCheckingPerimeter = 2;
  UpdateEnemies(0);  // 935, outside, but still in its grace
  UpdateEnemies(0);  // grace runs out as it moves to 942
  ASSERT_EQ(EnemyList.Count(), 0u);
  const Explosions* ring = FirstRing();
  ASSERT_NE(ring, nullptr);
  EXPECT_DOUBLE_EQ(ring->x1, 942);
  EXPECT_DOUBLE_EQ(ring->MaxRingSize, 22);
  EXPECT_DOUBLE_EQ(ring->RingSpeed, 0.8);
  EXPECT_EQ(ring->Deadly, 0);
}

TEST_F(EnemyRules, HurryOutSendsEveryInsectTowardsItsOwnFarPoint) {
  Enemies& a = Insect(kHornet, 512, 384);
  a.xspeed = 1.5f;
  a.yspeed = -0.5f;
  Insect(kBugSlayer, 300, 300);
  LevelFrames = 55;
  EnemiesHurryOut(1000);
  EXPECT_EQ(HurryOut, 1);
  EXPECT_EQ(LevelFrames, 0);
  EXPECT_EQ(a.TargetX, 2012);
  EXPECT_EQ(a.TargetY, -116);
  for (const Enemies& e : EnemyList) {
    EXPECT_GE(e.angle, 1);
    EXPECT_LE(e.angle, 359);
    EXPECT_EQ(e.HurryOutOfScreenMode, 1);
    EXPECT_EQ(e.GraceperiodForNotCheckingPerimeter, 120);
  }
}

TEST_F(EnemyRules, HurryingInsectsLeaveAtSixAndVanishOutsideTheExitEllipse) {
  HurryOut = 1;
  Enemies& leaving = Insect(kBeetle, 999, 384, 90);
  leaving.TargetX = 3000;
  leaving.TargetY = 384;
  Enemies& staying = Insect(kSpoiler, 512, 384, 0);
  staying.TargetX = 3000;
  staying.TargetY = 384;
  staying.PushFrames = 2;  // no behaviour runs while hurrying
  staying.GraceperiodForNotCheckingPerimeter = 120;
  UpdateEnemies(0);
  EXPECT_FALSE(EnemyList.Contains(&leaving));
  ASSERT_EQ(EnemyList.Count(), 1u);
  const Explosions* ring = FirstRing();
  ASSERT_NE(ring, nullptr);
  EXPECT_DOUBLE_EQ(ring->x1, 1005);
  EXPECT_DOUBLE_EQ(ring->y1, 384);
  EXPECT_DOUBLE_EQ(ring->MaxRingSize, 20);
  EXPECT_DOUBLE_EQ(ring->RingSpeed, 2);
  EXPECT_EQ(staying.angle, 4);
  EXPECT_NEAR(std::hypot(staying.xspeed, staying.yspeed), 6, 1e-5);
  EXPECT_EQ(staying.PushFrames, 2);
  EXPECT_EQ(staying.GraceperiodForNotCheckingPerimeter, 120);
  EXPECT_EQ(staying.EnemyFrameDelay, 1);  // the wings still flap
}

TEST_F(EnemyRules, DemoFrame601RetargetsAndTurnsBugSlayersIntoGrenadeBugs) {
  // A thunderbug keeps still in this update, and no slayer may eat it.
  Enemies& slayer = Insect(kBugSlayer, 400, 300);
  Enemies& bystander = Insect(kThunderbug, 600, 400);
  bystander.HuntingMode = 2;
  slayer.HuntingMode = 1;
  for (int i = 0; i < 600; ++i) UpdateEnemies(1);
  EXPECT_EQ(DemoRetargetTimer, 600);
  EXPECT_EQ(slayer.EnemyType, kBugSlayer);
  EXPECT_EQ(bystander.HuntingMode, 2);
  UpdateEnemies(0);  // a frame in play does not count
  EXPECT_EQ(DemoRetargetTimer, 600);
  UpdateEnemies(1);
  EXPECT_EQ(DemoRetargetTimer, 0);
  EXPECT_EQ(slayer.EnemyType, kGrenadeBug);
  for (const Enemies& e : EnemyList) {
    EXPECT_EQ(e.HuntingMode, 0);
    EXPECT_TRUE(InsidePlayEllipse(e.TargetX, e.TargetY));
    EXPECT_EQ(e.angle, static_cast<int>(HeadingTo(e.x, e.y, e.TargetX, e.TargetY)));
  }
}

// ---------------------------------------------------------------- hits

PlayerBullets Bullet(double xs, double ys) {
  PlayerBullets b;
  b.xspeed = xs;
  b.yspeed = ys;
  return b;
}

TEST_F(EnemyRules, ShotInsectsReactByType) {
  DragonflyBonus = 50000;
  const PlayerBullets b = Bullet(8, -6);

  for (int type : {kHornet, kMosquito, kBeetle}) {
    ExplosionList.Clear();
    Enemies& e = Insect(type, 300, 300);
    HitEnemy(&e, &b);
    EXPECT_FALSE(EnemyList.Contains(&e));
    EXPECT_EQ(CountExplosions(0), 12) << type;  // three debris squares
  }
  EXPECT_EQ(Score, 0);

  ExplosionList.Clear();
  Enemies& fly = Insect(kDragonfly, 300.7, 200.2);
  HitEnemy(&fly, &b);
  EXPECT_EQ(Score, 50000);
  ASSERT_NE(FirstRing(), nullptr);
  EXPECT_DOUBLE_EQ(FirstRing()->x1, 300);
  EXPECT_DOUBLE_EQ(FirstRing()->MaxRingSize, 32);
  EXPECT_DOUBLE_EQ(FirstRing()->RingSpeed, 1);
  EXPECT_EQ(FirstRing()->Deadly, 0);

  ExplosionList.Clear();
  Enemies& grenade = Insect(kGrenadeBug, 300, 200);
  HitEnemy(&grenade, &b);
  EXPECT_FALSE(EnemyList.Contains(&grenade));
  ASSERT_NE(FirstRing(), nullptr);
  EXPECT_EQ(FirstRing()->Deadly, 1);
  EXPECT_DOUBLE_EQ(FirstRing()->MaxRingSize, 70);

  ExplosionList.Clear();
  Enemies& rockette = Insect(kRockette, 300, 200);
  HitEnemy(&rockette, &b);
  EXPECT_EQ(Score, 51000);
  ASSERT_NE(FirstRing(), nullptr);
  EXPECT_DOUBLE_EQ(FirstRing()->MaxRingSize, 32);
  EXPECT_DOUBLE_EQ(FirstRing()->RingSpeed, 0.9);

  ExplosionList.Clear();
  Enemies& rocket = Insect(kRocketBug, 300, 200);
  Enemies& spoiler = Insect(kSpoiler, 300, 200);
  Enemies& slayer = Insect(kBugSlayer, 300, 200);
  HitEnemy(&rocket, &b);
  HitEnemy(&spoiler, &b);
  HitEnemy(&slayer, &b);
  EXPECT_EQ(rocket.PushFrames, 2);
  EXPECT_EQ(spoiler.PushFrames, 3);
  EXPECT_EQ(slayer.PushFrames, 3);
  for (const Enemies* e : {&rocket, &spoiler, &slayer}) {
    EXPECT_TRUE(EnemyList.Contains(e));
    EXPECT_FLOAT_EQ(e->PushXSpeed, 4);
    EXPECT_FLOAT_EQ(e->PushYSpeed, -3);
  }
  EXPECT_EQ(ExplosionList.Count(), 0u);
  EXPECT_EQ(Score, 51000);

  // A bug slayer already on its way out is worth 1000 and leaves.
  slayer.HurryOutOfScreenMode = 1;
  HitEnemy(&slayer, &b);
  EXPECT_FALSE(EnemyList.Contains(&slayer));
  EXPECT_EQ(Score, 52000);
}

TEST_F(EnemyRules, DuringHurryOutEveryShotInsectIsWorthAThousand) {
  HurryOut = 1;
  const PlayerBullets b = Bullet(0, -10);
  Enemies& spoiler = Insect(kSpoiler, 250.6, 300.2);
  HitEnemy(&spoiler, &b);
  EXPECT_FALSE(EnemyList.Contains(&spoiler));
  EXPECT_EQ(Score, 1000);
  EXPECT_EQ(CountExplosions(0), 12);
  ASSERT_EQ(CharList.Count(), 4u);
  std::string text;
  for (const chars& c : CharList) {
    text += c.ch;
    EXPECT_EQ(c.color, 0xFF8CC200u);
    EXPECT_EQ(c.y, 300);
  }
  EXPECT_EQ(text, "1000");
  // Knocked-back insects are gone too, dragonflies pay no bonus.
  DragonflyBonus = 25000;
  Enemies& fly = Insect(kDragonfly, 300, 300);
  HitEnemy(&fly, &b);
  EXPECT_EQ(Score, 2000);
}

TEST_F(EnemyRules, ShootingTheMarkedPreyCallsOffEveryBugSlayer) {
  Enemies& s1 = Insect(kBugSlayer, 300, 300);
  Enemies& s2 = Insect(kBugSlayer, 700, 420);
  Enemies& prey = Insect(kMosquito, 500, 380);
  for (Enemies* s : {&s1, &s2}) {
    s->TargetID = 9;
    s->Flashing = 1;
    s->HuntingMode = 3;
  }
  prey.Flashing = 1;
  prey.TargetID = 9;
  const PlayerBullets b = Bullet(0, -10);
  HitEnemy(&prey, &b);
  EXPECT_FALSE(EnemyList.Contains(&prey));
  for (const Enemies* s : {&s1, &s2}) {
    EXPECT_EQ(s->TargetID, 0);
    EXPECT_EQ(s->Flashing, 0);
    EXPECT_EQ(s->HuntingMode, 1);
    EXPECT_LE(std::abs(s->TargetX - static_cast<int>(s->x)), 300);
    EXPECT_LE(std::abs(s->TargetY - static_cast<int>(s->y)), 200);
    EXPECT_TRUE(InsidePlayEllipse(s->TargetX, s->TargetY));
  }
  // An unmarked insect leaves the hunters alone.
  s1.HuntingMode = 3;
  Enemies& other = Insect(kHornet, 500, 380);
  HitEnemy(&other, &b);
  EXPECT_EQ(s1.HuntingMode, 3);
  // Nothing happens for a record that is not (or no longer) in the list.
  HitEnemy(&other, &b);
  HitEnemy(nullptr, &b);
  EXPECT_EQ(EnemyList.Count(), 2u);
}

// ---------------------------------------------------------------- contact

TEST_F(EnemyRules, ContactCheckSixTestsRocketBugsButNeverBugSlayers) {
  ContactCheckType = 6;
  Insect(kBugSlayer, 512, 384);
  Insect(kHornet, 512, 384);
  CheckEnemyContact();
  EXPECT_EQ(PlayerHit, 0);
  EXPECT_EQ(ExplosionList.Count(), 0u);
  EXPECT_EQ(ContactCheckType, 7);

  ContactCheckType = 6;
  Insect(kRocketBug, 530, 384);
  PlayerX = 512.9;
  CheckEnemyContact();
  EXPECT_EQ(PlayerHit, 1);
  EXPECT_EQ(CountExplosions(0), 12);
  EXPECT_DOUBLE_EQ(ExplosionList.First()->x1, 512 - 10);
}

TEST_F(EnemyRules, ContactReachIsTwiceTheBodyRadiusAndCoversTypePairs) {
  Insect(kHornet, 512 + 36, 384);  // exactly twice 18: out of reach
  CheckEnemyContact();
  EXPECT_EQ(PlayerHit, 0);
  ContactCheckType = 1;
  Insect(kBeetle, 512, 384 + 39);  // type 3 rides along with 1; reach 40
  CheckEnemyContact();
  EXPECT_EQ(PlayerHit, 1);
}

TEST_F(EnemyRules, ContactCheckRunsTheCycleAndRestsDuringHurryOut) {
  std::vector<int> seen;
  for (int i = 0; i < 8; ++i) {
    CheckEnemyContact();
    seen.push_back(ContactCheckType);
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 5, 6, 7, 9, 1, 2}));
  ContactCheckType = 10;
  CheckEnemyContact();
  EXPECT_EQ(ContactCheckType, 1);

  HurryOut = 1;
  Insect(kHornet, 512, 384);
  CheckEnemyContact();
  EXPECT_EQ(PlayerHit, 0);
  EXPECT_EQ(ContactCheckType, 1);
}

// ---------------------------------------------------------------- drawing

std::uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b);
}

class EnemyDrawing : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    display_ = OpenDisplay(1024, 768, 0, 0, 0);
    if (!display_) return;
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png");
    if (DotImage) CenterImageHandle(DotImage);
    LoadColorTable();
    LoadEnemyShapes();
  }
  static void TearDownTestSuite() {
    DotImage.reset();
    if (display_) CloseDisplay();
  }
  void SetUp() override {
    ASSERT_TRUE(display_) << "no offscreen display";
    ResetWorld();
    GlowAmount = 0;
    RecomputeGlowWidths();
    EnableDrawLog(true);
    ClearDrawLog();
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    SetScreenSize(1024, 768);
    ResetWorld();
  }
  static std::vector<DrawEntry> Logged(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  static inline bool display_ = false;
};

TEST_F(EnemyDrawing, WireLinesSitAtThePositionInTheirColoursThenWhite) {
  SetScreenSize(1280, 1024);
  Insect(kHornet, 300, 200, 90);
  Insect(kBeetle, 600, 500, 0).Frame = 2;
  EnemyCount = 7;
  DrawEnemies();
  EXPECT_EQ(EnemyCount, 7);  // drawing counts nothing: the level's check does
  const std::vector<DrawEntry> lines = Logged(DrawKind::Line);
  ASSERT_EQ(lines.size(), 29u + 33u);
  const EnemyShapeLine* h = EnemyShapeLines(1, 90, 0);
  for (int i = 0; i < 29; ++i) {
    EXPECT_DOUBLE_EQ(lines[i].points[0].x, 128 + 300 + h[i].x1 + 0.5) << i;
    EXPECT_DOUBLE_EQ(lines[i].points[1].y, 128 + 200 + h[i].y2 + 0.5) << i;
    EXPECT_EQ(lines[i].argb, Argb(h[i].red, h[i].green, h[i].blue)) << i;
  }
  const EnemyShapeLine* b = EnemyShapeLines(3, 0, 2);
  EXPECT_DOUBLE_EQ(lines[29 + 5].points[0].x, 128 + 600 + b[5].x1 + 0.5);
  const DrawState& st = CurrentDrawState();
  EXPECT_EQ(st.color_red, 255);
  EXPECT_EQ(st.color_green, 255);
  EXPECT_EQ(st.color_blue, 255);
}

TEST_F(EnemyDrawing, NeonDrawsGlowStripsInOneBatchAndHurryingInsectsInOlive) {
  ASSERT_TRUE(DotImage) << "glow texture not available";
  NeonMode = 1;
  Insect(kMosquito, 300, 200, 0);
  Insect(kRocketBug, 500, 200, 45);
  const long binds = TPoly::BindCount();
  DrawEnemies();
  std::vector<DrawEntry> strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 20u + 16u);
  EXPECT_EQ(TPoly::BindCount() - binds, 1);  // one batch: the texture binds once
  const EnemyShapeLine* m = EnemyShapeLines(2, 0, 0);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(strips[i].argb, m[i].color) << i;

  ClearDrawLog();
  HurryOut = 1;
  DrawEnemies();
  strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 36u);
  for (const DrawEntry& e : strips) EXPECT_EQ(e.argb, 0xFF888800u);

  ClearDrawLog();
  NeonMode = 0;
  DrawEnemies();
  const std::vector<DrawEntry> lines = Logged(DrawKind::Line);
  ASSERT_EQ(lines.size(), 36u);
  for (const DrawEntry& e : lines) EXPECT_EQ(e.argb, Argb(255, 255, 0));
}

TEST_F(EnemyDrawing, MarkedPreyCyclesItsFlashLinesThroughThePalette) {
  ASSERT_TRUE(DotImage) << "glow texture not available";
  NeonMode = 1;
  Enemies& prey = Insect(kHornet, 400, 300, 0);
  prey.Flashing = 1;
  prey.ColorIndex = 46;
  DrawEnemies();
  const std::vector<DrawEntry> strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 29u);
  const EnemyShapeLine* h = EnemyShapeLines(1, 0, 0);
  int flashed = 0;
  for (int i = 0; i < 29; ++i) {
    const int index = (46 + 1 + i) % 48;  // one step per line, before it is drawn
    if (h[i].color == 0xFFBD0B00u) {
      EXPECT_EQ(strips[i].argb, ColorTable[index].glow) << i;
      ++flashed;
    } else {
      EXPECT_EQ(strips[i].argb, h[i].color) << i;
    }
  }
  EXPECT_EQ(flashed, 14);
  EXPECT_EQ(prey.ColorIndex, (46 + 29) % 48);
}

TEST_F(EnemyDrawing, ABulletWithinThirtyPixelsDestroysAHornet) {
  Enemies& hornet = Insect(kHornet, 512, 300);
  PlayerBullets b = Bullet(0, -4);
  b.x = 512;
  b.y = 335;
  BulletList.Add(b);
  StepBullets();  // 331: outside the hit radius of 30
  EXPECT_TRUE(EnemyList.Contains(&hornet));
  StepBullets();  // 327: hit
  EXPECT_FALSE(EnemyList.Contains(&hornet));
  EXPECT_EQ(BulletList.Count(), 0u);
  EXPECT_EQ(CountExplosions(0), 12);
}

// All twelve shapes as a player sees them: neon above, wire below. With
// SG_SCREENSHOT_DIR set the frame is kept as enemy_shapes.png.
TEST_F(EnemyDrawing, EveryShapeLightsItsCellInBothModes) {
  ASSERT_TRUE(DotImage) << "glow texture not available";
  EnableDrawLog(false);
  SetBlend(BLEND_ADD);
  SetViewport(ScreenOffsetX, ScreenOffsetY, kPlayWidth, kPlayHeight);
  Cls();
  auto cell = [](int s, int mode) {
    const int col = (s - 1) % 6, row = (s - 1) / 6 + 2 * mode;
    return PlayPoint{90 + col * 168, 96 + row * 192};
  };
  for (int mode = 0; mode < 2; ++mode) {
    NeonMode = mode == 0 ? 1 : 0;
    PrimeGlow();  // as every frame does before its first strip
    for (int s = 1; s <= kEnemyShapeCount; ++s) {
      const PlayPoint p = cell(s, mode);
      DrawEnemyShape(s, 0, 0, p.x, p.y);
    }
  }
  Flip(0);
  if (const char* dir = std::getenv("SG_SCREENSHOT_DIR")) {
    const std::string path = std::string(dir) + "/enemy_shapes.png";
    EXPECT_TRUE(SaveScreenshot(path.c_str())) << path;
  }
  for (int mode = 0; mode < 2; ++mode) {
    for (int s = 1; s <= kEnemyShapeCount; ++s) {
      const PlayPoint p = cell(s, mode);
      int lit = 0;
      for (int y = -24; y <= 24; ++y)
        for (int x = -24; x <= 24; ++x) {
          const Rgb c = ReadPixel(p.x + x, p.y + y);
          lit += c.r + c.g + c.b > 60;
        }
      EXPECT_GT(lit, 20) << "shape " << s << (mode == 0 ? " neon" : " wire");
    }
  }
}

}  // namespace
