// The two graphics modes, glow widths, the flashing palette, the shape recipe and the
// small geometry tests shared by movers and screens.
#pragma once

#include <cstdint>

#include "render/draw2d.h"

extern int NeonMode;    // 1 neon glow strips, 0 plain wire lines
extern int GlowAmount;  // -3..3
extern int GlowWidth14;
extern int GlowWidth16;
extern int GlowWidth18;
extern int GlowWidth20;
extern int GlowWidth24;
extern int GlowWidth32;

void RecomputeGlowWidths();

// One row of the flashing palette: glow colour and wire colour.
struct ColorRow {
  std::uint32_t glow;
  int r, g, b;
};
inline constexpr int kColorTableRows = 48;
extern ColorRow ColorTable[kColorTableRows];
void LoadColorTable();

// A segment of a vector shape, relative to the shape's position (or absolute).
struct ShapeSegment {
  double x1, y1, x2, y2;
};

// The recipe every vector shape is drawn by. Positions are play-area pixels; the
// screen offset is added here. Neon: one strip batch of glow strips of half-width
// `width`, caps on. Wire: SetColor(r, g, b), one DrawLine per segment, then white.
void DrawShape(const ShapeSegment* segments, int count, double x, double y, std::uint32_t glow,
               int r, int g, int b, int width);

// Once per frame, after Cls and the backdrop and before the first strip: leaves the
// drawing service's texture cache as the strips will.
void PrimeGlow();

void GlowLine(int x1, int y1, int x2, int y2, std::uint32_t glow, int r, int g, int b);
void GlowPolygon(double x, double y, int start_angle, int sides, double side, std::uint32_t glow,
                 int r, int g, int b);

bool WithinRadius(int x1, int y1, int x2, int y2, int r);
double Distance(double x1, double y1, double x2, double y2);
bool InsideEllipse(double x, double y, double cx, double cy, double rx, double ry);
bool SegmentsCross(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4);
bool RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
double Remap(double v, double a, double b, double c, double d);
