// Writes the desktop icon at the sizes desktops ask for: the game's spider, glowing
// crimson on a dark rounded tile with a few web strands behind it, drawn from the same
// line art the game draws. Each size is drawn from the lines themselves, so small icons
// stay sharp.
//
// Usage: gen_icon OUTPUT_DIR   (writes silkguard-<size>.png for every size)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "data/spider_data.h"
#include "gen/image_out.h"

namespace {

constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r, g, b;
};

double SegmentDistance(double px, double py, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

// Coverage of a rounded square tile of side 1 (corner radius 0.18), anti-aliased over
// one pixel.
double TileCoverage(double u, double v, double pixel) {
  const double r = 0.18;
  const double qx = std::max(std::fabs(u - 0.5) - (0.5 - r), 0.0);
  const double qy = std::max(std::fabs(v - 0.5) - (0.5 - r), 0.0);
  const double outside = std::hypot(qx, qy) - r;  // < 0 inside
  return std::clamp(0.5 - outside / pixel, 0.0, 1.0);
}

std::vector<std::uint8_t> Draw(int size) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4, 0);
  const double pixel = 1.0 / size;
  // The figure spans about 36 x 39 units; it fills two thirds of the tile.
  const double scale = 0.66 * size / 40.0;
  const double cx = 0.5 * size, cy = 0.44 * size;
  const double glow = std::max(0.9, size / 40.0);  // halo radius in pixels
  const double core = std::max(0.45, size / 110.0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double u = (x + 0.5) * pixel, v = (y + 0.5) * pixel;
      const double cover = TileCoverage(u, v, pixel);
      if (cover <= 0) continue;
      // A deep night tile, lighter towards the middle.
      const double centre = std::hypot(u - 0.5, v - 0.45);
      Rgb c{0.03 + 0.05 * (1 - centre), 0.02 + 0.03 * (1 - centre), 0.10 + 0.12 * (1 - centre)};
      // Six strands of web from the middle, and one ring.
      const double fx = x + 0.5 - cx, fy = y + 0.5 - cy;
      double web = 0;
      for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3 + kPi / 6;
        const double d = SegmentDistance(fx, fy, 0, 0, std::cos(a) * size, std::sin(a) * size);
        web = std::max(web, std::exp(-(d * d) / (2 * 0.35 * glow * glow)));
      }
      const double ring = std::fabs(std::hypot(fx, fy) - 0.36 * size);
      web = std::max(web, std::exp(-(ring * ring) / (2 * 0.35 * glow * glow)));
      c.b += 0.45 * web;
      c.g += 0.10 * web;
      // The spider: a bright core inside a crimson glow.
      double near = 1e9;
      for (const SpiderLine& l : SpiderFigureData[0]) {
        near =
            std::min(near, SegmentDistance(fx / scale, fy / scale, l.x1, l.y1, l.x2, l.y2) * scale);
      }
      const double halo = std::exp(-(near * near) / (2 * glow * glow));
      const double hot = std::exp(-(near * near) / (2 * core * core));
      c.r += 0.95 * halo + 0.6 * hot;
      c.g += 0.05 * halo + 0.45 * hot;
      c.b += 0.12 * halo + 0.40 * hot;
      std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      p[0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0, 1.0) * 255 + 0.5);
      p[1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0, 1.0) * 255 + 0.5);
      p[2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0, 1.0) * 255 + 0.5);
      p[3] = static_cast<std::uint8_t>(cover * 255 + 0.5);
    }
  }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_icon OUTPUT_DIR\n");
    return 2;
  }
  for (int size : kSizes) {
    const std::string path = std::string(argv[1]) + "/silkguard-" + std::to_string(size) + ".png";
    if (!WritePng(path, size, size, 4, Draw(size), "gen_icon")) return 1;
  }
  return 0;
}
