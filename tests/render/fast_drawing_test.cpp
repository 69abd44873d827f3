// The fast drawing paths against the plain ones: the same calls must give the same
// pixels, whatever comes between them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/draw_fixture.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

using drawtest::kH;
using drawtest::kW;

std::vector<std::uint8_t> WholeFrame() {
  std::vector<std::uint8_t> px(static_cast<std::size_t>(kW) * kH * 4);
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  return px;
}

int LitPixels(const std::vector<std::uint8_t>& px) {
  int lit = 0;
  for (std::size_t i = 0; i < px.size(); i += 4) lit += px[i] + px[i + 1] + px[i + 2] > 0;
  return lit;
}

// The draw log is off here: it turns the fast paths off.
class FastDrawingTest : public drawtest::DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    EnableDrawLog(false);
    saved_neon_ = NeonMode;
    NeonMode = 0;
  }
  void TearDown() override {
    SetFastDrawing(true);
    NeonMode = saved_neon_;
    DrawTest::TearDown();
  }
  // The picture both ways; at most `tolerance` levels apart on any channel, and lit.
  template <typename Draw>
  void ExpectSamePixels(int blend, Draw draw, int tolerance = 0) {
    std::vector<std::uint8_t> frames[2];
    for (const bool fast : {false, true}) {
      SetFastDrawing(fast);
      ResetDrawState();
      SetBlend(blend);
      Cls();
      draw();
      frames[fast ? 1 : 0] = WholeFrame();
    }
    EXPECT_GT(LitPixels(frames[0]), 0);
    int worst = 0;
    // Alpha is never shown and no blend reads it back.
    for (std::size_t i = 0; i < frames[0].size(); ++i)
      if (i % 4 != 3) worst = std::max(worst, std::abs(frames[0][i] - frames[1][i]));
    EXPECT_LE(worst, tolerance);
  }
  int saved_neon_ = 0;
};

// Crossing wire lines of several colours, a rectangle drawn in the middle of the batch,
// a nested batch and a colour set by hand: queued lines must land in the order drawn.
void CrossingLines() {
  GlowBatch outer;
  const LineLook red{0, 255, 0, 0, 16};
  const LineLook green{0, 0, 255, 0, 16};
  for (int i = 0; i < 12; ++i) outer.Line(10 + 20 * i, 10, 250 - 20 * i, 200, i % 3 ? red : green);
  SetColor(0, 0, 255);
  DrawRect(100, 90, 60, 30);
  outer.Line(20, 100, 300, 110, red);
  {
    GlowBatch inner(GlowBatch::kCallersColour);
    SetColor(255, 255, 0);
    inner.Line(0, 105, 319, 95, red);  // the caller's yellow, not red
  }
  outer.Polygon(160, 120, 0, 5, 80, green);
  outer.Line(5, 230, 5, 230, red);  // no length: only its last pixel
}

TEST_F(FastDrawingTest, QueuedWireLinesGiveThePlainPixelsUnderEveryBlend) {
  for (const int blend : {BLEND_SOLID, BLEND_ALPHA, BLEND_ADD, BLEND_MASK}) {
    SCOPED_TRACE(blend);
    ExpectSamePixels(blend, CrossingLines);
  }
}

