// Writes the two backdrops: a dim nebula with faint stars (PNG, drawn behind the
// web) and a deep starfield (JPEG, behind the intro). Both stay very dark so the
// glowing lines in front of them remain the brightest thing on the screen.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gen/image_out.h"
#include "gen/prng.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Rgb {
  double r, g, b;
};

Rgb operator*(Rgb c, double k) {
  return {c.r * k, c.g * k, c.b * k};
}
Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb Mix(Rgb a, Rgb b, double t) {
  return a * (1.0 - t) + b * t;
}

double Smooth(double t) {
  return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}
double Clamp01(double v) {
  return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// Lattice value noise in 0..1.
double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int32_t>(fx), iy = static_cast<std::int32_t>(fy);
  const double tx = Smooth(x - fx), ty = Smooth(y - fy);
  auto at = [&](std::int32_t i, std::int32_t j) {
    return static_cast<double>(HashPoint(i, j, seed) >> 8) / 16777216.0;
  };
  const double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Fbm(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0.0, amp = 0.5, norm = 0.0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, seed + static_cast<std::uint32_t>(o) * 7919u);
    norm += amp;
    // Rotate between octaves so the lattice never lines up into visible rows.
    const double nx = 1.6 * x + 1.2 * y + 3.1, ny = -1.2 * x + 1.6 * y + 7.7;
    x = nx;
    y = ny;
    amp *= 0.5;
  }
  return sum / norm;
}

class Canvas {
 public:
  Canvas() : px_(static_cast<std::size_t>(kWidth) * kHeight, Rgb{0, 0, 0}) {}
  Rgb& at(int x, int y) { return px_[static_cast<std::size_t>(y) * kWidth + x]; }

  // A star as a small Gaussian spot (in 0..255 units at its centre).
  void Star(double cx, double cy, double sigma, Rgb colour) {
    const int reach = static_cast<int>(std::ceil(sigma * 3.5));
    for (int y = static_cast<int>(cy) - reach; y <= static_cast<int>(cy) + reach; ++y) {
      for (int x = static_cast<int>(cx) - reach; x <= static_cast<int>(cx) + reach; ++x) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        const double w = std::exp(-(dx * dx + dy * dy) / (2.0 * sigma * sigma));
        at(x, y) = at(x, y) + colour * w;
      }
    }
  }

  // Quantises with a tiny ordered dither: dark gradients would otherwise show
  // contour bands.
  std::vector<std::uint8_t> Pixels(bool dither) const {
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<std::uint8_t> out(px_.size() * 3);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const Rgb& c = px_[static_cast<std::size_t>(y) * kWidth + x];
        const double d = dither ? (kBayer[y & 3][x & 3] + 0.5) / 16.0 : 0.5;
        const double ch[3] = {c.r, c.g, c.b};
        for (int k = 0; k < 3; ++k) {
          const double v = std::floor(ch[k] + d);
          out[(static_cast<std::size_t>(y) * kWidth + x) * 3 + k] =
              static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
      }
    }
    return out;
  }

 private:
  std::vector<Rgb> px_;
};

// Star colours from cool blue-white to warm orange, mostly near white.
Rgb StarTint(Prng& rng) {
  const double t = rng.Unit();
  if (t < 0.2) return {0.75, 0.85, 1.0};
  if (t < 0.75) return {1.0, 1.0, 1.0};
  if (t < 0.92) return {1.0, 0.93, 0.78};
  return {1.0, 0.78, 0.62};
}

