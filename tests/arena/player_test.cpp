// The spider's walking: steps, the red-segment rule, the rim and the walk animation.
#include "arena/player.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "arena/bullets.h"
#include "arena/player_moves.h"
#include "arena/web.h"
#include "audio/sound_switches.h"

namespace {

struct Step {
  int dx, dy;
};

// What the controls would ask for: the steps in order and, optionally, a shot.
ControlRequest Walk(std::initializer_list<Step> steps) {
  ControlRequest r;
  for (const Step& s : steps) {
    if (r.step_count < 4) {
      r.step_dx[r.step_count] = s.dx;
      r.step_dy[r.step_count] = s.dy;
    }
    ++r.step_count;
  }
  return r;
}
ControlRequest Shoot(int angle, ControlRequest r = {}) {
  r.fire = true;
  r.fire_angle = angle;
  return r;
}

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    SoundOn = 0;
    WebList.Clear();
    BulletList.Clear();
    FireTimer = 0;
    PlayerX = 512;
    PlayerY = 300;
    PlayerAngle = 180;
    PlayerWalkStep = 1;
    PlayerWalkDelay = 0;
  }
  void TearDown() override {
    WebList.Clear();
    BulletList.Clear();
  }
  // A horizontal segment above the centre, like part of a ring.
  static void AddSegment(int y, int color_index) {
    Web w;
    w.x1 = 400;
    w.y1 = y;
    w.x2 = 620;
    w.y2 = y;
    w.ColorIndex = color_index;
    WebList.Add(w);
  }
};

TEST_F(Player, ADiagonalStepsLeftThenUpAndWalksTwice) {
  UpdatePlayer(Walk({{-4, 0}, {0, -4}}), 1);
  EXPECT_EQ(PlayerX, 508);
  EXPECT_EQ(PlayerY, 296);
  EXPECT_EQ(PlayerOldX, 512);
  EXPECT_EQ(PlayerOldY, 300);
  EXPECT_EQ(PlayerWalkDelay, 2);
  EXPECT_EQ(PlayerAngle, 180);  // no shot, heading kept
}

TEST_F(Player, ShotTurnsTheSpiderEvenStandingStill) {
  UpdatePlayer(Shoot(315), 1);
  EXPECT_EQ(PlayerAngle, 315);
  EXPECT_EQ(PlayerX, 512);
  EXPECT_EQ(PlayerWalkDelay, 0);
  // The bullet leaves along the new heading.
  ASSERT_EQ(BulletList.Count(), 1u);
  EXPECT_EQ(BulletList.First()->angle, 315);
  // Held fire during the wait between shots still turns the spider.
  UpdatePlayer(Shoot(45), 1);
  EXPECT_EQ(PlayerAngle, 45);
  EXPECT_EQ(BulletList.Count(), 1u);
}

TEST_F(Player, FrozenFrameNeitherMovesNorTurns) {
  for (int flag : {0, 2, -1}) {
    UpdatePlayer(Shoot(90, Walk({{4, 0}})), flag);
    EXPECT_EQ(PlayerX, 512);
    EXPECT_EQ(PlayerAngle, 180);
    EXPECT_EQ(PlayerWalkDelay, 0);
    EXPECT_TRUE(BulletList.Empty());
  }
}

TEST_F(Player, NoMoreThanFourStepsAFrame) {
  ControlRequest r = Walk({{4, 0}, {4, 0}, {4, 0}, {4, 0}});
  r.step_count = 9;  // a request that claims more than it holds
  UpdatePlayer(r, 1);
  EXPECT_EQ(PlayerX, 528);
  EXPECT_EQ(PlayerWalkDelay, 4);
  r.step_count = -3;
  UpdatePlayer(r, 1);
  EXPECT_EQ(PlayerX, 528);
}

TEST_F(Player, RedSegmentStopsOutwardStepsWithinEightPixels) {
  AddSegment(280, 2);
  // From 300 the probes reach 292, 288, 284; the one from 288 would reach 280 exactly
  // (touching is not crossing), so the spider gets to 284 and no further.
  PlayerY = 300;
  for (int i = 0; i < 10; ++i) MovePlayer(0, -4);
  EXPECT_EQ(PlayerY, 284);
  EXPECT_EQ(PlayerX, 512);
  // A spider 7 pixels short is refused although the step itself would not cross.
  PlayerY = 287;
  MovePlayer(0, -4);
  EXPECT_EQ(PlayerY, 287);
  // Stepping along it or back is unaffected.
  MovePlayer(4, 0);
  EXPECT_EQ(PlayerX, 516);
  MovePlayer(0, 4);
  EXPECT_EQ(PlayerY, 291);
}

TEST_F(Player, RedSegmentLetsTheSpiderWalkInward) {
  AddSegment(280, 2);
  PlayerY = 266;  // outside the segment, walking toward the centre
  for (int i = 0; i < 6; ++i) MovePlayer(0, 4);
  EXPECT_EQ(PlayerY, 290);
  // Crossing back out is refused again.
  for (int i = 0; i < 6; ++i) MovePlayer(0, -4);
  EXPECT_EQ(PlayerY, 286);
}

TEST_F(Player, OnlyRedSegmentsStopTheSpider) {
  AddSegment(290, 0);
  AddSegment(280, 1);
  PlayerY = 300;
  for (int i = 0; i < 10; ++i) MovePlayer(0, -4);
  EXPECT_EQ(PlayerY, 260);
  // A red segment behind plain ones in the list still counts.
  AddSegment(250, 2);
  for (int i = 0; i < 10; ++i) MovePlayer(0, -4);
  EXPECT_EQ(PlayerY, 256);
}

TEST_F(Player, DiagonalIntoTheRimStopsDead) {
  // The top of the play ellipse is at y = 84; the up step would leave it.
  PlayerX = 512;
  PlayerY = 87;
  UpdatePlayer(Walk({{-4, 0}, {0, -4}}), 1);
  EXPECT_EQ(PlayerX, 512);
  EXPECT_EQ(PlayerY, 87);
  EXPECT_EQ(PlayerWalkDelay, 2);  // the legs still moved
  // Left alone is fine there.
  UpdatePlayer(Walk({{-4, 0}}), 1);
  EXPECT_EQ(PlayerX, 508);
  EXPECT_EQ(PlayerY, 87);
}

TEST_F(Player, WalkStepAdvancesEverySeventhCallAndCycles) {
  PlayerWalkStep = 0;  // as the spider enters
  PlayerWalkDelay = 0;
  int frames[5] = {};
  for (int n = 0; n < 5; ++n) {
    for (int i = 0; i < 7; ++i) AdvanceWalk();
    frames[n] = SpiderWalkFrame(PlayerWalkStep);
    EXPECT_EQ(PlayerWalkStep, n % 4 + 1);
    EXPECT_EQ(PlayerWalkDelay, 0);
  }
  EXPECT_EQ(frames[0], 0);
  EXPECT_EQ(frames[1], 1);
  EXPECT_EQ(frames[2], 2);
  EXPECT_EQ(frames[3], 1);
  EXPECT_EQ(frames[4], 0);
  EXPECT_EQ(SpiderWalkFrame(0), 0);
  EXPECT_EQ(SpiderWalkFrame(9), 0);
  // Six advances are not enough.
  for (int i = 0; i < 6; ++i) AdvanceWalk();
  EXPECT_EQ(PlayerWalkStep, 1);
}

}  // namespace
