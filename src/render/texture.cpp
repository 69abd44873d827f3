// Images and their textures: loading, making a frame's texture on first draw (and
// again for a new context), and the bitmap font's texture.
#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/image.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "render/bitmap_font.h"
#include "render/draw2d.h"
#include "render/draw_context.h"

using draw_context::display_open;

namespace {

constexpr int kDefaultImageFlags = 3;  // masked and filtered
constexpr std::size_t kMaxImageFileBytes = 64u << 20;

ImageHandle font_image;

int NextPow2(int v) {
  int p = 1;
  while (p < v) p <<= 1;
  return p;
}

// Halves an RGBA level with a box filter; a side of 1 stays 1.
std::vector<std::uint8_t> HalveLevel(const std::vector<std::uint8_t>& src, int w, int h, int* nw,
                                     int* nh) {
  *nw = std::max(w / 2, 1);
  *nh = std::max(h / 2, 1);
  std::vector<std::uint8_t> dst(static_cast<std::size_t>(*nw) * *nh * 4);
  for (int y = 0; y < *nh; ++y) {
    const int sy0 = std::min(y * 2, h - 1), sy1 = std::min(y * 2 + 1, h - 1);
    for (int x = 0; x < *nw; ++x) {
      const int sx0 = std::min(x * 2, w - 1), sx1 = std::min(x * 2 + 1, w - 1);
      for (int c = 0; c < 4; ++c) {
        const int sum = src[(static_cast<std::size_t>(sy0) * w + sx0) * 4 + c] +
                        src[(static_cast<std::size_t>(sy0) * w + sx1) * 4 + c] +
                        src[(static_cast<std::size_t>(sy1) * w + sx0) * 4 + c] +
                        src[(static_cast<std::size_t>(sy1) * w + sx1) * 4 + c];
        dst[(static_cast<std::size_t>(y) * *nw + x) * 4 + c] = static_cast<std::uint8_t>(sum / 4);
      }
    }
  }
  return dst;
}

bool MakeTexture(TImage& image, int index) {
  const Pixmap& pm = image.pixmaps[index];
  const int w = pm.width, h = pm.height;
  if (w <= 0 || h <= 0 || pm.rgba.size() != static_cast<std::size_t>(w) * h * 4) return false;
  const int tw = NextPow2(w), th = NextPow2(h);
  if (tw > draw_context::max_texture_size || th > draw_context::max_texture_size) return false;

  std::vector<std::uint8_t> px(static_cast<std::size_t>(tw) * th * 4, 0);
  for (int y = 0; y < h; ++y)
    std::copy_n(&pm.rgba[static_cast<std::size_t>(y) * w * 4], static_cast<std::size_t>(w) * 4,
                &px[static_cast<std::size_t>(y) * tw * 4]);
  if ((image.flags & draw_context::kMaskedImage) && !pm.has_alpha) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint8_t* p = &px[(static_cast<std::size_t>(y) * tw + x) * 4];
        if (p[0] == image.mask_r && p[1] == image.mask_g && p[2] == image.mask_b)
          p[0] = p[1] = p[2] = p[3] = 0;
      }
    }
  }
  // One column and one row past the image repeat its edge, so filtering does not
  // pull the empty padding into the border pixels.
  if (w < tw)
    for (int y = 0; y < h; ++y)
      std::copy_n(&px[(static_cast<std::size_t>(y) * tw + w - 1) * 4], 4,
                  &px[(static_cast<std::size_t>(y) * tw + w) * 4]);
  if (h < th)
    std::copy_n(&px[static_cast<std::size_t>(h - 1) * tw * 4],
                static_cast<std::size_t>(std::min(w + 1, tw)) * 4,
                &px[static_cast<std::size_t>(h) * tw * 4]);

  bool copies_over_black = true;
  for (int y = 0; y < h && copies_over_black; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &px[(static_cast<std::size_t>(y) * tw + x) * 4];
      if (p[3] != 255 && (p[3] != 0 || p[0] != 0 || p[1] != 0 || p[2] != 0)) {
        copies_over_black = false;
        break;
      }
    }
  }

  GLuint name = 0;
  glGenTextures(1, &name);
  if (name == 0) return false;
  draw_context::BindTex(name);
  const bool filtered = image.flags & draw_context::kFilteredImage;
  const bool mipmapped = image.flags & draw_context::kMipmappedImage;
  GLint min_filter = filtered ? GL_LINEAR : GL_NEAREST;
  if (mipmapped) min_filter = filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  if (mipmapped) {
    int lw = tw, lh = th, level = 0;
    while (lw > 1 || lh > 1) {
      int nw = 0, nh = 0;
      px = HalveLevel(px, lw, lh, &nw, &nh);
      lw = nw;
      lh = nh;
      glTexImage2D(GL_TEXTURE_2D, ++level, GL_RGBA8, lw, lh, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                   px.data());
    }
  }

  TGLImageFrame& f = image.frames[index];
  f.uscale = 1.0 / tw;
  f.vscale = 1.0 / th;
  f.u0 = 0;
  f.v0 = 0;
  f.u1 = w * f.uscale;
  f.v1 = h * f.vscale;
  f.name = name;
  f.copies_over_black = copies_over_black;
  f.seq = PlatformContextStamp();
  image.seqs[index] = f.seq;
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  return true;
}

