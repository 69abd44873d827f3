// The primitives: points, lines, rectangles, ovals, text and images, in window
// pixels through the current state; each is logged while the draw log is on.
#include "render/draw2d.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/trig.h"
#include "platform/window.h"
#include "render/bitmap_font.h"
#include "render/draw_context.h"
#include "render/draw_log.h"

using draw_context::CurrentArgb;
using draw_context::DisableTex;
using draw_context::display_open;
using draw_context::EnableTex;
using draw_context::st;

namespace draw_context {
int line_run_depth = 0;
int queued_lines = 0;
bool frame_untouched = false;
}  // namespace draw_context

namespace {

bool fast_drawing = true;
// Window positions of the queued lines' ends, and of the last pixels among them.
std::vector<double> queued_ends;
std::vector<double> queued_pixels;

// Corners on whole pixels, upright and at the image's own size, in a view not scaled
// to fit a larger screen.
bool PixelAligned(const double (&xy)[8], int width, int height) {
  const PlatformView view = PlatformViewRect();
  if (view.scale != 1.0 || view.w != st.g_width || view.h != st.g_height) return false;
  return xy[0] == std::floor(xy[0]) && xy[1] == std::floor(xy[1]) && xy[2] == xy[0] + width &&
         xy[3] == xy[1] && xy[4] == xy[2] && xy[5] == xy[1] + height && xy[6] == xy[0] &&
         xy[7] == xy[5];
}

// A guard against absurd ovals, far above anything on a screen.
constexpr int kMaxOvalSegments = 4096;

void Transform(double px, double py, double tx, double ty, double* X, double* Y) {
  *X = px * st.tform_ix + py * st.tform_iy + tx;
  *Y = px * st.tform_jx + py * st.tform_jy + ty;
}

// Window corners of the local rectangle (x0, y0)-(x1, y1) drawn at (tx, ty), in the
// order (x0, y0), (x1, y0), (x1, y1), (x0, y1).
void QuadCorners(double x0, double y0, double x1, double y1, double tx, double ty,
                 double (&xy)[8]) {
  Transform(x0, y0, tx, ty, &xy[0], &xy[1]);
  Transform(x1, y0, tx, ty, &xy[2], &xy[3]);
  Transform(x1, y1, tx, ty, &xy[4], &xy[5]);
  Transform(x0, y1, tx, ty, &xy[6], &xy[7]);
}

// Sends a textured quad between glBegin(GL_QUADS) and glEnd; log, when given, gets
// its vertices too.
void TexturedQuad(const double (&xy)[8], const double (&uv)[8], DrawEntry* log) {
  for (int i = 0; i < 4; ++i) {
    glTexCoord2d(uv[i * 2], uv[i * 2 + 1]);
    glVertex2d(xy[i * 2], xy[i * 2 + 1]);
    if (log) log->points.push_back({xy[i * 2], xy[i * 2 + 1], uv[i * 2], uv[i * 2 + 1], log->argb});
  }
}

// A log entry of the primitive about to be drawn, in the current colour and blend.
DrawEntry NewEntry(DrawKind kind, unsigned texture = 0) {
  DrawEntry e;
  e.kind = kind;
  e.argb = CurrentArgb();
  e.blend = st.blend_mode;
  e.texture = texture;
  return e;
}

void LogPoints(DrawKind kind, const double* xy, int count) {
  DrawEntry e = NewEntry(kind);
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

}  // namespace

void draw_context::SendQueuedLines() {
  queued_lines = 0;
  if (queued_ends.empty()) return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_DOUBLE, 0, queued_ends.data());
  glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(queued_ends.size() / 2));
  if (!queued_pixels.empty()) {
    glVertexPointer(2, GL_DOUBLE, 0, queued_pixels.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(queued_pixels.size() / 2));
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  queued_ends.clear();  // keeps the capacity: no allocation once warm
  queued_pixels.clear();
}

void SetFastDrawing(bool on) {
  draw_context::BeforeDrawing();
  fast_drawing = on;
}

bool FastDrawing() {
  return fast_drawing && !DrawLogEnabled();
}

void BeginLineRun() {
  if (draw_context::recording && draw_context::RecordRun(true)) return;
  ++draw_context::line_run_depth;
}

void EndLineRun() {
  if (draw_context::recording && draw_context::RecordRun(false)) return;
  if (draw_context::line_run_depth > 0) --draw_context::line_run_depth;
  draw_context::BeforeDrawing();
}

void Plot(double x, double y) {
  if (!display_open) return;
  draw_context::BeforePrimitive();
  DisableTex();
  PlotAt(x + st.origin_x + st.handle_x + 0.5, y + st.origin_y + st.handle_y + 0.5);
}

