// Recorded sessions, through the whole program: a game recorded with its input replays
// to the same end; a replay that ends differently, a damaged one and one from another
// version are told apart; a seeded run plays the same game however its clock runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/session_replay.h"
#include "app/startup.h"
#include "arena/level_state.h"
#include "persist/file_io.h"
#include "persist/replay_file.h"
#include "persist/settings_file.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "platform/session_tape.h"
#include "support/frame_script.h"
#include "support/work_folder.h"

namespace {

namespace fs = std::filesystem;

// Every session here runs in a process of its own, as a player's does: one that
// followed another in the same process would start from what that one left behind.
// gtest's threadsafe death tests run the statement in a fresh process.
class ReplayScenario : public testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    here_ = fs::current_path();
  }
  void TearDown() override {
    for (const std::string& f : made_) fs::remove(f);
  }
  // A file beside the test's work folders, the same path in every process.
  std::string Here(const std::string& name) {
    made_.push_back((here_ / name).string());
    return made_.back();
  }

 private:
  fs::path here_;
  std::vector<std::string> made_;
};

// A player with a settings file of their own (silent, so the run is quick), who starts
// a game, walks and fires in a changing pattern, and closes the window mid-game. The
// exit code says whether the session ran as scripted.
int RecordASession(const std::string& path, int frames, LaunchOptions options = {}) {
  WorkFolder folder;
  SettingsValues stored;
  stored.SoundOn = 0;
  stored.MusicOn = 0;
  WriteBytes("settings.dat", FormatSettings(stored));
  FrameScript script;
  // Escape skips the intro; the menu opens four frames later.
  script.Press(1, kVkEscape).Press(7, kVkEnter).Press(10, kVkEnter);
  script.EachFrame([](int frame) {
    if (frame < 20 || frame % 15 != 0) return;
    constexpr int kWalk[] = {kVkLeft, kVkUp, kVkRight, kVkDown};
    constexpr int kFire[] = {'W', 'A', 'S', 'D'};
    for (int k : kWalk) InjectKeyUp(k);
    for (int k : kFire) InjectKeyUp(k);
    if (frame % 90 < 30) InjectKeyDown(kWalk[(frame / 90) % 4]);
    InjectKeyDown(kFire[(frame / 15) % 4]);
  });
  script.At(frames, [] { InjectQuit(); });
  options.record = path;
  const int code = Startup(options);
  return code == 0 && script.Frames() == frames ? 0 : 3;
}

// Replays the file at full speed in a folder holding a settings file of the player's,
// which must come through untouched. The exit code is the replay's, or 3.
int VerifyReplay(const std::string& path) {
  WorkFolder folder;
  const std::vector<unsigned char> mine = {'m', 'i', 'n', 'e'};
  WriteBytes("settings.dat", mine);
  FrameScript script;  // headless, and nothing injected
  LaunchOptions options;
  options.replay = path;
  options.verify = true;
  const int code = Startup(options);
  const bool untouched = ReadBytes("settings.dat") == mine &&
                         folder.Files() == std::vector<std::string>{"settings.dat"};
  return untouched ? code : 3;
}

ReplayFile ReadReplay(const std::string& path) {
  ReplayFile replay;
  const auto bytes = ReadFileBytes(path, 1u << 24);
  EXPECT_TRUE(bytes.has_value()) << path;
  std::string why;
  if (bytes) {
    EXPECT_EQ(DecodeReplay(*bytes, &replay, &why), ReplayReadResult::kOk) << why;
  }
  return replay;
}

