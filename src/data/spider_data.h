// Line art of the player's spider: three walk frames, unrotated, facing up.
#pragma once

// One line of the figure, relative to the spider's centre in pixels.
struct SpiderLine {
  int marker;  // kSpiderBodyMarker for the body lines that flash when hit
  int x1, y1, x2, y2;
  int r, g, b;
};

inline constexpr int kSpiderBodyMarker = -1;
inline constexpr int kSpiderFrames = 3;
inline constexpr int kSpiderLines = 25;

extern const SpiderLine SpiderFigureData[kSpiderFrames][kSpiderLines];
