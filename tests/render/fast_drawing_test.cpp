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
  FinishDrawing();
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  return px;
}

// Channels that differ (the whole frame is too long to print).
int Differences(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return -1;
  int n = 0;
  for (std::size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

// A sprite adds its strips' light after rounding it once on its own, where the strips
// would have been rounded onto what lies below: a level off at a few pixels at most.
void ExpectAlmostSame(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  ASSERT_EQ(a.size(), b.size());
  int worst = 0;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i % 4 == 3) continue;  // alpha is never shown
    const int d = std::abs(a[i] - b[i]);
    worst = std::max(worst, d);
    differing += d != 0;
  }
  EXPECT_LE(worst, 1);
  EXPECT_LT(differing, a.size() / 1000);
}

int LitPixels(const std::vector<std::uint8_t>& px) {
  int lit = 0;
  for (std::size_t i = 0; i < px.size(); i += 4) lit += px[i] + px[i + 1] + px[i + 2] > 0;
  return lit;
}

// The glow texture, loaded once for the strip tests; the strip renderer set up.
bool LoadDot() {
  if (!DotImage) {
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    if (DotImage) CenterImageHandle(DotImage);
  }
  InitGlowDrawing();
  return DotImage != nullptr;
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
  ASSERT_TRUE(LoadDot());
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
  ASSERT_TRUE(LoadDot());
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

// A frame like the game's: a backdrop, a first batch of lines (the web) and then
// things that move. `shade` changes one line of the first batch.
void LayeredFrame(const ImageHandle& backdrop, int shade, int mover) {
  Cls();
  DrawImage(backdrop, 0, 0, 0);
  {
    GlowBatch web;
    for (int i = 0; i < 8; ++i)
      web.Line(10 + 35 * i, 15, 300 - 35 * i, 225,
               LineLook{0xFF2040FFu, 32, 64, 255, 16, i == 3 ? 1 : 2});
    web.Line(10, 120, 310, 120, LineLook{0xFF000000u | (shade << 8), 0, shade, 0, 16, 2});
  }
  GlowLine(20 + mover, 200, 60 + mover, 180, 0xFFFF8000u, 255, 128, 0);
  DrawRect(5 + mover, 5, 10, 10);
}

class LayerCacheTest : public FastDrawingTest {
 protected:
  void SetUp() override {
    FastDrawingTest::SetUp();
    ASSERT_TRUE(LoadDot());
    std::vector<std::uint8_t> px;
    for (int i = 0; i < kW * kH; ++i)
      px.insert(px.end(),
                {static_cast<std::uint8_t>(i % 97), static_cast<std::uint8_t>(i % 53), 60});
    backdrop_ = drawtest::LoadBytes("layer_backdrop.png", drawtest::EncodePng(kW, kH, 3, px), 3);
    ASSERT_TRUE(backdrop_);
    Flip(0);  // the fixture's clear began a frame; each test starts a new one
  }
  void TearDown() override {
    backdrop_.reset();
    DotImage.reset();
    FastDrawingTest::TearDown();
  }
  // The frame drawn without the layer cache, from the state the game frames start in.
  std::vector<std::uint8_t> PlainFrame(int shade, int mover) {
    SetLayerCache(false);
    StartOfFrame();
    LayeredFrame(backdrop_, shade, mover);
    std::vector<std::uint8_t> px = WholeFrame();
    SetLayerCache(true);
    Flip(0);
    return px;
  }
  // Frames of the layered picture standing still: its layer kept and shown.
  void ShowStillFrames(int count) {
    for (int frame = 0; frame < count; ++frame) {
      StartOfFrame();
      LayeredFrame(backdrop_, 255, 0);
      Flip(0);
    }
  }
  void StartOfFrame() {
    SetColor(255, 255, 255);
    SetBlend(NeonMode == 1 ? BLEND_ADD : BLEND_SOLID);
  }
  ImageHandle backdrop_;
};

TEST_F(LayerCacheTest, ARepeatedFirstLayerIsCopiedBackAsDrawn) {
  for (const int neon : {1, 0}) {
    SCOPED_TRACE(neon);
    NeonMode = neon;
    ResetDrawState();
    const long shown = LayersShown();
    std::vector<std::uint8_t> last;
    for (int frame = 0; frame < 4; ++frame) {
      StartOfFrame();
      LayeredFrame(backdrop_, 255, frame);
      last = WholeFrame();
      Flip(0);
    }
    // Recorded once, copied aside when it repeats, copied back from the third frame.
    EXPECT_EQ(LayersShown(), shown + 2);
    EXPECT_EQ(Differences(last, PlainFrame(255, 3)), 0);
  }
}

TEST_F(LayerCacheTest, AChangedLayerIsDrawnAfresh) {
  NeonMode = 1;
  ResetDrawState();
  ShowStillFrames(3);
  const long shown = LayersShown();
  StartOfFrame();
  LayeredFrame(backdrop_, 128, 0);  // one strand dimmer
  const std::vector<std::uint8_t> changed = WholeFrame();
  Flip(0);
  EXPECT_EQ(LayersShown(), shown);
  EXPECT_EQ(Differences(changed, PlainFrame(128, 0)), 0);
  // A new backdrop image with the same pixels is another layer too.
  backdrop_ = drawtest::LoadBytes(
      "layer_backdrop2.png", drawtest::EncodePng(2, 2, 3, std::vector<std::uint8_t>(12, 250)), 3);
  StartOfFrame();
  LayeredFrame(backdrop_, 128, 0);
  const std::vector<std::uint8_t> other = WholeFrame();
  Flip(0);
  EXPECT_EQ(Differences(other, PlainFrame(128, 0)), 0);
  EXPECT_EQ(LayersShown(), shown);
}

// What is kept grows to every batch the frames share and shrinks when one changes.
TEST_F(LayerCacheTest, TheKeptLayerFollowsWhatFramesShare) {
  NeonMode = 1;
  ResetDrawState();
  // Frames 0-3 share all but the mover; frames 4-5 change the web, frames 6-8 keep it.
  auto draw = [&](int frame) {
    StartOfFrame();
    Cls();
    DrawImage(backdrop_, 0, 0, 0);
    GlowLine(10, 10, 300, 10, 0xFF2040FFu, 32, 64, 255);
    GlowLine(10, 200, 300, frame == 4 || frame == 5 ? 220 - frame : 200, 0xFFFF4040u, 255, 64, 64);
    GlowLine(10, 100, 300, 100, 0xFF40FF40u, 64, 255, 64);
    GlowLine(20 + frame, 50, 200, 150, 0xFFFFFFFFu, 255, 255, 255);
  };
  std::vector<std::uint8_t> cached[9], plain[9];
  for (const bool cache : {true, false}) {
    SetLayerCache(cache);
    for (int frame = 0; frame < 9; ++frame) {
      const long shown = LayersShown();
      draw(frame);
      (cache ? cached : plain)[frame] = WholeFrame();
      Flip(0);
      if (!cache) continue;
      SCOPED_TRACE(frame);
      // Kept after frame 1 and shown from frame 2. Frame 4 changes the red line: the run
      // up to it is kept instead and shown from frame 5 on, and once frames 6 and 7 share
      // all but the mover again, all of that is kept.
      const bool copied = frame >= 2 && frame != 4;
      EXPECT_EQ(LayersShown() - shown, copied ? 1 : 0);
    }
  }
  SetLayerCache(true);
  for (int frame = 0; frame < 9; ++frame) {
    SCOPED_TRACE(frame);
    ExpectAlmostSame(cached[frame], plain[frame]);
  }
}

// A screen that clears twice in a frame keeps the first clear's layer only, and the
// frame shows what the second drew.
TEST_F(LayerCacheTest, ASecondClearInAFrameKeepsNoLayer) {
  NeonMode = 1;
  ResetDrawState();
  const long shown = LayersShown();
  std::vector<std::uint8_t> last;
  for (int frame = 0; frame < 4; ++frame) {
    StartOfFrame();
    LayeredFrame(backdrop_, 255, 0);
    LayeredFrame(backdrop_, 128, frame);
    last = WholeFrame();
    Flip(0);
  }
  EXPECT_EQ(LayersShown(), shown + 2);
  SetLayerCache(false);
  StartOfFrame();
  LayeredFrame(backdrop_, 128, 3);
  ExpectAlmostSame(last, WholeFrame());  // its still batches may be sprites
  Flip(0);
  SetLayerCache(true);
}

// Wire lines set the colour; a copied layer must leave the state the calls would have.
TEST_F(LayerCacheTest, TheStateALayerLeavesHoldsWhenItIsCopiedBack) {
  NeonMode = 0;
  ResetDrawState();
  auto frame = [&] {
    StartOfFrame();
    Cls();
    DrawImage(backdrop_, 0, 0, 0);
    {
      GlowBatch web(GlowBatch::kCallersColour);
      SetColor(0, 255, 0);
      web.Line(10, 10, 300, 200, LineLook{0, 255, 0, 0, 16});
    }
    SetAlpha(1);
    DrawRect(100, 100, 30, 30);  // in the green the layer left
  };
  const long shown = LayersShown();
  for (int i = 0; i < 3; ++i) {
    frame();
    Flip(0);
  }
  frame();
  EXPECT_EQ(LayersShown(), shown + 2);
  EXPECT_EQ(CurrentDrawState().color_green, 255);
  const drawtest::Px p = drawtest::ReadBack(110, 110);
  EXPECT_EQ(p.r, 0);
  EXPECT_EQ(p.g, 255);
  EXPECT_EQ(p.b, 0);
}

TEST_F(LayerCacheTest, PixelsReadAmidALayerShowIt) {
  NeonMode = 1;
  ResetDrawState();
  StartOfFrame();
  Cls();
  DrawImage(backdrop_, 0, 0, 0);  // still on the tape
  const drawtest::Px p = drawtest::ReadBack(7, 0);
  EXPECT_EQ(p.r, 7);
  EXPECT_EQ(p.g, 7);
  EXPECT_EQ(p.b, 60);
  Flip(0);
}

// The pixels kept aside belong to a context; a new one starts afresh.
TEST_F(LayerCacheTest, ANewContextNeverShowsTheOldLayer) {
  NeonMode = 1;
  ResetDrawState();
  ShowStillFrames(3);
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 0, 0)) << DisplayError();
  InitGlowDrawing();
  const long shown = LayersShown();
  StartOfFrame();
  LayeredFrame(backdrop_, 255, 0);
  const std::vector<std::uint8_t> first = WholeFrame();
  Flip(0);
  EXPECT_EQ(LayersShown(), shown);
  EXPECT_EQ(Differences(first, PlainFrame(255, 0)), 0);
}

