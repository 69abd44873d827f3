// The bonus level's thunderbugs: a snake of eleven that follows one of sixteen flight
// paths at speed. Each takes two hits; hit ones may break off and hunt around the
// arena, and once enough hits have landed the whole group does.
#pragma once

struct Enemies;

extern int ThunderSpawned;      // thunderbugs made after the first, 0..10
extern int ThunderSpawnTimer;   // frames towards the next one, 0..10
extern int ThunderWentRandom;   // 1 once the group has broken off the path
extern int ThunderRandomDelay;  // frames before the group may break off
extern int ThunderHits;         // hits on thunderbugs this bonus level
extern int ThunderRewardPaid;   // 1 once the reward for twenty hits was paid

inline constexpr int kThunderHitsForReward = 20;
inline constexpr int kThunderReward = 5000;

// The chosen path's points, 1-based as the rules count them; the path length is
// ThunderPathPoints + 1.
struct ThunderPoint {
  int x, y;
};
extern ThunderPoint ThunderPath[];
extern int ThunderPathPoints;

// The bonus level's set-up: fresh counters, a random path and its first thunderbug.
void SetUpThunderbugs();
// The draws that set-up makes (the path, the first thunderbug's phase), made and
// thrown away where a plain web stands in for a bonus level's, so the game's draws
// keep their order.
void DiscardThunderSetupDraws();

// The snake on a cleared web: its first thunderbug now and the next one on the first
// frame, so all eleven fly.
void StartThunderSnake();

// Picks path p (1..16) and makes the first thunderbug at its first point.
void LoadThunderPath(int p);
void NewThunderbug();

// First in every bonus-level frame: the next thunderbug every ten frames.
void SpawnThunderbugs();

// In place of the insects' update on a bonus level: the break-off, each thunderbug's
// flight, the level's end and the contact with the spider. True when a thunderbug has
// touched the spider: everything is sent off and the next level must start at once.
bool UpdateThunderbugs();

// The hit rows of types 10 and 12.
void HitThunderbug(Enemies& e);
