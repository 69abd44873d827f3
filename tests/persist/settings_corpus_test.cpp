// The fuzzer's seed files replayed through the settings reader on every test run, with
// every cut-off version of each whole file: nothing read may fault, a whole head always
// gives values, and what was read survives being written and read again.
#include <gtest/gtest.h>

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
