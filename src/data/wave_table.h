// The insects each normal level sends in, wave by wave.
#pragma once

#include <span>

// Rows are stored for levels 1 to 31; every later normal level replays level 31.
inline constexpr int kWaveTableLevels = 31;

// The stored sequence of a level: the wave count, then for each wave its entry count
// followed by that many insect types. Empty for bonus levels (multiples of 4) and for
// levels below 1.
std::span<const int> WaveTableRow(int level);
