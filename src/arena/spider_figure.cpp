#include "arena/spider_figure.h"

#include <cstdint>

#include "platform/trig.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"

SpiderFigureLine SpiderFigureTable[kSpiderFrames][360][kSpiderLines];
int SpiderFlashRow = 0;

namespace {

bool figure_ready = false;

// The spider glows a deep crimson whatever its wire colour.
constexpr std::uint32_t kSpiderGlow = 0xFFBD0022u;

short Turn(double a, double b) {
  return static_cast<short>(static_cast<int>(a - b));
}

}  // namespace

void PrecomputeSpiderFigure() {
  for (int heading = 0; heading < 360; ++heading) {
    const double c = Cos(heading);
    const double s = Sin(heading);
    for (int f = 0; f < kSpiderFrames; ++f) {
      for (int i = 0; i < kSpiderLines; ++i) {
        const SpiderLine& src = SpiderFigureData[f][i];
        SpiderFigureLine& dst = SpiderFigureTable[f][heading][i];
        dst.x1 = Turn(src.x1 * c, src.y1 * s);
        dst.y1 = Turn(src.x1 * s, -src.y1 * c);
        dst.x2 = Turn(src.x2 * c, src.y2 * s);
        dst.y2 = Turn(src.x2 * s, -src.y2 * c);
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
  const double ox = x + ScreenOffsetX;
  const double oy = y + ScreenOffsetY;

  if (NeonMode == 1) {
    TPoly::_Begin();
    for (int i = 0; i < kSpiderLines; ++i) {
      const bool flashing = flash == 1 && art[i].marker == kSpiderBodyMarker;
      const std::uint32_t glow = flashing ? row.glow : kSpiderGlow;
      TPoly::Line(DotImage, 0, ox + lines[i].x1, oy + lines[i].y1, glow, ox + lines[i].x2,
                  oy + lines[i].y2, glow, GlowWidth16, 1, 0);
    }
    TPoly::_End();
  } else {
    for (int i = 0; i < kSpiderLines; ++i) {
      if (flash == 1 && art[i].marker == kSpiderBodyMarker) {
        SetColor(row.r, row.g, row.b);
      } else {
        SetColor(art[i].r, art[i].g, art[i].b);
      }
      DrawLine(ox + lines[i].x1, oy + lines[i].y1, ox + lines[i].x2, oy + lines[i].y2, 1);
    }
  }
  SetColor(255, 255, 255);

  if (flash == 1) SpiderFlashRow = (SpiderFlashRow + 1) % kColorTableRows;
}
