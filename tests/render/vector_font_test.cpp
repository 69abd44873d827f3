// Text placement is checked through the draw log: where each glyph lands, at what
// size, in which colour, and what the writers leave behind for the next shape.
#include "render/vector_font.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "embedded_assets.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"

namespace {

// ---- Character cells ---------------------------------------------------------------

// Glyph indexes of every cell of text.
std::vector<int> Cells(std::string_view text) {
  std::vector<int> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t before = pos;
    out.push_back(NextGlyphIndex(text, pos));
    if (pos <= before) break;  // would loop forever
  }
  return out;
}

TEST(FontCells, LettersFoldToLowerCaseAndUnknownsTakeACell) {
  EXPECT_EQ(Cells("aA zZ"), (std::vector<int>{1, 1, 0, 26, 26}));
  EXPECT_EQ(Cells("09.#"), (std::vector<int>{28, 37, 38, 54}));
  EXPECT_EQ(Cells("_~"), (std::vector<int>{-1, -1}));
  EXPECT_EQ(Cells(std::string_view("a\0b", 3)), (std::vector<int>{1, -1, 2}));
}

TEST(FontCells, MultiByteCharactersAreOneCell) {
  EXPECT_EQ(Cells("\xC2\xA4 2024"), (std::vector<int>{27, 0, 30, 28, 30, 32}));  // UTF-8
  EXPECT_EQ(Cells("\xA4"), (std::vector<int>{27}));                              // Latin-1
  EXPECT_EQ(Cells("caf\xC3\xA9!"), (std::vector<int>{3, 1, 6, -1, 51}));
  EXPECT_EQ(Cells("caf\xE9!"), (std::vector<int>{3, 1, 6, -1, 51}));  // Latin-1 é
  EXPECT_EQ(Cells("\xE2\x82\xAC"
                  "1"),
            (std::vector<int>{-1, 29}));  // euro sign
  EXPECT_EQ(Cells("\xF0\x9F\x95\xB7"
                  "a"),
            (std::vector<int>{-1, 1}));  // four bytes
  // Broken sequences fall back to single bytes rather than swallowing good text.
  EXPECT_EQ(Cells("\xC3"
                  "a"),
            (std::vector<int>{-1, 1}));
  EXPECT_EQ(Cells("\xE2\x82"), (std::vector<int>{-1, -1}));
  EXPECT_EQ(Cells("\xC2"), (std::vector<int>{-1}));
}

TEST(FontTables, LoadFromTheStoredForm) {
  LoadFont();
  EXPECT_EQ(FontGlyphs[0].count, 0);
  EXPECT_EQ(FontGlyphs[1].count, 5);
  EXPECT_EQ(FontGlyphs[9].count, 2);
  EXPECT_EQ(FontGlyphs[50].count, 14);
  EXPECT_EQ(FontGlyphs[54].count, 8);
  const FontSegment& last = FontGlyphs[54].segments[7];
  EXPECT_EQ(last.x1, -10);
  EXPECT_EQ(last.y1, 0);
  EXPECT_EQ(last.x2, 10);
  EXPECT_EQ(last.y2, 0);
  for (int i = 1; i < kFontGlyphSlots; ++i) EXPECT_GE(FontGlyphs[i].count, 1) << i;

  LoadTextScales();
  EXPECT_DOUBLE_EQ(ShrinkScales[0], 1.5);
  EXPECT_DOUBLE_EQ(ShrinkScales[1], 1.44);
  EXPECT_NEAR(ShrinkScales[24], 0.06, 1e-12);
  EXPECT_DOUBLE_EQ(ShrinkScales[25], 0.01);
  EXPECT_DOUBLE_EQ(PopScales[0], 0);
  EXPECT_DOUBLE_EQ(PopScales[14], 0.75);
  EXPECT_DOUBLE_EQ(PopScales[16], 1);
  EXPECT_DOUBLE_EQ(PopScales[19], 1.3);
  EXPECT_DOUBLE_EQ(PopScales[20], 1.3);
  EXPECT_DOUBLE_EQ(PopScales[24], 1.05);
  EXPECT_DOUBLE_EQ(PopScales[25], 1);
}

