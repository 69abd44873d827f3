#include "platform/random.h"

#include <utility>

#include "platform/clock.h"

namespace {

// xoshiro256** seeded through splitmix64: fast, and the same sequence on every
// platform and standard library, which std:: distributions do not promise.
struct Generator {
  std::uint64_t s[4];
};
Generator game = {
    {0x9E3779B97F4A7C15ull, 0xBF58476D1CE4E5B9ull, 0x94D049BB133111EBull, 0x2545F4914F6CDD1Dull}};
Generator cosmetic = {
    {0x2545F4914F6CDD1Dull, 0x94D049BB133111EBull, 0xBF58476D1CE4E5B9ull, 0x9E3779B97F4A7C15ull}};
// Keeps the cosmetic stream apart from the game's for the same seed.
constexpr std::uint64_t kCosmeticStream = 0xD1B54A32D192ED03ull;

std::uint64_t Rotl(std::uint64_t x, int k) {
  return (x << k) | (x >> (64 - k));
}

std::uint64_t Next(Generator& g) {
  std::uint64_t* state = g.s;
  const std::uint64_t result = Rotl(state[1] * 5, 7) * 9;
  const std::uint64_t t = state[1] << 17;
  state[2] ^= state[0];
  state[3] ^= state[1];
  state[1] ^= state[2];
  state[0] ^= state[3];
  state[2] ^= t;
  state[3] = Rotl(state[3], 45);
  return result;
}

void Seed(Generator& g, std::uint64_t x) {
  for (auto& s : g.s) {
    x += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    s = z ^ (z >> 31);
  }
}

int Between(Generator& g, int lo, int hi) {
  if (lo > hi) std::swap(lo, hi);
  const std::uint64_t span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo) + 1;
  // Rejection keeps every value equally likely.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  std::uint64_t r;
  do r = Next(g);
  while (r >= limit);
  return static_cast<int>(lo + static_cast<std::int64_t>(r % span));
}

std::vector<RandomDraw>* draw_log = nullptr;

bool fixed_seeds = false;
std::uint64_t fixed_seed_state = 0;

}  // namespace

void SeedRandom(std::int64_t seed) {
  Seed(game, static_cast<std::uint64_t>(seed));
  Seed(cosmetic, static_cast<std::uint64_t>(seed) ^ kCosmeticStream);
}

int RandInt(int lo, int hi) {
  if (draw_log != nullptr) draw_log->push_back({lo, hi});
  return Between(game, lo, hi);
}

double RandReal(double lo, double hi) {
  const double unit = static_cast<double>(Next(game) >> 11) * (1.0 / 9007199254740992.0);
  return lo + (hi - lo) * unit;
}

int CosmeticRandInt(int lo, int hi) {
  return Between(cosmetic, lo, hi);
}

void ReseedFromClock() {
  if (!fixed_seeds) {
    SeedRandom(Millisecs());
    return;
  }
  // SplitMix64 steps: every reseed of a seeded run differs from the one before.
  fixed_seed_state += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = fixed_seed_state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  SeedRandom(static_cast<std::int64_t>((z ^ (z >> 31)) >> 1));
}

void UseFixedSeeds(std::int64_t seed) {
  fixed_seeds = true;
  fixed_seed_state = static_cast<std::uint64_t>(seed);
  SeedRandom(seed);
}

void UseClockSeeds() {
  fixed_seeds = false;
}

std::uint64_t RandomStateFingerprint() {
  std::uint64_t h = 0;
  for (const std::uint64_t s : game.s) h = Rotl(h, 17) ^ s;
  return h;
}

void AttachRandomDrawLog(std::vector<RandomDraw>* log) {
  draw_log = log;
}