void WriteReplay(const std::string& path, const ReplayFile& replay) {
  const auto bytes = EncodeReplay(replay);
  WriteBytes(path, std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

// The same session with every clock reading later by `ms`: the first reading is
// stored whole, the rest as differences.
ReplayFile ClockShifted(ReplayFile replay, int ms) {
  std::vector<std::uint8_t>& clock = replay.tape.clock;
  std::uint64_t first = 0;
  std::size_t used = 0;
  for (int shift = 0; used < clock.size(); shift += 7) {
    first |= static_cast<std::uint64_t>(clock[used] & 0x7F) << shift;
    if ((clock[used++] & 0x80) == 0) break;
  }
  const std::int64_t value = static_cast<std::int64_t>((first >> 1) ^ (~(first & 1) + 1)) + ms;
  std::uint64_t zig =
      (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
  std::vector<std::uint8_t> head;
  while (zig >= 0x80) {
    head.push_back(static_cast<std::uint8_t>(zig | 0x80));
    zig >>= 7;
  }
  head.push_back(static_cast<std::uint8_t>(zig));
  clock.erase(clock.begin(), clock.begin() + static_cast<std::ptrdiff_t>(used));
  clock.insert(clock.begin(), head.begin(), head.end());
  return replay;
}

TEST_F(ReplayScenario, ARecordedGameReplaysToTheSameEndAndLeavesThePlayersFilesAlone) {
  const std::string game = Here("game.rpl");
  EXPECT_EXIT(std::_Exit(RecordASession(game, 700)), testing::ExitedWithCode(0),
              "recorded 700 frames");
  const ReplayFile recorded = ReadReplay(game);
  EXPECT_EQ(recorded.outcome.frames, 700u);
  EXPECT_GT(recorded.outcome.score, 0) << "the player shot something";
  EXPECT_FALSE(recorded.seeded);
  ASSERT_EQ(recorded.files.size(), 1u);
  EXPECT_EQ(recorded.files[0].name, "settings.dat");
  // A few bytes a frame, not a snapshot a frame.
  EXPECT_LT(recorded.tape.input.size() + recorded.tape.clock.size(), 700u * 8);

  EXPECT_EXIT(std::_Exit(VerifyReplay(game)), testing::ExitedWithCode(0),
              "the replay matches its recording: 700 frames");
}

TEST_F(ReplayScenario, AnotherEndADamagedFileAndAnotherVersionAreToldApart) {
  const std::string game = Here("short.rpl");
  EXPECT_EXIT(std::_Exit(RecordASession(game, 300)), testing::ExitedWithCode(0), "recorded");
  const ReplayFile replay = ReadReplay(game);

  ReplayFile other_end = replay;
  other_end.outcome.checksum ^= 1;
  const std::string other = Here("other_end.rpl");
  WriteReplay(other, other_end);
  EXPECT_EXIT(std::_Exit(VerifyReplay(other)), testing::ExitedWithCode(kExitReplayDiffers),
              "ended differently.*state different");

  // The session never gets to run: nothing is left behind.
  ReplayFile old = replay;
  old.game_version = "0.9";
  const std::string old_path = Here("old.rpl");
  WriteReplay(old_path, old);
  testing::internal::CaptureStderr();
  EXPECT_EQ(VerifyReplay(old_path), kExitBadReplay);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("recorded by Silkguard 0.9"), std::string::npos) << said;

  std::vector<unsigned char> damaged = ReadBytes(game);
  damaged[damaged.size() / 2] ^= 0x40;
  const std::string damaged_path = Here("damaged.rpl");
  WriteBytes(damaged_path, damaged);
  testing::internal::CaptureStderr();
  EXPECT_EQ(VerifyReplay(damaged_path), kExitBadReplay);
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("damaged"), std::string::npos) << said;
  testing::internal::CaptureStderr();
  EXPECT_EQ(VerifyReplay(Here("missing.rpl")), kExitBadReplay);
  said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("cannot read"), std::string::npos) << said;
}

// A seeded run takes none of its seeds from the clock: the same session with every
// clock reading later still ends the same; without a seed it does not.
TEST_F(ReplayScenario, ASeededGameIsTheSameGameWhateverTheClockSays) {
  LaunchOptions seeded;
  seeded.seed = 4242;
  const std::string with_seed = Here("seeded.rpl");
  EXPECT_EXIT(std::_Exit(RecordASession(with_seed, 900, seeded)), testing::ExitedWithCode(0),
              "recorded");
  const ReplayFile first = ReadReplay(with_seed);
  EXPECT_TRUE(first.seeded);
  EXPECT_EQ(first.seed, 4242);
  const std::string later = Here("seeded_later.rpl");
  WriteReplay(later, ClockShifted(first, 98765));
  EXPECT_EXIT(std::_Exit(VerifyReplay(later)), testing::ExitedWithCode(0), "matches");

  const std::string clock_seeded = Here("clock.rpl");
  EXPECT_EXIT(std::_Exit(RecordASession(clock_seeded, 900)), testing::ExitedWithCode(0),
              "recorded");
  const std::string clock_later = Here("clock_later.rpl");
  WriteReplay(clock_later, ClockShifted(ReadReplay(clock_seeded), 98765));
  EXPECT_EXIT(std::_Exit(VerifyReplay(clock_later)), testing::ExitedWithCode(kExitReplayDiffers),
              "differently|another way");
}

}  // namespace
