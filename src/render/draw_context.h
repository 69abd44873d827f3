// What the units of the drawing service share: the state, the driver cache and the
// small helpers that keep the cache true. Not for use outside src/render.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <span>

#include "render/draw2d.h"
#include "render/tpoly.h"

namespace draw_context {

// Defined in draw_state.cpp.
extern DrawState st;
extern bool display_open;
extern bool scissor_on;       // as last set on the context
extern int max_texture_size;  // of the live context

// Image flags.
inline constexpr int kMaskedImage = 1;
inline constexpr int kFilteredImage = 2;
inline constexpr int kMipmappedImage = 4;

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

// Wire lines drawn inside a line run wait in a queue and reach the driver as two
// arrays (the lines, then their last pixels) per colour: the run's lines share one
// colour and blend, under which their order changes no pixel. Whatever could change
// how queued lines look, or draws over them, sends them first.
extern int line_run_depth;
extern int queued_lines;
void SendQueuedLines();

// Strips at double strength (TPoly::Doubled) change the texture combiner and the blend;
// everything but a strip puts them back first.
extern bool strips_doubled;
void UseDoubledStrips(bool on);

// Layers (layer_cache.cpp): from a Cls until the first batch of lines ends, and for
// each later batch of glow strips, the recordable calls below go on a tape instead of
// to the driver. Anything else ends the layer first, so it is drawn (or copied back)
// before the call. A Record call that returns false took nothing: draw the plain way.
extern bool recording;
bool StartLayer();   // from Cls; true when the clear itself waits on the tape
void StartSprite();  // from the start of a strip batch
void FrameShown();   // from Flip: the next Cls begins a new frame's tape
void EndLayer();
void ForgetLayers();  // the context is going or gone
void RecordColor(int red, int green, int blue);
bool RecordImage(const ImageHandle& image, double x, double y, int frame);
bool RecordLine(double x1, double y1, double x2, double y2, int last_pixel);
bool RecordRun(bool begin);
void RecordStrips(bool begin);
void RecordDoubled(bool on);
void RecordStrip(const ImageHandle& image, int frame, std::span<const TPolySlot> slots, int mode,
                 int new_strip);

inline void BeforeDrawing() {
  if (recording) EndLayer();
  if (queued_lines > 0) SendQueuedLines();
  if (strips_doubled) UseDoubledStrips(false);
}

// True from a Cls to black until the first primitive: what is drawn then lands on black.
extern bool frame_untouched;
inline void BeforePrimitive() {
  BeforeDrawing();
  frame_untouched = false;
}
inline void BeforeStrip() {
  if (recording) EndLayer();
  if (queued_lines > 0) SendQueuedLines();
  frame_untouched = false;
}

// Sets the driver's blend without touching the state's (put the state's back after).
void UseBlend(int mode);

// The state takes a newly opened display's size; the viewport follows it until the
// game sets one itself.
void SizeStateToDisplay(int width, int height);
// Sends the whole state to a fresh context.
void ApplyWholeState();

// The built-in bitmap font as one image (texture.cpp).
const ImageHandle& FontImage();

}  // namespace draw_context