// ---- Drawing -----------------------------------------------------------------------

struct Seg {
  double x1, y1, x2, y2;
};

class VectorFontTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0)) << DisplayError();
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    if (DotImage) CenterImageHandle(DotImage);
    TPoly::Initialise();
    LoadFont();
    LoadTextScales();
  }
  static void TearDownTestSuite() { DotImage.reset(); }

  void SetUp() override {
    ResetDrawState();
    SetBlend(BLEND_ADD);
    GlowAmount = 0;
    RecomputeGlowWidths();
    NeonMode = 0;
    ScreenOffsetX = 0;
    ScreenOffsetY = 0;
    CharList.Clear();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    CharList.Clear();
    NeonMode = 0;
    ScreenOffsetX = 0;
    ScreenOffsetY = 0;
    ResetDrawState();
  }
  void NeedGlowTexture() {
    NeonMode = 1;
    ASSERT_TRUE(DotImage) << "the embedded glow texture could not be loaded";
  }

  static std::vector<DrawEntry> Entries(DrawKind kind) {
    std::vector<DrawEntry> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  // Wire lines in play-area-plus-offset pixels (the service draws through pixel centres).
  static std::vector<Seg> WireSegs() {
    std::vector<Seg> out;
    for (const DrawEntry& e : Entries(DrawKind::Line))
      out.push_back(
          {e.points[0].x - 0.5, e.points[0].y - 0.5, e.points[1].x - 0.5, e.points[1].y - 0.5});
    return out;
  }
  // A capped strip's segment ends are the midpoints of its body's vertex pairs.
  static std::vector<Seg> StripSegs() {
    std::vector<Seg> out;
    for (const DrawEntry& e : Entries(DrawKind::Strip)) {
      EXPECT_EQ(e.points.size(), 8u);
      if (e.points.size() != 8) continue;
      out.push_back({(e.points[2].x + e.points[3].x) / 2, (e.points[2].y + e.points[3].y) / 2,
                     (e.points[4].x + e.points[5].x) / 2, (e.points[4].y + e.points[5].y) / 2});
    }
    return out;
  }
  static double HalfWidth(const DrawEntry& s) {
    return std::hypot(s.points[2].x - s.points[3].x, s.points[2].y - s.points[3].y) / 2;
  }

  // The glyph's segments scaled, turned by angle about its centre and placed at (cx, cy).
  static std::vector<Seg> Glyph(int index, double cx, double cy, double scale, double angle = 0) {
    std::vector<Seg> out;
    const FontGlyph& g = FontGlyphs[index];
    const double c = Cos(angle), s = Sin(angle);
    for (int i = 0; i < g.count; ++i) {
      const FontSegment& f = g.segments[i];
      const double x1 = f.x1 * scale, y1 = f.y1 * scale, x2 = f.x2 * scale, y2 = f.y2 * scale;
      out.push_back(
          {cx + x1 * c - y1 * s, cy + x1 * s + y1 * c, cx + x2 * c - y2 * s, cy + x2 * s + y2 * c});
    }
    return out;
  }
  static std::vector<Seg> Join(std::vector<Seg> a, const std::vector<Seg>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }
  static void ExpectSegs(const std::vector<Seg>& got, const std::vector<Seg>& want,
                         double tol = 1e-3) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_NEAR(got[i].x1, want[i].x1, tol);
      EXPECT_NEAR(got[i].y1, want[i].y1, tol);
      EXPECT_NEAR(got[i].x2, want[i].x2, tol);
      EXPECT_NEAR(got[i].y2, want[i].y2, tol);
    }
  }
  static void ExpectColour(int r, int g, int b) {
    const DrawState& s = CurrentDrawState();
    EXPECT_EQ(s.color_red, r);
    EXPECT_EQ(s.color_green, g);
    EXPECT_EQ(s.color_blue, b);
  }
};

