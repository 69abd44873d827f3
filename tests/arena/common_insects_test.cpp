// Hornets, mosquitoes and beetles: their six modes, the claims on grubsteaks, laying
// and eating, and the turn back at the rim.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "arena/arena_world.h"
#include "arena/insect_shapes.h"
#include "arena/insects.h"
#include "platform/geometry.h"
#include "platform/trig.h"

namespace {

enum { kPick = 0, kRoamMode = 1, kHuntMode = 2, kSearchMode = 3, kGoMode = 4, kLayMode = 5 };

class CommonInsects : public testing::Test {
 protected:
  static void SetUpTestSuite() { LoadEnemyShapes(); }
  void SetUp() override { ResetWorld(); }
  void TearDown() override { ResetWorld(); }

  // An insect in a mode, with a far grace so the rim leaves it alone unless a test
  // says otherwise.
  static Enemies& Bug(int type, double x, double y, int mode) {
    Enemies& e = Insect(type, x, y);
    e.HuntingMode = mode;
    e.GraceperiodForNotCheckingPerimeter = 1000;
    return e;
  }
  static Grubs& Grub(int x, int y) {
    CreateGrub(x, y);
    return *GrubList.Last();
  }
  // A hornet or mosquito on its way to a claimed grubsteak.
  static Enemies& Claiming(int type, Enemies& e, Grubs& g, int ticket) {
    e.EnemyType = type;
    e.HuntingMode = kGoMode;
    e.TargetID = g.TargetID = ticket;
    e.TargetX = g.X;
    e.TargetY = g.Y;
    return e;
  }
};

TEST_F(CommonInsects, ModesZeroThreeAndFiveStandStill) {
  for (int type : {kHornet, kMosquito, kBeetle}) {
    for (int mode : {kPick, kSearchMode, kLayMode}) {
      SCOPED_TRACE(testing::Message() << "type " << type << " mode " << mode);
      EnemyList.Clear();
      Enemies& e = Bug(type, 400, 300, mode);
      e.xspeed = 3;
      e.yspeed = -1;
      e.EarlierMode = kRoamMode;
      e.WaitOnEgg = 50;
      UpdateEnemies(0);
      EXPECT_FLOAT_EQ(e.x, 400);
      EXPECT_FLOAT_EQ(e.y, 300);
      EXPECT_FLOAT_EQ(e.xspeed, 3);  // kept for the web bounce
    }
  }
}

TEST_F(CommonInsects, ANewTargetIsAnywhereOnTheWebOrNearAMosquito) {
  for (int i = 0; i < 200; ++i) {
    EnemyList.Clear();
    Enemies& m = Bug(kMosquito, 300, 300, kPick);
    UpdateEnemies(0);
    ASSERT_EQ(m.HuntingMode, kRoamMode);
    EXPECT_LE(std::abs(m.TargetX - 300), 75);
    EXPECT_LE(std::abs(m.TargetY - 300), 50);
    EXPECT_EQ(LastRandomPoint().x, m.TargetX);
  }
  std::set<int> spread;
  for (int i = 0; i < 200; ++i) {
    EnemyList.Clear();
    Enemies& h = Bug(kHornet, 300, 300, kPick);
    UpdateEnemies(0);
    EXPECT_TRUE(InsidePlayEllipse(h.TargetX, h.TargetY));
    spread.insert(h.TargetX / 100);
  }
  EXPECT_GE(spread.size(), 5u);  // across the web, not only near the insect
}

TEST_F(CommonInsects, RoamersSteerAtTheirOwnPaceAndArriveWithinThirtyTwo) {
  // Hornets turn 12 degrees on every other frame at 1.5; beetles 4 degrees on every
  // frame at 2.0. Target due right of each.
  Enemies& hornet = Bug(kHornet, 300, 500, kRoamMode);
  hornet.TargetX = 700;
  hornet.TargetY = 500;
  hornet.OnlyEverySecondTime = 0;  // flips to 1: no steering on the first frame
  Enemies& beetle = Bug(kBeetle, 300, 300, kRoamMode);
  beetle.TargetX = 700;
  beetle.TargetY = 300;
  EnemySpeedFactor = 1.5;
  PlayerX = 100;  // far off: nobody hunts it near
  PlayerY = 650;
  SeedRandom(11);
  UpdateEnemies(0);
  if (hornet.HuntingMode == kRoamMode) {
    EXPECT_EQ(hornet.angle, 0);
    EXPECT_FLOAT_EQ(hornet.xspeed, 0);
  }
  if (beetle.HuntingMode == kRoamMode) {
    EXPECT_EQ(beetle.angle, 4);
    EXPECT_NEAR(std::hypot(beetle.xspeed, beetle.yspeed), 2.0 * 1.5, 1e-5);
  }
  hornet.HuntingMode = kRoamMode;
  UpdateEnemies(0);
  EXPECT_EQ(hornet.angle, 12);
  EXPECT_NEAR(std::hypot(hornet.xspeed, hornet.yspeed), 1.5 * 1.5, 1e-5);

  // Within 32 of its target a roamer picks a new one next.
  EnemyList.Clear();
  Enemies& near = Bug(kHornet, 700 - 31, 300, kRoamMode);
  near.TargetX = 700;
  near.TargetY = 300;
  int picked = 0;
  for (int seed = 1; seed <= 50; ++seed) {
    SeedRandom(seed);
    near.x = 700 - 31;
    near.y = 300;
    near.xspeed = near.yspeed = 0;
    near.OnlyEverySecondTime = 0;  // no steering: it stays where it is
    near.HuntingMode = kRoamMode;
    UpdateEnemies(0);
    picked += near.HuntingMode == kPick;
  }
  EXPECT_GT(picked, 40);  // the odd draw sends it searching or hunting instead
  EXPECT_EQ(near.EarlierMode, kRoamMode);
}

TEST_F(CommonInsects, LaterDrawsOfARoamingFrameOverrideEarlierOnes) {
  // A seed whose search draw and hunt draw both hit: the hunt wins.
  PlayerX = 100;
  PlayerY = 650;
  int seed = 0;
  for (int s = 1; s < 3000000 && seed == 0; ++s) {
    SeedRandom(s);
    if (RandInt(1, 150) == 41 && RandInt(1, 400) == 36) seed = s;
  }
  ASSERT_NE(seed, 0);
  Enemies& e = Bug(kHornet, 300, 300, kRoamMode);
  e.TargetX = 700;
  e.TargetY = 300;
  SeedRandom(seed);
  UpdateEnemies(0);
  EXPECT_EQ(e.HuntingMode, kHuntMode);
}

TEST_F(CommonInsects, HuntersGiveUpBeyondTheirReach) {
  // The hunt closes in by a step before the distance is measured.
  PlayerX = 512;
  PlayerY = 384;
  Enemies& hornet = Bug(kHornet, 512 + 255, 384, kHuntMode);
  Enemies& beetle = Bug(kBeetle, 512 - 300, 384, kHuntMode);
  Enemies& close = Bug(kMosquito, 512, 384 + 200, kHuntMode);
  int hornet_gave_up = 0, beetle_gave_up = 0, close_gave_up = 0;
  for (int seed = 1; seed <= 40; ++seed) {
    SeedRandom(seed);
    for (Enemies* e : {&hornet, &beetle, &close}) e->HuntingMode = kHuntMode;
    hornet.x = 512 + 255;
    beetle.x = 512 - 300;
    close.y = 384 + 200;
    UpdateEnemies(0);
    hornet_gave_up += hornet.HuntingMode == kPick;
    beetle_gave_up += beetle.HuntingMode == kPick;
    close_gave_up += close.HuntingMode == kPick;
  }
  EXPECT_GT(hornet_gave_up, 35);  // beyond 250 (now and then a search draw overrides)
  EXPECT_EQ(beetle_gave_up, 0);   // beetles hunt on to 350
  EXPECT_EQ(close_gave_up, 0);
  EXPECT_EQ(hornet.EarlierMode, kHuntMode);
}

TEST_F(CommonInsects, TheSearchClaimsTheFirstFreeGrubsteakOfTheSmallestRadius) {
  Grubs& far_first = Grub(300 + 150, 300);  // first in the list, but 150 away
  Grubs& claimed = Grub(300 + 50, 300);
  claimed.TargetID = 99;  // someone else's
  Grubs& marked = Grub(300, 300 + 40);
  marked.Flashing = 1;  // a bug slayer's choice
  Grubs& free_near = Grub(300 - 80, 300);
  Enemies& e = Bug(kHornet, 300, 300, kSearchMode);
  UpdateEnemies(0);
  EXPECT_EQ(e.HuntingMode, kGoMode);
  EXPECT_GT(e.TargetID, 0);
  EXPECT_LE(e.TargetID, 65000);
  EXPECT_EQ(free_near.TargetID, e.TargetID);
  EXPECT_EQ(e.TargetX, free_near.X);
  EXPECT_EQ(e.TargetY, free_near.Y);
  EXPECT_EQ(far_first.TargetID, 0);
  EXPECT_EQ(claimed.TargetID, 99);
  EXPECT_EQ(marked.TargetID, 0);
  EXPECT_FLOAT_EQ(e.x, 300);  // no flight on a searching frame
}

TEST_F(CommonInsects, NothingInReachSendsTheSearcherBackInTheSameFrame) {
  Grub(300 + 450, 300);  // within 500 of a hornet, not within 300 of a beetle
  Enemies& beetle = Bug(kBeetle, 300, 300, kSearchMode);
  beetle.EarlierMode = kHuntMode;
  Enemies& lone = Bug(kMosquito, 300, 300, kSearchMode);
  lone.EarlierMode = kRoamMode;
  UpdateEnemies(0);
  EXPECT_EQ(beetle.HuntingMode, kHuntMode);
  EXPECT_EQ(beetle.TargetID, 0);
  EXPECT_EQ(lone.HuntingMode, kGoMode);  // it found the far one
  EnemyList.Clear();
  GrubList.Clear();
  Enemies& hornet = Bug(kHornet, 300, 300, kSearchMode);
  hornet.EarlierMode = kRoamMode;
  UpdateEnemies(0);
  EXPECT_EQ(hornet.HuntingMode, kRoamMode);
}

TEST_F(CommonInsects, AHornetLaysAnEggAfterNinetyFramesOnItsGrubsteak) {
  Grubs& g = Grub(400, 300);
  Enemies& e = Claiming(kHornet, Bug(kHornet, 405, 300, kGoMode), g, 777);
  e.IsGrubStillPresetCheck = 1;  // this frame checks on the grubsteak
  UpdateEnemies(0);
  ASSERT_EQ(e.HuntingMode, kLayMode);
  EXPECT_EQ(e.WaitOnEgg, 90);
  EXPECT_FLOAT_EQ(e.x, 405);  // a check frame has no flight
  for (int frame = 1; frame < 89; ++frame) {
    UpdateEnemies(0);
    ASSERT_EQ(e.HuntingMode, kLayMode) << frame;
  }
  EXPECT_TRUE(EggList.Empty());
  UpdateEnemies(0);  // the 89th frame after: the egg
  ASSERT_EQ(EggList.Count(), 1u);
  EXPECT_FLOAT_EQ(EggList.First()->x, 400);
  EXPECT_FLOAT_EQ(EggList.First()->y, 300);
  EXPECT_TRUE(GrubList.Empty());
  EXPECT_TRUE(e.HuntingMode == kPick || e.HuntingMode == kHuntMode);
  EXPECT_EQ(e.WaitOnEgg, 0);
}

TEST_F(CommonInsects, AGrubsteakTakenFromUnderALayingHornetLeavesNoEgg) {
  Grubs& g = Grub(400, 300);
  Enemies& e = Claiming(kMosquito, Bug(kMosquito, 400, 300, kLayMode), g, 555);
  e.HuntingMode = kLayMode;
  e.WaitOnEgg = 10;
  PlayerX = 400;  // the spider collects it
  PlayerY = 310;
  StepGrubs(1);
  ASSERT_TRUE(GrubList.Empty());
  for (int frame = 0; frame < 8; ++frame) UpdateEnemies(0);
  EXPECT_EQ(e.HuntingMode, kLayMode);
  UpdateEnemies(0);  // the wait is over
  EXPECT_TRUE(EggList.Empty());
  EXPECT_TRUE(e.HuntingMode == kPick || e.HuntingMode == kHuntMode);
  EXPECT_EQ(e.WaitOnEgg, 0);
}

TEST_F(CommonInsects, AFlyerWhoseGrubsteakIsGoneFallsBackNextFrame) {
  std::map<int, int> modes;
  for (int seed = 1; seed <= 300; ++seed) {
    ResetWorld();
    SeedRandom(seed);
    Grubs& g = Grub(600, 300);
    Enemies& e = Claiming(kHornet, Bug(kHornet, 400, 300, kGoMode), g, 321);
    e.IsGrubStillPresetCheck = 50;
    GrubList.Remove(&g);  // eaten by someone else
    UpdateEnemies(0);
    ASSERT_EQ(e.TargetID, 0);
    ++modes[e.HuntingMode];
  }
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_GT(modes[kPick], modes[kHuntMode]);  // roam 59 times in 100, hunt 41
}

TEST_F(CommonInsects, ABeetleEatsWhatItsLookAheadPointReaches) {
  // The beetle is 40 short of the grubsteak, but 7 frames of its speed reach it.
  Grubs& g = Grub(440, 300);
  Enemies& beetle = Bug(kBeetle, 400, 300, kGoMode);
  beetle.TargetID = g.TargetID = 31;
  beetle.TargetX = 440;
  beetle.TargetY = 300;
  beetle.angle = 90;
  beetle.xspeed = 3;
  beetle.IsGrubStillPresetCheck = 1;
  ASSERT_FALSE(WithinRadius(400, 300, 440, 300, 22));
  UpdateEnemies(0);
  EXPECT_TRUE(GrubList.Empty());
  EXPECT_TRUE(EggList.Empty());  // eaten, no egg
  EXPECT_EQ(beetle.TargetID, 0);
  EXPECT_TRUE(beetle.HuntingMode == kPick || beetle.HuntingMode == kHuntMode);
  EXPECT_FLOAT_EQ(beetle.x, 400);  // no flight on the check frame
  EXPECT_EQ(Score, 0);             // nobody is paid for it

  // Flying away from it, the look-ahead misses: nothing is eaten.
  Grubs& other = Grub(440, 300);
  Enemies& away = Bug(kBeetle, 400, 300, kGoMode);
  away.TargetID = other.TargetID = 32;
  away.xspeed = -3;
  away.IsGrubStillPresetCheck = 1;
  UpdateEnemies(0);
  EXPECT_EQ(GrubList.Count(), 1u);
  EXPECT_EQ(away.HuntingMode, kGoMode);
}

TEST_F(CommonInsects, AChargingBeetleSteersOnlyWhileShowingItsFirstWing) {
  Grubs& g = Grub(700, 300);
  Enemies& beetle = Bug(kBeetle, 400, 300, kGoMode);
  beetle.TargetID = g.TargetID = 8;
  beetle.TargetX = 700;
  beetle.TargetY = 500;
  beetle.IsGrubStillPresetCheck = 500;
  beetle.angle = 0;
  beetle.xspeed = 0;
  beetle.yspeed = -1;
  beetle.Frame = 1;
  beetle.EnemyFrameDelay = 0;
  UpdateEnemies(0);
  EXPECT_EQ(beetle.angle, 0);  // straight on at its old speed
  EXPECT_FLOAT_EQ(beetle.y, 299);
  beetle.Frame = 0;
  beetle.EnemyFrameDelay = 0;
  UpdateEnemies(0);
  EXPECT_EQ(beetle.angle, 16);
  EXPECT_NEAR(std::hypot(beetle.xspeed, beetle.yspeed), 3.0, 1e-5);
}

TEST_F(CommonInsects, AtTheRimTheyTurnBackAndAreLeftAloneForSixtyFrames) {
  std::map<int, int> modes;
  for (int seed = 1; seed <= 200; ++seed) {
    ResetWorld();
    SeedRandom(seed);
    // Just outside the play ellipse on the right, flying out.
    Enemies& e = Bug(kHornet, 512 + 425, 384, kPick);
    e.GraceperiodForNotCheckingPerimeter = 1;  // runs out this frame
    e.xspeed = 1.5;
    UpdateEnemies(0);
    ASSERT_EQ(e.GraceperiodForNotCheckingPerimeter, 60);
    ++modes[e.HuntingMode];
    // Heading back onto the web, towards the last random point drawn.
    const PlayPoint p = LastRandomPoint();
    const double h = HeadingTo(e.x, e.y, p.x, p.y);
    EXPECT_EQ(e.angle, static_cast<int>(h));
    EXPECT_NEAR(e.xspeed, 1.5 * Sin(h), 1e-5);
    EXPECT_LT(e.xspeed, 0);
    if (e.HuntingMode == kRoamMode) {
      EXPECT_EQ(e.TargetX, p.x);
      EXPECT_EQ(e.TargetY, p.y);
    }
  }
  EXPECT_EQ(modes.size(), 2u);
  EXPECT_GT(modes[kRoamMode], 60);
  EXPECT_GT(modes[kHuntMode], 60);

  // Within its grace it is not turned again: still laying, still flying out.
  ResetWorld();
  Enemies& e = Bug(kMosquito, 512 + 425, 384, kLayMode);
  e.WaitOnEgg = 50;
  e.GraceperiodForNotCheckingPerimeter = 30;
  e.angle = 90;
  e.xspeed = 1;
  UpdateEnemies(0);
  EXPECT_EQ(e.GraceperiodForNotCheckingPerimeter, 29);
  EXPECT_EQ(e.HuntingMode, kLayMode);
  EXPECT_EQ(e.angle, 90);
  EXPECT_FLOAT_EQ(e.xspeed, 1);
}

}  // namespace
