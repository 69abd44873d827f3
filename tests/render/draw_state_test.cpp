// Drawing state, blend cache, viewport and the untextured primitives.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/draw2d.h"
#include "render/draw_fixture.h"
#include "render/draw_log.h"

namespace {

using drawtest::DrawTest;
using drawtest::Entries;
using drawtest::kH;
using drawtest::kW;
using drawtest::ReadBack;

int LoggedAlpha() {
  ClearDrawLog();
  DrawRect(0, 0, 1, 1);
  const auto rects = Entries(DrawKind::Rect);
  return rects.empty() ? -1 : static_cast<int>(rects.back().argb >> 24);
}

TEST_F(DrawTest, AlphaIsClampedAndTruncatedToAByte) {
  SetAlpha(1.5);
  EXPECT_EQ(LoggedAlpha(), 255);
  EXPECT_DOUBLE_EQ(CurrentDrawState().color_alpha, 1.0);
  SetAlpha(-0.2);
  EXPECT_EQ(LoggedAlpha(), 0);
  SetAlpha(0.5);
  EXPECT_EQ(LoggedAlpha(), 127);
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[3], 127 / 255.0, 1e-3) << "the context holds the same alpha byte";
  SetAlpha(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(LoggedAlpha(), 0);
  EXPECT_EQ(CurrentDrawState().color_alpha, 0.0);
}

TEST_F(DrawTest, ColoursAreClampedPerComponent) {
  SetColor(300, -5, 128);
  EXPECT_EQ(CurrentDrawState().color_red, 255);
  EXPECT_EQ(CurrentDrawState().color_green, 0);
  EXPECT_EQ(CurrentDrawState().color_blue, 128);
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], 1.0, 1e-3);
  EXPECT_NEAR(c[1], 0.0, 1e-3);
  EXPECT_NEAR(c[2], 128 / 255.0, 1e-3);

  SetClsColor(-1, 256, 51);
  GLfloat k[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, k);
  EXPECT_NEAR(k[0], 0.0, 1e-3);
  EXPECT_NEAR(k[1], 1.0, 1e-3);
  EXPECT_NEAR(k[2], 0.2, 1e-3);
  EXPECT_NEAR(k[3], 1.0, 1e-3);
}

TEST_F(DrawTest, RedundantBlendIssuesNoGlCall) {
  SetBlend(BLEND_ALPHA);
  const long before = GLStateCalls();
  SetBlend(BLEND_ALPHA);
  EXPECT_EQ(GLStateCalls(), before);
  SetBlend(BLEND_ADD);
  EXPECT_GT(GLStateCalls(), before);
}

struct BlendCase {
  int mode;
  bool blend, alpha_test;
  GLint src, dst;
};

TEST_F(DrawTest, BlendModesSetTheirGlState) {
  const BlendCase cases[] = {
      {BLEND_MASK, false, true, 0, 0},
      {BLEND_SOLID, false, false, 0, 0},
      {BLEND_ALPHA, true, false, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
      {BLEND_ADD, true, false, GL_SRC_ALPHA, GL_ONE},
      {BLEND_MULTIPLY, true, false, GL_DST_COLOR, GL_ZERO},
      {0, false, false, 0, 0},
      {6, false, false, 0, 0},
      {-7, false, false, 0, 0},
  };
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode);
    SetBlend(BLEND_ADD);  // from a state with both switches known
    SetBlend(BLEND_MASK);
    SetBlend(c.mode);
    EXPECT_EQ(glIsEnabled(GL_BLEND) == GL_TRUE, c.blend);
    EXPECT_EQ(glIsEnabled(GL_ALPHA_TEST) == GL_TRUE, c.alpha_test);
    EXPECT_EQ(CurrentDrawState().blend_mode, c.mode);
    if (c.blend) {
      GLint src = 0, dst = 0;
      glGetIntegerv(GL_BLEND_SRC, &src);
      glGetIntegerv(GL_BLEND_DST, &dst);
      EXPECT_EQ(src, c.src);
      EXPECT_EQ(dst, c.dst);
    }
    if (c.alpha_test) {
      GLint func = 0;
      GLfloat ref = 0;
      glGetIntegerv(GL_ALPHA_TEST_FUNC, &func);
      glGetFloatv(GL_ALPHA_TEST_REF, &ref);
      EXPECT_EQ(func, GL_GEQUAL);
      EXPECT_FLOAT_EQ(ref, 0.5f);
    }
  }
}

