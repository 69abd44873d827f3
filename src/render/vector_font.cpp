#include "render/vector_font.h"

#include <algorithm>
#include <cmath>

#include "data/font_data.h"
#include "platform/trig.h"
#include "platform/utf8.h"
#include "render/draw2d.h"
#include "render/glow.h"

std::array<FontGlyph, kFontGlyphSlots> FontGlyphs;
double ShrinkScales[kTextScaleSteps];
double PopScales[kTextScaleSteps];
EntityList<chars> CharList;

namespace {

constexpr double kCell = 28.0;        // grid cell and pen advance at scale 1
constexpr int kFloatingSpacing = 26;  // between the characters of a floating text
constexpr int kFloatingSteps = 25;    // a floating character shrinks in 25 steps
constexpr int kFloatingPause = 2;     // frames per step
constexpr int kLastScale = kTextScaleSteps - 1;

// Grows past full size and settles back, so menu entries seem to pop out.
constexpr double kPopScaleData[kTextScaleSteps] = {
    0,    0.05, 0.1,  0.15, 0.2,  0.25, 0.3, 0.35, 0.4,  0.45, 0.5,  0.55, 0.6,
    0.65, 0.75, 0.85, 1,    1.15, 1.25, 1.3, 1.3,  1.25, 1.2,  1.15, 1.05, 1};

// Wire colours a floating character may ask for by number.
struct Rgb3 {
  int r, g, b;
};
constexpr Rgb3 kFloatingWire[] = {{64, 64, 255}, {64, 255, 64}, {0, 255, 255}, {255, 255, 255}};

int AsciiGlyph(unsigned char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
  // The currency sign is not ASCII, so a search of the first part cannot hit it by
  // accident; a NUL byte is not in the set either.
  const std::string_view set(FontCharset, kFontCharsetLength);
  const std::size_t at = set.find(static_cast<char>(c));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The glyph's segments scaled and turned about its centre, into out; the count.
int PlaceGlyph(int index, double scale, double cos_a, double sin_a, ShapeSegment* out) {
  if (index < 1 || index >= kFontGlyphSlots) return 0;
  const FontGlyph& glyph = FontGlyphs[static_cast<std::size_t>(index)];
  for (int i = 0; i < glyph.count; ++i) {
    const FontSegment& s = glyph.segments[static_cast<std::size_t>(i)];
    const double x1 = s.x1 * scale, y1 = s.y1 * scale;
    const double x2 = s.x2 * scale, y2 = s.y2 * scale;
    out[i] = ShapeSegment{x1 * cos_a - y1 * sin_a, x1 * sin_a + y1 * cos_a, x2 * cos_a - y2 * sin_a,
                          x2 * sin_a + y2 * cos_a};
  }
  return glyph.count;
}

struct TextStyle {
  double glyph_scale;
  double angle;
  std::uint32_t glow;
  int width;
  bool set_wire;  // false: wire lines keep the current colour
  int r, g, b;
};

// One line of text with its first character centred on play-area (x, y).
void DrawTextRun(std::string_view text, double x, double y, double advance,
                 const TextStyle& style) {
  GlowBatch batch(style.set_wire ? GlowBatch::kOwnColours : GlowBatch::kCallersColour);
  // Nonsense numbers draw nothing rather than lines to infinity. Nor does a zero
  // scale: a wire line of no length would still light its last pixel.
  if (style.glyph_scale == 0.0 || !std::isfinite(x) || !std::isfinite(y) ||
      !std::isfinite(advance) || !std::isfinite(style.glyph_scale) || !std::isfinite(style.angle))
    return;
  const LineLook look{style.glow, style.r, style.g, style.b, style.width};
  const double cos_a = Cos(style.angle);
  const double sin_a = Sin(style.angle);
  ShapeSegment segs[kMaxGlyphSegments];
  double pen = x;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const int index = NextGlyphIndex(text, pos);
    const int count = PlaceGlyph(index, style.glyph_scale, cos_a, sin_a, segs);
    batch.Shape(segs, count, pen, y, look);
    pen += advance;
  }
}

double GridX(double column, double xscale, int absolute) {
  return absolute == 1 ? column : column * kCell * xscale;
}
double GridY(double row, double yscale, int absolute) {
  return absolute == 1 ? row : row * kCell * yscale;
}

}  // namespace

void LoadFont() {
  FontGlyphs = {};
  std::size_t pos = 0;
  constexpr auto size = static_cast<std::size_t>(kFontGlyphDataSize);
  for (int index = 1; index <= kFontGlyphCount && index < kFontGlyphSlots; ++index) {
    if (pos >= size) break;
    const int segments = FontGlyphData[pos] + 1;
    // A count that runs past the table ends the font there.
    if (segments < 1 || static_cast<std::size_t>(segments) * 4 > size - pos - 1) break;
    FontGlyph& glyph = FontGlyphs[static_cast<std::size_t>(index)];
    glyph.count = std::min(segments, kMaxGlyphSegments);
    for (int s = 0; s < glyph.count; ++s) {
      const int* v = &FontGlyphData[pos + 1 + static_cast<std::size_t>(s) * 4];
      glyph.segments[static_cast<std::size_t>(s)] = FontSegment{v[0], v[1], v[2], v[3]};
    }
    pos += 1 + static_cast<std::size_t>(segments) * 4;
  }
}

