// The insects' line shapes turned to every whole-degree heading once at start-up, and
// their drawing.
#pragma once

#include <cstdint>

class GlowBatch;

// One line of a shape turned to a whole-degree heading, end points truncated to pixels:
// the nine integers kept for every line of every frame at every heading.
struct EnemyShapeLine {
  int L;                 // lines per frame of the shape
  std::uint32_t color;   // glow colour, neon mode
  int x1, y1, x2, y2;    // relative to the insect's centre
  int red, green, blue;  // wire colour
};

// Pre-rotates the first `frames` frames of a shape (1..12) for all 360 headings.
// Start-up loads shapes 1..9 with 3 frames, 10 with 4, 11 with 1 and 12 with 4.
void LoadEnemyShape(int shape, int frames);
void LoadEnemyShapes();

// The turned lines of one frame of a loaded shape, heading taken modulo 360; nullptr
// for a shape or frame not loaded. EnemyShapeLineCount gives how many.
const EnemyShapeLine* EnemyShapeLines(int shape, int angle, int frame);
int EnemyShapeLineCount(int shape);   // 0 while not loaded
int EnemyShapeFrameCount(int shape);  // frames loaded, 0 while not loaded

// The colour of a type's lines that cycle through ColorTable while it is marked as
// prey; 0 for types never marked.
std::uint32_t EnemyFlashColor(int type);

// How one insect is drawn this frame.
struct InsectLook {
  // The colour counter of an insect marked as prey: it steps once per line drawn, and
  // the lines of the type's flash colour take that row of ColorTable. nullptr: not
  // marked.
  int* flash_index = nullptr;
  bool hurry = false;  // every line in the yellow of an insect leaving the level
  double scale = 1;    // the turned lines' ends multiplied by this (the embryo in an egg)
  int width = 0;       // neon half-width; 0 for GlowWidth16
};

// One frame of a shape (= insect type) at a play-area position, inside the caller's
// batch.
void DrawInsectShape(GlowBatch& batch, int shape, int angle, int frame, double x, double y,
                     const InsectLook& look);

// One frame of a shape drawn on its own at a play-area position (the difficulty
// screen's bonus icon), in a batch of its own.
void DrawEnemyShape(int shape, int frame, int angle, double x, double y);
