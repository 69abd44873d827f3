#include "arena/demo_insects.h"

#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "platform/random.h"
#include "render/vector_font.h"

void PopulateDemoInsects() {
  EnemyList.Clear();
  for (int i = 0; i < 8; ++i) {
    // The type is drawn before the heading.
    const int type = RandInt(1, 3);
    const int heading = RandInt(0, 359);
    CreateEnemy(0, 0, 0, heading, type);
  }
  DragonflyAppeared = 0;
  DragonflyCounter = 4;
  for (int type = kDragonfly; type <= kSpoiler; ++type) CreateEnemy(0, 0, 0, RandInt(0, 359), type);
}

void ClearPlayLeftovers() {
  BulletList.Clear();
  GrubList.Clear();
  EggList.Clear();
  ExplosionList.Clear();
  CharList.Clear();
}
