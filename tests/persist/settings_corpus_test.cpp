// The fuzzer's seed files replayed through the settings reader on every test run, with
// every cut-off version of each whole file: nothing read may fault, a whole head always
// gives values, and what was read survives being written and read again.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "persist/settings_file.h"
#include "support/work_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SG_SETTINGS_CORPUS))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Reads, writes what was read, and reads that again.
void Replay(const Bytes& bytes) {
  const auto values = ParseSettings(bytes);
  ASSERT_EQ(values.has_value(), bytes.size() >= kSettingsHeadBytes);
  if (!values) return;
  const Bytes written = FormatSettings(*values);
  const auto again = ParseSettings(written);
  ASSERT_TRUE(again.has_value());
  ASSERT_EQ(*again, *values);
}

// A file written out by hand from the format: 22 little-endian integers, each with a
// value of its own so that two swapped items show, then CR LF lines. The reader takes
// each item from its place, and the writer gives back these very bytes.
TEST(SettingsCorpus, AFileWrittenByHandFromTheFormatReadsAndWritesExactly) {
  Bytes bytes;
  const int head[22] = {1,  1,    0,    123456, 90,   91, 92, 93, 94, 95, 96,
                        97, 1280, 1024, 128,    -128, 64, 0,  1,  -3, 2,  22};
  for (const int v : head) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((u >> shift) & 0xFF);
  }
  auto line = [&](const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(13);
    bytes.push_back(10);
  };
  line("Ann B");
  line("spare");
  for (int r = 0; r < 10; ++r) {
    line("name" + std::to_string(r));
    line(std::to_string(1000 - r));
    line(std::to_string(r + 1) + " ( 1)");
    line(" ");
  }
  line("\r\n");  // the blank line is itself CR LF, written as a line
  line("Don't bother trying to changing any");
  line("of these values, because they're not");
  line("synced with the online server - only");
  line("the latest in-game score is synced.");

  const auto read = ParseSettings(bytes);
  ASSERT_TRUE(read.has_value());
  const SettingsValues& v = *read;
  const int got[22] = {v.FullScreen,    v.NeonMode,      v.BackgroundOn,  v.PersonalBest,
                       v.KeyMoveLeft,   v.KeyMoveRight,  v.KeyMoveUp,     v.KeyMoveDown,
                       v.KeyFireUp,     v.KeyFireDown,   v.KeyFireLeft,   v.KeyFireRight,
                       v.ScreenWidth,   v.ScreenHeight,  v.ScreenOffsetX, v.ScreenOffsetY,
                       v.SavedOffsetY,  v.SoundOn,       v.MusicOn,       v.GlowAmount,
                       v.ControlScheme, v.StickThreshold};
  for (int i = 0; i < 22; ++i) EXPECT_EQ(got[i], head[i]) << "item " << i + 1;
  EXPECT_EQ(v.PlayerName, "Ann B");
  EXPECT_EQ(v.SpareLine, "spare");
  for (int r = 0; r < 10; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(v.rows[static_cast<std::size_t>(r)].name, "name" + std::to_string(r));
    EXPECT_EQ(v.rows[static_cast<std::size_t>(r)].score, std::to_string(1000 - r));
    EXPECT_EQ(v.rows[static_cast<std::size_t>(r)].level, std::to_string(r + 1) + " ( 1)");
    EXPECT_EQ(v.rows[static_cast<std::size_t>(r)].spare, " ");
  }
  EXPECT_EQ(FormatSettings(v), bytes);
}

TEST(SettingsCorpus, EverySeedFileReadsAndSurvivesAWriteAndARead) {
  const auto files = CorpusFiles();
  ASSERT_GE(files.size(), 5u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    Replay(ReadBytes(file.string()));
  }
}

TEST(SettingsCorpus, TheGamesOwnFilesComeBackByteForByte) {
  int whole = 0;
  for (const auto& file : CorpusFiles()) {
    if (StartsWith(file.filename().string(), "damaged")) continue;
    SCOPED_TRACE(file.filename().string());
    const Bytes bytes = ReadBytes(file.string());
    EXPECT_EQ(FormatSettings(*ParseSettings(bytes)), bytes);
    ++whole;
  }
  EXPECT_GE(whole, 3);
}

TEST(SettingsCorpus, EveryCutOffFileReadsAsMuchAsItHolds) {
  for (const auto& file : CorpusFiles()) {
    if (StartsWith(file.filename().string(), "damaged")) continue;
    SCOPED_TRACE(file.filename().string());
    const Bytes bytes = ReadBytes(file.string());
    const SettingsValues full = *ParseSettings(bytes);
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
      SCOPED_TRACE(n);
      const Bytes cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
      Replay(cut);
      if (n < kSettingsHeadBytes) continue;
      // The head is whole; each text is the start of the whole file's.
      const SettingsValues v = *ParseSettings(cut);
      ASSERT_EQ(v.StickThreshold, full.StickThreshold);
      ASSERT_EQ(v.PersonalBest, full.PersonalBest);
      ASSERT_TRUE(StartsWith(full.PlayerName, v.PlayerName));
      for (std::size_t r = 0; r < full.rows.size(); ++r) {
        ASSERT_TRUE(StartsWith(full.rows[r].name, v.rows[r].name));
        ASSERT_TRUE(StartsWith(full.rows[r].score, v.rows[r].score));
      }
    }
  }
}

}  // namespace
