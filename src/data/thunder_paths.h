// The sixteen flight paths of the bonus level's thunderbugs: smooth routes from beyond
// one border of the play area, through the arena, to beyond another.
#pragma once

inline constexpr int kThunderPathCount = 16;
inline constexpr int kThunderPathEnd = 9999;  // the x that ends a table
// The most points a path has.
inline constexpr int kThunderPathMaxPoints = 87;

// Path p - 1: x, y pairs in play-area pixels, ended by a pair whose x is 9999.
extern const int* const ThunderPathTables[kThunderPathCount];
