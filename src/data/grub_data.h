// Line art of the grubsteak: a dollar sign, never rotated.
#pragma once

inline constexpr int kGrubSegments = 13;

// x1, y1, x2, y2 of each segment, relative to the grubsteak's centre.
extern const int GrubShapeData[kGrubSegments * 4];