TEST_F(VectorFontTest, WireTextSitsOnTheGridAtTheScreenOffset) {
  ScreenOffsetX = 128;
  ScreenOffsetY = 116;
  WriteText("ab", 2, 3, 0xFFFFFF00u, 0, 1, 1, 0, 200, 100, 50);
  ExpectSegs(WireSegs(), Join(Glyph(1, 128 + 56, 116 + 84, 1), Glyph(2, 128 + 84, 116 + 84, 1)));
  for (const DrawEntry& e : Entries(DrawKind::Line)) EXPECT_EQ(e.argb & 0xFFFFFFu, 0xC86432u);
  EXPECT_TRUE(Entries(DrawKind::Strip).empty());
  ExpectColour(255, 255, 255);
}

TEST_F(VectorFontTest, ScalesMoveTheGridButOnlyXScaleSizesTheGlyphs) {
  WriteText("ab", 2, 3, 0xFFFFFF00u, 0, 0.5, 2, 0, 255, 255, 255);
  ExpectSegs(WireSegs(), Join(Glyph(1, 28, 168, 0.5), Glyph(2, 42, 168, 0.5)));

  // Absolute positions are pixels, whatever the scale.
  ClearDrawLog();
  WriteText("a", 300, 200, 0xFFFFFF00u, 0, 0.75, 3, 1, 255, 255, 255);
  ExpectSegs(WireSegs(), Glyph(1, 300, 200, 0.75));
}

TEST_F(VectorFontTest, CapitalsDrawAsSmallLetters) {
  WriteText("Silkguard", 1, 1, 0xFFFFFF00u, 0, 1, 1, 0, 255, 255, 255);
  const std::vector<Seg> upper = WireSegs();
  ClearDrawLog();
  WriteText("silkguard", 1, 1, 0xFFFFFF00u, 0, 1, 1, 0, 255, 255, 255);
  ASSERT_FALSE(upper.empty());
  ExpectSegs(upper, WireSegs(), 0);
}

TEST_F(VectorFontTest, UnknownCharactersDrawNothingButAdvanceOneCell) {
  for (const char* text : {"_\xC3\xA9x", "_\xE9x", "  x"}) {
    SCOPED_TRACE(text);
    ClearDrawLog();
    WriteText(text, 0, 1, 0xFFFFFF00u, 0, 1, 1, 0, 255, 255, 255);
    ExpectSegs(WireSegs(), Glyph(24, 56, 28, 1));
  }
  // The currency sign both ways.
  for (const char* text : {"\xC2\xA4", "\xA4"}) {
    ClearDrawLog();
    WriteText(text, 1, 1, 0xFFFFFF00u, 0, 1, 1, 0, 255, 255, 255);
    ExpectSegs(WireSegs(), Glyph(27, 28, 28, 1));
  }
}

TEST_F(VectorFontTest, RotationTurnsEachCharacterAboutItsOwnCentre) {
  WriteText("ab", 2, 3, 0xFFFFFF00u, 90, 1, 1, 0, 255, 255, 255);
  ExpectSegs(WireSegs(), Join(Glyph(1, 56, 84, 1, 90), Glyph(2, 84, 84, 1, 90)));
  // At 90 degrees the "a"'s top bar (-9,-6)-(10,-6) stands upright right of its centre.
  const std::vector<Seg> lines = WireSegs();
  EXPECT_NEAR(lines[0].x1, 56 + 6, 1e-9);
  EXPECT_NEAR(lines[0].y1, 84 - 9, 1e-9);
  EXPECT_NEAR(lines[0].y2, 84 + 10, 1e-9);
}

