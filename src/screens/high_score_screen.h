// The high-score screen: the last score, the personal best and the cached online top
// ten, from which the player can ask for a sync. Also the any-key poll that the
// game-over screen shares.
#pragma once

#include <string>

// The last answer of ReadAnyKey: 0 no key, 1 a key, 2 a fire key or the select action.
extern int AnyKeyPressed;

// Looks for one press of a key of the key-name table, first in table order; the keys
// before it in the table lose their presses, those after keep them. 1 for a key, 2 for
// one of the four fire keys or when MenuSelect answers, 0 for nothing.
int ReadAnyKey();

// sync 1 starts a sync on the first frame (opened from game over), 0 does not (opened
// from the menu). Returns when the player leaves.
void HighScoreScreen(int sync);

// The texts the screen shows: a number with zeros in front up to eight characters,
// and one row of the table.
std::string ZeroPadded(int number);
std::string HighScoreLine(const std::string& name, const std::string& level,
                          const std::string& score);
// A row is shown when its score text sorts after "0".
bool HighScoreRowShown(const std::string& score);
