// The vector font as constant data: the character set and the glyph table.
#pragma once

#include <array>

// The characters the font knows, as single bytes in Latin-1: a character's glyph
// index is its position here. Index 0, the space, has no glyph. 0xA4 is the
// currency sign, drawn as a boxed "c" (the copyright mark of the credits).
inline constexpr int kFontCharsetLength = 55;
inline constexpr char FontCharset[kFontCharsetLength + 1] =
    " abcdefghijklmnopqrstuvwxyz"
    "\xA4"
    "0123456789.,?=/-+()':;@!*>#";
inline constexpr unsigned char kFontCurrencySign = 0xA4;
inline constexpr int kFontCurrencyIndex = 27;

// Glyphs 1..54 in index order, each stored as (number of segments - 1) followed by
// x1, y1, x2, y2 of every segment, in font units around the character's centre with y
// growing downwards.
inline constexpr int kFontGlyphCount = 54;
inline constexpr int kFontGlyphDataSize = 930;
extern const std::array<int, kFontGlyphDataSize> FontGlyphData;
