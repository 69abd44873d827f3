#include "render/draw2d.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/resources.h"
#include "platform/script.h"
#include "platform/trig.h"
#include "platform/window.h"
#include "render/bitmap_font.h"
#include "render/draw_log.h"

namespace {

constexpr int kDefaultImageFlags = 3;  // masked and filtered
constexpr int kMaskedImage = 1;
constexpr int kFilteredImage = 2;
constexpr int kMipmappedImage = 4;
// A guard against absurd ovals, far above anything on a screen.
constexpr int kMaxOvalSegments = 4096;
constexpr std::size_t kMaxImageFileBytes = 64u << 20;

DrawState st;
bool viewport_follows_window = true;  // until the game sets one itself
std::string window_title;

bool display_open = false;
bool display_fullscreen = false;
int display_hz = 0;
std::string display_error;
int max_texture_size = 0;
bool scissor_on = false;  // as last set on the context

// Driver cache: what the context holds, so redundant calls can be skipped.
unsigned cache_texture = 0;
bool cache_texturing = false;
bool cache_blend_known = false;
int cache_blend = 0;
std::uint8_t cache_color[4] = {255, 255, 255, 255};
long gl_state_calls = 0;

// Software frame pacing.
int pace_target = 0;
int pace_remainder = 0;

ImageHandle font_image;

void Issued() {
  ++gl_state_calls;
}

int ClampByte(int v) {
  return std::clamp(v, 0, 255);
}

int AlphaByte() {
  return static_cast<int>(st.color_alpha * 255.0);
}

std::uint32_t CurrentArgb() {
  return (static_cast<std::uint32_t>(cache_color[3]) << 24) |
         (static_cast<std::uint32_t>(cache_color[0]) << 16) |
         (static_cast<std::uint32_t>(cache_color[1]) << 8) | cache_color[2];
}

void Transform(double px, double py, double tx, double ty, double* X, double* Y) {
  *X = px * st.tform_ix + py * st.tform_iy + tx;
  *Y = px * st.tform_jx + py * st.tform_jy + ty;
}

void DisableTex() {
  if (!cache_texturing) return;
  glDisable(GL_TEXTURE_2D);
  cache_texturing = false;
  Issued();
}

void BindTex(unsigned name) {
  if (cache_texture == name) return;
  glBindTexture(GL_TEXTURE_2D, name);
  cache_texture = name;
  Issued();
}

void EnableTex(unsigned name) {
  BindTex(name);
  if (cache_texturing) return;
  glEnable(GL_TEXTURE_2D);
  cache_texturing = true;
  Issued();
}

// The colour is sent on every set, not compared with the cache: strips colour their
// vertices behind the service, so the context may no longer hold the cached colour.
void ApplyColor() {
  cache_color[0] = static_cast<std::uint8_t>(st.color_red);
  cache_color[1] = static_cast<std::uint8_t>(st.color_green);
  cache_color[2] = static_cast<std::uint8_t>(st.color_blue);
  cache_color[3] = static_cast<std::uint8_t>(AlphaByte());
  if (!display_open) return;
  glColor4ub(cache_color[0], cache_color[1], cache_color[2], cache_color[3]);
  Issued();
}

void ApplyBlend(int mode) {
  if (cache_blend_known && cache_blend == mode) return;
  cache_blend_known = true;
  cache_blend = mode;
  switch (mode) {
    case BLEND_MASK:
      glDisable(GL_BLEND);
      glEnable(GL_ALPHA_TEST);
      glAlphaFunc(GL_GEQUAL, 0.5f);
      gl_state_calls += 3;
      break;
    case BLEND_ALPHA:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glDisable(GL_ALPHA_TEST);
      gl_state_calls += 3;
      break;
    case BLEND_ADD:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      glDisable(GL_ALPHA_TEST);
      gl_state_calls += 3;
      break;
    case BLEND_MULTIPLY:
      glEnable(GL_BLEND);
      glBlendFunc(GL_DST_COLOR, GL_ZERO);
      glDisable(GL_ALPHA_TEST);
      gl_state_calls += 3;
      break;
    default:  // BLEND_SOLID and anything unknown
      glDisable(GL_BLEND);
      glDisable(GL_ALPHA_TEST);
      gl_state_calls += 2;
      break;
  }
}

void ApplyClsColor() {
  if (!display_open) return;
  glClearColor(static_cast<float>(st.clscolor_red / 255.0),
               static_cast<float>(st.clscolor_green / 255.0),
               static_cast<float>(st.clscolor_blue / 255.0), 1.0f);
  Issued();
}

void ApplyLineWidth() {
  if (!display_open) return;
  // GL rejects widths that are not positive; such a call leaves the width as it was.
  if (!(st.line_width > 0) || !std::isfinite(st.line_width)) return;
  glLineWidth(static_cast<float>(st.line_width * PlatformViewRect().scale));
  Issued();
}

void BuildMatrix() {
  const double c = Cos(st.tform_rot), s = Sin(st.tform_rot);
  st.tform_ix = c * st.tform_scale_x;
  st.tform_iy = -s * st.tform_scale_y;
  st.tform_jx = s * st.tform_scale_x;
  st.tform_jy = c * st.tform_scale_y;
}

void ApplyViewport() {
  if (!display_open) return;
  const double sx = st.vres_mousexscale > 0 ? st.vres_mousexscale : 1.0;
  const double sy = st.vres_mouseyscale > 0 ? st.vres_mouseyscale : 1.0;
  const int x0 = static_cast<int>(std::floor(st.viewport_x / sx));
  const int y0 = static_cast<int>(std::floor(st.viewport_y / sy));
  const int x1 = static_cast<int>(std::floor((st.viewport_x + st.viewport_w) / sx));
  const int y1 = static_cast<int>(std::floor((st.viewport_y + st.viewport_h) / sy));
  const int w = x1 - x0, h = y1 - y0;
  if (x0 == 0 && y0 == 0 && w == st.g_width && h == st.g_height) {
    glDisable(GL_SCISSOR_TEST);
    scissor_on = false;
    Issued();
    return;
  }
  // The display may sit scaled inside a full-screen drawable.
  const PlatformView view = PlatformViewRect();
  const double k = view.scale;
  glEnable(GL_SCISSOR_TEST);
  scissor_on = true;
  glScissor(view.x + static_cast<int>(x0 * k),
            view.y + static_cast<int>((st.g_height - y0 - h) * k),
            static_cast<int>(std::max(w, 0) * k), static_cast<int>(std::max(h, 0) * k));
  gl_state_calls += 2;
}

// Fresh context: nothing bound, nothing known, pixel-exact projection.
void ResetContext() {
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  gl_state_calls += 2;
  cache_texturing = false;
  cache_texture = 0;
  cache_blend_known = false;
  scissor_on = false;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, st.g_width, st.g_height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const PlatformView view = PlatformViewRect();
  glViewport(view.x, view.y, view.w, view.h);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GLint max_size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
  max_texture_size = max_size > 0 ? max_size : 1024;
}

void ApplyWholeState() {
  ApplyBlend(st.blend_mode);
  ApplyColor();
  ApplyClsColor();
  ApplyLineWidth();
  BuildMatrix();
  ApplyViewport();
}

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
  if (tw > max_texture_size || th > max_texture_size) return false;

