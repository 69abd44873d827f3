// The built-in 8 x 16 bitmap font of DrawText, character codes 32 to 127.
#pragma once

#include <cstdint>

inline constexpr int kGlyphWidth = 8;
inline constexpr int kGlyphHeight = 16;
inline constexpr int kFirstGlyph = 32;
inline constexpr int kGlyphCount = 96;

// Sixteen rows, top first; bit 7 is the leftmost pixel. Nullptr outside 32..127.
const std::uint8_t* GlyphRows(int code);
