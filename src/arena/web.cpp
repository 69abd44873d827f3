#include "arena/web.h"

#include "render/glow.h"
#include "render/screen.h"

EntityList<Web> WebList;
int WebLayouts[kWebLayoutRows][kWebRingSegments] = {};
int WebColourStep = 0;

namespace {

struct ColourKind {
  std::uint32_t glow;
  int r, g, b;
};

constexpr ColourKind kColourKinds[3] = {
    {0xFF0000FFu, 64, 64, 255},
    {0xFF40FF40u, 64, 255, 64},
    {0xFFFF4040u, 255, 64, 64},
};

void SetColourKind(Web& w, int index) {
  if (index < kWebBlue || index > kWebRed) index = kWebBlue;
  w.ColorIndex = index;
  w.glowcolor = kColourKinds[index].glow;
  w.r = kColourKinds[index].r;
  w.g = kColourKinds[index].g;
  w.b = kColourKinds[index].b;
}

// A layout digit; anything that is not a colour kind is plain blue.
int LayoutValue(char c) {
  return c >= '0' && c <= '2' ? c - '0' : kWebBlue;
}

// Draws the web in WebList order, the colour of each segment (ring counter q) taken
// from colour_of, in one batch. Every segment glows twice: under the additive blend
// that makes the web twice as bright.
template <typename ColourOf>
void DrawSegments(ColourOf colour_of) {
  GlowBatch batch;
  int n = 0;
  for (const Web& w : WebList) {
    const ColourKind colour = colour_of(w, n / kWebRingPoints);
    ++n;
    batch.Line(w.x1, w.y1, w.x2, w.y2,
               LineLook{colour.glow, colour.r, colour.g, colour.b, GlowWidth20, 2});
  }
}

}  // namespace

void LoadWebLayouts() {
  for (auto& row : WebLayouts)
    for (int& v : row) v = kWebBlue;
  const char* source[kWebLayoutDataRows + 1] = {};
  for (const WebLayoutSource& s : WebLayoutSourceRows)
    if (s.row >= 1 && s.row <= kWebLayoutDataRows) source[s.row] = s.colours;
  for (int level = 1; level <= kWebLayoutDataRows; ++level) {
    const char* digits = source[level];
    if (!digits) digits = source[(level - 1) % kWebLayoutCycle + 1];
    if (!digits) continue;
    // A short source row leaves the rest of its segments blue.
    for (int i = 0; i < kWebRingSegments && digits[i] != '\0'; ++i)
      WebLayouts[level][i] = LayoutValue(digits[i]);
  }
}

void BuildWeb(int level) {
  WebList.Clear();
  // A level past the table (a long game) or below it is all blue, as every level
  // above 64 already is.
  const int* layout = level >= 0 && level < kWebLayoutRows ? WebLayouts[level] : nullptr;
  int i = 0;
  for (int ring = 0; ring < kWebRings; ++ring) {
    for (int k = 0; k < kWebRingPoints; ++k) {
      const WebPoint& p1 = WebRingPoints[ring][k];
      const WebPoint& p2 = WebRingPoints[ring][(k + 1) % kWebRingPoints];
      const WebEnds& adjust = WebSegmentAdjust[k];
      Web* w = WebList.Add();
      w->x1 = p1.x + adjust.x1;
      w->y1 = p1.y + adjust.y1;
      w->x2 = p2.x + adjust.x2;
      w->y2 = p2.y + adjust.y2;
      w->RingNumber = ring;
      SetColourKind(*w, layout ? layout[i] : kWebBlue);
      ++i;
    }
  }
  for (const WebEnds& spoke : WebSpokeEnds) {
    Web* w = WebList.Add();
    w->x1 = spoke.x1;
    w->y1 = spoke.y1;
    w->x2 = spoke.x2;
    w->y2 = spoke.y2;
    SetColourKind(*w, kWebBlue);
  }
}

void DrawWeb() {
  DrawBackdrop();
  PrimeGlow();
  DrawSegments([](const Web& w, int) { return ColourKind{w.glowcolor, w.r, w.g, w.b}; });
}

void DrawLevelCompleteWeb() {
  DrawSegments([](const Web&, int q) {
    // Rows 3..42 for steps 0..31; a step out of that range wraps round the palette.
    int row = (11 - q + WebColourStep % kColorTableRows) % kColorTableRows;
    if (row < 0) row += kColorTableRows;
    const ColorRow& c = ColorTable[row];
    return ColourKind{c.glow, c.r, c.g, c.b};
  });
}
