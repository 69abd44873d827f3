#include "arena/insects.h"

#include "arena/behaviours.h"
#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/insect_shapes.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/glow.h"

namespace {

constexpr double kHurrySpeed = 6;
constexpr double kHurryTurn = 4;
constexpr int kFrameHold = 10;  // each wing image shows for one frame more than this
constexpr int kDemoRetargetFrames = 600;

// One step back into 0..359, as a turn of at most a half circle needs.
int WrapOnce(int a) {
  if (a > 359) return a - 360;
  if (a < 0) return a + 360;
  return a;
}

void Remove(Enemies& e) {
  EnemyList.Remove(&e);
}

// Gives up a grubsteak claim on both sides.
void ReleaseClaim(Enemies& e) {
  if (e.TargetID <= 0) return;
  if (Grubs* g = ClaimedGrub(e.TargetID)) g->TargetID = 0;
  e.TargetID = 0;
}

// Red and green web segments turn back insects flying outwards across them; an insect
// already on its way in passes.
void BounceOffWeb(Enemies& e, double old_x, double old_y) {
  const double ax = old_x - e.xspeed, ay = old_y - e.yspeed;
  const double bx = e.x + e.xspeed, by = e.y + e.yspeed;
  for (Web& w : WebList) {
    if (w.ColorIndex <= 0) continue;
    if (!SegmentsCross(ax, ay, bx, by, w.x1, w.y1, w.x2, w.y2)) continue;
    if (Distance(kArenaCX, kArenaCY, old_x, old_y) > Distance(kArenaCX, kArenaCY, e.x, e.y)) {
      return;
    }
    e.x = static_cast<float>(old_x);
    e.y = static_cast<float>(old_y);
    e.HuntingMode = e.EnemyType == kGrenadeBug || e.EnemyType == kRocketBug ? 0 : 1;
    const PlayPoint t = RandomPointNear(TruncToInt(e.x), TruncToInt(e.y), 75, 64);
    ReleaseClaim(e);
    e.TargetX = t.x;
    e.TargetY = t.y;
    e.angle = WrapOnce(e.angle + RandInt(-45, 45));
    return;
  }
}

// The flight off screen; false once the insect is gone.
bool HurryOff(Enemies& e) {
  e.angle =
      TurnTowardPoint(e.TargetX, e.TargetY, TruncToInt(e.x), TruncToInt(e.y), e.angle, kHurryTurn);
  SetSpeeds(e, kHurrySpeed);
  MoveInsect(e);
  if (InsideExitEllipse(e.x, e.y)) return true;
  CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionRing, 20, 2);
  EmitSound("Crunch3");
  Remove(e);
  return false;
}

void RetargetDemoInsects() {
  for (Enemies& e : EnemyList) {
    const PlayPoint t = RandomPlayPoint();
    e.TargetX = t.x;
    e.TargetY = t.y;
    e.angle = TruncToInt(HeadingTo(e.x, e.y, t.x, t.y));
    e.HuntingMode = 0;
    // Nobody to hunt in the menus: a bug slayer would only idle.
    if (e.EnemyType == kBugSlayer) e.EnemyType = kGrenadeBug;
  }
}

int NextContactCheck(int c) {
  switch (c) {
    case 1:
      return 2;
    case 2:
      return 3;
    case 3:
    case 4:
      return 5;
    case 5:
      return 6;
    case 6:
      return 7;
    case 7:
    case 8:
      return 9;
    default:
      return 1;
  }
}

// The type's own step of the update; false once the insect has left EnemyList.
bool TypeStep(Enemies& e) {
  switch (e.EnemyType) {
    case kHornet:
    case kMosquito:
    case kBeetle:
      CommonInsectStep(e);
      return true;
    case kDragonfly:
      DragonflyStep(e);
      return true;
    case kGrenadeBug:
      GrenadeBugStep(e);
      return true;
    case kRocketBug:
      RocketBugStep(e);
      return true;
    case kSpoiler:
      SpoilerStep(e);
      return true;
    case kBugSlayer:
      BugSlayerStep(e);
      return true;
    case kRockette:
      return RocketteStep(e);
    default:
      // Thunderbugs fly in the bonus level's own update.
      return true;
  }
}

}  // namespace

void UpdateEnemies(int demo) {
  for (Enemies& e : EnemyList) {
    if (HurryOut == 1) {
      if (!HurryOff(e)) continue;
    } else {
      const double old_x = e.x, old_y = e.y;
      if (e.GraceperiodForNotCheckingPerimeter > 0) --e.GraceperiodForNotCheckingPerimeter;
      e.OnlyEverySecondTime = e.OnlyEverySecondTime == 0 ? 1 : 0;
      if (!TypeStep(e)) continue;
      if (e.EnemyType >= kHornet && e.EnemyType <= kRocketBug) BounceOffWeb(e, old_x, old_y);
    }
    AnimateWings(e, kFrameHold);
  }
  if (demo == 1 && ++DemoRetargetTimer > kDemoRetargetFrames) {
    DemoRetargetTimer = 0;
    RetargetDemoInsects();
  }
}

void CheckEnemyContact() {
  if (HurryOut == 1) return;
  const int c = ContactCheckType;
  const int px = TruncToInt(PlayerX), py = TruncToInt(PlayerY);
  for (Enemies& e : EnemyList) {
    if (e.EnemyType != c && e.EnemyType != c + 2) continue;
    // Bug slayers hunt other insects, never the spider.
    if (e.EnemyType == kBugSlayer) continue;
    if (WithinRadius(px, py, TruncToInt(e.x), TruncToInt(e.y), 2 * e.Size)) {
      PlayerHit = 1;
      CreateExplosion(px, py, 3, kExplosionDebris, 255, 255);
    }
  }
  ContactCheckType = NextContactCheck(c);
}

void EnemiesHurryOut(int reach) {
  HurryOut = 1;
  for (Enemies& e : EnemyList) {
    e.angle = RandInt(1, 359);
    e.TargetX = TruncToInt(kArenaCX + static_cast<double>(e.xspeed) * reach);
    e.TargetY = TruncToInt(kArenaCY + static_cast<double>(e.yspeed) * reach);
    e.HurryOutOfScreenMode = 1;
    e.GraceperiodForNotCheckingPerimeter = 120;
  }
  LevelFrames = 0;
}

void DrawEnemies() {
  const bool hurry = HurryOut == 1;
  GlowBatch batch;
  for (Enemies& e : EnemyList) {
    const InsectLook look{e.Flashing == 1 ? &e.ColorIndex : nullptr, hurry};
    DrawInsectShape(batch, e.EnemyType, e.angle, e.Frame, e.x, e.y, look);
  }
}
