// Textured, per-vertex-coloured triangle strips sent straight to OpenGL; behind
// every glow strip.
#pragma once

#include <bit>
#include <cstdint>
#include <span>

#include "render/draw2d.h"

// One 32-bit slot of a strip's vertex array. Positions, normals and texture
// coordinates are reals; the colour is the packed ARGB integer kept bit for bit, so
// the slot holds raw bits rather than a float (an ARGB with alpha 0xFF would be a NaN).
struct TPolySlot {
  std::uint32_t bits = 0;

  static constexpr TPolySlot Real(float value) { return {std::bit_cast<std::uint32_t>(value)}; }
  static constexpr TPolySlot Packed(std::uint32_t argb) { return {argb}; }
  constexpr float real() const { return std::bit_cast<float>(bits); }
};

// Slots per vertex: x, y, z, normal x, y, z, colour, u, v.
inline constexpr int kTPolySlotsPerVertex = 9;

struct TPoly {
  static void _Begin();
  static void _End();
  static void Initialise();
  // Binds the frame's texture unless already current and opens a primitive.
  // Mode 6 is a filled polygon, anything else a triangle strip.
  static void GetFrame(const ImageHandle& image, int frame, int mode, int new_strip);
  // Nine slots per vertex; arrays of fewer than 6 slots or an odd count draw nothing.
  static void Draw(const ImageHandle& image, int frame, std::span<const TPolySlot> slots, int mode,
                   int new_strip);
  // A strip of half-width `width` from (x1, y1) to (x2, y2), window pixels.
  static void Line(const ImageHandle& image, int frame, double x1, double y1, std::uint32_t colour1,
                   double x2, double y2, std::uint32_t colour2, double width, std::uint8_t caps,
                   std::uint8_t flip);

  // On: each strip lights twice as much, as two strips laid over each other do under the
  // additive blend, in one pass. Only for opaque vertex colours under BLEND_ADD; _End
  // turns it off.
  static void Doubled(bool on);

  // Texture binds issued so far (tests check that a run of strips binds once).
  static long BindCount();
};
