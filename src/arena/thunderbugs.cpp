#include "arena/thunderbugs.h"

#include <cstdint>

#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/insects.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "data/thunder_paths.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/vector_font.h"

int ThunderSpawned = 0;
int ThunderSpawnTimer = 0;
int ThunderWentRandom = 0;
int ThunderRandomDelay = 0;
int ThunderHits = 0;
int ThunderRewardPaid = 0;
ThunderPoint ThunderPath[kThunderPathMaxPoints + 2];
int ThunderPathPoints = 0;

namespace {

constexpr int kSnakeLength = 10;  // thunderbugs after the first
constexpr int kSpawnFrames = 10;
constexpr int kBreakOffDelay = 100;
constexpr int kBreakOffLife = 14;  // the group breaks off below this many hits left
constexpr double kTurn = 4;
constexpr double kSpeed = 8;
constexpr int kFrameHold = 7;  // each wing image shows for one frame more than this
constexpr int kOnPathReach = 32;
constexpr int kOffPathReach = 40;
constexpr int kFarEnough = 250;  // off the path, new targets lie farther than this
constexpr int kKillPoints = 250;
constexpr std::uint32_t kThunderColour = 0xFFF900C3u;
constexpr std::uint32_t kRewardGlow = 0xFFFFFFFFu;
constexpr int kRewardRise = 50;

// A point anywhere on the web.
PlayPoint AnywhereOnTheWeb() {
  for (;;) {
    const int x = RandInt(0, 1023);
    const int y = RandInt(0, 767);
    if (InsidePlayEllipse(x, y)) return {x, y};
  }
}

// One far enough away that a thunderbug off the path keeps crossing the arena.
PlayPoint FarOnTheWeb(const Enemies& e) {
  for (;;) {
    const PlayPoint p = AnywhereOnTheWeb();
    if (TruncToInt(Distance(e.x, e.y, p.x, p.y)) > kFarEnough) return p;
  }
}

void Fly(Enemies& e) {
  e.angle = TurnTowardPoint(e.TargetX, e.TargetY, e.x, e.y, e.angle, kTurn);
  e.x += static_cast<float>(kSpeed * Sin(e.angle));
  e.y -= static_cast<float>(kSpeed * Cos(e.angle));
}

bool Reached(const Enemies& e, int reach) {
  return WithinRadius(TruncToInt(e.x), TruncToInt(e.y), e.TargetX, e.TargetY, reach);
}

// False once the thunderbug has reached the end of its path and gone.
bool FollowPath(Enemies& e) {
  if (!Reached(e, kOnPathReach)) return true;
  ++e.PathCount;
  // At the last point, or past it should the path have changed under the thunderbug.
  if (e.PathCount >= ThunderPathPoints) {
    EnemyList.Remove(&e);
    if (EnemyList.Empty()) EnemiesHurryOut(1000);
    return false;
  }
  e.TargetX = ThunderPath[e.PathCount + 1].x;
  e.TargetY = ThunderPath[e.PathCount + 1].y;
  return true;
}

void RoamOffPath(Enemies& e) {
  if (!Reached(e, kOffPathReach)) return;
  const PlayPoint p = FarOnTheWeb(e);
  e.TargetX = p.x;
  e.TargetY = p.y;
}

int SummedLife() {
  int sum = 0;
  for (const Enemies& e : EnemyList) sum += e.Life;
  return sum;
}

}  // namespace

void SetUpThunderbugs() {
  ThunderWentRandom = 0;
  ThunderRandomDelay = kBreakOffDelay;
  ThunderHits = 0;
  ThunderRewardPaid = 0;
  LoadThunderPath(RandInt(1, kThunderPathCount));
  ThunderSpawnTimer = kSpawnFrames - 1;
  ThunderSpawned = 0;
}

void DiscardThunderSetupDraws() {
  static_cast<void>(RandInt(1, kThunderPathCount));
  static_cast<void>(RandInt(0, 1));
}

void StartThunderSnake() {
  ThunderSpawnTimer = kSpawnFrames - 1;
  ThunderSpawned = 0;
  NewThunderbug();
}

