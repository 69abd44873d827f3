// Writes the glow texture: a 128 x 128 white image whose alpha is a small bright
// core inside a wide, soft halo. Every glowing line of the game is this texture
// stretched along a strip, so the profile decides how the neon mode looks.
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "gen/image_out.h"

namespace {

constexpr int kSize = 128;
constexpr double kCentre = kSize / 2.0;  // between pixels 63 and 64

struct Knot {
  double r, alpha;
};

// Alpha against distance from the centre. The core is three knots; the halo
// knots sit at the distances of the pixels that the profile is checked at.
constexpr std::array<Knot, 22> kProfile{{
    {0.0, 255.0}, {0.75, 255.0}, {1.58, 172.0}, {2.55, 42.0}, {3.5, 29.4},  {7.5, 28.2},
    {8.5, 27.2},  {12.0, 26.0},  {15.5, 25.2},  {16.5, 24.8}, {20.0, 23.0}, {23.5, 21.0},
    {24.5, 20.2}, {31.5, 15.2},  {32.5, 14.8},  {39.5, 10.2}, {40.5, 9.8},  {47.5, 6.0},
    {48.5, 5.2},  {55.5, 3.0},   {56.5, 2.2},   {63.5, 1.0},
}};
constexpr double kFadeOut = 70.0;  // halo reaches zero here; the corners are ~90 away

// Monotone cubic (Fritsch-Carlson) through the knots: smooth, and never overshoots,
// so the halo falls steadily without rings.
double ProfileAt(double r) {
  const std::size_t n = kProfile.size();
  if (r <= kProfile[0].r) return kProfile[0].alpha;
  if (r >= kFadeOut) return 0.0;
  if (r >= kProfile[n - 1].r) {
    const double t = (r - kProfile[n - 1].r) / (kFadeOut - kProfile[n - 1].r);
    return kProfile[n - 1].alpha * (1.0 - t) * (1.0 - t);
  }
  std::array<double, kProfile.size()> slope{};
  std::array<double, kProfile.size() - 1> secant{};
  for (std::size_t i = 0; i + 1 < n; ++i) {
    secant[i] = (kProfile[i + 1].alpha - kProfile[i].alpha) / (kProfile[i + 1].r - kProfile[i].r);
  }
  slope[0] = secant[0];
  slope[n - 1] = secant[n - 2];
  for (std::size_t i = 1; i + 1 < n; ++i) {
    slope[i] = (secant[i - 1] * secant[i] <= 0.0) ? 0.0 : (secant[i - 1] + secant[i]) / 2.0;
  }
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (secant[i] == 0.0) {
      slope[i] = slope[i + 1] = 0.0;
      continue;
    }
    const double a = slope[i] / secant[i], b = slope[i + 1] / secant[i];
    const double h = a * a + b * b;
    if (h > 9.0) {
      const double t = 3.0 / std::sqrt(h);
      slope[i] = t * a * secant[i];
      slope[i + 1] = t * b * secant[i];
    }
  }
  std::size_t i = 0;
  while (kProfile[i + 1].r < r) ++i;
  const double h = kProfile[i + 1].r - kProfile[i].r;
  const double t = (r - kProfile[i].r) / h;
  const double t2 = t * t, t3 = t2 * t;
  return (2 * t3 - 3 * t2 + 1) * kProfile[i].alpha + (t3 - 2 * t2 + t) * h * slope[i] +
         (-2 * t3 + 3 * t2) * kProfile[i + 1].alpha + (t3 - t2) * h * slope[i + 1];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_dot OUT.png\n");
    return 2;
  }
  std::vector<std::uint8_t> rgba(kSize * kSize * 4);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
      const double a = std::fmin(255.0, std::fmax(0.0, ProfileAt(std::sqrt(dx * dx + dy * dy))));
      std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * kSize + x) * 4];
      p[0] = p[1] = p[2] = 255;
      p[3] = static_cast<std::uint8_t>(a + 0.5);
    }
  }
  return WritePng(argv[1], kSize, kSize, 4, rgba, "Silkguard gen_dot") ? 0 : 1;
}
