#include "arena/explosions.h"

#include <cstdint>

#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "render/glow.h"
#include "render/screen.h"

EntityList<Explosions> ExplosionList;

namespace {

constexpr int kDebrisHalf = 10;     // half the edge of a debris square
constexpr double kDebrisSpeed = 8;  // each edge flies straight out
constexpr int kRingSides = 20;
constexpr int kRingCount = 6;
constexpr double kRingStartSize = 2;
constexpr std::uint32_t kRingGlow = 0xFFFF00FF;
// The debris flicker through the bright half of the grey range, as signed ARGB.
constexpr int kDebrisGlowLow = -8355712;  // 0xFF808080
constexpr int kDebrisGlowHigh = -1;       // 0xFFFFFFFF
constexpr int kDebrisWireLow = 32;

// A ring reaches three times its size.
int RingReach(const Explosions& ring) {
  return TruncToInt(3 * ring.Size);
}

void AddDebrisLine(int x1, int y1, int x2, int y2, double xspeed, double yspeed, int delay) {
  Explosions e;
  e.explosiontype = kExplosionDebris;
  e.x1 = x1;
  e.y1 = y1;
  e.x2 = x2;
  e.y2 = y2;
  e.xspeed = xspeed;
  e.yspeed = yspeed;
  e.Delayed = delay;
  ExplosionList.Add(e);
}

bool OutsidePlayArea(const Explosions& e) {
  // Written so that a NaN end point counts as outside and is dropped.
  return !(e.x1 >= 0 && e.y1 >= 0 && e.x1 <= kPlayWidth && e.y1 <= kPlayHeight);
}

void MoveDebris(Explosions& e, bool advance) {
  // The flicker must not steer the game. The wire colours are drawn from the game's
  // generator in both modes, as the wire game always drew them, so recorded games
  // replay; the glow colour, which only neon ever drew, comes from the cosmetic one.
  if (!advance) return;
  e.r = RandInt(kDebrisWireLow, 255);
  e.g = RandInt(kDebrisWireLow, 255);
  e.b = RandInt(kDebrisWireLow, 255);
  e.color = CosmeticRandInt(kDebrisGlowLow, kDebrisGlowHigh);
  if (e.Delayed > 0) --e.Delayed;
  if (e.Delayed != 0) return;
  e.x1 += e.xspeed;
  e.y1 += e.yspeed;
  e.x2 += e.xspeed;
  e.y2 += e.yspeed;
  if (OutsidePlayArea(e)) ExplosionList.Remove(&e);
}

// A ring that reaches a dragonfly destroys it and rings out again from there; the new
// ring is appended to the list being walked, so it is advanced in this same walk.
void CatchDragonflies(const Explosions& ring) {
  const int cx = TruncToInt(ring.x1), cy = TruncToInt(ring.y1);
  const int reach = RingReach(ring);
  for (Enemies& e : EnemyList) {
    if (e.EnemyType != kDragonfly) continue;
    const int ex = TruncToInt(e.x), ey = TruncToInt(e.y);
    if (!WithinRadius(cx, cy, ex, ey, reach)) continue;
    EmitSound("Crunch2");
    CreateExplosion(ex, ey, 1, kExplosionRing, 70, 1);
    EnemyList.Remove(&e);
  }
}

void GrowRing(Explosions& e, bool advance) {
  if (!advance) return;
  e.Size += e.RingSpeed;
  // Removal leaves the record readable until the walk ends; its last reach still counts.
  if (e.Size > e.MaxRingSize) ExplosionList.Remove(&e);
  CatchDragonflies(e);
}

void KillSpiderWithin(const Explosions& ring) {
  const int px = TruncToInt(PlayerX), py = TruncToInt(PlayerY);
  if (!WithinRadius(px, py, TruncToInt(ring.x1), TruncToInt(ring.y1), RingReach(ring))) return;
  if (PlayerHit == 0) CreateExplosion(px, py, 3, kExplosionDebris, 255, 255);
  PlayerHit = 1;
}

}  // namespace

void CreateExplosion(int x, int y, int count, int kind, double size, double speed) {
  if (kind == kExplosionDebris) {
    EmitSound("Crunch1");
    const int h = kDebrisHalf;
    const double s = kDebrisSpeed;
    int delay = 0;
    for (int i = 1; i <= count; ++i) {
      AddDebrisLine(x - h, y - h, x + h, y - h, 0, -s, delay);
      AddDebrisLine(x - h, y + h, x + h, y + h, 0, s, delay);
      AddDebrisLine(x - h, y - h, x - h, y + h, -s, 0, delay);
      AddDebrisLine(x + h, y - h, x + h, y + h, s, 0, delay);
      delay += RandInt(4, 6);
    }
    return;
  }
  if (kind != kExplosionRing && kind != kExplosionDeadlyRing) return;
  Explosions e;
  e.explosiontype = 1;
  e.Deadly = kind == kExplosionDeadlyRing ? 1 : 0;
  e.x1 = x;
  e.y1 = y;
  e.Rings = kRingCount;
  e.Size = kRingStartSize;
  e.MaxRingSize = size;
  e.RingSpeed = speed;
  ExplosionList.Add(e);
}

void StepExplosions(int advance) {
  const bool moving = advance == 1;
  for (Explosions& e : ExplosionList) {
    if (e.explosiontype == kExplosionDebris) {
      MoveDebris(e, moving);
    } else if (e.explosiontype == 1) {
      GrowRing(e, moving);
    }
    // Also in frozen frames: a spider inside a deadly ring's reach is dead. A ring
    // that has just grown past its end kills no more: its reach ends at 3 x its
    // maximum.
    if (e.Deadly == 1 && e.Size <= e.MaxRingSize) KillSpiderWithin(e);
  }
}

void DrawExplosions() {
  GlowBatch batch;
  for (const Explosions& e : ExplosionList) {
    if (e.explosiontype == kExplosionDebris) {
      batch.Line(e.x1, e.y1, e.x2, e.y2,
                 LineLook{static_cast<std::uint32_t>(e.color), e.r, e.g, e.b, GlowWidth24});
    } else if (e.explosiontype == 1) {
      GlowPolygon(e.x1, e.y1, 0, kRingSides, e.Size, kRingGlow, 255, 0, 255);
    }
  }
}
