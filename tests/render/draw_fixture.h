// Helpers for the drawing-service tests: a display of known size with the default
// state, PNG bytes made on the fly, and GL read-backs in window pixels.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "render/draw2d.h"
#include "render/draw_log.h"

namespace drawtest {

inline constexpr int kW = 320;
inline constexpr int kH = 240;

// Encodes width x height pixels (RGBA, or RGB when channels is 3) as a PNG.
inline std::vector<unsigned char> EncodePng(int width, int height, int channels,
                                            const std::vector<std::uint8_t>& px) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, px.data(), 0, nullptr)) return {};
  std::vector<unsigned char> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, px.data(), 0, nullptr)) return {};
  out.resize(size);
  return out;
}

// Registers the bytes under name (they are kept alive for the whole run) and loads
// them as an embedded image.
inline ImageHandle LoadBytes(const std::string& name, std::vector<unsigned char> bytes, int flags) {
  static std::deque<std::vector<unsigned char>> keep;
  keep.push_back(std::move(bytes));
  RegisterResource(name, keep.back().data(), keep.back().size());
  return LoadImage("IncBin::" + name, flags);
}

// A solid image of one colour.
inline ImageHandle SolidImage(const std::string& name, int w, int h, std::uint8_t r, std::uint8_t g,
                              std::uint8_t b, int flags = 0) {
  std::vector<std::uint8_t> px;
  for (int i = 0; i < w * h; ++i) px.insert(px.end(), {r, g, b, 255});
  return LoadBytes(name, EncodePng(w, h, 4, px), flags);
}

struct Px {
  int r, g, b, a;
};

// Back-buffer pixel at window (x, y), y measured from the top.
inline Px ReadBack(int x, int y) {
  FinishDrawing();
  glFinish();
  std::uint8_t p[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, CurrentDrawState().g_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return Px{p[0], p[1], p[2], p[3]};
}

inline std::vector<DrawEntry> Entries(DrawKind kind) {
  std::vector<DrawEntry> out;
  for (const DrawEntry& e : GetDrawLog())
    if (e.kind == kind) out.push_back(e);
  return out;
}

// A kW x kH window with the default state, solid blend, black clear, log on.
class DrawTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!DisplayOpen() || CurrentDrawState().g_width != kW || CurrentDrawState().g_height != kH) {
      ASSERT_TRUE(OpenDisplay(kW, kH, 0, 0, 0)) << DisplayError();
    }
    ResetDrawState();
    SetBlend(BLEND_SOLID);
    Cls();
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    ResetDrawState();
  }
};

}  // namespace drawtest
