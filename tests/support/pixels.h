// Pixel read-back for tests, in window pixels with the origin at the top-left.
#pragma once

#include <cstdint>

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// Reads the pixel of the last presented frame (the front buffer, falling back to the
// back buffer where the driver keeps it after the swap).
Rgb ReadPixel(int x, int y);

// Writes the whole window as a PNG (for looking at a frame by eye).
bool SaveScreenshot(const char* path);
