#include "app/wave_queue.h"

#include <cstddef>
#include <span>

#include "arena/enemies.h"
#include "arena/insects.h"
#include "arena/level_state.h"
#include "arena/thunderbugs.h"
#include "data/wave_table.h"
#include "platform/clock.h"
#include "platform/random.h"

EntityList<EnemyQue> EnemyQueList;

namespace {

constexpr int kRimInsects = 3;
constexpr int kLastWavePhase = 3;
constexpr double kPhaseFrames = 600;  // ten seconds before a wave comes regardless
constexpr int kHurryReach = 1000;
constexpr int kCrowded = 6;  // no extra insects with this many about
constexpr int kDragonflyOdds = 250;
constexpr int kExtraOdds = 100;

// Appends one insect to the queue and moves the entry heading on. Mosquitoes come in
// close together: the heading drifts by up to 10 degrees, keeping the sign of the sum
// (-5 is the same direction as 355, and CreateEnemy takes either).
void QueueInsect(int type, int wave, int& heading) {
  if (type == kDragonfly && DragonflyAppeared == 1) type = DragonflySubstitute(Level);
  EnemyQue q;
  q.EnemyType = type;
  q.Wave = wave;
  q.Angle = heading;
  EnemyQueList.Add(q);
  if (type != kMosquito) {
    heading = RandInt(5, 355);
  } else {
    heading = (heading + RandInt(-10, 10)) % 360;
  }
}

// One wave phase: its wave comes once the arena is nearly clear or the phase has
// lasted long enough.
bool PhaseIsDue() {
  const int n = RandInt(1, 3);
  return EnemyList.Count() <= static_cast<std::size_t>(n) || LevelFrames > kPhaseFrames;
}

}  // namespace

int DragonflySubstitute(int level) {
  if (level < 8) return RandInt(1, 3);
  const int t = RandInt(1, 5);
  return t == kDragonfly ? kRocketBug : t;
}

int ExtraInsectType(int level) {
  int t;
  if (level < 6) {
    t = RandInt(1, 4);
  } else if (level < 12) {
    t = RandInt(1, 6);
    if (t == kRocketBug) t = kGrenadeBug;
  } else {
    // From level 24 on there is no rule of the levels' own; the later levels keep the
    // full mix of 12 to 23 rather than falling back to the three plain insects.
    t = RandInt(1, 6);
  }
  if (t == kDragonfly && DragonflyAppeared == 1) t = RandInt(1, 3);
  return t;
}

void FillWaveQueue() {
  EnemyList.Clear();
  for (int i = 0; i < kRimInsects; ++i) {
    const int type = RandInt(1, 3);
    const int heading = RandInt(0, 359);
    CreateEnemy(0, 0, 0, heading, type);
  }
  if (IsBonusLevel(Level)) {
    ThunderSpawned = 0;
    ThunderSpawnTimer = 0;
    return;
  }

  const std::span<const int> row = WaveTableRow(Level);
  int heading = RandInt(10, 350);
  ReseedFromClock();
  if (row.empty()) return;

  // The row: the wave count, then per wave its entry count and that many types. A
  // short row ends the queue where its data ends.
  const std::size_t size = row.size();
  std::size_t i = 0;
  const int waves = row[i++];
  for (int w = 1; w <= waves && i < size; ++w) {
    const int entries = row[i++];
    for (int k = 0; k < entries && i < size; ++k) QueueInsect(row[i++], w, heading);
  }
}

void ReleaseWave(int wave) {
  for (const EnemyQue& q : EnemyQueList)
    if (q.Wave == wave) CreateEnemy(0, 0, 0, q.Angle, q.EnemyType);
}

void WaveControl() {
  if (HurryOut != 0) return;

  if (DragonflyAppeared == 0 && Level > 4 && RandInt(1, kDragonflyOdds) == 3)
    CreateEnemy(0, 0, 0, RandInt(5, 355), kDragonfly);

  for (int p = 1; p <= kLastWavePhase; ++p) {
    if (WavePhase != p || !PhaseIsDue()) continue;
    ReleaseWave(p);
    WavePhase = p + 1;
    LevelFrames = 0;
  }
  if (WavePhase == kLastWavePhase + 1 && PhaseIsDue()) EnemiesHurryOut(kHurryReach);

  if (EnemyList.Count() < static_cast<std::size_t>(kCrowded) && HurryOut == 0 &&
      RandInt(1, kExtraOdds) < 2) {
    const int type = ExtraInsectType(Level);
    CreateEnemy(0, 0, 0, RandInt(1, 359), type);
  }
}
