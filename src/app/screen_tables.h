// The tables of the screens, built at start-up alongside the game's own.
#pragma once

// With the fixed tables: the difficulty picture buffer, empty. (The mouse-button and
// switch names are constants, in data/option_names.h.)
void LoadScreenTables();

// Before the settings file is read: the default high-score rows, the difficulty texts
// and the title logo.
void FillMenuTables();
