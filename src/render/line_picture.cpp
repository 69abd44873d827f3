#include "render/line_picture.h"

#include <algorithm>

#include "platform/random.h"
#include "platform/trig.h"
#include "render/glow.h"

std::array<LineArtRecord, kPictureBufferLines> PictureBuffer;
int PictureLines = 0;
double PictureZoom = 1.0;
double PictureAngle = 0.0;
double PictureSparkle = 0.0;
int SparkleCounter = 0;
std::uint32_t SparkleColour = 0;

namespace {

constexpr double kPictureX = 512, kPictureY = 386;
constexpr int kSparkleEvery = 100;
constexpr int kSparkleLow = -5000000, kSparkleHigh = 5000000;

struct Turned {
  double x1, y1, x2, y2;
};

// Scaled to whole pixels first, then turned: the picture keeps the shape its
// numbers give at every size.
Turned Turn(const LineArtRecord& l, double zoom, double c, double s) {
  const double x1 = static_cast<int>(l.x1 * zoom), y1 = static_cast<int>(l.y1 * zoom);
  const double x2 = static_cast<int>(l.x2 * zoom), y2 = static_cast<int>(l.y2 * zoom);
  return {x1 * c - y1 * s, x1 * s + y1 * c, x2 * c - y2 * s, x2 * s + y2 * c};
}

}  // namespace

void DrawLineArt(const LineArtRecord* lines, int count, double cx, double cy, double zoom,
                 double angle, int width, const WireColour* wire) {
  if (lines == nullptr || count <= 0) return;
  const double c = Cos(angle), s = Sin(angle);
  GlowBatch batch;
  for (int i = 0; i < count; ++i) {
    const LineArtRecord& l = lines[i];
    const Turned t = Turn(l, zoom, c, s);
    const LineLook look = wire ? LineLook{l.glow, wire->r, wire->g, wire->b, width}
                               : LineLook{l.glow, l.red, l.green, l.blue, width};
    batch.Line(cx + t.x1, cy + t.y1, cx + t.x2, cy + t.y2, look);
  }
}

void LoadPicture(const LineArtPicture& picture) {
  PictureLines = picture.records ? std::clamp(picture.lines, 0, kPictureBufferLines) : 0;
  std::copy_n(picture.records, PictureLines, PictureBuffer.begin());
  PictureSparkle = 0.0;
  SparkleCounter = 0;
  PictureZoom = 1.0;
  PictureAngle = 0.0;
}

void DrawPicture(double dx) {
  const double c = Cos(PictureAngle), s = Sin(PictureAngle);
  const double cx = kPictureX + dx;
  GlowBatch batch;
  for (int i = 0; i < PictureLines; ++i) {
    const LineArtRecord& l = PictureBuffer[static_cast<std::size_t>(i)];
    const Turned t = Turn(l, PictureZoom, c, s);
    if (++SparkleCounter > kSparkleEvery) {
      SparkleCounter = 0;
      // Any 32-bit pattern will do, its alpha included: the sparkle flickers.
      SparkleColour = static_cast<std::uint32_t>(CosmeticRandInt(kSparkleLow, kSparkleHigh));
    }
    const std::uint32_t glow =
        PictureSparkle == 1.0 && l.glow == kSparkleLineColour ? SparkleColour : l.glow;
    batch.Line(cx + t.x1, kPictureY + t.y1, cx + t.x2, kPictureY + t.y2,
               LineLook{glow, l.red, l.green, l.blue, GlowWidth24});
  }
}