TEST_F(FastDrawingTest, BackdropCopyGivesTheBlendedPixels) {
  // Opaque with a masked (black) border: the copied case.
  std::vector<std::uint8_t> opaque, soft;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const bool border = x < 4 || y < 4;
      const auto v = static_cast<std::uint8_t>(x * 4);
      opaque.insert(opaque.end(), {border ? std::uint8_t{0} : v, static_cast<std::uint8_t>(y * 3),
                                   border ? std::uint8_t{0} : std::uint8_t{200}});
      // Part-transparent: must be blended, never copied.
      soft.insert(soft.end(), {v, 90, 200, static_cast<std::uint8_t>(y * 4)});
    }
  }
  ImageHandle hard_image =
      drawtest::LoadBytes("fast_opaque.png", drawtest::EncodePng(64, 64, 3, opaque), 3);
  ImageHandle soft_image =
      drawtest::LoadBytes("fast_soft.png", drawtest::EncodePng(64, 64, 4, soft), 3);
  ASSERT_TRUE(hard_image && soft_image);
  for (const int blend : {BLEND_SOLID, BLEND_ALPHA, BLEND_ADD, BLEND_MASK}) {
    SCOPED_TRACE(blend);
    ExpectSamePixels(blend, [&] { DrawImage(hard_image, 10, 20, 0); });
    ExpectSamePixels(blend, [&] { DrawImage(soft_image, 10, 20, 0); });
    // Tinted, or over something already drawn: only a blend gives the right pixels.
    ExpectSamePixels(blend, [&] {
      SetColor(255, 128, 64);
      DrawImage(hard_image, 10, 20, 0);
    });
    ExpectSamePixels(blend, [&] {
      SetColor(90, 90, 90);
      DrawRect(30, 30, 100, 100);
      SetColor(255, 255, 255);
      DrawImage(hard_image, 10, 20, 0);
    });
    // Between pixels: filtered, never copied.
    ExpectSamePixels(blend, [&] { DrawImage(hard_image, 10.5, 20.25, 0); });
  }
}

// Strands glowing twice, crossing and piling up till they saturate, among strips
// drawn once, a translucent one and a half-transparent rectangle: one pass at double
// strength must look the same.
TEST_F(FastDrawingTest, DoubledStrandsLookLikeTwoPasses) {
  if (!DotImage) {
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    if (DotImage) CenterImageHandle(DotImage);
  }
  ASSERT_TRUE(DotImage);
  InitGlowDrawing();
  NeonMode = 1;
  const LineLook twice[] = {{0xFF0000FFu, 0, 0, 255, 20, 2},
                            {0xFFFF0000u, 255, 0, 0, 20, 2},
                            {0xFF80FF40u, 128, 255, 64, 24, 2}};
  const LineLook once{0xFF00FF00u, 0, 255, 0, 16, 1};
  const LineLook faint{0x80FFFFFFu, 255, 255, 255, 16, 2};
  ExpectSamePixels(
      BLEND_ADD,
      [&] {
        GlowBatch batch;
        for (int i = 0; i < 9; ++i) batch.Line(20 + 30 * i, 20, 300 - 30 * i, 220, twice[i % 3]);
        batch.Line(10, 120, 310, 120, once);
        for (int i = 0; i < 4; ++i) batch.Line(160, 20, 160 + i, 220, twice[1]);  // saturates
        batch.Line(10, 60, 310, 180, faint);
        // Anything else drawn amid doubled strands is drawn the plain way.
        SetAlpha(0.5);
        DrawRect(40, 150, 80, 40);
        SetAlpha(1);
        batch.Line(20, 200, 300, 40, twice[2]);
      },
      // Each doubled strip may round a level away from its two passes; up to four
      // pile up here (the game's web stays within 2: bench_fast_drawing).
      4);
  DotImage.reset();
}

// A rectangle drawn amid a batch's strips turns texturing off; the next strip must
// still glow rather than fill its whole width.
TEST_F(FastDrawingTest, AStripAfterAnotherPrimitiveInItsBatchIsStillAGlow) {
  if (!DotImage) {
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    if (DotImage) CenterImageHandle(DotImage);
  }
  ASSERT_TRUE(DotImage);
  InitGlowDrawing();
  NeonMode = 1;
  for (const bool fast : {false, true}) {
    SCOPED_TRACE(fast);
    SetFastDrawing(fast);
    ResetDrawState();
    SetBlend(BLEND_ADD);
    Cls();
    {
      GlowBatch batch;
      batch.Line(20, 40, 300, 40, LineLook{0xFFFF0000u, 255, 0, 0, 20, 1});
      DrawRect(10, 200, 5, 5);
      batch.Line(20, 120, 300, 120, LineLook{0xFFFF0000u, 255, 0, 0, 20, 1});
    }
    // Near the edge of each strip the glow has all but faded.
    EXPECT_LT(drawtest::ReadBack(160, 40 + 18).r, 40);
    EXPECT_LT(drawtest::ReadBack(160, 120 + 18).r, 40);
    EXPECT_GT(drawtest::ReadBack(160, 120).r, 100);
  }
  DotImage.reset();
}

}  // namespace