TEST_F(VectorFontTest, NeonTextIsOneBatchOfCappedStripsInTheGlowColour) {
  NeedGlowTexture();
  ScreenOffsetX = 40;
  const long binds = TPoly::BindCount();
  WriteText("ab", 2, 3, 0xFF00FF80u, 0, 1, 1, 0, 1, 2, 3);
  EXPECT_EQ(TPoly::BindCount(), binds + 1) << "the whole text shares one batch";
  ExpectSegs(StripSegs(), Join(Glyph(1, 40 + 56, 84, 1), Glyph(2, 40 + 84, 84, 1)));
  for (const DrawEntry& e : Entries(DrawKind::Strip)) {
    EXPECT_NEAR(HalfWidth(e), GlowWidth16, 1e-3);
    for (const DrawVertex& v : e.points) EXPECT_EQ(v.argb, 0xFF00FF80u);
  }
  EXPECT_TRUE(Entries(DrawKind::Line).empty());

  ClearDrawLog();
  GlowAmount = 2;
  RecomputeGlowWidths();
  WriteTitle("ab", 2, 3, 0xFF00FF80u, 0, 1, 1, 0, 1, 2, 3);
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 9u);
  for (const DrawEntry& e : strips) EXPECT_NEAR(HalfWidth(e), 38, 1e-3);
}

TEST_F(VectorFontTest, ZoomTextFollowsThePopCurveAndHoldsOutOfRangeZooms) {
  NeedGlowTexture();
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 25, 1, 1, 0);
  EXPECT_TRUE(GetDrawLog().empty()) << "zoom 25 is invisible";

  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 5, 1, 1, 0);
  ExpectSegs(StripSegs(), Join(Glyph(1, 56, 84, 1.3), Glyph(2, 84, 84, 1.3)));
  for (const DrawEntry& e : Entries(DrawKind::Strip)) EXPECT_NEAR(HalfWidth(e), 16, 1e-3);

  // The advance and the grid ignore the curve.
  ClearDrawLog();
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 15, 0.5, 2, 0);  // PopScales[10] = 0.5
  ExpectSegs(StripSegs(), Join(Glyph(1, 28, 168, 0.25), Glyph(2, 42, 168, 0.25)));

  ClearDrawLog();
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, -3, 1, 1, 0);
  ExpectSegs(StripSegs(), Join(Glyph(1, 56, 84, 1), Glyph(2, 84, 84, 1)));

  ClearDrawLog();
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 40, 1, 1, 0);
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, std::nan(""), 1, 1, 0);
  ExpectSegs(StripSegs(), Join(Glyph(1, 56, 84, 1), Glyph(2, 84, 84, 1)));
}

TEST_F(VectorFontTest, WireZoomTextKeepsTheCurrentColour) {
  SetColor(10, 20, 30);
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 25, 1, 1, 0);
  EXPECT_TRUE(GetDrawLog().empty()) << "not even a pixel at zoom 25";
  WriteZoomText("ab", 2, 3, 0xFF00FF80u, 0, 1, 1, 0);
  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 9u);
  for (const DrawEntry& e : lines) EXPECT_EQ(e.argb & 0xFFFFFFu, 0x0A141Eu);
  ExpectColour(10, 20, 30);
}

TEST_F(VectorFontTest, BadNumbersDrawNothingAndStillEndWhite) {
  SetColor(1, 2, 3);
  WriteText("ab", std::nan(""), 3, 0xFFFFFF00u, 0, 1, 1, 0, 9, 9, 9);
  WriteText("ab", 2, 3, 0xFFFFFF00u, INFINITY, 1, 1, 0, 9, 9, 9);
  WriteTitle("ab", 2, 3, 0xFFFFFF00u, 0, std::nan(""), 1, 0, 9, 9, 9);
  EXPECT_TRUE(Entries(DrawKind::Line).empty());
  ExpectColour(255, 255, 255);
}

TEST_F(VectorFontTest, NeonTextLightsItsPixels) {
  NeedGlowTexture();
  SetClsColor(0, 0, 0);
  Cls();
  WriteText("i", 10, 10, 0xFFFFFFFFu, 0, 1, 1, 0, 255, 255, 255);
  FinishDrawing();
  glFinish();
  auto probe = [](int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, 768 - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return p[0] + p[1] + p[2];
  };
  EXPECT_GT(probe(280, 283), 300) << "on the stroke of the i";
  EXPECT_EQ(probe(280 + 60, 283), 0) << "well clear of it";
}

// ---- Floating characters -----------------------------------------------------------

