#include "platform/geometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

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

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v > 30000) return 30000;
  if (v < -30000) return -30000;
  return static_cast<int>(v);
}

bool InsidePlayEllipse(double x, double y) {
  return InsideEllipse(x, y, kArenaCX, kArenaCY, kPlayRX, kPlayRY);
}

bool InsideExitEllipse(double x, double y) {
  return InsideEllipse(x, y, kArenaCX, kArenaCY, kExitRX, kExitRY);
}
