// Images: loading, texture layout, load flags and drawing.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "render/draw2d.h"
#include "render/draw_fixture.h"
#include "render/draw_log.h"

namespace {

using drawtest::DrawTest;
using drawtest::EncodePng;
using drawtest::Entries;
using drawtest::LoadBytes;
using drawtest::ReadBack;
using drawtest::SolidImage;

// The bound level of the frame's texture as RGBA bytes.
std::vector<std::uint8_t> TextureLevel(const TGLImageFrame& f, int level, int* w, int* h) {
  glBindTexture(GL_TEXTURE_2D, f.name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, h);
  std::vector<std::uint8_t> px(static_cast<size_t>(*w) * *h * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  return px;
}

// Texels are fetched with GL calls behind the service; bring its cache back in line.
void ForgetBinding() {
  glBindTexture(GL_TEXTURE_2D, 0);
  ImageHandle dummy = SolidImage("res\\rebind.png", 1, 1, 0, 0, 0);
  DrawImage(dummy, -100, -100);
}

TEST_F(DrawTest, TextureIsRaisedToPowersOfTwo) {
  ImageHandle img = SolidImage("res\\t100x50.png", 100, 50, 255, 255, 255);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->flags, 0);
  DrawImage(img, 10, 10);
  const auto images = Entries(DrawKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_DOUBLE_EQ(images[0].points[2].u, 100.0 / 128);
  EXPECT_DOUBLE_EQ(images[0].points[2].v, 50.0 / 64);
  EXPECT_DOUBLE_EQ(images[0].points[0].u, 0);
  EXPECT_DOUBLE_EQ(images[0].points[2].x, 110);
  EXPECT_DOUBLE_EQ(images[0].points[2].y, 60);
  TGLImageFrame* f = GetImageFrame(img, 0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(images[0].texture, f->name);
  EXPECT_DOUBLE_EQ(f->uscale, 1.0 / 128);
  EXPECT_DOUBLE_EQ(f->vscale, 1.0 / 64);
  int w = 0, h = 0;
  TextureLevel(*f, 0, &w, &h);
  EXPECT_EQ(w, 128);
  EXPECT_EQ(h, 64);
  GLint wrap = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
  EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
  ForgetBinding();
}

TEST_F(DrawTest, LastColumnAndRowAreRepeatedOnceIntoThePadding) {
  // 5 x 3, every pixel distinct; the texture is 8 x 4.
  std::vector<std::uint8_t> px;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      px.insert(px.end(),
                {static_cast<std::uint8_t>(10 + x), static_cast<std::uint8_t>(50 + y), 7, 255});
  ImageHandle img = LoadBytes("res\\edges.png", EncodePng(5, 3, 4, px), 0);
  ASSERT_TRUE(img);
  TGLImageFrame* f = GetImageFrame(img, 0);
  ASSERT_NE(f, nullptr);
  int w = 0, h = 0;
  const auto tex = TextureLevel(*f, 0, &w, &h);
  ASSERT_EQ(w, 8);
  ASSERT_EQ(h, 4);
  auto at = [&](int x, int y) { return &tex[(static_cast<size_t>(y) * w + x) * 4]; };
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(at(5, y)[0], 14) << "column 5 repeats column 4, row " << y;
    EXPECT_EQ(at(5, y)[1], 50 + y);
    EXPECT_EQ(at(6, y)[3], 0) << "beyond the extra column the texture is empty";
  }
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(at(x, 3)[0], 10 + x) << "row 3 repeats row 2, column " << x;
    EXPECT_EQ(at(x, 3)[1], 52);
  }
  EXPECT_EQ(at(5, 3)[0], 14) << "the corner too";
  EXPECT_EQ(at(5, 3)[3], 255);
  EXPECT_EQ(at(6, 3)[3], 0);
  ForgetBinding();
}

TEST_F(DrawTest, MaskMakesBlackClearOnlyInImagesWithoutAlpha) {
  // Black, red in RGB (no alpha channel) and the same in RGBA.
  const std::vector<std::uint8_t> rgb = {0, 0, 0, 200, 0, 0};
  const std::vector<std::uint8_t> rgba = {0, 0, 0, 255, 200, 0, 0, 255};
  struct Case {
    const char* name;
    int channels;
    int flags;
    int black_alpha;
  };
  const Case cases[] = {{"res\\m_rgb1.png", 3, 1, 0},
                        {"res\\m_rgb0.png", 3, 0, 255},
                        {"res\\m_rgbd.png", 3, -1, 0},
                        {"res\\m_rgba1.png", 4, 1, 255}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImageHandle img =
        LoadBytes(c.name, EncodePng(2, 1, c.channels, c.channels == 3 ? rgb : rgba), c.flags);
    ASSERT_TRUE(img);
    TGLImageFrame* f = GetImageFrame(img, 0);
    ASSERT_NE(f, nullptr);
    int w = 0, h = 0;
    const auto tex = TextureLevel(*f, 0, &w, &h);
    EXPECT_EQ(tex[3], c.black_alpha);
    EXPECT_EQ(tex[4], 200);
    EXPECT_EQ(tex[7], 255) << "other colours stay opaque";
  }
  ForgetBinding();
}

TEST_F(DrawTest, FilterAndMipmapFlagsChooseTheSampling) {
  struct Case {
    int flags;
    GLint mag, min;
  };
  const Case cases[] = {{0, GL_NEAREST, GL_NEAREST},
                        {2, GL_LINEAR, GL_LINEAR},
                        {-1, GL_LINEAR, GL_LINEAR},
                        {4, GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST},
                        {6, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags " << c.flags);
    ImageHandle img = SolidImage("res\\f" + std::to_string(n++) + ".png", 4, 4, 9, 9, 9, c.flags);
    ASSERT_TRUE(img);
    TGLImageFrame* f = GetImageFrame(img, 0);
    ASSERT_NE(f, nullptr);
    glBindTexture(GL_TEXTURE_2D, f->name);
    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, c.mag);
    EXPECT_EQ(min, c.min);
  }
  ForgetBinding();
}

TEST_F(DrawTest, MipmapChainIsBoxFilteredDownToOnePixel) {
  // 2 x 2: black, white / white, white -> level 1 holds their average.
  const std::vector<std::uint8_t> px = {0,   0,   0,   255, 255, 255, 255, 255,
                                        255, 255, 255, 255, 255, 255, 255, 255};
  ImageHandle img = LoadBytes("res\\mip.png", EncodePng(2, 2, 4, px), 4);
  ASSERT_TRUE(img);
  TGLImageFrame* f = GetImageFrame(img, 0);
  ASSERT_NE(f, nullptr);
  int w = 0, h = 0;
  const auto level1 = TextureLevel(*f, 1, &w, &h);
  ASSERT_EQ(w, 1);
  ASSERT_EQ(h, 1);
  EXPECT_EQ(level1[0], 191);
  EXPECT_EQ(level1[3], 255);
  ForgetBinding();
}

TEST_F(DrawTest, ImagesTakeColourAndAlphaAndSitOnTheirHandle) {
  ImageHandle img = SolidImage("res\\white.png", 20, 10, 255, 255, 255);
  ASSERT_TRUE(img);
  CenterImageHandle(img);
  EXPECT_DOUBLE_EQ(img->handle_x, 10);
  EXPECT_DOUBLE_EQ(img->handle_y, 5);
  SetColor(0, 255, 0);
  DrawImage(img, 100, 100);
  const auto images = Entries(DrawKind::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_DOUBLE_EQ(images[0].points[0].x, 90);
  EXPECT_DOUBLE_EQ(images[0].points[0].y, 95);
  EXPECT_EQ(ReadBack(90, 95).g, 255);
  EXPECT_EQ(ReadBack(90, 95).r, 0) << "the colour tints the image";
  EXPECT_EQ(ReadBack(109, 104).g, 255);
  EXPECT_EQ(ReadBack(110, 104).g, 0);

  SetBlend(BLEND_ALPHA);
  SetColor(255, 255, 255);
  SetAlpha(0.5);
  DrawImage(img, 200, 100);
  EXPECT_NEAR(ReadBack(200, 100).r, 127, 2) << "alpha fades it over black";
}

TEST_F(DrawTest, TextureCacheSkipsRepeatedBindsAndSwitches) {
  ImageHandle img = SolidImage("res\\cache.png", 4, 4, 255, 0, 0);
  ASSERT_TRUE(img);
  DrawImage(img, 10, 10);
  const long after_first = GLStateCalls();
  DrawImage(img, 20, 10);
  EXPECT_EQ(GLStateCalls(), after_first) << "same texture, texturing already on";
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  DrawRect(0, 0, 1, 1);
  EXPECT_EQ(GLStateCalls(), after_first + 1) << "texturing switched off once";
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  DrawLine(0, 0, 5, 5);
  EXPECT_EQ(GLStateCalls(), after_first + 1);
}

TEST_F(DrawTest, LoadImageRefusesWhatItCannotDecode) {
  std::vector<unsigned char> garbage = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(LoadBytes("res\\garbage.png", garbage, -1), nullptr);
  EXPECT_EQ(LoadBytes("res\\empty.png", {}, -1), nullptr);
  EXPECT_EQ(LoadImage("IncBin::res\\not-registered.png", -1), nullptr);
  EXPECT_EQ(LoadImage("no/such/file.png", -1), nullptr);
  EXPECT_EQ(LoadImage(".", -1), nullptr) << "a folder is not an image";
  EXPECT_EQ(LoadImage("", -1), nullptr);

  ImageHandle none;
  DrawImage(none, 10, 10);
  CenterImageHandle(none);
  EXPECT_TRUE(Entries(DrawKind::Image).empty());
  EXPECT_EQ(GetImageFrame(none, 0), nullptr);
  ImageHandle img = SolidImage("res\\one.png", 2, 2, 1, 2, 3);
  ASSERT_TRUE(img);
  EXPECT_EQ(GetImageFrame(img, 1), nullptr);
  EXPECT_EQ(GetImageFrame(img, -1), nullptr);
  DrawImage(img, 0, 0, 3);
  EXPECT_TRUE(Entries(DrawKind::Image).empty());
}

TEST_F(DrawTest, LoadImageReadsFilesAndAnyCaseOfTheEmbeddedPrefix) {
  const auto bytes = EncodePng(3, 2, 4, std::vector<std::uint8_t>(3 * 2 * 4, 255));
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "silkguard_draw_image_test.png";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  ImageHandle from_file = LoadImage(path.string(), 5);
  std::filesystem::remove(path);
  ASSERT_TRUE(from_file);
  EXPECT_EQ(from_file->width, 3);
  EXPECT_EQ(from_file->height, 2);
  EXPECT_EQ(from_file->flags, 5);

  LoadBytes("res\\prefix.png", bytes, 0);
  ImageHandle lower = LoadImage("incbin::res\\prefix.png", 0);
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->width, 3);
}

}  // namespace
