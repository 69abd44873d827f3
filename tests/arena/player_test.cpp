// The spider's walking: steps, the red-segment rule, the rim and the walk animation.
#include "arena/player.h"

#include <gtest/gtest.h>

#include "arena/bullets.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"

namespace {

class Player : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetInput();
    UseVirtualClock(1000);
    ControlScheme = 0;
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
    ResetInput();
    WebList.Clear();
    BulletList.Clear();
    UseRealClock();
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

TEST_F(Player, DiagonalKeysStepLeftThenUpAndWalkTwice) {
  InjectKeyDown(KeyMoveLeft);
  InjectKeyDown(KeyMoveUp);
  UpdatePlayer(1);
  EXPECT_EQ(PlayerX, 508);
  EXPECT_EQ(PlayerY, 296);
  EXPECT_EQ(PlayerOldX, 512);
  EXPECT_EQ(PlayerOldY, 300);
  EXPECT_EQ(PlayerWalkDelay, 2);
  EXPECT_EQ(PlayerAngle, 180);  // no shot, heading kept
}

TEST_F(Player, ShotTurnsTheSpiderEvenStandingStill) {
  InjectKeyDown(KeyFireUp);
  InjectKeyDown(KeyFireLeft);
  UpdatePlayer(1);
  EXPECT_EQ(PlayerAngle, 315);
  EXPECT_EQ(PlayerX, 512);
  EXPECT_EQ(PlayerWalkDelay, 0);
  // The bullet leaves along the new heading.
  ASSERT_EQ(BulletList.Count(), 1u);
  EXPECT_EQ(BulletList.First()->angle, 315);
  // Held fire during the wait between shots still turns the spider.
  InjectKeyUp(KeyFireLeft);
  InjectKeyDown(KeyFireRight);
  UpdatePlayer(1);
  EXPECT_EQ(PlayerAngle, 45);
  EXPECT_EQ(BulletList.Count(), 1u);
}

TEST_F(Player, FrozenFrameNeitherMovesNorTurns) {
  InjectKeyDown(KeyMoveRight);
  InjectKeyDown(KeyFireDown);
  UpdatePlayer(0);
  EXPECT_EQ(PlayerX, 512);
  EXPECT_EQ(PlayerAngle, 180);
  EXPECT_EQ(PlayerWalkDelay, 0);
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
  InjectKeyDown(KeyMoveLeft);
  InjectKeyDown(KeyMoveUp);
  UpdatePlayer(1);
  EXPECT_EQ(PlayerX, 512);
  EXPECT_EQ(PlayerY, 87);
  EXPECT_EQ(PlayerWalkDelay, 2);  // the legs still moved
  // Left alone is fine there.
  InjectKeyUp(KeyMoveUp);
  UpdatePlayer(1);
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
