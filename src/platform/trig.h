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
inline double Tan(double degrees) {
  return std::tan(degrees * kPi / 180.0);
}
inline double ATan2(double y, double x) {
  return std::atan2(y, x) * 180.0 / kPi;
}
inline double ASin(double v) {
  return std::asin(v) * 180.0 / kPi;
}
inline double ACos(double v) {
  return std::acos(v) * 180.0 / kPi;
}
