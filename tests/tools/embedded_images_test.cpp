#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "embedded_assets.h"
#include "platform/image.h"
#include "platform/resources.h"

namespace {

std::optional<Pixmap> LoadEmbedded(const char* name) {
  ClearResources();
  RegisterEmbeddedResources();
  const auto bytes = FindResource(name);
  std::optional<Pixmap> img;
  if (bytes) img = DecodeImage(*bytes);
  ClearResources();
  return img;
}

int Alpha(const Pixmap& p, int x, int y) {
  return p.rgba[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3];
}

TEST(GlowTexture, IsAWhite128SquareWithAlpha) {
  const auto dot = LoadEmbedded("res\\dot.png");
  ASSERT_TRUE(dot);
  EXPECT_EQ(dot->width, 128);
  EXPECT_EQ(dot->height, 128);
  EXPECT_TRUE(dot->has_alpha);
  for (std::size_t i = 0; i < dot->rgba.size(); i += 4) {
    ASSERT_EQ(dot->rgba[i], 255);
    ASSERT_EQ(dot->rgba[i + 1], 255);
    ASSERT_EQ(dot->rgba[i + 2], 255);
  }
}

TEST(GlowTexture, CentreRowFollowsTheGlowProfile) {
  const auto dot = LoadEmbedded("res\\dot.png");
  ASSERT_TRUE(dot);
  const int expected[16] = {1, 3, 6, 10, 15, 21, 25, 28, 255, 27, 25, 20, 15, 10, 5, 2};
  for (int row : {63, 64}) {
    for (int i = 0; i < 16; ++i) {
      EXPECT_NEAR(Alpha(*dot, 8 * i, row), expected[i], 1) << "x " << 8 * i << " row " << row;
    }
  }
}

TEST(GlowTexture, BrightCoreInsideASoftRadialHalo) {
  const auto dot = LoadEmbedded("res\\dot.png");
  ASSERT_TRUE(dot);
  for (int y : {63, 64}) {
    for (int x : {63, 64}) EXPECT_EQ(Alpha(*dot, x, y), 255);
  }
  EXPECT_NEAR(Alpha(*dot, 65, 64), 172, 6);  // one pixel beyond the core
  EXPECT_NEAR(Alpha(*dot, 66, 64), 42, 6);   // two pixels beyond
  EXPECT_NEAR(Alpha(*dot, 67, 64), 29, 2);   // the halo begins
  for (int x : {0, 127}) {
    for (int y : {0, 127}) EXPECT_EQ(Alpha(*dot, x, y), 0);
  }
  // Radially symmetric, and never brighter further out.
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      ASSERT_EQ(Alpha(*dot, x, y), Alpha(*dot, 127 - x, y));
      ASSERT_EQ(Alpha(*dot, x, y), Alpha(*dot, y, x));
    }
  }
  for (int x = 64; x < 127; ++x) EXPECT_GE(Alpha(*dot, x, 64), Alpha(*dot, x + 1, 64)) << x;
}

struct BackdropStats {
  double mean_luminance = 0.0;
  double bright_fraction = 0.0;  // share of pixels above a quarter of full brightness
  int brightest = 0;
};

BackdropStats Measure(const Pixmap& p) {
  BackdropStats s;
  std::size_t bright = 0;
  double sum = 0.0;
  for (std::size_t i = 0; i < p.rgba.size(); i += 4) {
    const double lum = 0.2126 * p.rgba[i] + 0.7152 * p.rgba[i + 1] + 0.0722 * p.rgba[i + 2];
    sum += lum;
    if (lum > 64.0) ++bright;
    s.brightest = std::max(s.brightest, static_cast<int>(lum));
  }
  const double n = static_cast<double>(p.rgba.size() / 4);
  s.mean_luminance = sum / n;
  s.bright_fraction = static_cast<double>(bright) / n;
  return s;
}

TEST(Backdrops, AreFullScreenAndDimEnoughForGlowingLines) {
  for (const char* name : {"res\\backdrop1.png", "res\\backdrop2.jpg"}) {
    const auto img = LoadEmbedded(name);
    ASSERT_TRUE(img) << name;
    EXPECT_EQ(img->width, 1024) << name;
    EXPECT_EQ(img->height, 768) << name;
    EXPECT_FALSE(img->has_alpha) << name;
    const BackdropStats s = Measure(*img);
    EXPECT_LT(s.mean_luminance, 20.0) << name;
    EXPECT_LT(s.bright_fraction, 0.01) << name;
    // Not simply black: there is something to see.
    EXPECT_GT(s.mean_luminance, 2.0) << name;
    EXPECT_GT(s.brightest, 100) << name;
  }
}

TEST(GeneratedImages, NameTheToolThatWroteThem) {
  ClearResources();
  RegisterEmbeddedResources();
  for (const char* name : {"res\\dot.png", "res\\backdrop1.png", "res\\backdrop2.jpg"}) {
    const auto bytes = FindResource(name);
    ASSERT_TRUE(bytes);
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    EXPECT_NE(text.find("Silkguard gen_"), std::string_view::npos) << name;
  }
  ClearResources();
}

}  // namespace
