// Recorded sessions: --record writes one, --replay and --verify-replay play one back.
#pragma once

#include <cstdint>
#include <string>

#include "persist/replay_file.h"

// A fingerprint of the game: score, lives, level, the spider, every insect, grubsteak,
// egg and bullet, the high scores and the random generator.
std::uint64_t GameStateChecksum();

// Where this session stands now: score, level, checksum and frames presented.
ReplayOutcome CurrentOutcome();

// Recording. Begin once the working folder is entered: it carries the files found
// there and starts the tape. Finish writes the file; false with a reason.
void BeginRecording(bool seeded, std::int64_t seed);
bool FinishRecording(const std::string& path, std::string* error);

// Replay. Load reads and checks the file (a foreign version is refused), enters a
// fresh temporary folder holding the recorded session's files, so the player's own
// are never touched, and starts the tape. Returns 0 or the exit code to leave with,
// with the message for the player in *error.
int LoadReplay(const std::string& path, bool fast, ReplayFile* replay, std::string* error);
// Ends the replay, leaves and removes the temporary folder, and says whether the
// session ended as recorded. diverged: the tape ran out before the session ended.
bool FinishReplay(const ReplayFile& replay, bool diverged, std::string* report);
