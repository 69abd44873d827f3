// What the units of the drawing service share: the state, the driver cache and the
// small helpers that keep the cache true. Not for use outside src/render.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "render/draw2d.h"

namespace draw_context {

// Defined in draw_state.cpp.
extern DrawState st;
extern bool display_open;
extern bool scissor_on;       // as last set on the context
extern int max_texture_size;  // of the live context

// Driver cache: what the context holds, so redundant calls can be skipped.
extern unsigned cache_texture;
extern bool cache_texturing;
extern bool cache_blend_known;
extern int cache_blend;
extern std::uint8_t cache_color[4];
extern long gl_state_calls;

// Inline: the primitives call these for every shape.
inline void Issued() {
  ++gl_state_calls;
}

inline std::uint32_t CurrentArgb() {
  return (static_cast<std::uint32_t>(cache_color[3]) << 24) |
         (static_cast<std::uint32_t>(cache_color[0]) << 16) |
         (static_cast<std::uint32_t>(cache_color[1]) << 8) | cache_color[2];
}

inline void DisableTex() {
  if (!cache_texturing) return;
  glDisable(GL_TEXTURE_2D);
  cache_texturing = false;
  Issued();
}

inline void BindTex(unsigned name) {
  if (cache_texture == name) return;
  glBindTexture(GL_TEXTURE_2D, name);
  cache_texture = name;
  Issued();
}

inline void EnableTex(unsigned name) {
  BindTex(name);
  if (cache_texturing) return;
  glEnable(GL_TEXTURE_2D);
  cache_texturing = true;
  Issued();
}

// The state takes a newly opened display's size; the viewport follows it until the
// game sets one itself.
void SizeStateToDisplay(int width, int height);
// Sends the whole state to a fresh context.
void ApplyWholeState();

// The built-in bitmap font as one image (texture.cpp).
const ImageHandle& FontImage();

}  // namespace draw_context
