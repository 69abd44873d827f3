// Line art of the insects: twelve shapes, each a few frames of coloured line segments
// relative to the insect's centre, unturned (pointing up).
#pragma once

#include <cstdint>

// One line of a shape.
struct EnemyShapeRecord {
  std::uint32_t color;   // glow colour, neon mode (0xAARRGGBB)
  float x1, y1, x2, y2;  // end points, pixels from the centre; y grows downwards
  int red, green, blue;  // wire colour
};

struct EnemyShapeSource {
  int lines;                        // lines in each frame
  int frames;                       // frames stored, one after the other
  std::uint32_t flash_color;        // lines of this colour cycle while marked as prey; 0 never
  const EnemyShapeRecord* records;  // frames * lines records
};

inline constexpr int kEnemyShapeCount = 12;
// Entry s - 1 is shape s: 1 hornet, 2 mosquito, 3 beetle, 4 dragonfly, 5 grenade bug,
// 6 rocket bug, 7 spoiler, 8 bug slayer, 9 rockette, 10 thunderbug, 11 the bonus icon
// of the difficulty screen, 12 thunderbug hit once.
extern const EnemyShapeSource EnemyShapeSources[kEnemyShapeCount];
