// Image writers for the asset generators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// channels: 3 (RGB) or 4 (RGBA), rows top to bottom. The "Software" text chunk
// names the generator. Returns false (after a message on stderr) on failure.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& pixels, const std::string& software);

// RGB only. The comment marker names the generator.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality, const std::string& software);
