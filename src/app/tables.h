// The game's fixed tables, built in the order later steps of start-up rely on. Tests
// that run game screens without the whole start-up build them the same way.
#pragma once

// The tables and lists of the first steps: joypad defaults, the bullet outline, the
// palette, the web layouts and the vector font.
void LoadGameTables();

// The figures turned to every heading: the spider and the insects. Start-up does this
// once the display is open; it needs only the tables above.
void TurnGameFigures();
