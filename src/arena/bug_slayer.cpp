// The bug slayer: it cannot be killed and never harms the spider, but it competes for
// food. It roams, marks a victim (a grubsteak or another insect), winds up for 30
// frames, then charges and eats it.
#include "arena/behaviours.h"
#include "arena/effects.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "platform/geometry.h"
#include "platform/random.h"

namespace {

enum { kRoam = 1, kWindUpInsect = 2, kChase = 3, kWindUpGrub = 4, kCharge = 5 };

constexpr int kArrived = 50;
constexpr int kWindUpFrames = 30;
constexpr int kEatInsectReach = 32;
constexpr int kEatGrubReach = 20;
// Insects it may choose, in the order it prefers them: hornet to spoiler.
constexpr int kFirstPrey = kHornet, kLastPrey = kSpoiler;

void NewRoamingTarget(Enemies& s) {
  const PlayPoint p = RandomPointNear(TruncToInt(s.x), TruncToInt(s.y), 300, 200);
  s.TargetX = p.x;
  s.TargetY = p.y;
}

void Crunch() {
  EmitSound("Crunch2");
}

void Fly(Enemies& s, double speed) {
  SetSpeeds(s, speed * EnemySpeedFactor);
  MoveInsect(s);
}

Enemies* MarkedInsect() {
  for (Enemies& e : EnemyList)
    if (e.Flashing == 1) return &e;
  return nullptr;
}

void ChooseVictim(Enemies& s) {
  int n = 0, g = 0;
  for (Enemies& e : EnemyList) {
    e.Flashing = 0;
    ++n;
  }
  for (Grubs& grub : GrubList) {
    grub.Flashing = 0;
    ++g;
  }
  int choice = 0;
  if (g > 0 || n == 1) choice = 1;
  if (n >= 2 && RandInt(1, 100) > 74) choice = 2;
  if (g == 0 && n > 1) choice = 2;

  s.DelayBeforeCharging = 1;
  if (choice == 1) {
    s.HuntingMode = kWindUpGrub;
    // A grubsteak someone has claimed is left alone; with none free the slayer charges
    // the point it was roaming to.
    for (Grubs& grub : GrubList) {
      if (grub.Flashing != 0 || grub.TargetID != 0) continue;
      grub.Flashing = 1;
      grub.TargetID = RandInt(1, 65000);
      s.TargetID = grub.TargetID;
      s.TargetX = grub.X;
      s.TargetY = grub.Y;
      break;
    }
    return;
  }
  s.HuntingMode = kWindUpInsect;
  for (int type = kFirstPrey; type <= kLastPrey; ++type) {
    for (Enemies& e : EnemyList) {
      if (e.EnemyType != type) continue;
      e.Flashing = 1;
      return;
    }
  }
}

void Roam(Enemies& s) {
  if (!KnockedBack(s)) {
    s.angle = TurnTowardPoint(s.TargetX, s.TargetY, s.x, s.y, s.angle, 4);
    Fly(s, 1.0);
  }
  bool arrived = false;
  if (Distance(s.x, s.y, s.TargetX, s.TargetY) < kArrived) {
    NewRoamingTarget(s);
    arrived = true;
  }
  s.TargetID = 0;
  const bool whim = RandInt(1, 900) < 11;  // drawn every frame, arrived or not
  if (arrived || whim) ChooseVictim(s);
}

// True once the wind-up is over.
bool WoundUp(Enemies& s) {
  if (++s.DelayBeforeCharging <= kWindUpFrames) return false;
  s.DelayBeforeCharging = 0;
  return true;
}

void WindUpForInsect(Enemies& s) {
  if (!KnockedBack(s)) {
    s.angle = TurnTowardPoint(s.TargetX, s.TargetY, s.x, s.y, s.angle, 6);
    Fly(s, 2.0);
  }
  if (WoundUp(s)) s.HuntingMode = kChase;
}

void Chase(Enemies& s) {
  Enemies* victim = MarkedInsect();
  if (victim == nullptr) {
    // The victim went some other way: look around afresh instead of waiting for ever.
    NewRoamingTarget(s);
    s.HuntingMode = kRoam;
    return;
  }
  const int px = TruncToInt(victim->x), py = TruncToInt(victim->y);
  if (!KnockedBack(s)) {
    s.angle = AimAt(px, py, s.x, s.y);
    Fly(s, 5.0);
  }
  if (Distance(s.x, s.y, px, py) < kEatInsectReach) {
    Crunch();
    EnemyList.Remove(victim);
    NewRoamingTarget(s);
    s.HuntingMode = kRoam;
  }
}

void WindUpForGrub(Enemies& s) {
  if (!KnockedBack(s)) {
    s.angle = AimAt(s.TargetX, s.TargetY, s.x, s.y);
    Fly(s, 2.0);
  }
  if (WoundUp(s)) s.HuntingMode = kCharge;
}

void Charge(Enemies& s) {
  if (s.IsGrubStillPresetCheck > 0) --s.IsGrubStillPresetCheck;
  if (Grubs* grub = ClaimedGrub(s.TargetID)) {
    if (WithinRadius(TruncToInt(s.x), TruncToInt(s.y), grub->X, grub->Y, kEatGrubReach)) {
      Crunch();
      GrubList.Remove(grub);
      NewRoamingTarget(s);
      s.HuntingMode = kRoam;
    }
  }
  s.angle = AimAt(s.TargetX, s.TargetY, s.x, s.y);
  Fly(s, 5.0);
  if (ClaimedGrub(s.TargetID) == nullptr) {
    s.TargetID = 0;
    s.HuntingMode = kRoam;
    s.WaitOnEgg = 0;
    s.PushFrames = 0;
  }
}

}  // namespace

void BugSlayerStep(Enemies& s) {
  switch (s.HuntingMode) {
    case kRoam:
      Roam(s);
      break;
    case kWindUpInsect:
      WindUpForInsect(s);
      break;
    case kChase:
      Chase(s);
      break;
    case kWindUpGrub:
      WindUpForGrub(s);
      break;
    case kCharge:
      Charge(s);
      break;
    default:
      // Any other mode (a demo re-target sets 0) roams again.
      NewRoamingTarget(s);
      s.HuntingMode = kRoam;
      break;
  }
}
