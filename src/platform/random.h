// The game's seeded random generators. Nothing in the game uses rand().
//
// The game's own draws (targets, headings, waves) come from the first, in the order
// the rules make them. Draws that only change the look (flicker, sparkle) come from
// the cosmetic one, so the same seed and input play the same game in either
// graphics mode, whatever the drawing draws.
#pragma once

#include <cstdint>

// Seeds both generators; the cosmetic one on a stream of its own.
void SeedRandom(std::int64_t seed);
int RandInt(int lo, int hi);            // lo..hi, both included (swapped if reversed)
double RandReal(double lo, double hi);  // lo <= x < hi

int CosmeticRandInt(int lo, int hi);  // as RandInt, from the cosmetic generator
