// Line art drawn line by line: the title logo, the difficulty pictures, the intro's
// logo and the credits picture. Each line is the eight integers the game keeps for it.
#pragma once

#include <cstdint>

struct LineArtRecord {
  std::uint32_t glow;    // neon colour, 0xAARRGGBB
  int x1, y1, x2, y2;    // end points relative to the picture's centre, y down
  int red, green, blue;  // wire colour
};

// The word "silkguard" over a strand of silk with a spider hanging from it, centred on
// the middle of the word. The logo draws every line in one wire colour of its own.
inline constexpr int kTitleLogoLines = 70;
extern const LineArtRecord TitleLogoData[kTitleLogoLines];

// A picture: its line count and its lines.
struct LineArtPicture {
  int lines;
  const LineArtRecord* records;
};

// The difficulty screen's spider in its web, calm, alert and furious.
inline constexpr int kDifficultyPictures = 3;
extern const LineArtPicture DifficultyPictureData[kDifficultyPictures];
