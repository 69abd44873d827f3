#include "render/tpoly.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

#include "render/draw_context.h"
#include "render/draw_log.h"

namespace {

// The frame whose texture TPoly bound last. The context stamp and the name are kept
// too: after a new context the same frame carries a new texture that must be bound.
struct CurrentFrame {
  const TImage* image = nullptr;
  const TGLImageFrame* frame = nullptr;
  unsigned name = 0;
  int seq = 0;
};

CurrentFrame current;
bool primitive_open = false;
long bind_count = 0;

GLenum PrimitiveFor(int mode) {
  return mode == 6 ? GL_POLYGON : GL_TRIANGLE_STRIP;
}

void ClosePrimitive() {
  if (!primitive_open) return;
  glEnd();
  primitive_open = false;
}

void OpenPrimitive(int mode) {
  ClosePrimitive();
  glBegin(PrimitiveFor(mode));
  primitive_open = true;
}

// Vertex colours leave OpenGL's current colour behind the drawing service's back;
// put back the colour the service believes is current, so its next primitive or
// image is not tinted by the last strip.
void RestoreServiceColour() {
  const DrawState& s = CurrentDrawState();
  const double alpha = std::isnan(s.color_alpha) ? 0.0 : std::clamp(s.color_alpha, 0.0, 1.0);
  glColor4ub(static_cast<GLubyte>(s.color_red), static_cast<GLubyte>(s.color_green),
             static_cast<GLubyte>(s.color_blue), static_cast<GLubyte>(alpha * 255.0));
}

// GetFrame's work; false when the image or its frame is missing, so nothing is drawn.
bool BindFrame(const ImageHandle& image, int frame, int mode, int new_strip) {
  if (!image) return false;
  draw_context::BeforeStrip();
  // Making a texture issues GL calls that are not allowed inside an open primitive.
  if (primitive_open && image.get() != current.image) ClosePrimitive();
  const TGLImageFrame* f = GetImageFrame(image, frame);
  if (f == nullptr) return false;
  // Another primitive drawn amid the strips may have turned texturing off or bound
  // its own texture.
  const bool still_bound = draw_context::cache_texturing && draw_context::cache_texture == f->name;
  if (f != current.frame || f->name != current.name || f->seq != current.seq || !still_bound) {
    ClosePrimitive();
    current = CurrentFrame{image.get(), f, f->name, f->seq};
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, f->name);
    NoteTextureBound(f->name);
    ++bind_count;
    glShadeModel(GL_SMOOTH);
    OpenPrimitive(mode);
  } else if (new_strip == 1 || !primitive_open) {
    OpenPrimitive(mode);
  }
  return true;
}

}  // namespace

void TPoly::_Begin() {
  if (!draw_context::recording) draw_context::StartSprite();
  if (draw_context::recording) {
    draw_context::RecordStrips(true);
    return;
  }
  current = CurrentFrame{};
}

void TPoly::_End() {
  if (draw_context::recording) {
    draw_context::RecordStrips(false);
    return;
  }
  current = CurrentFrame{};
  ClosePrimitive();
  Doubled(false);
}

void TPoly::Doubled(bool on) {
  if (draw_context::recording) {
    draw_context::RecordDoubled(on);
    return;
  }
  if (on == draw_context::strips_doubled) return;
  ClosePrimitive();
  draw_context::UseDoubledStrips(on && draw_context::display_open);
}

void TPoly::Initialise() {
  glEnable(GL_COLOR_MATERIAL);
}

void TPoly::GetFrame(const ImageHandle& image, int frame, int mode, int new_strip) {
  BindFrame(image, frame, mode, new_strip);
}

