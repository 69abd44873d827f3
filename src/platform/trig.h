// Trigonometry in degrees, as every heading of the game is.
#pragma once

#include <cmath>

inline constexpr double kPi = 3.14159265358979323846;
inline double Sin(double degrees) {
  return std::sin(degrees * kPi / 180.0);
}
inline double Cos(double degrees) {
  return std::cos(degrees * kPi / 180.0);
}
inline double ATan2(double y, double x) {
  return std::atan2(y, x) * 180.0 / kPi;
}

// A point of a figure turned clockwise by a whole-degree heading, to
// (x cos a - y sin a, x sin a + y cos a), each truncated toward zero. Figures are
// turned once at start-up; the result is exact where the true one is whole: the
// quarter turns use exact sines and cosines, and a sum a hair short of an integer keeps
// it, so a line turned by 90 degrees keeps its length.
struct TurnedPoint {
  int x, y;
};
inline TurnedPoint TurnPoint(double x, double y, int heading) {
  auto exact = [](double v) { return std::fabs(v) < 1e-12 ? 0.0 : v; };
  auto whole = [](double v) { return static_cast<int>(v + (v >= 0 ? 1e-6 : -1e-6)); };
  const double c = exact(Cos(heading)), s = exact(Sin(heading));
  return {whole(x * c - y * s), whole(x * s + y * c)};
}
