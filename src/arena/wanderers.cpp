// Dragonflies, grenade bugs, rocket bugs, spoilers and rockettes: wanderers that now
// and then hunt the spider, none of them turned back at the rim.
#include "arena/behaviours.h"
#include "arena/explosions.h"
#include "arena/level_state.h"
#include "platform/geometry.h"
#include "platform/random.h"

namespace {

enum { kWander = 0, kHunt = 2 };

constexpr double kRocketteBurstSize = 22;
constexpr double kRocketteBurstSpeed = 0.8;

double Speed(double base) {
  return base * EnemySpeedFactor;
}

double TargetDistance(const Enemies& e) {
  return Distance(e.x, e.y, e.TargetX, e.TargetY);
}

void NewTarget(Enemies& e) {
  const PlayPoint p = RandomPlayPoint();
  e.TargetX = p.x;
  e.TargetY = p.y;
}

void SteerToTarget(Enemies& e, double turn, double speed) {
  e.angle = TurnTowardPoint(e.TargetX, e.TargetY, e.x, e.y, e.angle, turn);
  SetSpeeds(e, Speed(speed));
  MoveInsect(e);
}

void SteerToPlayer(Enemies& e, double turn, double speed) {
  e.angle = TurnTowardPlayer(e.x, e.y, e.angle, turn);
  SetSpeeds(e, Speed(speed));
  MoveInsect(e);
}

}  // namespace

void DragonflyStep(Enemies& e) {
  SteerToTarget(e, 3, 1.5);
  if (TargetDistance(e) < 20) NewTarget(e);
}

void GrenadeBugStep(Enemies& e) {
  if (e.HuntingMode == kWander) {
    SteerToTarget(e, 3, 0.8);
    if (TargetDistance(e) < 50) NewTarget(e);
  } else if (e.HuntingMode == kHunt) {
    SteerToPlayer(e, 3, 0.8);
    // The target is not flown to while hunting; it is renewed all the same.
    if (TargetDistance(e) < 20) NewTarget(e);
  }
  // Twice the speed: a second move, in any mode.
  MoveInsect(e);
  e.OnlyEverySecondTime ^= 1;
}

void RocketBugStep(Enemies& e) {
  if (e.DelayBeforeBeingAbleToShoot > 0) --e.DelayBeforeBeingAbleToShoot;
  const int a = RandInt(1, 100);
  const int b = RandInt(1, 320);
  if (a == b && e.DelayBeforeBeingAbleToShoot == 0)
    CreateEnemy(1, TruncToInt(e.x), TruncToInt(e.y), 0, kRockette);
  if (e.HuntingMode == kWander) {
    if (!KnockedBack(e)) SteerToTarget(e, 4, 1.8);
    if (TargetDistance(e) < 50) NewTarget(e);
    if (RandInt(1, 1500) == 563) e.HuntingMode = kHunt;
  } else if (e.HuntingMode == kHunt) {
    // A knock-back taken while hunting waits until it wanders again.
    SteerToPlayer(e, 4, 1.8);
    // Drawn every frame, even when the distance alone decides.
    const bool tired = RandInt(1, 100) == 69;
    if (TargetDistance(e) > 250 || tired) {
      e.HuntingMode = kWander;
      NewTarget(e);
    }
  }
}

void SpoilerStep(Enemies& e) {
  if (e.HuntingMode == kWander) {
    if (!KnockedBack(e)) SteerToTarget(e, 4, 1.2);
    if (TargetDistance(e) < 50) NewTarget(e);
    if (RandInt(1, 1000) == 788) e.HuntingMode = kHunt;
  } else if (e.HuntingMode == kHunt) {
    if (!KnockedBack(e)) SteerToPlayer(e, 4, 1.2);
    const bool tired = RandInt(1, 100) == 38;  // drawn every frame
    if (TargetDistance(e) > 300 && tired) {
      e.HuntingMode = kWander;
      NewTarget(e);
    }
  }
}

bool RocketteStep(Enemies& e) {
  MoveInsect(e);
  if (e.GraceperiodForNotCheckingPerimeter != 0 || InsidePlayEllipse(e.x, e.y)) return true;
  CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionRing, kRocketteBurstSize,
                  kRocketteBurstSpeed);
  EnemyList.Remove(&e);
  return false;
}
