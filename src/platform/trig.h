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
