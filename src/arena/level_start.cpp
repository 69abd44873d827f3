#include "arena/level_start.h"

#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/level_state.h"
#include "arena/thunderbugs.h"
#include "arena/web.h"

void BeginLevel(int level) {
  BuildWeb(level);
  ApplyLevelRules(level, 1);
  EggBonus = kFirstEggBonus;
}

void BeginPlainWeb() {
  BuildWeb(kPlainWebLevel);
  ApplyLevelRules(kPlainWebLevel, 0);
  EggBonus = kFirstEggBonus;
}

void ApplyLevelRules(int level, int bonus_setup) {
  HurryOut = 0;
  DragonflyAppeared = 0;
  EnemySpeedFactor = LevelSpeedFactor(level);
  // The plain web of the game-over screen is no bonus level, whatever its number.
  BonusLevel = bonus_setup != 0 && IsBonusLevel(level) ? 1 : 0;
  if (BonusLevel == 1) {
    BonusLevelFrames = BonusLevelBudget(level);
    SetUpThunderbugs();
  }
}
