#include "arena/enemies.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "arena/behaviours.h"
#include "arena/bullets.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/insect_shapes.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/thunderbugs.h"
#include "arena/web.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/glow.h"
#include "render/vector_font.h"

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
constexpr double kHurrySpeed = 6;
constexpr double kHurryTurn = 4;
// A box wholly outside the play ellipse would never give a point.
constexpr int kNearDraws = 1000;
constexpr int kFrameHold = 10;  // each wing image shows for one frame more than this
constexpr int kDemoRetargetFrames = 600;
constexpr int kHurryOutPoints = 1000;
constexpr int kRockettePoints = 1000;
constexpr std::uint32_t kPointsGlow = 0xFF8CC200u;

int ClampToInt(long long v) {
  if (v < INT_MIN) return INT_MIN;
  if (v > INT_MAX) return INT_MAX;
  return static_cast<int>(v);
}

// One step back into 0..359, as a turn of at most a half circle needs.
int WrapOnce(int a) {
  if (a > 359) return a - 360;
  if (a < 0) return a + 360;
  return a;
}

void Remove(Enemies& e) {
  EnemyList.Remove(&e);
}

void Debris(const Enemies& e) {
  CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 3, kExplosionDebris, 255, 255);
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
  if (SoundOn == 1) Sound::Play("Crunch3", 0);
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

void HitEnemy(Enemies* enemy, const PlayerBullets* bullet) {
  if (enemy == nullptr || !EnemyList.Contains(enemy)) return;
  Enemies& e = *enemy;

  if (e.Flashing == 1) {
    // The prey is gone: every bug slayer gives up the hunt and looks around afresh.
    for (Enemies& slayer : EnemyList) {
      if (slayer.EnemyType != kBugSlayer) continue;
      e.TargetID = 0;
      e.Flashing = 0;
      slayer.TargetID = 0;
      slayer.Flashing = 0;
      const PlayPoint t = RandomPointNear(TruncToInt(slayer.x), TruncToInt(slayer.y), 300, 200);
      slayer.TargetX = t.x;
      slayer.TargetY = t.y;
      slayer.HuntingMode = 1;
    }
  }

  if (HurryOut == 1) {
    Score += kHurryOutPoints;
    SpawnFloatingText(TruncToInt(e.x), TruncToInt(e.y), "1000", 1, 1, kPointsGlow);
    if (SoundOn == 1) Sound::Play("TakeGrub", 0);
    Debris(e);
    Remove(e);
    return;
  }

  const float push_x = bullet ? static_cast<float>(bullet->xspeed / 2) : 0.0f;
  const float push_y = bullet ? static_cast<float>(bullet->yspeed / 2) : 0.0f;
  // The shot knocks the insect along the bullet's flight at half the bullet's speed.
  auto knock_back = [&](int frames) {
    e.PushFrames = frames;
    e.PushXSpeed = push_x;
    e.PushYSpeed = push_y;
  };
  switch (e.EnemyType) {
    case kHornet:
    case kMosquito:
    case kBeetle:
      CreateGrub(TruncToInt(e.x), TruncToInt(e.y));
      Debris(e);
      Remove(e);
      break;
    case kDragonfly:
      Score += DragonflyBonus;
      CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionRing, 32, 1);
      Remove(e);
      break;
    case kGrenadeBug:
      CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionDeadlyRing, 70, 1);
      Remove(e);
      break;
    case kRocketBug:
      knock_back(2);
      break;
    case kSpoiler:
      knock_back(3);
      break;
    case kBugSlayer:
      knock_back(3);
      if (e.HurryOutOfScreenMode == 1) {
        Score += kHurryOutPoints;
        Remove(e);
      }
      break;
    case kRockette:
      Score += kRockettePoints;
      CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionRing, 32, 0.9);
      Remove(e);
      break;
    case kThunderbug:
    case kThunderbugHit:
      HitThunderbug(e);
      break;
    default:
      break;
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
  EnemyCount = 0;
  const bool hurry = HurryOut == 1;
  GlowBatch batch;
  for (Enemies& e : EnemyList) {
    ++EnemyCount;
    const InsectLook look{e.Flashing == 1 ? &e.ColorIndex : nullptr, hurry};
    DrawInsectShape(batch, e.EnemyType, e.angle, e.Frame, e.x, e.y, look);
  }
}

bool BulletHitsInsects(PlayerBullets& bullet) {
  bool hit = false;
  for (Enemies& e : EnemyList) {
    if (BulletReachesInsect(bullet, e.x, e.y, e.EnemyType)) {
      PlayBulletHitSound();
      HitEnemy(&e, &bullet);
      hit = true;
    }
  }
  return hit;
}
