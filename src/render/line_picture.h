// Line pictures: tables of line records drawn scaled and turned about a centre. The
// picture buffer and its drawer are shared by the intro's logo and the control
// screens' device pictures; the drawer's sparkle lights up a logo's silver lines.
#pragma once

#include <array>
#include <cstdint>

#include "data/line_art.h"

// A wire colour that replaces the lines' own.
struct WireColour {
  int r, g, b;
};

// Draws `count` lines about (cx, cy), play-area pixels: each end is scaled by zoom and
// truncated to whole pixels, then turned by angle degrees (clockwise, y down). Neon
// draws each line's glow colour at half-width `width`; wire each line's own colour, or
// `wire` for all of them when given.
void DrawLineArt(const LineArtRecord* lines, int count, double cx, double cy, double zoom,
                 double angle, int width, const WireColour* wire = nullptr);

// The picture buffer: room for 4000 integers, so at most 500 lines.
inline constexpr int kPictureBufferLines = 500;
extern std::array<LineArtRecord, kPictureBufferLines> PictureBuffer;
extern int PictureLines;

// The drawer's state. The sparkle is on when PictureSparkle is exactly 1.0; while it
// is, lines of kSparkleLineColour take SparkleColour, which changes after every 101
// lines drawn.
extern double PictureZoom;
extern double PictureAngle;
extern double PictureSparkle;
extern int SparkleCounter;
extern std::uint32_t SparkleColour;
inline constexpr std::uint32_t kSparkleLineColour = 0xFFC8D2DCu;

// Copies a picture into the buffer (a longer one is cut at the buffer's end) and
// starts the drawer afresh: sparkle off, counter 0, zoom 1, angle 0.
void LoadPicture(const LineArtPicture& picture);

// The buffer's picture centred at play-area (512 + dx, 386), at half-width
// GlowWidth24 in neon and in each line's own colour in wire mode.
void DrawPicture(double dx);