// Strips added over a backdrop and a web: a batch moving by a quarter pixel a frame,
// then still ones, dim and bright, crossing each other till they saturate. The frames
// share the backdrop and the web; the still batches come after the moving one, so
// they are sprites.
void SpriteFrame(const ImageHandle& backdrop, int frame) {
  Cls();
  DrawImage(backdrop, 0, 0, 0);
  GlowLine(0, 120, 320, 120, 0xFF2040FFu, 32, 64, 255);
  {
    GlowBatch mover;
    const double dx = 0.25 * frame;
    mover.Line(40 + dx, 40, 280 + dx, 200, LineLook{0xFF40FF80u, 64, 255, 128, GlowWidth20, 2});
  }
  for (int i = 0; i < 6; ++i)
    GlowPolygon(60 + 40 * i, 100 + 7 * i, 5 * i, 3 + i, 30, i % 2 ? 0xFFFFFFFFu : 0xFF804020u, 255,
                255, 255);
  {
    GlowBatch faint;  // translucent vertex colours
    faint.Line(10, 220, 310, 20, LineLook{0x60FFC000u, 255, 192, 0, GlowWidth16});
  }
}

class SpriteTest : public LayerCacheTest {
 protected:
  std::vector<std::uint8_t> Frames(int count, bool cache) {
    SetLayerCache(cache);
    std::vector<std::uint8_t> last;
    for (int frame = 0; frame < count; ++frame) {
      StartOfFrame();
      SpriteFrame(backdrop_, frame);
      last = WholeFrame();
      Flip(0);
    }
    SetLayerCache(true);
    return last;
  }
};

