// The control selection's device pictures and what the screen lays over them.
#pragma once

#include "data/line_art.h"

// The control selection's device pictures, by choice: the keyboard, the twin-stick
// pad and the normal pad.
inline constexpr int kControlPictures = 3;
extern const LineArtPicture ControlPictureData[kControlPictures];

// What the selection screen lays over each picture: a glow leader line from each of
// its two labels to the part it names, and glow rings around those parts. Play-area
// pixels.
struct PictureLeader {
  int x1, y1, x2, y2;
};
struct PictureRing {
  int x, y, radius;
};
inline constexpr int kMaxPictureRings = 5;
struct ControlPictureMarks {
  PictureLeader leaders[2];  // from the label at grid (5, 10), then from the one at (25, 21)
  int rings;
  PictureRing ring[kMaxPictureRings];
};
extern const ControlPictureMarks ControlPictureMarkData[kControlPictures];
