// The sixteen colours of the flashing palette: glow colour and wire colour of each.
// The glow and wire colours of a row are chosen together and need not share a hue.
#pragma once

#include <cstdint>

struct ColorTableEntry {
  std::uint32_t glow;  // 0xAARRGGBB, alpha always 0xFF
  int r, g, b;         // wire colour
};

inline constexpr int kColorTableDataRows = 16;
extern const ColorTableEntry ColorTableData[kColorTableDataRows];
