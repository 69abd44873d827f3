#include "arena/demo_insects.h"

#include "arena/enemies.h"
#include "platform/random.h"

void PopulateDemoInsects() {
  EnemyList.Clear();
  for (int i = 0; i < 8; ++i) CreateEnemy(0, 0, 0, RandInt(0, 359), RandInt(1, 3));
  DragonflyAppeared = 0;
  DragonflyCounter = 4;
  for (int type = kDragonfly; type <= kSpoiler; ++type) CreateEnemy(0, 0, 0, RandInt(0, 359), type);
}
