// Decoding of PNG and JPEG bytes into RGBA pixmaps.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct Pixmap {
  int width = 0;
  int height = 0;
  bool has_alpha = false;          // the source carried an alpha channel
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom
};

// Recognises the format by its signature. Nothing for bytes that are not a whole,
// valid PNG or JPEG image; never throws, never aborts.
std::optional<Pixmap> DecodeImage(std::span<const unsigned char> bytes);
