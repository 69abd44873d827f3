// The game's one seeded random generator. Nothing in the game uses rand().
#pragma once

#include <cstdint>

void SeedRandom(std::int64_t seed);
int RandInt(int lo, int hi);            // lo..hi, both included (swapped if reversed)
double RandReal(double lo, double hi);  // lo <= x < hi
