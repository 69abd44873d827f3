#include "render/glow.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "data/color_table.h"
#include "platform/trig.h"
#include "render/screen.h"
#include "render/tpoly.h"

int NeonMode = 0;
int GlowAmount = 0;
// The widths of the default glow amount, so they are right before the first recompute.
int GlowWidth14 = 14;
int GlowWidth16 = 16;
int GlowWidth18 = 18;
int GlowWidth20 = 20;
int GlowWidth24 = 24;
int GlowWidth32 = 32;

ColorRow ColorTable[kColorTableRows];

void RecomputeGlowWidths() {
  // A stray value from a damaged settings file must not give negative widths.
  const int amount = std::clamp(GlowAmount, -3, 3);
  GlowWidth14 = amount + 14;
  GlowWidth16 = amount + 16;
  GlowWidth18 = 2 * amount + 18;
  GlowWidth20 = 2 * amount + 20;
  GlowWidth24 = 3 * amount + 24;
  GlowWidth32 = 3 * amount + 32;
}

void LoadColorTable() {
  for (int row = 0; row < kColorTableRows; ++row) {
    const ColorTableEntry& e = ColorTableData[row % kColorTableDataRows];
    ColorTable[row] = ColorRow{e.glow, e.r, e.g, e.b};
  }
}

void DrawShape(const ShapeSegment* segments, int count, double x, double y, std::uint32_t glow,
               int r, int g, int b, int width) {
  if (segments == nullptr || count <= 0) return;
  const double ox = x + ScreenOffsetX;
  const double oy = y + ScreenOffsetY;
  if (NeonMode == 1) {
    TPoly::_Begin();
    for (int i = 0; i < count; ++i) {
      const ShapeSegment& s = segments[i];
      TPoly::Line(DotImage, 0, ox + s.x1, oy + s.y1, glow, ox + s.x2, oy + s.y2, glow, width, 1, 0);
    }
    TPoly::_End();
  } else {
    SetColor(r, g, b);
    for (int i = 0; i < count; ++i) {
      const ShapeSegment& s = segments[i];
      DrawLine(ox + s.x1, oy + s.y1, ox + s.x2, oy + s.y2, 1);
    }
    SetColor(255, 255, 255);
  }
}

void PrimeGlow() {
  if (DotImage) DrawImage(DotImage, 10000, 10000, 0);
}

void GlowLine(int x1, int y1, int x2, int y2, std::uint32_t glow, int r, int g, int b) {
  const double ax = static_cast<double>(x1) + ScreenOffsetX;
  const double ay = static_cast<double>(y1) + ScreenOffsetY;
  const double bx = static_cast<double>(x2) + ScreenOffsetX;
  const double by = static_cast<double>(y2) + ScreenOffsetY;
  if (NeonMode == 1) {
    // Not part of a batch, so whatever the drawing service bound since the last
    // strip may be current: bind the glow texture afresh.
    TPoly::_Begin();
    TPoly::Line(DotImage, 0, ax, ay, glow, bx, by, glow, GlowWidth16, 1, 0);
  } else {
    SetColor(r, g, b);
    DrawLine(ax, ay, bx, by, 1);
    SetColor(255, 255, 255);
  }
}

void GlowPolygon(double x, double y, int start_angle, int sides, double side, std::uint32_t glow,
                 int r, int g, int b) {
  if (sides <= 0) return;
  // Integer step: a side count that does not divide 360 leaves a gap.
  const int step = 360 / sides;
  if (step <= 0) return;
  const double radius = side / 2.0 / Sin(step / 2.0);
  const double cx = x + ScreenOffsetX;
  const double cy = y + ScreenOffsetY;
  auto vx = [&](int i) { return cx - radius * Sin(start_angle + step * i); };
  auto vy = [&](int i) { return cy - radius * Cos(start_angle + step * i); };
  if (NeonMode == 1) {
    TPoly::_Begin();
    for (int i = 0; i < sides; ++i) {
      TPoly::Line(DotImage, 0, vx(i), vy(i), glow, vx(i + 1), vy(i + 1), glow, GlowWidth18, 1, 0);
    }
    TPoly::_End();
  } else {
    SetColor(r, g, b);
    for (int i = 0; i < sides; ++i) DrawLine(vx(i), vy(i), vx(i + 1), vy(i + 1), 1);
    SetColor(255, 255, 255);
  }
}

bool WithinRadius(int x1, int y1, int x2, int y2, int r) {
  if (r <= 0) return false;  // a square root is never below zero
  // Wide integers, and an early out, so far-apart points cannot overflow into "near".
  const std::int64_t dx = std::abs(static_cast<std::int64_t>(x1) - x2);
  const std::int64_t dy = std::abs(static_cast<std::int64_t>(y1) - y2);
  if (dx >= r || dy >= r) return false;
  return dx * dx + dy * dy < static_cast<std::int64_t>(r) * r;
}

double Distance(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2, dy = y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}

bool InsideEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double nx = (x - cx) / rx;
  const double ny = (y - cy) / ry;
  return nx * nx + ny * ny < 1.0;  // a zero radius gives inf or NaN: outside
}

bool SegmentsCross(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4) {
  const double den = (y4 - y3) * (x2 - x1) - (x4 - x3) * (y2 - y1);
  if (!(std::fabs(den) >= 0.0001)) return false;  // parallel, nearly so, or NaN
  const double ua = ((x4 - x3) * (y1 - y3) - (y4 - y3) * (x1 - x3)) / den;
  const double ub = ((x2 - x1) * (y1 - y3) - (y2 - y1) * (x1 - x3)) / den;
  return ua > 0.0 && ua < 1.0 && ub > 0.0 && ub < 1.0;
}

bool RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  const std::int64_t ax = x1, ay = y1, bx = x2, by = y2;
  return bx + w2 >= ax && ax + w1 >= bx && by + h2 >= ay && ay + h1 >= by;
}

double Remap(double v, double a, double b, double c, double d) {
  if (b == a) return c;  // an empty source range has nowhere to carry v from
  return c + (d - c) * (v - a) / (b - a);
}
