// The player's spider: position, heading, walking and its figure. Its step in play is
// player_moves.h's.
#pragma once

extern double PlayerX;  // play-area pixels
extern double PlayerY;
extern double PlayerAngle;  // degrees, 0 up, clockwise; set by each shot
extern double PlayerOldX;   // position at the start of the current update
extern double PlayerOldY;

// Walk animation: the step runs 1..4 (0 before the first advance, as at the spider's
// entry) and picks the figure frame; the sub-counter paces it.
extern int PlayerWalkStep;
extern int PlayerWalkDelay;

// The spider where the program starts it, before any game: the menu's insects see it.
void PlacePlayerAtStart();

// Figure frame for a walk step: 1..4 give 0, 1, 2, 1; anything else frame 0.
int SpiderWalkFrame(int walk_step);

// One advance of the walk: every seventh call moves the step on, 1..4 and round.
void AdvanceWalk();

// The figure at the spider's position, frame of the walk step, heading truncated.
void DrawPlayerSpider(int flash);
