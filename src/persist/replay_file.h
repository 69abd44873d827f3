// Replay files: a recorded session in a compact binary form.
//
// "SGREPLAY", a format version (u16), the game version text, the seed, the files the
// session started with (its settings and controller files), both streams of the
// session tape, the outcome the recording ended with, and a CRC-32 of everything
// before it. Integers are little-endian. Anything else is refused with a reason.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/session_tape.h"

inline constexpr std::uint16_t kReplayFormatVersion = 1;
inline constexpr std::size_t kReplayFileLimit = 1u << 20;  // per carried file
inline constexpr int kReplayMaxFiles = 4;

// A file the session found in its working folder; only the game's own names.
struct ReplayCarriedFile {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

// Where the recorded session ended.
struct ReplayOutcome {
  std::int32_t score = 0;
  std::int32_t level = 0;
  std::uint64_t checksum = 0;
  std::uint32_t frames = 0;
  bool operator==(const ReplayOutcome&) const = default;
};

struct ReplayFile {
  std::string game_version;
  bool seeded = false;  // a --seed run reseeds from its own sequence, not the clock
  std::int64_t seed = 0;
  std::vector<ReplayCarriedFile> files;
  SessionTape tape;
  ReplayOutcome outcome;
};

// The names a replay may carry: the game's settings and controller files.
bool ReplayCarriesName(const std::string& name);

std::vector<std::uint8_t> EncodeReplay(const ReplayFile& replay);

enum class ReplayReadResult { kOk, kNotAReplay, kNewerFormat, kDamaged };

// Reads a whole file's bytes, tape included (checked to its end). On failure *out is
// unchanged and *reason says what is wrong, in words for the player.
ReplayReadResult DecodeReplay(std::span<const std::uint8_t> bytes, ReplayFile* out,
                              std::string* reason);
