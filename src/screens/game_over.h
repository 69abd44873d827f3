// The game-over screen: whether the score beat the best of this run and the personal
// best, a time bar, and the offer to sync the scores online.
#pragma once

// The best score since the program started; never saved.
extern int RunBest;

// The screen's state: frames shown, whether this game beat the run's best and the
// personal best, and whether the player asked for a sync.
extern int GameOverFrame;
extern bool GameOverBestOfRun;
extern bool GameOverPersonalBest;
extern bool GameOverSync;

// Shown when a game has ended (GameOverState 3 quit, 4 out of lives); leaves
// GameOverState 0.
void GameOverScreen();