TEST_F(DrawTest, ViewportClipsWithTheBoxMeasuredFromTheBottom) {
  SetViewport(10, 20, 100, 50);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  GLint box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 10);
  EXPECT_EQ(box[1], kH - 20 - 50);
  EXPECT_EQ(box[2], 100);
  EXPECT_EQ(box[3], 50);

  SetColor(255, 255, 255);
  DrawRect(0, 0, kW, kH);
  EXPECT_EQ(ReadBack(10, 20).r, 255);
  EXPECT_EQ(ReadBack(109, 69).r, 255);
  EXPECT_EQ(ReadBack(9, 20).r, 0);
  EXPECT_EQ(ReadBack(10, 19).r, 0);
  EXPECT_EQ(ReadBack(110, 69).r, 0);
  EXPECT_EQ(ReadBack(109, 70).r, 0);

  SetViewport(0, 0, kW, kH);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  SetViewport(0, 0, kW, kH - 1);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));

  while (glGetError() != GL_NO_ERROR) {
  }
  SetViewport(10, 10, -5, -5);  // nonsense sizes clip everything, without a GL error
  SetLineWidth(0);
  SetLineWidth(std::nan(""));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  SetLineWidth(1);
}

TEST_F(DrawTest, ClsClearsTheWholeWindowEvenWhenClipped) {
  SetViewport(50, 50, 20, 20);
  SetClsColor(0, 0, 255);
  Cls();
  EXPECT_EQ(ReadBack(5, 5).b, 255);
  EXPECT_EQ(ReadBack(60, 60).b, 255);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << "clipping stays as set";
  const auto clears = Entries(DrawKind::Clear);
  ASSERT_EQ(clears.size(), 1u);
  EXPECT_EQ(clears[0].argb, 0xFF0000FFu);
}

TEST_F(DrawTest, OvalSegmentCountFollowsItsSize) {
  struct Case {
    double w, h;
    size_t segs;
  };
  const Case cases[] = {{10, 10, 12},    {100, 60, 80}, {30, 30, 28},
                        {-100, -60, 80}, {0, 0, 12},    {31, 31, 28}};
  for (const Case& c : cases) {
    ClearDrawLog();
    DrawOval(100, 100, c.w, c.h);
    const auto ovals = Entries(DrawKind::Oval);
    ASSERT_EQ(ovals.size(), 1u);
    EXPECT_EQ(ovals[0].points.size(), c.segs) << c.w << " x " << c.h;
  }
  // The first vertex lies on the right end of the horizontal axis, then the outline
  // runs upwards (y shrinking).
  ClearDrawLog();
  DrawOval(100, 100, 100, 60);
  const DrawEntry oval = Entries(DrawKind::Oval).at(0);
  EXPECT_NEAR(oval.points[0].x, 200, 1e-9);
  EXPECT_NEAR(oval.points[0].y, 130, 1e-9);
  EXPECT_NEAR(oval.points[20].x, 150, 1e-9);
  EXPECT_NEAR(oval.points[20].y, 100, 1e-9);

  DrawOval(0, 0, std::nan(""), 10);  // draws nothing, does not hang or crash
  DrawOval(0, 0, 1e300, 1e300);
  EXPECT_LE(GetDrawLog().back().points.size(), 4096u);
}

TEST_F(DrawTest, LinesRunThroughPixelCentresAndPlotTheLastPixel) {
  SetColor(255, 255, 255);
  DrawLine(10, 20, 30, 20, 0);
  EXPECT_EQ(ReadBack(10, 20).r, 255);
  EXPECT_EQ(ReadBack(29, 20).r, 255);
  EXPECT_EQ(ReadBack(30, 20).r, 0) << "without the last pixel the end stays dark";
  EXPECT_EQ(ReadBack(20, 19).r, 0);
  EXPECT_EQ(ReadBack(20, 21).r, 0);

  DrawLine(10, 40, 30, 40, 1);
  EXPECT_EQ(ReadBack(30, 40).r, 255);
  EXPECT_EQ(ReadBack(31, 40).r, 0);

  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[1].points[0].x, 10.5);
  EXPECT_DOUBLE_EQ(lines[1].points[0].y, 40.5);
  EXPECT_DOUBLE_EQ(lines[1].points[1].x, 30.5);
  const auto points = Entries(DrawKind::Point);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_DOUBLE_EQ(points[0].points[0].x, 30.5);
  EXPECT_DOUBLE_EQ(points[0].points[0].y, 40.5);

  Plot(5, 7);
  EXPECT_EQ(ReadBack(5, 7).r, 255);
  EXPECT_EQ(ReadBack(6, 7).r, 0);
}

