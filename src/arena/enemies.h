// The insects: their record, the arena's ellipses and steering, creation, the common
// per-frame movement with the web bounce and wing flaps, hits, contact with the
// spider, the flight off screen at a level's end and drawing.
#pragma once

#include <cstdint>

#include "platform/entity_list.h"
#include "platform/geometry.h"

struct Enemies {
  int EnemyType = 0;
  float x = 0, y = 0;
  float xspeed = 0, yspeed = 0;
  int angle = 0;  // degrees 0..359, 0 up, clockwise
  int Frame = 0;  // shape frame 0..2 shown
  int EnemyFrameDelay = 0;
  int EnemyFrameIndex = 0;  // 1..4 in the wing-flap cycle
  int OnlyEverySecondTime = 0;
  int DelayBeforeBeingAbleToShoot = 0;
  int PushFrames = 0;
  float PushXSpeed = 0, PushYSpeed = 0;
  int ThunderbugMode = 0;
  int HurryOutOfScreenMode = 0;
  int HuntingMode = 0;
  int GraceperiodForNotCheckingPerimeter = 0;
  int TargetID = 0;  // claim ticket shared with a grubsteak, 0 none
  int TargetX = 0, TargetY = 0;
  int IsGrubStillPresetCheck = 0;
  int EarlierMode = 0;
  int WaitOnEgg = 0;
  int DelayBeforeCharging = 0;
  int Flashing = 0;  // 1 while marked as a bug slayer's prey
  int glowcolor = 0;
  int ColorIndex = 0;
  int Size = 0;  // body radius; contact reach is twice this
  int PathCount = 0;
  int GoRandom = 0;
  int ThunderColor1 = 0, ThunderColor2 = 0;
  int Life = 0;
};

extern EntityList<Enemies> EnemyList;

extern int DragonflyAppeared;  // 1 once this level's dragonfly was made
extern int DragonflyCounter;   // levels since the last dragonfly
extern int DragonflyBonus;     // points for shooting one; set by the difficulty choice
extern int ContactCheckType;   // the insect type pair tested against the spider next
extern int DemoRetargetTimer;  // frames since the demo insects last chose new targets

// Insect types.
inline constexpr int kHornet = 1;
inline constexpr int kMosquito = 2;
inline constexpr int kBeetle = 3;
inline constexpr int kDragonfly = 4;
inline constexpr int kGrenadeBug = 5;
inline constexpr int kRocketBug = 6;
inline constexpr int kSpoiler = 7;
inline constexpr int kBugSlayer = 8;
inline constexpr int kRockette = 9;
inline constexpr int kThunderbug = 10;
inline constexpr int kThunderbugHit = 12;

// Body radius of a type (0 outside 1..10).
int EnemySize(int type);

// Heading from (px, py) towards (tx, ty), in [0, 360).
double HeadingTo(double px, double py, double tx, double ty);

struct PlayPoint {
  int x, y;
};
PlayPoint RandomPlayPoint();
// A point of the play ellipse within (dx, dy) of (cx, cy); gives up after a bounded
// number of draws and falls back to RandomPlayPoint.
PlayPoint RandomPointNear(int cx, int cy, int dx, int dy);
// The point the last of these two calls gave, whoever made it; the arena centre
// before the first.
PlayPoint LastRandomPoint();

int TurnTowardPoint(double tx, double ty, double x, double y, int angle, double max_turn);
int TurnTowardPlayer(double x, double y, int angle, double max_turn);
int AimAt(double tx, double ty, double x, double y);

// on_rim 0 places the insect on the entry ellipse at `angle`; 1 at (x, y).
void CreateEnemy(int on_rim, int x, int y, int angle, int type);

// The moves every insect's step is made of. xspeed and yspeed for a speed along the
// insect's heading.
void SetSpeeds(Enemies& e, double speed);
// Adds the speeds to the position.
void MoveInsect(Enemies& e);
// The wing flaps: each image of the 0, 1, 2, 1 cycle shows for hold + 1 frames.
void AnimateWings(Enemies& e, int hold);
// A knocked-back insect drifts with the bullet instead of flying, one frame a count;
// false when no knock-back is pending.
bool KnockedBack(Enemies& e);

// Wing-flap cycle: the frame shown for EnemyFrameIndex 1..4.
inline constexpr int EnemyFrameTable[4] = {0, 1, 2, 1};
