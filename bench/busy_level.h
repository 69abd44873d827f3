// The busy normal level the frame benchmarks draw: 40 insects of every type, 20
// grubsteaks, 20 eggs, four bullets and 60 explosion records, kept topped up.
#pragma once

#include <cstddef>

#include "app/game.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "render/glow.h"

namespace busy_level {

constexpr std::size_t kInsects = 40;
constexpr std::size_t kExplosionRecords = 60;
constexpr std::size_t kGrubsteaks = 20;
constexpr std::size_t kEggs = 20;

// Shots and the arena's edge thin the scene; this fills it up again.
inline void TopUpScene() {
  // Hatching adds insects; keep the load at 40.
  while (EnemyList.Count() > kInsects) EnemyList.Remove(EnemyList.Last());
  while (EnemyList.Count() < kInsects) {
    const int i = static_cast<int>(EnemyList.Count());
    // Every type round, thunderbugs too, spread over the web.
    constexpr int kTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
    const PlayPoint p = RandomPlayPoint();
    CreateEnemy(1, p.x, p.y, 0, kTypes[i % 11]);
  }
  // Kills drop grubsteaks and laying makes eggs; keep both at 20, out of the spider's
  // reach, young enough not to hatch.
  while (GrubList.Count() > kGrubsteaks) GrubList.Remove(GrubList.Last());
  while (GrubList.Count() < kGrubsteaks) {
    const PlayPoint p = RandomPlayPoint();
    if (Distance(p.x, p.y, 512, 384) > 60) CreateGrub(p.x, p.y);
  }
  while (EggList.Count() > kEggs) EggList.Remove(EggList.Last());
  while (EggList.Count() < kEggs) {
    const PlayPoint p = RandomPlayPoint();
    if (Distance(p.x, p.y, 512, 384) > 60)
      CreateEgg(p.x, p.y, 1 + static_cast<int>(EggList.Count()) % 2);
  }
  // Hits and the spider's own bursts add records; keep the load at 60.
  while (ExplosionList.Count() > kExplosionRecords) ExplosionList.Remove(ExplosionList.Last());
  // Three debris squares make twelve records; rings make one each.
  while (ExplosionList.Count() + 12 <= kExplosionRecords)
    CreateExplosion(RandInt(200, 800), RandInt(200, 560), 3, kExplosionDebris, 0, 0);
  while (ExplosionList.Count() < kExplosionRecords)
    CreateExplosion(RandInt(200, 800), RandInt(200, 560), 1, kExplosionRing, 60, 0.5);
  // Four shots in the air: held fire with the timer cleared.
  for (int heading = 0; BulletList.Count() < 4; heading += 90) {
    PlayerAngle = heading % 360;
    FireTimer = 0;
    FireBullet();
  }
  PlayerX = 512;
  PlayerY = 384;
  PlayerHit = 0;
  HurryOut = 0;
  WavePhase = 1;
  LevelFrames = 0;
}

inline void SetUpLevel(int neon) {
  SeedRandom(99);
  SoundOn = 0;
  NeonMode = neon;
  GlowAmount = 0;
  RecomputeGlowWidths();
  ResetGameState();
  Level = 5;
  BeginLevel(Level);
  DragonflyCounter = 4;
  TopUpScene();
}

}  // namespace busy_level