TEST_F(DrawTest, RectanglesFillTheirBoxAndTakeTheColour) {
  SetColor(0, 255, 0);
  DrawRect(40, 50, 10, 5);
  EXPECT_EQ(ReadBack(40, 50).g, 255);
  EXPECT_EQ(ReadBack(49, 54).g, 255);
  EXPECT_EQ(ReadBack(50, 54).g, 0);
  EXPECT_EQ(ReadBack(49, 55).g, 0);
  EXPECT_EQ(ReadBack(45, 52).r, 0);
  const auto rects = Entries(DrawKind::Rect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].argb, 0xFF00FF00u);
  EXPECT_EQ(rects[0].blend, BLEND_SOLID);
  EXPECT_EQ(rects[0].texture, 0u);
}

TEST_F(DrawTest, RotationTurnsClockwiseOnScreen) {
  SetRotation(90);
  DrawRect(100, 100, 10, 20);
  const auto rects = Entries(DrawKind::Rect);
  ASSERT_EQ(rects.size(), 1u);
  // The rectangle's x axis now points down the screen.
  EXPECT_NEAR(rects[0].points[1].x, 100, 1e-9);
  EXPECT_NEAR(rects[0].points[1].y, 110, 1e-9);
  EXPECT_NEAR(rects[0].points[3].x, 80, 1e-9);
  EXPECT_NEAR(rects[0].points[3].y, 100, 1e-9);
  SetRotation(std::nan(""));
  EXPECT_DOUBLE_EQ(CurrentDrawState().tform_ix, 1.0);
}

TEST_F(DrawTest, TextUsesEightBySixteenGlyphsAndTheCurrentColour) {
  SetBlend(BLEND_ALPHA);
  SetColor(255, 0, 0);
  DrawText("I I", 20, 30);
  const auto texts = Entries(DrawKind::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "I I");
  ASSERT_EQ(texts[0].points.size(), 8u) << "two glyph quads; the space is not drawn";
  EXPECT_DOUBLE_EQ(texts[0].points[0].x, 20);
  EXPECT_DOUBLE_EQ(texts[0].points[0].y, 30);
  EXPECT_DOUBLE_EQ(texts[0].points[2].x, 28);
  EXPECT_DOUBLE_EQ(texts[0].points[2].y, 46);
  EXPECT_DOUBLE_EQ(texts[0].points[4].x, 36) << "the pen advanced 8 px per character";
  EXPECT_NE(texts[0].texture, 0u);

  // The capital I has a bar across its top row (row 2) from column 1 to 5 and a
  // stem in column 3.
  EXPECT_EQ(ReadBack(21, 32).r, 255);
  EXPECT_EQ(ReadBack(25, 32).r, 255);
  EXPECT_EQ(ReadBack(20, 32).r, 0);
  EXPECT_EQ(ReadBack(23, 36).r, 255);
  EXPECT_EQ(ReadBack(22, 36).r, 0);
  EXPECT_EQ(ReadBack(23, 36).g, 0);
  EXPECT_EQ(ReadBack(39, 36).r, 255) << "second I";

  ClearDrawLog();
  // Characters without a glyph (a control, a two-byte UTF-8 letter) are blanks of their
  // own: the I after them stands two places in.
  DrawText("\x01\xC3\xA9I", 0, 0);
  ASSERT_EQ(Entries(DrawKind::Text).size(), 1u);
  ASSERT_EQ(Entries(DrawKind::Text)[0].points.size(), 4u);
  EXPECT_DOUBLE_EQ(Entries(DrawKind::Text)[0].points[0].x, 16);
}

TEST_F(DrawTest, NoLogEntriesWhileTheLogIsOff) {
  EnableDrawLog(false);
  DrawLine(0, 0, 10, 10);
  DrawOval(0, 0, 10, 10);
  Cls();
  EXPECT_TRUE(GetDrawLog().empty());
}

}  // namespace
