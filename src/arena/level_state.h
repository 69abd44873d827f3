// The game's level-by-level state: score, lives, the level and its wave phase, the
// bonus-level timer and the insects' speed. The game loop drives these; the arena's
// movers and the web read and set them, which is why they live below the loop.
#pragma once

extern int Score;
extern int Lives;                // 3 when a game starts
extern int Level;                // current level, from the chosen start level on
extern int StartLevel;           // the level the game started on
extern int GameOverState;        // 0 playing, 3 quit, 4 out of lives
extern int PlayerHit;            // above 0 once the spider has been hit
extern int HurryOut;             // 1 once the level's insects are sent off
extern int WavePhase;            // 1..4
extern double LevelFrames;       // frames since the level, wave phase or death began
extern int BonusLevel;           // 1 on a bonus level
extern int BonusLevelFrames;     // frame budget of the current bonus level
extern double EnemySpeedFactor;  // multiplies the insects' speeds
extern int NextBonusAt;          // score of the next extra life
extern int EnemyCount;           // insects alive at the level-completion check
extern int FrameToggle;          // 0/1, flipped every game frame

// Points won: added to the score, which stays at the top of its range rather than
// wrapping round.
void AwardPoints(int points);

inline constexpr int kExtraLifeEvery = 20000;

// An extra life once the score reaches NextBonusAt, which moves on by 20000 (one a
// call, with "BonusShip"). The game loop asks on every frame that shows the HUD.
void AwardExtraLife();

// Every fourth level is a bonus level.
bool IsBonusLevel(int level);

// Frame budget of a bonus level: 1380 on level 4 and 120 fewer for each bonus level
// after it (negative from level 52 on: the thunderbugs leave at once).
int BonusLevelBudget(int level);

// Insect speed for a level as the web sets it; the first level of a game runs faster.
double LevelSpeedFactor(int level);
double GameStartSpeedFactor(int level);
