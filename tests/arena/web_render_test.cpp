// The web as a player sees it: real pixels of an offscreen 1440 x 900 window with the
// play area centred in it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "arena/level_start.h"
#include "arena/web.h"
#include "embedded_assets.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "support/pixels.h"

namespace {

int Brightness(const Rgb& c) {
  return c.r + c.g + c.b;
}

class WebRenderTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1440, 900);
    display_ = OpenDisplay(1440, 900, 0, 0, 0);
    if (!display_) return;
    SetBlend(BLEND_ADD);
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png");
    if (DotImage) CenterImageHandle(DotImage);
  }
  void SetUp() override {
    ASSERT_TRUE(display_) << "no offscreen display";
    SetScreenSize(1440, 900);
    SetViewport(ScreenOffsetX, ScreenOffsetY, kPlayWidth, kPlayHeight);
    BackgroundOn = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    LoadWebLayouts();
    LoadColorTable();
  }
  void TearDown() override {
    NeonMode = 0;
    WebColourStep = 0;
  }

  // Window pixel of a play-area point.
  static Rgb At(int x, int y) { return ReadPixel(x + ScreenOffsetX, y + ScreenOffsetY); }

  static void Present(const char* shot) {
    Flip(0);
    if (const char* dir = std::getenv("SG_SCREENSHOT_DIR")) {
      const std::string path = std::string(dir) + "/" + shot + ".png";
      EXPECT_TRUE(SaveScreenshot(path.c_str())) << path;
    }
  }

  // Every probe on a grid over the window outside the play area is black.
  static int LitOutsidePlayArea() {
    int lit = 0;
    for (int y = 0; y < 900; y += 3)
      for (int x = 0; x < 1440; x += 3) {
        const bool inside = x >= ScreenOffsetX && x < ScreenOffsetX + kPlayWidth &&
                            y >= ScreenOffsetY && y < ScreenOffsetY + kPlayHeight;
        if (!inside && Brightness(ReadPixel(x, y)) > 0) ++lit;
      }
    return lit;
  }

  static inline bool display_ = false;
};

// Ring 6, segment 1 of level 1 is green and runs level along y = 177 from x = 392 to
// 633; nothing else crosses x = 512 within 30 pixels of it.
constexpr int kGreenX = 512;
constexpr int kGreenY = 177;

TEST_F(WebRenderTest, NeonLevelOneGlowsAlongItsGreenSegment) {
  ASSERT_TRUE(DotImage) << "glow texture not available yet";
  NeonMode = 1;
  BeginLevel(1);
  Cls();
  DrawWeb();
  Present("web_neon_level1");

  const Rgb centre = At(kGreenX, kGreenY);
  const Rgb near = At(kGreenX, kGreenY + 5);
  const Rgb fringe = At(kGreenX, kGreenY - 12);
  EXPECT_GT(centre.g, 200);
  EXPECT_GT(centre.g, centre.r + 50);
  EXPECT_GT(centre.g, centre.b + 50);
  EXPECT_GT(near.g, 0) << "no glow a few pixels off the line";
  EXPECT_GT(Brightness(centre), 2 * Brightness(near));
  EXPECT_GE(near.g, fringe.g);
  // Ring 8's top segment (blue, y = 108) has nothing above it: its glow ends within
  // its half-width.
  EXPECT_GT(At(512, 108 - 12).b, 0);
  EXPECT_EQ(Brightness(At(512, 108 - 24)), 0) << "glow wider than its strip";
  // Along the whole segment, not only at one point.
  for (int x = 400; x <= 620; x += 22) EXPECT_GT(At(x, kGreenY).g, 150) << x;

  // Ring 5, segment 1 is blue.
  const Rgb blue = At(kGreenX, 211);
  EXPECT_GT(blue.b, 200);
  EXPECT_GT(blue.b, blue.g + 50);

  EXPECT_EQ(LitOutsidePlayArea(), 0);
}

TEST_F(WebRenderTest, WireLevelOneIsOnePixelLines) {
  NeonMode = 0;
  BeginLevel(1);
  Cls();
  DrawWeb();
  Present("web_wire_level1");

  int lit_rows = 0;
  int lit_y = -1;
  Rgb lit;
  for (int y = kGreenY - 12; y <= kGreenY + 12; ++y) {
    const Rgb c = At(kGreenX, y);
    if (Brightness(c) > 0) {
      ++lit_rows;
      lit_y = y;
      lit = c;
    }
  }
  EXPECT_EQ(lit_rows, 1);
  EXPECT_LE(std::abs(lit_y - kGreenY), 1);
  EXPECT_EQ(lit.r, 64);
  EXPECT_EQ(lit.g, 255);
  EXPECT_EQ(lit.b, 64);

  // Spoke 12 is the only line across y = 330 between x = 470 and 490.
  int blue_hits = 0;
  for (int x = 470; x <= 490; ++x) {
    const Rgb c = At(x, 330);
    if (c.b == 255 && c.r == 64 && c.g == 64) ++blue_hits;
  }
  EXPECT_GE(blue_hits, 1);
  EXPECT_LE(blue_hits, 2);

  EXPECT_EQ(LitOutsidePlayArea(), 0);
}

TEST_F(WebRenderTest, LevelCompleteWebFlowsOutwardInPaletteColours) {
  ASSERT_TRUE(DotImage) << "glow texture not available yet";
  NeonMode = 1;
  BeginLevel(4);
  for (int step : {0, 3, 5, 8, 12}) {
    WebColourStep = step;
    Cls();
    PrimeGlow();
    DrawLevelCompleteWeb();
    const std::string name = "web_complete_step" + std::to_string(step);
    Present(name.c_str());
    if (step != 5) continue;
    // Step 5: ring 1 takes row 16 (red), the spokes row 8 (magenta).
    const Rgb ring1 = At(512, 350);
    EXPECT_GT(ring1.r, 200);
    EXPECT_LT(ring1.g, ring1.r / 4);
    EXPECT_LT(ring1.b, ring1.r / 4);
    const Rgb spoke = At(636, 363);  // spoke 3, between rings 2 and 3
    EXPECT_GT(spoke.r, 150);
    EXPECT_GT(spoke.b, 150);
    EXPECT_LT(spoke.g, spoke.r / 4);
    EXPECT_EQ(LitOutsidePlayArea(), 0);
  }

  // Wire: the same rows' wire colours, exactly.
  NeonMode = 0;
  WebColourStep = 5;
  Cls();
  PrimeGlow();
  DrawLevelCompleteWeb();
  Present("web_complete_wire_step5");
  int red_rows = 0;
  for (int y = 345; y <= 355; ++y) {
    const Rgb c = At(512, y);
    if (Brightness(c) == 0) continue;
    ++red_rows;
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 0);
    EXPECT_EQ(c.b, 0);
  }
  EXPECT_EQ(red_rows, 1);
}

}  // namespace