void DrawLine(double x1, double y1, double x2, double y2, int last_pixel) {
  if (!display_open) return;
  if (draw_context::recording && draw_context::RecordLine(x1, y1, x2, y2, last_pixel)) return;
  const double tx = x1 + st.origin_x, ty = y1 + st.origin_y;
  double ax, ay, bx, by;
  Transform(st.handle_x, st.handle_y, tx, ty, &ax, &ay);
  Transform(st.handle_x + (x2 - x1), st.handle_y + (y2 - y1), tx, ty, &bx, &by);
  ax += 0.5;
  ay += 0.5;
  bx += 0.5;
  by += 0.5;
  DisableTex();
  draw_context::frame_untouched = false;
  if (draw_context::line_run_depth > 0 && FastDrawing()) {
    queued_ends.insert(queued_ends.end(), {ax, ay, bx, by});
    if (last_pixel) queued_pixels.insert(queued_pixels.end(), {bx, by});
    ++draw_context::queued_lines;
    return;
  }
  draw_context::BeforeDrawing();
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
  draw_context::BeforePrimitive();
  const double x0 = st.handle_x, y0 = st.handle_y;
  double xy[8];
  QuadCorners(x0, y0, x0 + w, y0 + h, x + st.origin_x, y + st.origin_y, xy);
  DisableTex();
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) glVertex2d(xy[i * 2], xy[i * 2 + 1]);
  glEnd();
  if (DrawLogEnabled()) LogPoints(DrawKind::Rect, xy, 4);
}

void DrawOval(double x, double y, double w, double h) {
  if (!display_open) return;
  draw_context::BeforePrimitive();
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
    e = NewEntry(DrawKind::Oval);
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
  draw_context::BeforePrimitive();
  const ImageHandle& font = draw_context::FontImage();
  TGLImageFrame* f = GetImageFrame(font, 0);
  if (!f) return;
  const double tx = x + st.origin_x, ty = y + st.origin_y;
  const bool logging = DrawLogEnabled();
  DrawEntry e;
  if (logging) {
    e = NewEntry(DrawKind::Text, f->name);
    e.text = text;
  }
  EnableTex(f->name);
  glBegin(GL_QUADS);
  double pen = 0;
  for (unsigned char ch : text) {
    // A UTF-8 character takes one place, however many bytes it has.
    if ((ch & 0xC0) == 0x80) continue;
    const bool glyph = ch >= kFirstGlyph && ch < kFirstGlyph + kGlyphCount;
    const int g = ch - kFirstGlyph;
    // A character without a glyph leaves a blank, so the text after it stays put.
    if (glyph && ch != ' ') {
      const double u0 = (g % 16) * kGlyphWidth * f->uscale;
      const double v0 = (g / 16) * kGlyphHeight * f->vscale;
      const double u1 = u0 + kGlyphWidth * f->uscale, v1 = v0 + kGlyphHeight * f->vscale;
      const double lx0 = st.handle_x + pen, ly0 = st.handle_y;
      double xy[8];
      QuadCorners(lx0, ly0, lx0 + kGlyphWidth, ly0 + kGlyphHeight, tx, ty, xy);
      const double uv[8] = {u0, v0, u1, v0, u1, v1, u0, v1};
      TexturedQuad(xy, uv, logging ? &e : nullptr);
    }
    pen += kGlyphWidth;
  }
  glEnd();
  if (logging) AppendDrawLog(std::move(e));
}

void DrawImage(const ImageHandle& image, double x, double y, int frame) {
  if (!image || !display_open) return;
  if (draw_context::recording && draw_context::RecordImage(image, x, y, frame)) return;
  draw_context::BeforeDrawing();
  TGLImageFrame* f = GetImageFrame(image, frame);
  if (!f) return;
  const double x0 = -image->handle_x, y0 = -image->handle_y;
  double xy[8];
  QuadCorners(x0, y0, x0 + image->width, y0 + image->height, x + st.origin_x, y + st.origin_y, xy);
  const double u1 = image->width * f->uscale, v1 = image->height * f->vscale;
  const double uv[8] = {0, 0, u1, 0, u1, v1, 0, v1};
  const bool logging = DrawLogEnabled();
  DrawEntry e;
  if (logging) e = NewEntry(DrawKind::Image, f->name);
  EnableTex(f->name);
  // A backdrop straight after a clear to black lands texel for texel: copied with no
  // blend and no filtering it gives the same pixels for half the rasteriser's work.
  const bool copy = draw_context::frame_untouched && f->copies_over_black && FastDrawing() &&
                    PixelAligned(xy, image->width, image->height) && st.color_red == 255 &&
                    st.color_green == 255 && st.color_blue == 255 && st.color_alpha == 1.0 &&
                    st.blend_mode != BLEND_MULTIPLY &&
                    (image->flags & draw_context::kMipmappedImage) == 0;
  draw_context::frame_untouched = false;
  if (copy) {
    draw_context::UseBlend(BLEND_SOLID);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  }
  glBegin(GL_QUADS);
  TexturedQuad(xy, uv, logging ? &e : nullptr);
  glEnd();
  if (copy) {
    const bool filtered = image->flags & draw_context::kFilteredImage;
    const GLint filter = filtered ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    draw_context::UseBlend(st.blend_mode);
  }
  if (logging) AppendDrawLog(std::move(e));
}