TEST_F(VectorFontTest, SpawnMakesOneRecordPerCell) {
  SpawnFloatingText(100, 200, "1000", 1, 1, 0xFFFFFF00u);
  ASSERT_EQ(CharList.Count(), 4u);
  const int xs[] = {100, 126, 152, 178};
  const char* cs[] = {"1", "0", "0", "0"};
  int k = 0;
  for (const chars& c : CharList) {
    EXPECT_EQ(c.x, xs[k]);
    EXPECT_EQ(c.y, 200);
    EXPECT_EQ(c.ch, cs[k]);
    EXPECT_EQ(c.count, 25);
    EXPECT_EQ(c.pause, 2);
    EXPECT_EQ(c.color, 0xFFFFFF00u);
    ++k;
  }

  CharList.Clear();
  SpawnFloatingText(0, 0, "A \xC3\xA9!", 0.5, 2, 7);
  ASSERT_EQ(CharList.Count(), 4u);
  const char* cells[] = {"a", " ", "\xC3\xA9", "!"};
  k = 0;
  for (const chars& c : CharList) {
    EXPECT_EQ(c.ch, cells[k]);
    EXPECT_EQ(c.x, 26 * k);
    EXPECT_DOUBLE_EQ(c.xscale, 0.5);
    EXPECT_DOUBLE_EQ(c.yscale, 2);
    ++k;
  }
}

TEST_F(VectorFontTest, FloatingCharacterShrinksForFiftyFramesThenGoes) {
  NeedGlowTexture();
  ScreenOffsetY = 50;
  SpawnFloatingText(100, 200, "1", 2, 9, 0xFF00FF00u);
  UpdateFloatingTexts();  // the frame it was made in
  ExpectSegs(StripSegs(), Glyph(29, 100, 250, 2 * 1.5));
  ASSERT_EQ(CharList.Count(), 1u);
  EXPECT_EQ(CharList.First()->count, 25);
  EXPECT_EQ(CharList.First()->pause, 1);
  for (const DrawEntry& e : Entries(DrawKind::Strip)) {
    EXPECT_NEAR(HalfWidth(e), 16, 1e-3);
    EXPECT_EQ(e.argb, 0xFF00FF00u);
  }

  ClearDrawLog();
  UpdateFloatingTexts();
  EXPECT_EQ(CharList.First()->count, 24);
  ExpectSegs(StripSegs(), Glyph(29, 100, 250, 2 * 1.44));

  for (int frame = 3; frame <= 49; ++frame) UpdateFloatingTexts();
  ASSERT_EQ(CharList.Count(), 1u) << "still there in its 49th frame";
  EXPECT_EQ(CharList.First()->count, 1);

  ClearDrawLog();
  UpdateFloatingTexts();  // the 50th
  EXPECT_TRUE(CharList.Empty());
  ExpectSegs(StripSegs(), Glyph(29, 100, 250, 2 * 0.01));
}

TEST_F(VectorFontTest, FloatingCharactersInWirePickNumberedColours) {
  SpawnFloatingText(10, 10, "1", 1, 1, 1);
  SetColor(9, 9, 9);
  UpdateFloatingTexts();
  auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].argb & 0xFFFFFFu, 0x40FF40u);
  ExpectColour(255, 255, 255);

  CharList.Clear();
  ClearDrawLog();
  SpawnFloatingText(10, 10, "1", 1, 1, 0xFFFF0000u);  // not a colour number
  SetColor(9, 9, 9);
  UpdateFloatingTexts();
  lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].argb & 0xFFFFFFu, 0x090909u);
  ExpectColour(255, 255, 255);
}

TEST_F(VectorFontTest, HandMadeRecordsOutOfRangeCannotOverrunOrLinger) {
  chars odd;
  odd.ch = "1";
  odd.count = 40;  // beyond the shrink table
  odd.pause = 0;
  CharList.Add(odd);
  odd.count = -5;
  CharList.Add(odd);
  UpdateFloatingTexts();
  ASSERT_EQ(CharList.Count(), 1u);
  EXPECT_EQ(CharList.First()->count, 39);
  // Drawn at the first table entry's size, not from outside the table.
  ExpectSegs({WireSegs()[0]}, {Glyph(29, 0, 0, 1.5)[0]});
}

}  // namespace
