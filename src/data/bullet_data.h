// Line art of the player's shot: an eight-pointed star, never rotated.
#pragma once

inline constexpr int kBulletSegments = 16;

// x1, y1, x2, y2 of each segment, relative to the bullet's position.
extern const int BulletShapeData[kBulletSegments * 4];