TEST_F(SpriteTest, BatchesRepeatedFromFrameToFrameAreAddedBackAsDrawn) {
  NeonMode = 1;
  ResetDrawState();
  const long shown = SpritesShown();
  const std::vector<std::uint8_t> cached = Frames(5, true);
  // Seven still batches, kept in the second frame and shown from the atlas in it and
  // the three after; the moving one never is.
  EXPECT_EQ(SpritesShown() - shown, 4 * 7);
  ExpectAlmostSame(cached, Frames(5, false));
}

TEST_F(SpriteTest, OnlyAdditiveStripsBecomeSprites) {
  NeonMode = 1;
  ResetDrawState();
  const long shown = SpritesShown();
  SetLayerCache(true);
  for (int frame = 0; frame < 3; ++frame) {
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SpriteFrame(backdrop_, 0);
    Flip(0);
  }
  EXPECT_EQ(SpritesShown(), shown);
}

// A viewport cuts the sprites as it cuts the strips.
TEST_F(SpriteTest, ASpriteIsClippedByTheViewport) {
  NeonMode = 1;
  ResetDrawState();
  std::vector<std::uint8_t> frames[2];
  const long shown = SpritesShown();
  for (const bool cache : {true, false}) {
    SetLayerCache(cache);
    for (int frame = 0; frame < 4; ++frame) {
      StartOfFrame();
      SetViewport(50, 30, 200, 150);
      SpriteFrame(backdrop_, frame);
      frames[cache ? 0 : 1] = WholeFrame();
      Flip(0);
    }
  }
  SetLayerCache(true);
  EXPECT_GT(SpritesShown(), shown);
  ExpectAlmostSame(frames[0], frames[1]);
}

