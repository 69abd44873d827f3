#include "support/pixels.h"

#include <GL/gl.h>
#include <png.h>

#include <cstdio>
#include <vector>

#include "platform/window.h"
#include "render/draw2d.h"

Rgb ReadPixel(int x, int y) {
  FinishDrawing();
  std::uint8_t px[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, PlatformWindowHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  return Rgb{px[0], px[1], px[2]};
}

bool SaveScreenshot(const char* path) {
  const int w = PlatformWindowWidth();
  const int h = PlatformWindowHeight();
  if (w <= 0 || h <= 0) return false;
  FinishDrawing();
  std::vector<std::uint8_t> pixels(static_cast<size_t>(w) * h * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  // Negative stride: GL rows run bottom to top.
  const png_int_32 stride = -static_cast<png_int_32>(w * 4);
  return png_image_write_to_file(&image, path, 0, pixels.data(), stride, nullptr) != 0;
}
