// The game's seeded random generators. Nothing in the game uses rand().
//
// The game's own draws (targets, headings, waves) come from the first, in the order
// the rules make them. Draws that only change the look (flicker, sparkle) come from
// the cosmetic one, so the same seed and input play the same game in either
// graphics mode, whatever the drawing draws.
#pragma once

#include <cstdint>
#include <vector>

// Seeds both generators; the cosmetic one on a stream of its own.
void SeedRandom(std::int64_t seed);
int RandInt(int lo, int hi);            // lo..hi, both included (swapped if reversed)
double RandReal(double lo, double hi);  // lo <= x < hi

int CosmeticRandInt(int lo, int hi);  // as RandInt, from the cosmetic generator

// Reseeds both generators where the game takes a seed from the clock (at start-up and
// for every wave). With fixed seeds, each reseed takes the next of a sequence made
// from the given seed instead, so a seeded run plays the same however fast it runs.
void ReseedFromClock();
void UseFixedSeeds(std::int64_t seed);
void UseClockSeeds();

// A fingerprint of the game generator's state, for checking that two runs agree.
std::uint64_t RandomStateFingerprint();

// For tests: while a log is attached, every RandInt of the game generator appends its
// bounds as asked, so the count and order of the game's draws can be checked.
struct RandomDraw {
  int lo, hi;
  bool operator==(const RandomDraw&) const = default;
};
void AttachRandomDrawLog(std::vector<RandomDraw>* log);  // nullptr detaches
