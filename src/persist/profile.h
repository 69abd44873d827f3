// The player's own values that the settings file keeps and no other layer owns.
#pragma once

#include <string>

#include "persist/settings_file.h"

extern std::string PlayerName;  // scores go online under it; at most 10 characters typed
extern int PersonalBest;        // the player's highscore
extern std::string SpareLine;   // kept in the file, used by nothing
extern int SavedOffsetY;        // a second copy of ScreenOffsetY, kept in the file

// The cached online top ten, as four parallel columns, row 1 first.
extern std::string HiName[kHighScoreRows];
extern std::string HiScore[kHighScoreRows];
extern std::string HiLevel[kHighScoreRows];
extern std::string HiSpare[kHighScoreRows];

// All ten rows back to the empty row.
void FillDefaultHighScores();

// The name that asks for the first-run name entry, in any case.
bool IsUnsetPlayerName(const std::string& name);
