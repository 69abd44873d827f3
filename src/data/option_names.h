// Names the option and controller screens show for a setting's value.
#pragma once

// Mouse buttons 0 none, 1 left, 2 right, 3 middle.
inline constexpr const char* MouseButtonNames[4] = {"None", "Left", "Right", "Middle"};
// A switch: 0 off, 1 on.
inline constexpr const char* SwitchNames[2] = {"Off", "On"};
