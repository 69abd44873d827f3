#include "arena/spider_figure.h"

#include <cstdint>

#include "platform/trig.h"
#include "render/glow.h"

SpiderFigureLine SpiderFigureTable[kSpiderFrames][360][kSpiderLines];
int SpiderFlashRow = 0;

namespace {

bool figure_ready = false;

// The spider glows a deep crimson whatever its wire colour.
constexpr std::uint32_t kSpiderGlow = 0xFFBD0022u;

}  // namespace

void PrecomputeSpiderFigure() {
  for (int heading = 0; heading < 360; ++heading) {
    for (int f = 0; f < kSpiderFrames; ++f) {
      for (int i = 0; i < kSpiderLines; ++i) {
        const SpiderLine& src = SpiderFigureData[f][i];
        const TurnedPoint a = TurnPoint(src.x1, src.y1, heading);
        const TurnedPoint b = TurnPoint(src.x2, src.y2, heading);
        SpiderFigureTable[f][heading][i] =
            SpiderFigureLine{static_cast<short>(a.x), static_cast<short>(a.y),
                             static_cast<short>(b.x), static_cast<short>(b.y)};
      }
    }
  }
  figure_ready = true;
}

void DrawSpiderFigure(int frame, double x, double y, int heading, int flash) {
  if (!figure_ready) PrecomputeSpiderFigure();
  if (frame < 0 || frame >= kSpiderFrames) frame = 0;
  heading %= 360;
  if (heading < 0) heading += 360;

  const SpiderFigureLine* lines = SpiderFigureTable[frame][heading];
  const SpiderLine* art = SpiderFigureData[frame];
  const ColorRow& row = ColorTable[SpiderFlashRow];
  {
    GlowBatch batch;
    for (int i = 0; i < kSpiderLines; ++i) {
      const bool flashing = flash == 1 && art[i].marker == kSpiderBodyMarker;
      const LineLook look = flashing
                                ? LineLook{row.glow, row.r, row.g, row.b, GlowWidth16}
                                : LineLook{kSpiderGlow, art[i].r, art[i].g, art[i].b, GlowWidth16};
      batch.Line(x + lines[i].x1, y + lines[i].y1, x + lines[i].x2, y + lines[i].y2, look);
    }
  }

  if (flash == 1) SpiderFlashRow = (SpiderFlashRow + 1) % kColorTableRows;
}