  std::vector<std::uint8_t> px(static_cast<std::size_t>(tw) * th * 4, 0);
  for (int y = 0; y < h; ++y)
    std::copy_n(&pm.rgba[static_cast<std::size_t>(y) * w * 4], static_cast<std::size_t>(w) * 4,
                &px[static_cast<std::size_t>(y) * tw * 4]);
  if ((image.flags & kMaskedImage) && !pm.has_alpha) {
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

  GLuint name = 0;
  glGenTextures(1, &name);
  if (name == 0) return false;
  BindTex(name);
  const bool filtered = image.flags & kFilteredImage;
  const bool mipmapped = image.flags & kMipmappedImage;
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
  f.seq = PlatformContextStamp();
  image.seqs[index] = f.seq;
  return true;
}

void LogQuad(DrawKind kind, const double (&xy)[8], const double (&uv)[8], unsigned texture) {
  DrawEntry e;
  e.kind = kind;
  e.argb = CurrentArgb();
  e.blend = st.blend_mode;
  e.texture = texture;
  const std::uint32_t argb = e.argb;
  for (int i = 0; i < 4; ++i)
    e.points.push_back({xy[i * 2], xy[i * 2 + 1], uv[i * 2], uv[i * 2 + 1], argb});
  AppendDrawLog(std::move(e));
}

void LogPoints(DrawKind kind, const double* xy, int count) {
  DrawEntry e;
  e.kind = kind;
  e.argb = CurrentArgb();
  e.blend = st.blend_mode;
  e.points.reserve(count);
  for (int i = 0; i < count; ++i) e.points.push_back({xy[i * 2], xy[i * 2 + 1], 0, 0, e.argb});
  AppendDrawLog(std::move(e));
}

void PlotAt(double x, double y) {
  glBegin(GL_POINTS);
  glVertex2d(x, y);
  glEnd();
  if (DrawLogEnabled()) {
    const double xy[2] = {x, y};
    LogPoints(DrawKind::Point, xy, 1);
  }
}

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

TImage::~TImage() {
  // Textures of an older context went with it; only the live ones are deleted.
  if (!display_open) return;
  const int stamp = PlatformContextStamp();
  for (const TGLImageFrame& f : frames) {
    if (f.name == 0 || f.seq != stamp) continue;
    const GLuint name = f.name;
    glDeleteTextures(1, &name);
    if (cache_texture == name) cache_texture = 0;  // GL falls back to texture 0
  }
}

bool OpenDisplay(int width, int height, int depth, int hz, int flags) {
  (void)flags;  // window flags: the game always passes 0
  const bool fullscreen = depth > 0;
  std::string error;
  if (!PlatformOpenWindow(window_title, width, height, fullscreen, &error)) {
    display_error = error;
    return false;
  }
  display_error.clear();
  display_open = true;
  // Images held in globals outlive main(); by then the GL driver may be gone, so
  // their destructors must not reach it. Registered after the driver's own exit work.
  static const bool exit_guard = [] {
    std::atexit([] { display_open = false; });
    return true;
  }();
  (void)exit_guard;
  display_fullscreen = fullscreen;
  display_hz = std::max(hz, 0);
  st.g_width = width;
  st.g_height = height;
  // The game never sets a virtual resolution, so it follows the window.
  st.vres_width = width;
  st.vres_height = height;
  st.vres_mousexscale = 1.0;
  st.vres_mouseyscale = 1.0;
  if (viewport_follows_window) {
    st.viewport_x = st.viewport_y = 0;
    st.viewport_w = width;
    st.viewport_h = height;
  }
  ResetContext();
  ApplyWholeState();
  pace_target = Millisecs();
  pace_remainder = 0;
  if (fullscreen && display_hz != 0) PlatformWarpMouse(width / 2, height / 2);
  return true;
}

void CloseDisplay() {
  PlatformCloseWindow();
  display_open = false;
  cache_texturing = false;
  cache_texture = 0;
  cache_blend_known = false;
}

bool DisplayOpen() {
  return display_open;
}

const std::string& DisplayError() {
  return display_error;
}

void SetWindowTitle(const std::string& title) {
  window_title = title;
  PlatformSetTitle(title);
}

void Cls() {
  if (!display_open) return;
  // The whole window, margins around the play area too: the scissor would otherwise
  // leave whatever the last swap left there.
  if (scissor_on) glDisable(GL_SCISSOR_TEST);
  glClear(GL_COLOR_BUFFER_BIT);
  if (scissor_on) glEnable(GL_SCISSOR_TEST);
  if (DrawLogEnabled()) {
    DrawEntry e;
    e.kind = DrawKind::Clear;
    e.argb = 0xFF000000u | (static_cast<std::uint32_t>(st.clscolor_red) << 16) |
             (static_cast<std::uint32_t>(st.clscolor_green) << 8) |
             static_cast<std::uint32_t>(st.clscolor_blue);
    e.blend = st.blend_mode;
    AppendDrawLog(std::move(e));
  }
}

void Flip(int sync) {
  if (display_open) {
    int interval = sync == 0 ? 0 : 1;
    if (sync == -1) {
      interval = 0;
      if (!display_fullscreen && display_hz > 0) {
        const int step = 1000 / display_hz;
        pace_target += step;
        pace_remainder += 1000 - step * display_hz;
        if (pace_remainder >= display_hz) {
          pace_remainder -= display_hz;
          ++pace_target;
        }
        const int now = Millisecs();
        const int wait = pace_target - now;
        if (wait < 1) {
          pace_target = now;  // a late frame is not caught up
        } else {
          Delay(wait);
        }
      } else if (display_fullscreen && display_hz > 0) {
        interval = 1;
      }
    }
    PlatformSwap(interval);
  }
  PumpEvents();
  RunFrameHook();
}

void SetColor(int red, int green, int blue) {
  st.color_red = ClampByte(red);
  st.color_green = ClampByte(green);
  st.color_blue = ClampByte(blue);
  ApplyColor();
}

void SetAlpha(double alpha) {
  st.color_alpha = std::isnan(alpha) ? 0.0 : std::clamp(alpha, 0.0, 1.0);
  ApplyColor();
}

void SetBlend(int mode) {
  st.blend_mode = mode;
  if (display_open) ApplyBlend(mode);
}

void SetClsColor(int red, int green, int blue) {
  st.clscolor_red = ClampByte(red);
  st.clscolor_green = ClampByte(green);
  st.clscolor_blue = ClampByte(blue);
  ApplyClsColor();
}

void SetViewport(int x, int y, int w, int h) {
  viewport_follows_window = false;
  st.viewport_x = x;
  st.viewport_y = y;
  st.viewport_w = w;
  st.viewport_h = h;
  ApplyViewport();
}

void SetRotation(double degrees) {
  st.tform_rot = std::isfinite(degrees) ? degrees : 0.0;
  BuildMatrix();
}

void SetLineWidth(double width) {
  st.line_width = width;
  ApplyLineWidth();
}

void Plot(double x, double y) {
  if (!display_open) return;
  DisableTex();
  PlotAt(x + st.origin_x + st.handle_x + 0.5, y + st.origin_y + st.handle_y + 0.5);
}

void DrawLine(double x1, double y1, double x2, double y2, int last_pixel) {
  if (!display_open) return;
  const double tx = x1 + st.origin_x, ty = y1 + st.origin_y;
  double ax, ay, bx, by;
  Transform(st.handle_x, st.handle_y, tx, ty, &ax, &ay);
  Transform(st.handle_x + (x2 - x1), st.handle_y + (y2 - y1), tx, ty, &bx, &by);
  ax += 0.5;
  ay += 0.5;
  bx += 0.5;
  by += 0.5;
  DisableTex();
  glBegin(GL_LINES);
  glVertex2d(ax, ay);
  glVertex2d(bx, by);
  glEnd();
  if (DrawLogEnabled()) {
    const double xy[4] = {ax, ay, bx, by};
    LogPoints(DrawKind::Line, xy, 2);
  }
  if (last_pixel) PlotAt(bx, by);
}

void DrawRect(double x, double y, double w, double h) {
  if (!display_open) return;
  const double tx = x + st.origin_x, ty = y + st.origin_y;
  const double x0 = st.handle_x, y0 = st.handle_y, x1 = x0 + w, y1 = y0 + h;
  double xy[8];
  Transform(x0, y0, tx, ty, &xy[0], &xy[1]);
  Transform(x1, y0, tx, ty, &xy[2], &xy[3]);
  Transform(x1, y1, tx, ty, &xy[4], &xy[5]);
  Transform(x0, y1, tx, ty, &xy[6], &xy[7]);
  DisableTex();
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) glVertex2d(xy[i * 2], xy[i * 2 + 1]);
  glEnd();
  if (DrawLogEnabled()) LogPoints(DrawKind::Rect, xy, 4);
}

