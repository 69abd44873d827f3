// The command line: what a player (or a script) can ask of one run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct LaunchOptions {
  enum class Display { kAsSettings, kWindowed, kFullScreen };
  bool help = false;
  bool version = false;
  Display display = Display::kAsSettings;
  std::string data_dir;              // empty: the usual folder
  std::optional<std::int64_t> seed;  // a seeded game
  std::string record;                // write the session's inputs here
  std::string replay;                // play a recorded session back
  bool verify = false;               // the replay at full speed, checked, nothing shown
};

struct ParsedCommandLine {
  LaunchOptions options;
  std::string error;  // empty when the line was understood
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// What --help prints.
std::string UsageText();

// Exit codes beyond 0 and 1.
inline constexpr int kExitBadUsage = 2;   // an option not understood
inline constexpr int kExitBadReplay = 2;  // a replay that cannot be read or is foreign
inline constexpr int kExitReplayDiffers = 1;
