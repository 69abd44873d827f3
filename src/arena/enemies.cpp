#include "arena/enemies.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "arena/level_state.h"
#include "arena/player.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"

EntityList<Enemies> EnemyList;

int DragonflyAppeared = 0;
int DragonflyCounter = 0;
int DragonflyBonus = 0;
int ContactCheckType = 1;
int DemoRetargetTimer = 0;

namespace {

// Insects turning back at the rim may head for it (see LastRandomPoint).
PlayPoint last_random_point = {static_cast<int>(kArenaCX), static_cast<int>(kArenaCY)};

constexpr double kCruiseSpeed = 2;  // times EnemySpeedFactor
constexpr double kRocketteSpeed = 7;
// A box wholly outside the play ellipse would never give a point.
constexpr int kNearDraws = 1000;

int ClampToInt(long long v) {
  if (v < INT_MIN) return INT_MIN;
  if (v > INT_MAX) return INT_MAX;
  return static_cast<int>(v);
}

}  // namespace

void SetSpeeds(Enemies& e, double speed) {
  e.xspeed = static_cast<float>(speed * Sin(e.angle));
  e.yspeed = static_cast<float>(-speed * Cos(e.angle));
}

void MoveInsect(Enemies& e) {
  e.x += e.xspeed;
  e.y += e.yspeed;
}

void AnimateWings(Enemies& e, int hold) {
  if (++e.EnemyFrameDelay > hold) {
    e.EnemyFrameDelay = 0;
    ++e.EnemyFrameIndex;
  }
  if (e.EnemyFrameIndex < 1 || e.EnemyFrameIndex > 4) e.EnemyFrameIndex = 1;
  // Every frame, so the random frame a new insect is made with shows only until its
  // first update.
  e.Frame = EnemyFrameTable[e.EnemyFrameIndex - 1];
}

bool KnockedBack(Enemies& e) {
  if (e.PushFrames < 1) return false;
  e.x += e.PushXSpeed;
  e.y += e.PushYSpeed;
  --e.PushFrames;
  return true;
}

int EnemySize(int type) {
  switch (type) {
    case kHornet:
      return 18;
    case kMosquito:
      return 15;
    case kBeetle:
      return 20;
    case kDragonfly:
      return 23;
    case kGrenadeBug:
    case kRocketBug:
    case kSpoiler:
    case kBugSlayer:
      return 20;
    case kRockette:
      return 15;
    case kThunderbug:
      return 20;
    default:
      return 0;
  }
}

double HeadingTo(double px, double py, double tx, double ty) {
  return std::fmod(ATan2(py - ty, px - tx) + 270.0, 360.0);
}

PlayPoint RandomPlayPoint() {
  // The box reaches well inside the ellipse, so this ends after a few draws.
  for (;;) {
    const int x = RandInt(192, 732);
    const int y = RandInt(184, 484);
    if (InsidePlayEllipse(x, y)) return last_random_point = {x, y};
  }
}

PlayPoint RandomPointNear(int cx, int cy, int dx, int dy) {
  const int x_lo = ClampToInt(static_cast<long long>(cx) - dx);
  const int x_hi = ClampToInt(static_cast<long long>(cx) + dx);
  const int y_lo = ClampToInt(static_cast<long long>(cy) - dy);
  const int y_hi = ClampToInt(static_cast<long long>(cy) + dy);
  for (int i = 0; i < kNearDraws; ++i) {
    const int x = RandInt(x_lo, x_hi);
    const int y = RandInt(y_lo, y_hi);
    if (InsidePlayEllipse(x, y)) return last_random_point = {x, y};
  }
  return RandomPlayPoint();
}

PlayPoint LastRandomPoint() {
  return last_random_point;
}

int TurnTowardPoint(double tx, double ty, double x, double y, int angle, double max_turn) {
  double d = HeadingTo(x, y, tx, ty) - angle;
  if (d < 0) {
    d += 360;
  } else if (d >= 360) {
    d -= 360;
  }
  if (d > 2 && d <= 180) {
    const int a = TruncToInt(angle + max_turn);
    return a >= 360 ? a - 360 : a;
  }
  if (d > 180 && d < 358) {
    const int a = TruncToInt(angle - max_turn);
    return a < 0 ? a + 360 : a;
  }
  return angle;
}

int TurnTowardPlayer(double x, double y, int angle, double max_turn) {
  return TurnTowardPoint(PlayerX, PlayerY, x, y, angle, max_turn);
}

int AimAt(double tx, double ty, double x, double y) {
  return TruncToInt(HeadingTo(x, y, tx, ty));
}

void CreateEnemy(int on_rim, int x, int y, int angle, int type) {
  Enemies& e = *EnemyList.Add();
  if (on_rim == 0) {
    e.x = static_cast<float>(kEntryRX * Sin(angle) + kArenaCX);
    e.y = static_cast<float>(-kEntryRY * Cos(angle) + kArenaCY);
  } else {
    e.x = static_cast<float>(x);
    e.y = static_cast<float>(y);
  }

  const PlayPoint target = RandomPlayPoint();
  e.TargetX = target.x;
  e.TargetY = target.y;
  double h = HeadingTo(e.x, e.y, target.x, target.y);
  e.angle = TruncToInt(h);
  const double cruise = kCruiseSpeed * EnemySpeedFactor;
  e.xspeed = static_cast<float>(cruise * Sin(h));
  e.yspeed = static_cast<float>(-cruise * Cos(h));

  e.EnemyFrameDelay = 0;
  e.EnemyFrameIndex = 1;
  e.Frame = RandInt(0, 2);
  e.GoRandom = 0;
  e.OnlyEverySecondTime = RandInt(0, 1);
  e.DelayBeforeBeingAbleToShoot = 120;
  e.ThunderbugMode = 0;
  e.HurryOutOfScreenMode = 0;
  e.GraceperiodForNotCheckingPerimeter = 60;
  e.IsGrubStillPresetCheck = RandInt(5, 15);
  e.DelayBeforeCharging = 0;
  e.Size = EnemySize(type);

  if (type == kRockette) {
    // Aimed at where the spider is now, and fast whatever the level.
    h = HeadingTo(e.x, e.y, PlayerX, PlayerY);
    e.angle = TruncToInt(h);
    e.xspeed = static_cast<float>(kRocketteSpeed * Sin(h));
    e.yspeed = static_cast<float>(-kRocketteSpeed * Cos(h));
  }

  e.HuntingMode = RandInt(1, 100) < 76 ? 0 : 2;
  switch (type) {
    case kGrenadeBug:
      if (RandInt(1, 10) < 5) e.HuntingMode = 2;
      break;
    case kRocketBug:
      if (RandInt(1, 10) < 8) e.HuntingMode = 0;
      break;
    case kSpoiler:
      if (RandInt(1, 10) < 5) e.HuntingMode = 2;
      break;
    case kBugSlayer:
      e.HuntingMode = 1;
      break;
    default:
      break;
  }

  // One dragonfly a level at most, and none within four levels of the last one.
  if (type == kDragonfly) {
    if (DragonflyAppeared == 1 || DragonflyCounter < 4) {
      type = RandInt(kHornet, kBeetle);
    } else {
      DragonflyAppeared = 1;
      DragonflyCounter = 0;
    }
  }
  e.EnemyType = type;
}