// More still batches than the atlas holds: it starts again, and every frame still
// shows what its strips would.
TEST_F(SpriteTest, AFullAtlasStartsAgainWithoutLosingAPixel) {
  NeonMode = 1;
  ResetDrawState();
  int moved = 0;
  auto frame = [&] {
    StartOfFrame();
    Cls();
    DrawImage(backdrop_, 0, 0, 0);
    GlowLine(0, 0, 1 + moved++, 1, 0xFF000010u, 0, 0, 16);  // keeps the rest from the layer
    // Each nearly fills the window; 2048 x 2048 holds 48 of them.
    for (int i = 0; i < 60; ++i)
      GlowLine(2 + i % 7, 5 + i % 11, 318 - i % 5, 230 - i % 3, 0xFF030302u + (i % 3), 3, 3, 2);
  };
  std::vector<std::uint8_t> frames[2];
  const long shown = SpritesShown();
  for (const bool cache : {true, false}) {
    SetLayerCache(cache);
    moved = 0;
    for (int i = 0; i < 3; ++i) {
      frame();
      frames[cache ? 0 : 1] = WholeFrame();
      Flip(0);
    }
  }
  SetLayerCache(true);
  EXPECT_GT(SpritesShown(), shown);
  EXPECT_GT(LitPixels(frames[1]), kW * kH / 2);
  ExpectAlmostSame(frames[0], frames[1]);
}

}  // namespace
