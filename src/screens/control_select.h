// The control selection, opened from the options menu: the three schemes with a
// picture of each device, the stick threshold, and the way into key redefinition and
// the two joypad screens.
#pragma once

// Returns when the player leaves with Escape, Return or the select action; the
// highlighted scheme is then the scheme in force, whichever way the player left.
void ControlSelectScreen();

// The eight key bindings, shown; Y redefines them one after another (any key of the
// key-name table, a key already used and Escape included), N or Escape returns.
void RedefineKeys();

// The threshold as the screen shows it: 6 to 24 as "1/10" to "10/10".
const char* StickThresholdText(int threshold);
