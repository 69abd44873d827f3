// The heads-up display of every play screen: score, level, lives, the next extra
// life and the frames-per-second counter. It only shows them.
#pragma once

#include "screens/options_menu.h"  // ShowFPS, which the options menu switches

extern int FpsValue;        // frames per second last measured
extern double FpsTimeBase;  // Millisecs of the current half-second window
extern double FpsFrameTally;
extern int BonusBlink;  // 0..60; the extra-life line shows above 30

// Starts a fresh measuring window at the present time (the game loop does this when a
// game starts).
void ResetFpsTimeBase();

// Once per frame. blink 1 in normal play lets the extra-life line blink; 0 freezes it
// as it is (paused, dying, entering, level complete).
void DrawHud(int blink);
