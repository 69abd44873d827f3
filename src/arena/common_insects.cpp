// Hornets, mosquitoes and beetles: roam, hunt the spider now and then, and go for the
// grubsteaks. Hornets and mosquitoes lay an egg on one; beetles charge it and eat it.
#include "arena/behaviours.h"
#include "arena/effects.h"
#include "arena/eggs.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"

namespace {

enum Mode { kPickTarget = 0, kRoam = 1, kHunt = 2, kSearch = 3, kGoToGrub = 4, kLay = 5 };

// A random event: RandInt(1, n) equal to k, or below it.
struct Chance {
  int n, k;
  bool equal;
  bool Happens() const {
    const int r = RandInt(1, n);
    return equal ? r == k : r < k;
  }
};

struct Kind {
  bool target_near;  // new targets near the insect instead of anywhere on the web
  bool alternate;    // steers on every other frame only
  double roam_turn, roam_speed;
  Chance roam_to_search;
  double near_player;  // the hunt may start within this distance of the spider
  Chance near_to_hunt;
  Chance anywhere_to_hunt;
  double hunt_turn, hunt_speed;
  double give_up;  // the hunt ends beyond this distance
  Chance hunt_to_search;
  int search_reach;  // the widest of the search radii, in steps of 100
  double grub_turn, grub_speed;
  int lost_grub_roams;  // RandInt(1, 100) below this: roam again, else hunt
  double rim_speed;
};

// By type - 1: hornet, mosquito, beetle.
constexpr Kind kKinds[3] = {
    {false,
     true,
     12,
     1.5,
     {150, 41, true},
     250,
     {150, 20, false},
     {400, 36, true},
     12,
     1.5,
     250,
     {100, 32, true},
     500,
     12,
     1.5,
     60,
     1.5},
    {true,
     true,
     3,
     1.0,
     {150, 41, true},
     250,
     {200, 15, false},
     {500, 3, false},
     3,
     1.0,
     250,
     {200, 64, true},
     500,
     3,
     1.0,
     60,
     1.0},
    {false,
     false,
     4,
     2.0,
     {150, 41, true},
     200,
     {100, 15, false},
     {500, 40, true},
     2,
     1.5,
     350,
     {100, 32, true},
     300,
     16,
     3.0,
     50,
     2.0},
};

constexpr int kArrival = 32;
constexpr int kSearchStep = 100;
constexpr int kLayReach = 10;
constexpr int kEatReach = 22;
constexpr int kBeetleLookAhead = 7;
constexpr int kLayFrames = 90;
constexpr int kRimGrace = 60;
constexpr int kAfterMealRoams = 40;  // RandInt(1, 100) below this: roam, else hunt

bool Steers(const Enemies& e, const Kind& k) {
  return !k.alternate || e.OnlyEverySecondTime == 0;
}

int X(const Enemies& e) {
  return TruncToInt(e.x);
}
int Y(const Enemies& e) {
  return TruncToInt(e.y);
}

PlayPoint NewTarget(const Enemies& e, const Kind& k) {
  return k.target_near ? RandomPointNear(X(e), Y(e), 75, 50) : RandomPlayPoint();
}

void SetTarget(Enemies& e, PlayPoint p) {
  e.TargetX = p.x;
  e.TargetY = p.y;
}

void RoamOrHunt(Enemies& e, int roam_below) {
  e.HuntingMode = RandInt(1, 100) < roam_below ? kPickTarget : kHunt;
}

double PlayerDistance(const Enemies& e) {
  return Distance(PlayerX, PlayerY, e.x, e.y);
}

void Roam(Enemies& e, const Kind& k, bool beetle) {
  if (Steers(e, k)) {
    e.angle = TurnTowardPoint(e.TargetX, e.TargetY, e.x, e.y, e.angle, k.roam_turn);
    SetSpeeds(e, k.roam_speed * EnemySpeedFactor);
  }
  MoveInsect(e);
  if (WithinRadius(X(e), Y(e), e.TargetX, e.TargetY, kArrival)) e.HuntingMode = kPickTarget;
  if (beetle) e.OnlyEverySecondTime ^= 1;
  e.EarlierMode = kRoam;
  // Every draw is made, in this order; a later one overrides an earlier one.
  if (k.roam_to_search.Happens()) e.HuntingMode = kSearch;
  if (PlayerDistance(e) < k.near_player && k.near_to_hunt.Happens()) e.HuntingMode = kHunt;
  if (k.anywhere_to_hunt.Happens()) e.HuntingMode = kHunt;
}

void Hunt(Enemies& e, const Kind& k, bool beetle) {
  if (Steers(e, k)) {
    e.angle = TurnTowardPlayer(e.x, e.y, e.angle, k.hunt_turn);
    SetSpeeds(e, k.hunt_speed * EnemySpeedFactor);
  }
  MoveInsect(e);
  if (beetle) e.OnlyEverySecondTime ^= 1;
  if (PlayerDistance(e) > k.give_up) e.HuntingMode = kPickTarget;
  e.EarlierMode = kHunt;
  if (k.hunt_to_search.Happens()) e.HuntingMode = kSearch;
}

// The first free grubsteak in list order within the smallest radius that has one.
void Search(Enemies& e, const Kind& k) {
  for (int r = kSearchStep; r <= k.search_reach; r += kSearchStep) {
    for (Grubs& g : GrubList) {
      if (g.TargetID != 0 || g.Flashing != 0) continue;
      if (!(Distance(e.x, e.y, g.X, g.Y) < r)) continue;
      const int ticket = RandInt(1, 65000);
      g.TargetID = ticket;
      e.TargetID = ticket;
      SetTarget(e, {g.X, g.Y});
      e.HuntingMode = kGoToGrub;
      return;
    }
  }
  e.HuntingMode = e.EarlierMode;
}

// False on a frame that checks on the grubsteak: nothing else happens then.
bool CountDownToCheck(Enemies& e) {
  if (e.IsGrubStillPresetCheck > 0) --e.IsGrubStillPresetCheck;
  if (e.IsGrubStillPresetCheck != 0) return true;
  e.IsGrubStillPresetCheck = RandInt(5, 10);
  return false;
}

void FlyToGrub(Enemies& e, const Kind& k) {
  if (!CountDownToCheck(e)) {
    const Grubs* g = ClaimedGrub(e.TargetID);
    if (g != nullptr && WithinRadius(X(e), Y(e), g->X, g->Y, kLayReach)) {
      EmitSound("Crunch2");
      e.WaitOnEgg = kLayFrames;
      e.HuntingMode = kLay;
      SetTarget(e, {g->X, g->Y});
    }
  } else if (e.WaitOnEgg == 0) {
    if (Steers(e, k)) {
      e.angle = TurnTowardPoint(e.TargetX, e.TargetY, e.x, e.y, e.angle, k.grub_turn);
      SetSpeeds(e, k.grub_speed * EnemySpeedFactor);
    }
    MoveInsect(e);
  }
  if (ClaimedGrub(e.TargetID) == nullptr && e.WaitOnEgg == 0) {
    e.TargetID = 0;
    RoamOrHunt(e, k.lost_grub_roams);
    e.WaitOnEgg = 0;
    e.PushFrames = 0;
  }
}

void Lay(Enemies& e) {
  if (e.WaitOnEgg > 1) --e.WaitOnEgg;
  // A wait that has run out already lays too, so no insect sits here for ever.
  if (e.WaitOnEgg > 1) return;
  // The grubsteak may have gone meanwhile: then nothing is laid.
  if (Grubs* g = ClaimedGrub(e.TargetID)) {
    const int x = g->X, y = g->Y;
    const int type = RandInt(kRedEgg, kYellowEgg);
    CreateEgg(x, y, type);
    GrubList.Remove(g);
  }
  RoamOrHunt(e, kAfterMealRoams);
  e.WaitOnEgg = 0;
}

void Charge(Enemies& e, const Kind& k) {
  if (CountDownToCheck(e)) {
    // Straight on between the frames that show the beetle's first wing image.
    if (e.Frame == 0) {
      e.angle = TurnTowardPoint(e.TargetX, e.TargetY, e.x, e.y, e.angle, k.grub_turn);
      SetSpeeds(e, k.grub_speed * EnemySpeedFactor);
    }
    MoveInsect(e);
  } else if (Grubs* g = ClaimedGrub(e.TargetID)) {
    const int ahead_x = TruncToInt(e.x + TruncToInt(kBeetleLookAhead * e.xspeed));
    const int ahead_y = TruncToInt(e.y + TruncToInt(kBeetleLookAhead * e.yspeed));
    if (WithinRadius(ahead_x, ahead_y, g->X, g->Y, kEatReach)) {
      EmitSound("Crunch2");
      GrubList.Remove(g);
      RoamOrHunt(e, kAfterMealRoams);
    }
  }
  if (ClaimedGrub(e.TargetID) == nullptr) {
    e.TargetID = 0;
    RoamOrHunt(e, k.lost_grub_roams);
  }
}

// An insect that has drifted out of the play ellipse turns back in, and is left alone
// for a while as it does.
void TurnBackAtTheRim(Enemies& e, const Kind& k, bool beetle) {
  if (e.GraceperiodForNotCheckingPerimeter != 0 || InsidePlayEllipse(X(e), Y(e))) return;
  e.GraceperiodForNotCheckingPerimeter = kRimGrace;
  const bool roams = RandInt(1, 100) <= 50;
  if (roams) {
    e.HuntingMode = kRoam;
    SetTarget(e, NewTarget(e, k));
  } else {
    e.HuntingMode = kHunt;
  }
  if (e.PushFrames != 0) return;
  if (beetle && !roams) return;
  // A hunter heads for whatever random point was drawn last, which always lies on
  // the web; a roamer that is its own new target.
  const PlayPoint aim = beetle ? PlayPoint{e.TargetX, e.TargetY} : LastRandomPoint();
  const double h = HeadingTo(e.x, e.y, aim.x, aim.y);
  e.angle = TruncToInt(h);
  const double speed = k.rim_speed * EnemySpeedFactor;
  e.xspeed = static_cast<float>(speed * Sin(h));
  e.yspeed = static_cast<float>(-speed * Cos(h));
}

}  // namespace

void CommonInsectStep(Enemies& e) {
  const Kind& k = kKinds[e.EnemyType - kHornet];
  const bool beetle = e.EnemyType == kBeetle;
  switch (e.HuntingMode) {
    case kPickTarget:
      SetTarget(e, NewTarget(e, k));
      e.HuntingMode = kRoam;
      break;
    case kRoam:
      Roam(e, k, beetle);
      break;
    case kHunt:
      Hunt(e, k, beetle);
      break;
    case kSearch:
      Search(e, k);
      break;
    case kGoToGrub:
      if (beetle)
        Charge(e, k);
      else
        FlyToGrub(e, k);
      break;
    case kLay:
      if (!beetle) {
        Lay(e);
        break;
      }
      [[fallthrough]];
    default:
      // A mode from elsewhere (a stray value) starts over.
      e.HuntingMode = kPickTarget;
      break;
  }
  TurnBackAtTheRim(e, k, beetle);
}
