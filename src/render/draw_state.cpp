// The drawing state, its setters, and the cache of what the GL context holds.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/trig.h"
#include "platform/window.h"
#include "render/draw2d.h"
#include "render/draw_context.h"

namespace draw_context {

DrawState st;
bool display_open = false;
bool scissor_on = false;
int max_texture_size = 0;

unsigned cache_texture = 0;
bool cache_texturing = false;
bool cache_blend_known = false;
int cache_blend = 0;
std::uint8_t cache_color[4] = {255, 255, 255, 255};
long gl_state_calls = 0;

}  // namespace draw_context

using draw_context::display_open;
using draw_context::Issued;
using draw_context::st;

namespace {

bool viewport_follows_window = true;  // until the game sets one itself

int ClampByte(int v) {
  return std::clamp(v, 0, 255);
}

int AlphaByte() {
  return static_cast<int>(st.color_alpha * 255.0);
}

// The colour is sent on every set, not compared with the cache: strips colour their
// vertices behind the service, so the context may no longer hold the cached colour.
void ApplyColor() {
  using draw_context::cache_color;
  cache_color[0] = static_cast<std::uint8_t>(st.color_red);
  cache_color[1] = static_cast<std::uint8_t>(st.color_green);
  cache_color[2] = static_cast<std::uint8_t>(st.color_blue);
  cache_color[3] = static_cast<std::uint8_t>(AlphaByte());
  if (!display_open) return;
  glColor4ub(cache_color[0], cache_color[1], cache_color[2], cache_color[3]);
  Issued();
}

void ApplyBlend(int mode) {
  using draw_context::cache_blend;
  using draw_context::cache_blend_known;
  using draw_context::gl_state_calls;
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
  using draw_context::scissor_on;
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
  draw_context::gl_state_calls += 2;
}

}  // namespace

namespace draw_context {

void SizeStateToDisplay(int width, int height) {
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
}

void UseBlend(int mode) {
  ApplyBlend(mode);
}

bool strips_doubled = false;

void UseDoubledStrips(bool on) {
  if (on == strips_doubled) return;
  strips_doubled = on;
  if (on) {
    // Colour times the glow's alpha, doubled, added as it is: the sum two strips make,
    // clamped where they would clamp it.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_ALPHA);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 2.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
    glBlendFunc(GL_ONE, GL_ONE);
  } else {
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  }
  // The blend the service believes in is not the driver's while doubled.
  cache_blend_known = false;
  if (!on) ApplyBlend(st.blend_mode);
}

void ApplyWholeState() {
  draw_context::BeforeDrawing();
  ApplyBlend(st.blend_mode);
  ApplyColor();
  ApplyClsColor();
  ApplyLineWidth();
  BuildMatrix();
  ApplyViewport();
}

}  // namespace draw_context

void SetColor(int red, int green, int blue) {
  if (draw_context::recording) {
    // The state moves on at once, for callers that read it; the driver hears of it
    // when the tape is played.
    draw_context::RecordColor(red, green, blue);
    st.color_red = ClampByte(red);
    st.color_green = ClampByte(green);
    st.color_blue = ClampByte(blue);
    return;
  }
  draw_context::BeforeDrawing();
  st.color_red = ClampByte(red);
  st.color_green = ClampByte(green);
  st.color_blue = ClampByte(blue);
  ApplyColor();
}

void SetAlpha(double alpha) {
  draw_context::BeforeDrawing();
  st.color_alpha = std::isnan(alpha) ? 0.0 : std::clamp(alpha, 0.0, 1.0);
  ApplyColor();
}

void SetBlend(int mode) {
  draw_context::BeforeDrawing();
  st.blend_mode = mode;
  if (display_open) ApplyBlend(mode);
}

void SetClsColor(int red, int green, int blue) {
  draw_context::EndLayer();
  st.clscolor_red = ClampByte(red);
  st.clscolor_green = ClampByte(green);
  st.clscolor_blue = ClampByte(blue);
  ApplyClsColor();
}

void SetViewport(int x, int y, int w, int h) {
  draw_context::BeforeDrawing();
  viewport_follows_window = false;
  st.viewport_x = x;
  st.viewport_y = y;
  st.viewport_w = w;
  st.viewport_h = h;
  ApplyViewport();
}

void SetRotation(double degrees) {
  draw_context::EndLayer();
  st.tform_rot = std::isfinite(degrees) ? degrees : 0.0;
  BuildMatrix();
}

void SetLineWidth(double width) {
  draw_context::BeforeDrawing();
  st.line_width = width;
  ApplyLineWidth();
}

const DrawState& CurrentDrawState() {
  return st;
}

long GLStateCalls() {
  return draw_context::gl_state_calls;
}

void ResetDrawState() {
  draw_context::BeforeDrawing();
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
    draw_context::cache_blend_known = false;
    draw_context::ApplyWholeState();
  } else {
    ApplyColor();
  }
}