void LoadTextScales() {
  for (int k = 0; k < kLastScale; ++k) ShrinkScales[k] = 1.5 - 0.06 * k;
  ShrinkScales[kLastScale] = 0.01;
  std::copy(std::begin(kPopScaleData), std::end(kPopScaleData), PopScales);
}

int NextGlyphIndex(std::string_view text, std::size_t& pos) {
  if (pos >= text.size()) return -1;
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return AsciiGlyph(lead);
  }
  if (const std::size_t len = Utf8Length(text, pos); len > 0) {
    const bool currency =
        len == 2 && lead == 0xC2 && static_cast<unsigned char>(text[pos + 1]) == kFontCurrencySign;
    pos += len;
    return currency ? kFontCurrencyIndex : -1;
  }
  // Not UTF-8: a Latin-1 byte.
  ++pos;
  return lead == kFontCurrencySign ? kFontCurrencyIndex : -1;
}

void WriteText(std::string_view text, double column, double row, std::uint32_t glow, double angle,
               double xscale, double yscale, int absolute, int red, int green, int blue) {
  DrawTextRun(text, GridX(column, xscale, absolute), GridY(row, yscale, absolute), kCell * xscale,
              TextStyle{xscale, angle, glow, GlowWidth16, true, red, green, blue});
}

void WriteTitle(std::string_view text, double column, double row, std::uint32_t glow, double angle,
                double xscale, double yscale, int absolute, int red, int green, int blue) {
  DrawTextRun(text, GridX(column, xscale, absolute), GridY(row, yscale, absolute), kCell * xscale,
              TextStyle{xscale, angle, glow, GlowWidth32, true, red, green, blue});
}

void WriteZoomText(std::string_view text, double column, double row, std::uint32_t glow,
                   double zoom, double xscale, double yscale, int absolute) {
  // Callers count zoom down past the ends of the curve; hold it to the table, and let
  // a NaN show the text at rest.
  const double held = std::isnan(zoom) ? 0.0 : std::clamp(zoom, 0.0, 25.0);
  const int step = std::clamp(static_cast<int>(25.0 - held), 0, kLastScale);
  DrawTextRun(text, GridX(column, xscale, absolute), GridY(row, yscale, absolute), kCell * xscale,
              TextStyle{PopScales[step] * xscale, 0.0, glow, GlowWidth16, false, 0, 0, 0});
}

void SpawnFloatingText(int x, int y, std::string_view text, double xscale, double yscale,
                       std::uint32_t colour) {
  std::size_t pos = 0;
  for (int k = 0; pos < text.size(); ++k) {
    const std::size_t start = pos;
    NextGlyphIndex(text, pos);
    chars c;
    c.x = x + kFloatingSpacing * k;
    c.y = y;
    c.ch.assign(text.substr(start, pos - start));
    for (char& b : c.ch)
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    c.count = kFloatingSteps;
    c.pause = kFloatingPause;
    c.xscale = xscale;
    c.yscale = yscale;
    c.color = colour;
    CharList.Add(std::move(c));
  }
}

void DrawFloatingChar(const chars& c) {
  // In wire mode a colour number picks one of four colours; a real colour leaves the
  // lines in the current one.
  LineLook look{c.color, 0, 0, 0, GlowWidth16};
  if (c.color < std::size(kFloatingWire)) {
    const Rgb3& w = kFloatingWire[c.color];
    look.r = w.r;
    look.g = w.g;
    look.b = w.b;
  } else {
    const DrawState& s = CurrentDrawState();
    look.r = s.color_red;
    look.g = s.color_green;
    look.b = s.color_blue;
  }
  GlowBatch batch;
  const int step = std::clamp(kFloatingSteps - c.count, 0, kLastScale);
  const double scale = c.xscale * ShrinkScales[step];
  if (!std::isfinite(scale)) return;
  std::size_t pos = 0;
  const int index = NextGlyphIndex(c.ch, pos);
  ShapeSegment segs[kMaxGlyphSegments];
  const int count = PlaceGlyph(index, scale, 1.0, 0.0, segs);
  batch.Shape(segs, count, c.x, c.y, look);
}

void UpdateFloatingTexts() {
  for (chars& c : CharList) {
    if (c.pause > 0) c.pause -= 1;
    if (c.pause == 0 && c.count > 0) {
      c.pause = kFloatingPause;
      c.count -= 1;
    }
    DrawFloatingChar(c);
    // A count already below zero (set by hand) must not keep a record forever.
    if (c.count <= 0) CharList.Remove(&c);
  }
}
