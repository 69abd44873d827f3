// The game's fixed tables, built in the order later steps of start-up rely on. Tests
// that run game screens without the whole start-up build them the same way.
#pragma once

// The tables and lists of the first steps: the sinks of the rules' effects, joypad
// defaults, the palette, the web layouts and the vector font.
void LoadGameTables();

// The figures: the spider and the insects turned to every heading, the grubsteak's and
// the bullet's outlines. Start-up does this once the display is open; it needs only
// the tables above.
void LoadGameFigures();
