#include "arena/level_state.h"

#include <climits>

#include "arena/effects.h"

int Score = 0;
int Lives = 3;
int Level = 1;
int StartLevel = 1;
int GameOverState = 0;
int PlayerHit = 0;
int HurryOut = 0;
int WavePhase = 1;
double LevelFrames = 0;
int BonusLevel = 0;
int BonusLevelFrames = 0;
double EnemySpeedFactor = 1;
int NextBonusAt = 20000;
int EnemyCount = 0;
int FrameToggle = 0;

bool IsBonusLevel(int level) {
  return level > 0 && level % 4 == 0;
}

int BonusLevelBudget(int level) {
  // Wide arithmetic: a level far out of range must not overflow.
  const long long frames = (25LL - 2LL * (level / 4)) * 60LL;
  if (frames < INT_MIN) return INT_MIN;
  if (frames > INT_MAX) return INT_MAX;
  return static_cast<int>(frames);
}

double LevelSpeedFactor(int level) {
  return 1.0 + (static_cast<double>(level) + 1.0) / 30.0;
}

double GameStartSpeedFactor(int level) {
  return 1.0 + (static_cast<double>(level) + 1.0) / 20.0;
}

void AwardExtraLife() {
  if (Score < NextBonusAt) return;
  NextBonusAt = NextBonusAt > INT_MAX - kExtraLifeEvery ? INT_MAX : NextBonusAt + kExtraLifeEvery;
  if (Lives < INT_MAX) Lives += 1;
  EmitSound("BonusShip");
}

void AwardPoints(int points) {
  Score = points > 0 && Score > INT_MAX - points ? INT_MAX : Score + points;
}
