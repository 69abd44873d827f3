// How much input there is: joypad ports, their buttons and axes, typed characters.
// Apart from the input itself so that the session tape can number its slots.
#pragma once

inline constexpr int kJoyPorts = 16;
inline constexpr int kJoyButtons = 16;
inline constexpr int kJoyAxes = 16;
inline constexpr int kTypedCodes = 128;  // typed characters are counted by codes below this
