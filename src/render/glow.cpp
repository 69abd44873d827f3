#include "render/glow.h"

#include <algorithm>
#include <cstdint>

#include "data/color_table.h"
#include "platform/trig.h"
#include "render/screen.h"
#include "render/tpoly.h"

int NeonMode = 0;
int GlowAmount = 0;
// The widths of the default glow amount, so they are right before the first recompute.
int GlowWidth14 = 14;
int GlowWidth16 = 16;
int GlowWidth18 = 18;
int GlowWidth20 = 20;
int GlowWidth24 = 24;
int GlowWidth32 = 32;

ColorRow ColorTable[kColorTableRows];

void RecomputeGlowWidths() {
  // A stray value from a damaged settings file must not give negative widths.
  const int amount = std::clamp(GlowAmount, -3, 3);
  GlowWidth14 = amount + 14;
  GlowWidth16 = amount + 16;
  GlowWidth18 = 2 * amount + 18;
  GlowWidth20 = 2 * amount + 20;
  GlowWidth24 = 3 * amount + 24;
  GlowWidth32 = 3 * amount + 32;
}

void LoadColorTable() {
  for (int row = 0; row < kColorTableRows; ++row) {
    const ColorTableEntry& e = ColorTableData[row % kColorTableDataRows];
    ColorTable[row] = ColorRow{e.glow, e.r, e.g, e.b};
  }
}

namespace {

// Wire lines change the colour only when it differs, so a run in one colour sets it once.
void SetWireColour(int r, int g, int b) {
  const DrawState& s = CurrentDrawState();
  if (s.color_red != r || s.color_green != g || s.color_blue != b) SetColor(r, g, b);
}

}  // namespace

GlowBatch::GlowBatch(WireColour wire) : neon_(NeonMode == 1), wire_(wire) {
  if (neon_) {
    TPoly::_Begin();
  } else {
    BeginLineRun();
  }
}

GlowBatch::~GlowBatch() {
  if (neon_) {
    TPoly::_End();
    return;
  }
  EndLineRun();
  if (wire_ == kOwnColours) SetColor(255, 255, 255);
}

void GlowBatch::Line(double x1, double y1, double x2, double y2, const LineLook& look) {
  const double ax = x1 + ScreenOffsetX, ay = y1 + ScreenOffsetY;
  const double bx = x2 + ScreenOffsetX, by = y2 + ScreenOffsetY;
  if (neon_) {
    const bool doubled = look.passes == 2 && (look.glow >> 24) == 0xFFu &&
                         CurrentDrawState().blend_mode == BLEND_ADD && FastDrawing();
    TPoly::Doubled(doubled);
    for (int pass = 0; pass < (doubled ? 1 : look.passes); ++pass)
      TPoly::Line(DotImage, 0, ax, ay, look.glow, bx, by, look.glow, look.width, 1, 0);
    return;
  }
  if (wire_ == kOwnColours) SetWireColour(look.r, look.g, look.b);
  DrawLine(ax, ay, bx, by, 1);
}

void GlowBatch::Shape(const ShapeSegment* segments, int count, double x, double y,
                      const LineLook& look) {
  if (segments == nullptr) return;
  for (int i = 0; i < count; ++i) {
    const ShapeSegment& s = segments[i];
    Line(x + s.x1, y + s.y1, x + s.x2, y + s.y2, look);
  }
}

void GlowBatch::Polygon(double x, double y, int start_angle, int sides, double side,
                        const LineLook& look) {
  if (sides <= 0) return;
  const int step = 360 / sides;
  if (step <= 0) return;
  const double radius = side / 2.0 / Sin(step / 2.0);
  auto vx = [&](int i) { return x - radius * Sin(start_angle + step * i); };
  auto vy = [&](int i) { return y - radius * Cos(start_angle + step * i); };
  for (int i = 0; i < sides; ++i) Line(vx(i), vy(i), vx(i + 1), vy(i + 1), look);
}

void DrawShape(const ShapeSegment* segments, int count, double x, double y, std::uint32_t glow,
               int r, int g, int b, int width) {
  if (segments == nullptr || count <= 0) return;
  GlowBatch batch;
  batch.Shape(segments, count, x, y, LineLook{glow, r, g, b, width});
}

void InitGlowDrawing() {
  TPoly::Initialise();
}

void ResetModeDrawing() {
  SetColor(255, 255, 255);
  if (NeonMode == 1) {
    SetBlend(BLEND_ADD);
    InitGlowDrawing();
  } else {
    SetBlend(BLEND_SOLID);
  }
  SetViewport(ScreenOffsetX, ScreenOffsetY, kPlayWidth, kPlayHeight);
}

void PrimeGlow() {
  if (DotImage) DrawImage(DotImage, 10000, 10000, 0);
}

void GlowLine(int x1, int y1, int x2, int y2, std::uint32_t glow, int r, int g, int b) {
  GlowBatch batch;
  batch.Line(x1, y1, x2, y2, LineLook{glow, r, g, b, GlowWidth16});
}

void GlowPolygon(double x, double y, int start_angle, int sides, double side, std::uint32_t glow,
                 int r, int g, int b) {
  GlowBatch batch;
  batch.Polygon(x, y, start_angle, sides, side, LineLook{glow, r, g, b, GlowWidth18});
}
