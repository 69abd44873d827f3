#include "arena/hits.h"

#include <cstdint>

#include "arena/bullets.h"
#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "arena/thunderbugs.h"
#include "platform/geometry.h"
#include "platform/trig.h"
#include "render/vector_font.h"

namespace {

constexpr int kHurryOutPoints = 1000;
constexpr int kRockettePoints = 1000;
constexpr std::uint32_t kPointsGlow = 0xFF8CC200u;

void Remove(Enemies& e) {
  EnemyList.Remove(&e);
}

void Debris(const Enemies& e) {
  CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 3, kExplosionDebris, 255, 255);
}

}  // namespace

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
    AwardPoints(kHurryOutPoints);
    ShowFloatingText(TruncToInt(e.x), TruncToInt(e.y), "1000", kPointsGlow);
    EmitSound("TakeGrub");
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
      AwardPoints(DragonflyBonus);
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
        AwardPoints(kHurryOutPoints);
        Remove(e);
      }
      break;
    case kRockette:
      AwardPoints(kRockettePoints);
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

void StepBullets() {
  for (PlayerBullets& b : BulletList) {
    b.x += b.xspeed;
    b.y += b.yspeed;
    GlanceOffGrubs(b);
    if (BulletHitsInsects(b) || !BulletInsidePlayArea(b) || ++b.life > kBulletMaxLife)
      BulletList.Remove(&b);
  }
}

void GlanceOffGrubs(PlayerBullets& bullet) {
  for (const Grubs& g : GrubList)
    if (BulletTouchesGrub(bullet, g.X, g.Y)) GlanceBullet(bullet);
}
