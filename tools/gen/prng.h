// Deterministic random numbers for the asset generators: the same seed gives the
// same assets on every build and every machine.
#pragma once

#include <cstdint>

class Prng {
 public:
  explicit Prng(std::uint64_t seed) : state_(seed) {}

  // splitmix64: tiny, fast and good enough for noise and star placement.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

  // Uniform in [-1, 1).
  double Bipolar() { return 2.0 * Unit() - 1.0; }

 private:
  std::uint64_t state_;
};

// Stateless hash for lattice noise: the value at a grid point depends only on its
// coordinates and the seed.
inline std::uint32_t HashPoint(std::int32_t x, std::int32_t y, std::uint32_t seed) {
  std::uint32_t h = seed ^ 0x27D4EB2Du;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
  h *= 0x27D4EB2Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  return h;
}