void LoadThunderPath(int p) {
  if (p < 1 || p > kThunderPathCount) p = 1;
  const int* table = ThunderPathTables[p - 1];
  int n = 0;
  // Bounded: a table that lost its end marker stops at the most points a path has.
  while (n < kThunderPathMaxPoints && table[2 * n] != kThunderPathEnd) {
    ThunderPath[n + 1] = {table[2 * n], table[2 * n + 1]};
    ++n;
  }
  ThunderPathPoints = n;
  // One past the end: a thunderbug arriving there is removed before it is read.
  ThunderPath[n + 1] = ThunderPath[n];
  NewThunderbug();
}

void NewThunderbug() {
  if (ThunderPathPoints < 2) return;
  Enemies e;
  e.x = static_cast<float>(ThunderPath[1].x);
  e.y = static_cast<float>(ThunderPath[1].y);
  e.TargetX = ThunderPath[2].x;
  e.TargetY = ThunderPath[2].y;
  e.PathCount = 1;
  e.angle = TruncToInt(HeadingTo(e.x, e.y, e.TargetX, e.TargetY));
  e.HuntingMode = 0;
  e.EnemyFrameDelay = 0;
  e.EnemyFrameIndex = 1;
  e.Frame = 0;
  e.OnlyEverySecondTime = RandInt(0, 1);
  e.DelayBeforeBeingAbleToShoot = 120;
  e.ThunderbugMode = 1;
  e.HurryOutOfScreenMode = 0;
  e.GraceperiodForNotCheckingPerimeter = 60;
  e.EnemyType = kThunderbug;
  e.ThunderColor1 = static_cast<int>(kThunderColour);
  e.Size = EnemySize(kThunderbug);
  e.Life = 2;
  EnemyList.Add(e);
}

void SpawnThunderbugs() {
  if (ThunderSpawned >= kSnakeLength || ThunderSpawnTimer >= kSpawnFrames) return;
  if (++ThunderSpawnTimer < kSpawnFrames) return;
  ++ThunderSpawned;
  ThunderSpawnTimer = 0;
  NewThunderbug();
}

bool UpdateThunderbugs() {
  const int life = SummedLife();
  if (ThunderRandomDelay > 0) --ThunderRandomDelay;
  if (life < kBreakOffLife && ThunderWentRandom == 0 && ThunderRandomDelay == 0) {
    ThunderWentRandom = 1;
    for (Enemies& e : EnemyList) e.GoRandom = 1;
  }

  for (Enemies& e : EnemyList) {
    AnimateWings(e, kFrameHold);
    Fly(e);
    if (e.GoRandom == 0) {
      if (!FollowPath(e)) continue;
    } else {
      RoamOffPath(e);
    }
    if (HurryOut == 1 && !InsidePlayEllipse(e.x, e.y)) EnemyList.Remove(&e);
  }

  if (EnemyList.Empty()) {
    // The level-completion check of the same frame plays the colour flow and moves on
    // to the next level, once.
    WavePhase = 4;
    LevelFrames = 9999;
    EnemyCount = 0;
    EnemiesHurryOut(1000);
  }

  if (ThunderHits >= kThunderHitsForReward && ThunderRewardPaid == 0) {
    ThunderRewardPaid = 1;
    AwardPoints(kThunderReward);
    ShowFloatingText(TruncToInt(PlayerX), TruncToInt(PlayerY) - kRewardRise, "5000", kRewardGlow);
  }

  // Every frame of a bonus level tests the thunderbugs against the spider.
  ContactCheckType = kThunderbug;
  CheckEnemyContact();
  if (PlayerHit != 1) return false;
  EnemiesHurryOut(1000);
  return true;
}

void HitThunderbug(Enemies& e) {
  e.Life -= 1;
  if (e.EnemyType == kThunderbug) {
    CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 3, kExplosionDebris, 255, 255);
    e.EnemyType = kThunderbugHit;
    ++ThunderHits;
    // The later the level, the likelier a hit thunderbug leaves the path.
    const int r = 79 - Level;
    if (RandInt(1, 100) > r) {
      e.GoRandom = 1;
      const PlayPoint p = AnywhereOnTheWeb();
      e.TargetX = p.x;
      e.TargetY = p.y;
    }
    return;
  }
  if (e.Life > 0) return;
  CreateExplosion(TruncToInt(e.x), TruncToInt(e.y), 1, kExplosionRing, 32, 1);
  EnemyList.Remove(&e);
  AwardPoints(kKillPoints);
  ++ThunderHits;
  if (ThunderHits >= kThunderHitsForReward) EmitSound("LevelComplete");
}
