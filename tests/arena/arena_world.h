// A clean arena for the tests of its movers, and records put straight into its lists.
// Header only: the arena tests link the game's libraries, the shared support does not.
#pragma once

#include "arena/bullets.h"
#include "arena/effects.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "platform/random.h"
#include "render/glow.h"
#include "render/vector_font.h"

inline void ResetWorld() {
  // Heard and seen as in the game, so tests can check both.
  SetEffectSinks({&PlayEffectIfOn, &SpawnFloatingText});
  FrameToggle = 0;
  EggBonus = kFirstEggBonus;
  EnemyList.Clear();
  ExplosionList.Clear();
  GrubList.Clear();
  EggList.Clear();
  WebList.Clear();
  CharList.Clear();
  BulletList.Clear();
  HurryOut = 0;
  Score = 0;
  PlayerHit = 0;
  SoundOn = 0;
  EnemySpeedFactor = 1;
  DragonflyAppeared = 0;
  DragonflyCounter = 4;
  DragonflyBonus = 0;
  ContactCheckType = 1;
  DemoRetargetTimer = 0;
  LevelFrames = 0;
  PlayerX = 512;
  PlayerY = 384;
  NeonMode = 0;
  SeedRandom(7);
}

// A record put straight into the list, so a test controls every field.
inline Enemies& Insect(int type, double x, double y, int angle = 0) {
  Enemies e;
  e.EnemyType = type;
  e.x = static_cast<float>(x);
  e.y = static_cast<float>(y);
  e.angle = angle;
  e.Size = EnemySize(type);
  e.EnemyFrameIndex = 1;
  e.TargetX = 512;
  e.TargetY = 384;
  return *EnemyList.Add(e);
}
