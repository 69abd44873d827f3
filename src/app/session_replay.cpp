#include "app/session_replay.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/command_line.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "data/version.h"
#include "persist/file_io.h"
#include "persist/profile.h"
#include "platform/random.h"
#include "platform/script.h"
#include "platform/session_tape.h"
#include "screens/game_over.h"

namespace {

// FNV-1a over the bytes of each value in turn.
class Fingerprint {
 public:
  template <typename T>
  void Add(const T& value) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char b : bytes) hash_ = (hash_ ^ b) * 0x100000001B3ull;
  }
  void Add(const std::string& text) {
    Add(text.size());
    for (char c : text) Add(c);
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

ReplayFile recording;
std::string replay_folder;  // the temporary folder a replay runs in
std::string folder_before;  // where the program was before it

void LeaveReplayFolder() {
  if (replay_folder.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(folder_before, ec);
  std::filesystem::remove_all(replay_folder, ec);
  replay_folder.clear();
}

}  // namespace

std::uint64_t GameStateChecksum() {
  Fingerprint f;
  f.Add(Score);
  f.Add(Lives);
  f.Add(Level);
  f.Add(StartLevel);
  f.Add(GameOverState);
  f.Add(PlayerX);
  f.Add(PlayerY);
  f.Add(EnemyList.Count());
  for (const Enemies& e : EnemyList) {
    f.Add(e.EnemyType);
    f.Add(e.x);
    f.Add(e.y);
    f.Add(e.angle);
  }
  f.Add(GrubList.Count());
  for (const Grubs& g : GrubList) {
    f.Add(g.X);
    f.Add(g.Y);
    f.Add(g.Color);
  }
  f.Add(EggList.Count());
  for (const Eggs& e : EggList) {
    f.Add(e.x);
    f.Add(e.y);
  }
  f.Add(BulletList.Count());
  for (const PlayerBullets& b : BulletList) {
    f.Add(b.x);
    f.Add(b.y);
  }
  f.Add(PersonalBest);
  f.Add(RunBest);
  for (int row = 0; row < kHighScoreRows; ++row) {
    f.Add(HiName[row]);
    f.Add(HiScore[row]);
    f.Add(HiLevel[row]);
  }
  f.Add(RandomStateFingerprint());
  return f.value();
}

ReplayOutcome CurrentOutcome() {
  ReplayOutcome o;
  o.score = Score;
  o.level = Level;
  o.checksum = GameStateChecksum();
  o.frames = static_cast<std::uint32_t>(FrameNumber());
  return o;
}

void BeginRecording(bool seeded, std::int64_t seed) {
  recording = ReplayFile{};
  recording.game_version = kVersionText;
  recording.seeded = seeded;
  recording.seed = seed;
  for (const char* name : {"settings.dat", "JoypadConfig.txt"}) {
    if (auto bytes = ReadFileBytes(name, kReplayFileLimit))
      recording.files.push_back({name, std::move(*bytes)});
  }
  ResetFrameNumber();
  StartTapeRecording();
}

bool FinishRecording(const std::string& path, std::string* error) {
  recording.outcome = CurrentOutcome();
  recording.tape = StopTapeRecording();
  const std::vector<std::uint8_t> bytes = EncodeReplay(recording);
  std::string why;
  if (!WriteFileAtomically(path, bytes, &why)) {
    if (error) *error = "cannot write the recording to " + path + ": " + why;
    return false;
  }
  std::fprintf(stderr, "Silkguard: recorded %u frames to %s (score %d, level %d)\n",
               static_cast<unsigned>(recording.outcome.frames), path.c_str(),
               static_cast<int>(recording.outcome.score),
               static_cast<int>(recording.outcome.level));
  return true;
}

int LoadReplay(const std::string& path, bool fast, ReplayFile* replay, std::string* error) {
  const auto bytes = ReadFileBytes(path, 256u << 20);
  if (!bytes) {
    *error = "cannot read the replay " + path;
    return kExitBadReplay;
  }
  std::string why;
  if (DecodeReplay(*bytes, replay, &why) != ReplayReadResult::kOk) {
    *error = path + ": " + why;
    return kExitBadReplay;
  }
  if (replay->game_version != kVersionText) {
    *error = path + " was recorded by Silkguard " + replay->game_version + "; this is Silkguard " +
             kVersionText + ", which cannot replay it";
    return kExitBadReplay;
  }
  // A folder of its own: the recorded settings, and whatever the session saves, stay there.
  std::error_code ec;
  folder_before = std::filesystem::current_path(ec).string();
  std::string pattern =
      (std::filesystem::temp_directory_path(ec) / "silkguard-replay-XXXXXX").string();
  if (ec || mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
    *error = "cannot make a folder to replay in: " + std::string(std::strerror(errno));
    return kExitBadReplay;
  }
  replay_folder = pattern;
  for (const ReplayCarriedFile& f : replay->files) {
    if (!WriteFileAtomically(f.name, f.bytes, &why)) {
      *error = "cannot set up the replay's " + f.name + ": " + why;
      LeaveReplayFolder();
      return kExitBadReplay;
    }
  }
  ResetFrameNumber();
  StartTapeReplay(replay->tape, fast);
  return 0;
}

bool FinishReplay(const ReplayFile& replay, bool diverged, std::string* report) {
  const ReplayOutcome now = CurrentOutcome();
  const bool whole = !diverged && TapeReplayFinished();
  StopTapeReplay();
  LeaveReplayFolder();
  const ReplayOutcome& want = replay.outcome;
  char line[256];
  if (!whole) {
    std::snprintf(line, sizeof line,
                  "the replay went another way than its recording after %u of %u frames",
                  static_cast<unsigned>(now.frames), static_cast<unsigned>(want.frames));
    *report = line;
    return false;
  }
  if (!(now == want)) {
    std::snprintf(line, sizeof line,
                  "the replay ended differently: score %d (recorded %d), level %d (recorded %d), "
                  "%u frames (recorded %u), state %s",
                  static_cast<int>(now.score), static_cast<int>(want.score),
                  static_cast<int>(now.level), static_cast<int>(want.level),
                  static_cast<unsigned>(now.frames), static_cast<unsigned>(want.frames),
                  now.checksum == want.checksum ? "the same" : "different");
    *report = line;
    return false;
  }
  std::snprintf(
      line, sizeof line, "the replay matches its recording: %u frames, score %d, level %d",
      static_cast<unsigned>(now.frames), static_cast<int>(now.score), static_cast<int>(now.level));
  *report = line;
  return true;
}