void TPoly::Draw(const ImageHandle& image, int frame, std::span<const TPolySlot> slots, int mode,
                 int new_strip) {
  if (slots.size() < 6 || slots.size() % 2 != 0) return;
  if (draw_context::recording && image) {
    draw_context::RecordStrip(image, frame, slots, mode, new_strip);
    return;
  }
  if (!BindFrame(image, frame, mode, new_strip)) return;

  // A trailing partial vertex is never read.
  const std::size_t vertices = slots.size() / kTPolySlotsPerVertex;
  for (std::size_t i = 0; i < vertices; ++i) {
    const TPolySlot* v = &slots[i * kTPolySlotsPerVertex];
    const std::uint32_t argb = v[6].bits;
    glColor4ub(static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8),
               static_cast<GLubyte>(argb), static_cast<GLubyte>(argb >> 24));
    glNormal3f(v[3].real(), v[4].real(), v[5].real());
    glTexCoord2f(v[7].real(), v[8].real());
    glVertex3f(v[0].real(), v[1].real(), v[2].real());
  }

  if (DrawLogEnabled()) {
    DrawEntry entry;
    entry.kind = DrawKind::Strip;
    entry.points.reserve(vertices);
    for (std::size_t i = 0; i < vertices; ++i) {
      const TPolySlot* v = &slots[i * kTPolySlotsPerVertex];
      entry.points.push_back(
          DrawVertex{v[0].real(), v[1].real(), v[7].real(), v[8].real(), v[6].bits});
    }
    // A strip has no single current colour; its first vertex stands for it.
    entry.argb = vertices > 0 ? entry.points.front().argb : 0;
    entry.blend = CurrentDrawState().blend_mode;
    entry.texture = current.name;
    AppendDrawLog(std::move(entry));
  }

  if (new_strip == 1) {
    ClosePrimitive();
    RestoreServiceColour();
  }
}

void TPoly::Line(const ImageHandle& image, int frame, double x1, double y1, std::uint32_t colour1,
                 double x2, double y2, std::uint32_t colour2, double width, std::uint8_t caps,
                 std::uint8_t flip) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  const double len = std::sqrt(dx * dx + dy * dy);
  // A zero-length segment has no direction; bad numbers have none either.
  if (!(len > 0.0) || !std::isfinite(len) || !std::isfinite(width)) return;
  const double a = dx / len * width;
  const double b = dy / len * width;

  std::array<TPolySlot, 8 * kTPolySlotsPerVertex> slots;
  int count = 0;
  auto put = [&](double x, double y, std::uint32_t argb, float u, float v) {
    TPolySlot* s = &slots[static_cast<std::size_t>(count) * kTPolySlotsPerVertex];
    s[0] = TPolySlot::Real(static_cast<float>(x));
    s[1] = TPolySlot::Real(static_cast<float>(y));
    s[2] = TPolySlot::Real(0.0f);
    s[3] = TPolySlot::Real(0.0f);
    s[4] = TPolySlot::Real(0.0f);
    s[5] = TPolySlot::Real(1.0f);
    s[6] = TPolySlot::Packed(argb);
    s[7] = TPolySlot::Real(u);
    s[8] = TPolySlot::Real(v);
    ++count;
  };

  if (caps != 0) {
    // Each cap reaches `width` beyond its end and samples the texture from its middle
    // column out to the edge, so it fades like half a glow dot. The body's columns sit
    // just either side of the middle so neither half bleeds into the other.
    put(x1 - b + a, y1 + a + b, colour1, 1.0f, 0.0f);
    put(x1 + b + a, y1 - a + b, colour1, 1.0f, 1.0f);
    put(x1 - b, y1 + a, colour1, 0.4985f, 0.0f);
    put(x1 + b, y1 - a, colour1, 0.4985f, 1.0f);
    put(x2 - b, y2 + a, colour2, 0.5015f, 0.0f);
    put(x2 + b, y2 - a, colour2, 0.5015f, 1.0f);
    put(x2 - b - a, y2 + a - b, colour2, 1.0f, 0.0f);
    put(x2 + b - a, y2 - a - b, colour2, 1.0f, 1.0f);
  } else if (flip != 0) {
    put(x1 - b, y1 + a, colour1, 0.0f, 0.0f);
    put(x1 + b, y1 - a, colour1, 1.0f, 0.0f);
    put(x2 - b, y2 + a, colour2, 0.0f, 1.0f);
    put(x2 + b, y2 - a, colour2, 1.0f, 1.0f);
  } else {
    put(x1 - b, y1 + a, colour1, 0.0f, 0.0f);
    put(x1 + b, y1 - a, colour1, 0.0f, 1.0f);
    put(x2 - b, y2 + a, colour2, 1.0f, 0.0f);
    put(x2 + b, y2 - a, colour2, 1.0f, 1.0f);
  }
  Draw(image, frame,
       std::span<const TPolySlot>(slots.data(),
                                  static_cast<std::size_t>(count) * kTPolySlotsPerVertex),
       5, 1);
}

long TPoly::BindCount() {
  return bind_count;
}