std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size <= 0 || static_cast<std::uint64_t>(size) > kMaxImageFileBytes) return std::nullopt;
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
  return bytes;
}

}  // namespace

namespace draw_context {

// 16 x 6 cells of 8 x 16 in one texture; white where set, clear elsewhere.
const ImageHandle& FontImage() {
  if (font_image) return font_image;
  constexpr int kColumns = 16;
  constexpr int kRows = kGlyphCount / kColumns;
  Pixmap pm;
  pm.width = kColumns * kGlyphWidth;
  pm.height = kRows * kGlyphHeight;
  pm.has_alpha = true;
  pm.rgba.assign(static_cast<std::size_t>(pm.width) * pm.height * 4, 0);
  for (int g = 0; g < kGlyphCount; ++g) {
    const std::uint8_t* rows = GlyphRows(kFirstGlyph + g);
    const int cx = (g % kColumns) * kGlyphWidth, cy = (g / kColumns) * kGlyphHeight;
    for (int r = 0; r < kGlyphHeight; ++r)
      for (int b = 0; b < kGlyphWidth; ++b)
        if (rows[r] & (0x80 >> b)) {
          std::uint8_t* p = &pm.rgba[(static_cast<std::size_t>(cy + r) * pm.width + cx + b) * 4];
          p[0] = p[1] = p[2] = p[3] = 255;
        }
  }
  font_image = std::make_shared<TImage>();
  font_image->width = pm.width;
  font_image->height = pm.height;
  font_image->flags = 0;  // unfiltered: glyphs land pixel for pixel
  font_image->pixmaps.push_back(std::move(pm));
  font_image->frames.resize(1);
  font_image->seqs.resize(1, 0);
  return font_image;
}

}  // namespace draw_context

TImage::~TImage() {
  // Textures of an older context went with it; only the live ones are deleted.
  using draw_context::cache_texture;
  if (!display_open) return;
  const int stamp = PlatformContextStamp();
  for (const TGLImageFrame& f : frames) {
    if (f.name == 0 || f.seq != stamp) continue;
    const GLuint name = f.name;
    glDeleteTextures(1, &name);
    if (cache_texture == name) cache_texture = 0;  // GL falls back to texture 0
  }
}

ImageHandle LoadImage(const std::string& path, int flags) {
  constexpr std::string_view kEmbedded = "incbin::";
  std::optional<Pixmap> pm;
  if (StartsWithNoCase(path, kEmbedded)) {
    const auto bytes = FindResource(std::string_view(path).substr(kEmbedded.size()));
    if (bytes) pm = DecodeImage(*bytes);
  } else if (const auto bytes = ReadFileBytes(path)) {
    pm = DecodeImage(*bytes);
  }
  if (!pm || pm->width <= 0 || pm->height <= 0 ||
      pm->rgba.size() != static_cast<std::size_t>(pm->width) * pm->height * 4)
    return nullptr;
  auto image = std::make_shared<TImage>();
  image->width = pm->width;
  image->height = pm->height;
  image->flags = flags == -1 ? kDefaultImageFlags : flags;
  image->pixmaps.push_back(std::move(*pm));
  image->frames.resize(1);
  image->seqs.resize(1, 0);
  return image;
}

void CenterImageHandle(const ImageHandle& image) {
  if (!image) return;
  image->handle_x = image->width * 0.5;
  image->handle_y = image->height * 0.5;
}

void NoteTextureBound(unsigned name) {
  draw_context::cache_texture = name;
  draw_context::cache_texturing = true;
}

TGLImageFrame* GetImageFrame(const ImageHandle& image, int frame) {
  if (!image || !display_open || frame < 0 || frame >= static_cast<int>(image->frames.size()) ||
      frame >= static_cast<int>(image->pixmaps.size()))
    return nullptr;
  if (image->seqs.size() < image->frames.size()) image->seqs.resize(image->frames.size(), 0);
  TGLImageFrame& f = image->frames[frame];
  if (f.name != 0 && f.seq == PlatformContextStamp()) return &f;
  f.name = 0;  // a name from a destroyed context means nothing now
  if (!MakeTexture(*image, frame)) return nullptr;
  return &f;
}
