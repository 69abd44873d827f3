// The vector font, the three text writers and the floating score characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/entity_list.h"

struct FontSegment {
  int x1, y1, x2, y2;
};

// The largest glyph ("@") has 14 segments.
inline constexpr int kMaxGlyphSegments = 16;

struct FontGlyph {
  int count = 0;
  std::array<FontSegment, kMaxGlyphSegments> segments{};
};

// Indexed by glyph index; entry 0 (the space) stays empty.
inline constexpr int kFontGlyphSlots = 55;
extern std::array<FontGlyph, kFontGlyphSlots> FontGlyphs;

inline constexpr int kTextScaleSteps = 26;
extern double ShrinkScales[kTextScaleSteps];  // floating characters, by 25 - count
extern double PopScales[kTextScaleSteps];     // zoom text, by 25 - zoom

void LoadFont();
void LoadTextScales();

// The glyph index of the character cell that starts at text[pos], and pos moved past
// that cell. A cell is one byte, or one whole UTF-8 sequence: "é" is one cell with no
// glyph, and the currency sign is found both as UTF-8 (C2 A4) and as a Latin-1 byte.
// Letters are matched in lower case. -1 for a character the font lacks, 0 for a space.
int NextGlyphIndex(std::string_view text, std::size_t& pos);

// Texts are UTF-8 or Latin-1. With absolute 1 the position is in play-area pixels,
// otherwise a grid of 28 x xscale by 28 x yscale pixel cells. Glyphs are scaled by
// xscale only. Wire mode draws in red, green, blue and leaves the colour white.
void WriteText(std::string_view text, double column, double row, std::uint32_t glow, double angle,
               double xscale, double yscale, int absolute, int red, int green, int blue);
// As WriteText with the wide glow of the large titles.
void WriteTitle(std::string_view text, double column, double row, std::uint32_t glow, double angle,
                double xscale, double yscale, int absolute, int red, int green, int blue);
// Text popping in: zoom runs from 25 (nothing) down to 0 (full size), and is held to
// that range. Wire mode draws in the current colour and leaves it unchanged.
void WriteZoomText(std::string_view text, double column, double row, std::uint32_t glow,
                   double zoom, double xscale, double yscale, int absolute);

// One floating character. The game's own name for `ch` is "char", which C++ reserves.
struct chars {
  int x = 0, y = 0;  // centre, play-area pixels
  std::string ch;    // the character shown, already lower case (a UTF-8 sequence kept whole)
  int count = 0;     // steps left, 25 down to 0
  int pause = 0;     // frames until the next step
  int angle = 0;     // unused
  double xscale = 1, yscale = 1;
  std::uint32_t color = 0;  // glow colour; in wire mode 0..3 pick a colour, others keep it
};

extern EntityList<chars> CharList;

// One record per character cell of text, 26 pixels apart, spaces included.
void SpawnFloatingText(int x, int y, std::string_view text, double xscale, double yscale,
                       std::uint32_t colour);
// Once per frame: ages, draws and removes the floating characters.
void UpdateFloatingTexts();
void DrawFloatingChar(const chars& c);
