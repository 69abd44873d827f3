// The options menu: the window size, the player's name, the controls, the backdrop,
// the FPS counter, the graphics mode and its glow, sound effects and music. Every
// change takes effect at once; the settings file keeps them when the program ends.
#pragma once

extern int ShowFPS;  // 1: the next game's heads-up display shows the counter; never saved

// The row under the cursor, 1..13; each opening starts on row 1.
extern int OptionsRow;

inline constexpr int kOptionRows = 13;

// Runs until the player returns to the main menu.
void OptionsMenu();

// The text of a row as the current settings make it. Row 5 gives only the part before
// the name.
const char* OptionRowText(int row);