void DrawOval(double x, double y, double w, double h) {
  if (!display_open) return;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h)) return;
  const double tx = x + st.origin_x, ty = y + st.origin_y;
  const double x0 = st.handle_x, y0 = st.handle_y;
  const double rx = w * 0.5, ry = h * 0.5;
  const double cx = x0 + rx, cy = y0 + ry;
  const double span =
      std::min(std::fabs(rx) + std::fabs(ry), static_cast<double>(kMaxOvalSegments));
  const int segs = std::max(static_cast<int>(span), 12) & ~3;
  DisableTex();
  const bool logging = DrawLogEnabled();
  DrawEntry e;
  if (logging) {
    e.kind = DrawKind::Oval;
    e.argb = CurrentArgb();
    e.blend = st.blend_mode;
    e.points.reserve(segs);
  }
  glBegin(GL_POLYGON);
  for (int i = 0; i < segs; ++i) {
    const double th = i * 360.0 / segs;
    double X, Y;
    Transform(cx + Cos(th) * rx, cy - Sin(th) * ry, tx, ty, &X, &Y);
    glVertex2d(X, Y);
    if (logging) e.points.push_back({X, Y, 0, 0, e.argb});
  }
  glEnd();
  if (logging) AppendDrawLog(std::move(e));
}

void DrawText(const std::string& text, double x, double y) {
  if (!display_open || text.empty()) return;
  const ImageHandle& font = FontImage();
  TGLImageFrame* f = GetImageFrame(font, 0);
  if (!f) return;
  const double tx = x + st.origin_x, ty = y + st.origin_y;
  const bool logging = DrawLogEnabled();
  DrawEntry e;
  if (logging) {
    e.kind = DrawKind::Text;
    e.argb = CurrentArgb();
    e.blend = st.blend_mode;
    e.texture = f->name;
    e.text = text;
  }
  EnableTex(f->name);
  glBegin(GL_QUADS);
  double pen = 0;
  for (unsigned char ch : text) {
    // Bytes without a glyph (controls, UTF-8) are skipped and take no room.
    if (ch < kFirstGlyph || ch >= kFirstGlyph + kGlyphCount) continue;
    const int g = ch - kFirstGlyph;
    if (ch != ' ') {
      const double u0 = (g % 16) * kGlyphWidth * f->uscale;
      const double v0 = (g / 16) * kGlyphHeight * f->vscale;
      const double u1 = u0 + kGlyphWidth * f->uscale, v1 = v0 + kGlyphHeight * f->vscale;
      const double lx0 = st.handle_x + pen, ly0 = st.handle_y;
      const double lx1 = lx0 + kGlyphWidth, ly1 = ly0 + kGlyphHeight;
      double xy[8];
      Transform(lx0, ly0, tx, ty, &xy[0], &xy[1]);
      Transform(lx1, ly0, tx, ty, &xy[2], &xy[3]);
      Transform(lx1, ly1, tx, ty, &xy[4], &xy[5]);
      Transform(lx0, ly1, tx, ty, &xy[6], &xy[7]);
      const double uv[8] = {u0, v0, u1, v0, u1, v1, u0, v1};
      for (int i = 0; i < 4; ++i) {
        glTexCoord2d(uv[i * 2], uv[i * 2 + 1]);
        glVertex2d(xy[i * 2], xy[i * 2 + 1]);
        if (logging)
          e.points.push_back({xy[i * 2], xy[i * 2 + 1], uv[i * 2], uv[i * 2 + 1], e.argb});
      }
    }
    pen += kGlyphWidth;
  }
  glEnd();
  if (logging) AppendDrawLog(std::move(e));
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
  cache_texture = name;
  cache_texturing = true;
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

void DrawImage(const ImageHandle& image, double x, double y, int frame) {
  if (!image || !display_open) return;
  TGLImageFrame* f = GetImageFrame(image, frame);
  if (!f) return;
  const double tx = x + st.origin_x, ty = y + st.origin_y;
  const double x0 = -image->handle_x, y0 = -image->handle_y;
  const double x1 = x0 + image->width, y1 = y0 + image->height;
  const double u1 = image->width * f->uscale, v1 = image->height * f->vscale;
  double xy[8];
  Transform(x0, y0, tx, ty, &xy[0], &xy[1]);
  Transform(x1, y0, tx, ty, &xy[2], &xy[3]);
  Transform(x1, y1, tx, ty, &xy[4], &xy[5]);
  Transform(x0, y1, tx, ty, &xy[6], &xy[7]);
  const double uv[8] = {0, 0, u1, 0, u1, v1, 0, v1};
  EnableTex(f->name);
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2d(uv[i * 2], uv[i * 2 + 1]);
    glVertex2d(xy[i * 2], xy[i * 2 + 1]);
  }
  glEnd();
  if (DrawLogEnabled()) LogQuad(DrawKind::Image, xy, uv, f->name);
}

void HideMouse() {
  PlatformShowCursor(false);
}

void ShowMouse() {
  PlatformShowCursor(true);
}

const DrawState& CurrentDrawState() {
  return st;
}

long GLStateCalls() {
  return gl_state_calls;
}

void ResetDrawState() {
  const int w = st.g_width, h = st.g_height;
  st = DrawState{};
  st.g_width = w;
  st.g_height = h;
  st.vres_width = w;
  st.vres_height = h;
  st.viewport_w = w;
  st.viewport_h = h;
  viewport_follows_window = true;
  if (display_open) {
    cache_blend_known = false;
    ApplyWholeState();
  } else {
    ApplyColor();
  }
}
