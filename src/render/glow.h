// The two graphics modes and the one way the game draws in them: lines with a glow
// colour, a wire colour and a glow width, run by run in glow batches. Game code never
// asks which mode is on; this module decides how a line looks.
#pragma once

#include <cstdint>

#include "render/draw2d.h"

extern int NeonMode;    // 1 neon glow strips, 0 plain wire lines
extern int GlowAmount;  // -3..3
extern int GlowWidth14;
extern int GlowWidth16;
extern int GlowWidth18;
extern int GlowWidth20;
extern int GlowWidth24;
extern int GlowWidth32;

void RecomputeGlowWidths();

// One row of the flashing palette: glow colour and wire colour.
struct ColorRow {
  std::uint32_t glow;
  int r, g, b;
};
inline constexpr int kColorTableRows = 48;
extern ColorRow ColorTable[kColorTableRows];
void LoadColorTable();

// A segment of a vector shape, relative to the shape's position (or absolute).
struct ShapeSegment {
  double x1, y1, x2, y2;
};

// How a line looks in each mode.
struct LineLook {
  std::uint32_t glow;  // neon: the strip's vertex colour
  int r, g, b;         // wire: the line's colour
  int width;           // neon: the strip's half-width, one of the GlowWidth values
  // Neon: strips laid over each other; under the additive blend two are twice as bright.
  int passes = 1;
};

// A run of lines drawn as one. Neon: one strip batch, so the glow texture binds once.
// Wire: each line in its wire colour, and white again when the batch ends, unless the
// batch keeps the caller's colour (its lines then ignore their wire colour).
class GlowBatch {
 public:
  enum WireColour { kOwnColours, kCallersColour };
  explicit GlowBatch(WireColour wire = kOwnColours);
  ~GlowBatch();
  GlowBatch(const GlowBatch&) = delete;
  GlowBatch& operator=(const GlowBatch&) = delete;

  // Positions in play-area pixels; the screen offset is added here and nowhere else.
  void Line(double x1, double y1, double x2, double y2, const LineLook& look);
  // The segments of a shape placed at (x, y).
  void Shape(const ShapeSegment* segments, int count, double x, double y, const LineLook& look);
  // A regular polygon centred on (x, y), sides of length `side`, its first corner at
  // start_angle. The step is whole degrees: a side count that does not divide 360
  // leaves a gap.
  void Polygon(double x, double y, int start_angle, int sides, double side, const LineLook& look);

 private:
  bool neon_;
  WireColour wire_;
};

// A shape in a batch of its own: the recipe every vector shape is drawn by.
void DrawShape(const ShapeSegment* segments, int count, double x, double y, std::uint32_t glow,
               int r, int g, int b, int width);

// One line at half-width GlowWidth16, ending white in wire mode.
void GlowLine(int x1, int y1, int x2, int y2, std::uint32_t glow, int r, int g, int b);
// A regular polygon centred on (x, y) with sides of length `side`, at GlowWidth18.
void GlowPolygon(double x, double y, int start_angle, int sides, double side, std::uint32_t glow,
                 int r, int g, int b);

// Once at start-up, with the display open: the strip renderer's GL set-up.
void InitGlowDrawing();

// After the display or the graphics mode changed: white, the mode's blend (solid for
// wire lines, additive for neon strips), the strip renderer set up afresh in neon, and
// the viewport on the play area.
void ResetModeDrawing();

// Once per frame, after Cls and the backdrop and before the first strip: leaves the
// drawing service's texture cache as the strips will.
void PrimeGlow();
