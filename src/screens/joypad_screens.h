// The two joypad set-up screens, opened from the control selection: the dual-stick
// screen for the twin-stick scheme and the joypad control screen for the normal one.
// Unlike the rest of the game they are tool screens: filled and outlined boxes and
// the bitmap text, worked with the mouse as well as the keys and the joypad. Their
// positions are play-area pixels, so they sit in the play area at every window size.
// Both edit the mapping of port JoyPort (and JoyPort itself) in place.
#pragma once

#include <string>

// Returns on Escape.
void DualStickScreen();
// Returns on Escape, or when "Done" is clicked, confirmed or answered with a joypad
// button.
void JoypadControlScreen();

// The pointer as these screens read it each frame: play-area pixels, held to at most
// (640, 550).
extern int ConfigMouseX, ConfigMouseY;

// Whether the 4 x 4 square around the pointer overlaps the box (all edges included).
bool BoxUnderMouse(int x, int y, int w, int h);

// The pointer: a star of eight spokes reaching `size` x 3 from (x, y), turned 8 degrees
// further each frame, red for 15 frames and yellow for the next 15.
void PointerCursor(int x, int y, int frame, int size);

// The dual-stick screen's dot for one axis value: -1..1 across `span` pixels from
// `low`; values beyond the ends stay at them.
int StickDotPosition(double value, int low, int span);

// The debug list's label for axis id 1..13: "1.  JoyX()      : " to "13. JoyAxis13()  : ".
std::string JoyDebugLabel(int id);