void PaintNebula(Canvas& canvas) {
  const Rgb deep{3.0, 2.0, 9.0};        // the empty sky
  const Rgb violet{80.0, 24.0, 104.0};  // thin gas
  const Rgb blue{18.0, 46.0, 110.0};    // thicker gas
  const Rgb teal{34.0, 100.0, 110.0};   // the densest knots
  constexpr double kScale = 1.0 / 260.0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double u = x * kScale, v = y * kScale;
      // Domain warping gives the wispy, folded look of gas clouds.
      const double wx = Fbm(u, v, 11u, 5), wy = Fbm(u + 5.2, v + 1.3, 23u, 5);
      const double n = Fbm(u + 2.2 * wx, v + 2.2 * wy, 37u, 6);
      const double hue = Fbm(u * 0.7 + 9.1, v * 0.7 + 4.4, 51u, 4);
      // Only the upper part of the noise range becomes gas; most sky stays empty.
      const double density = std::pow(Clamp01((n - 0.42) / 0.38), 1.7);
      const double knot = std::pow(Clamp01((n - 0.62) / 0.2), 2.0);
      Rgb gas = Mix(violet, blue, Clamp01((hue - 0.35) / 0.3));
      gas = Mix(gas, teal, knot * 0.6);
      canvas.at(x, y) = deep + gas * density;
    }
  }
  Prng rng(0x51C6A4Dull);
  for (int i = 0; i < 900; ++i) {
    const double x = rng.Range(0, kWidth), y = rng.Range(0, kHeight);
    const double b = 18.0 + 90.0 * std::pow(rng.Unit(), 4.0);
    canvas.Star(x, y, 0.55 + 0.35 * rng.Unit(), StarTint(rng) * b);
  }
}

void PaintStarfield(Canvas& canvas) {
  // A faint band of unresolved stars across the sky, like a distant galaxy.
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double along = (x - 512.0) * 0.8 + (y - 384.0) * 0.6;
      const double across = -(x - 512.0) * 0.6 + (y - 384.0) * 0.8 + 40.0 * std::sin(along / 300.0);
      const double band = std::exp(-across * across / (2.0 * 120.0 * 120.0));
      const double dust = Fbm(x / 90.0, y / 90.0, 71u, 5);
      const double glow = band * (0.4 + 0.9 * dust) * 16.0;
      canvas.at(x, y) = Rgb{1.0, 1.0, 3.0} + Rgb{0.8, 0.85, 1.0} * glow;
    }
  }
  Prng rng(0x57A2F1E1Dull);
  // Many faint stars, fewer bright ones (a steep power law, as in a real sky).
  for (int i = 0; i < 2600; ++i) {
    const double x = rng.Range(0, kWidth), y = rng.Range(0, kHeight);
    const double b = 35.0 + 200.0 * std::pow(rng.Unit(), 6.0);
    canvas.Star(x, y, 0.5 + 0.25 * rng.Unit(), StarTint(rng) * b);
  }
  // Extra faint stars crowd into the band.
  for (int i = 0; i < 1800; ++i) {
    const double along = rng.Range(-700, 700), across = rng.Range(-1, 1) * rng.Range(0, 160);
    const double x = 512.0 + along * 0.8 - across * 0.6;
    const double y = 384.0 + along * 0.6 + across * 0.8;
    canvas.Star(x, y, 0.5, StarTint(rng) * (20.0 + 50.0 * rng.Unit()));
  }
  // A handful of bright stars with a soft halo.
  for (int i = 0; i < 14; ++i) {
    const double x = rng.Range(20, kWidth - 20), y = rng.Range(20, kHeight - 20);
    const Rgb tint = StarTint(rng);
    canvas.Star(x, y, 0.9, tint * 230.0);
    canvas.Star(x, y, 4.0, tint * 10.0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gen_backdrops OUT1.png OUT2.jpg\n");
    return 2;
  }
  Canvas nebula;
  PaintNebula(nebula);
  if (!WritePng(argv[1], kWidth, kHeight, 3, nebula.Pixels(true), "Silkguard gen_backdrops")) {
    return 1;
  }
  Canvas stars;
  PaintStarfield(stars);
  if (!WriteJpeg(argv[2], kWidth, kHeight, stars.Pixels(false), 90, "Silkguard gen_backdrops")) {
    return 1;
  }
  return 0;
}
