// One game, from its start to the last life or the player's quit: the frame orders of
// normal and bonus levels, level completion, the spider's entry and death, the quit
// dialog and the music switch.
#pragma once

// Plays one game. The caller has set Lives, Level and Score; GameOverState says how it
// ended (3 quit, 4 out of lives).
void RunGame();

// The state a game starts from: the level, score and per-game counters, and empty
// lists of insects, queued waves, bullets, grubsteaks, eggs and explosions. Lives are
// the caller's.
void ResetGameState();

// The pieces RunGame is made of, in the order a game uses them.
void StartGame();
// A frame of play is its step (the rules, no drawing) and then its scene (drawing only).
void StepNormalLevel();
void NormalLevelFrame();
void StepBonusLevel();
void BonusLevelFrame();
// Everything after the scene of a frame: completion check, present, death, quit.
void EndGameFrame();
// Level complete when the insects have gone: the colour flow, then the next level.
// True when it ran.
bool CheckLevelComplete();
void LevelCompleteAnimation();
void SpiderEntry();
void DeathSequence();
// The "exit game (y/n)" question over the frozen scene; Yes sets GameOverState 3.
void QuitDialog();
void EndGame();
