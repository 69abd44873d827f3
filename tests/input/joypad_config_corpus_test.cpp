// The fuzzer's seed files for the controller file replayed on every test run, with
// every cut-off version of each: nothing read may fault or leave a guarded value out of
// its range, and what was read survives being written and read again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "input/joypad_config.h"
#include "support/work_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SG_JOYPAD_CORPUS))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

void ExpectInRange(const JoypadConfigValues& v) {
  ASSERT_GE(v.ControlType, 0);
  ASSERT_LT(v.ControlType, kControlTypeCount);
  ASSERT_GE(v.UsedPort, 0);
  ASSERT_LT(v.UsedPort, kMappedPorts);
  for (const bbjoypad& j : v.Ports) {
    for (int invert : {j.x1invert, j.y1invert, j.x2invert, j.y2invert})
      ASSERT_TRUE(invert == 1 || invert == -1);
    for (double scale : {j.x1scale, j.y1scale, j.x2scale, j.y2scale}) ASSERT_NE(scale, 0.0);
    for (double r :
         {j.x1center, j.y1center, j.x2center, j.y2center, j.x1dz, j.y1dz, j.x2dz, j.y2dz})
      ASSERT_LE(std::fabs(r), 1.0);
  }
}

// Reads, writes what was read, reads that, and writes it again.
void Replay(const Bytes& bytes) {
  JoypadConfigValues v;
  ParseJoypadConfig(bytes, v);
  ExpectInRange(v);
  const Bytes written = FormatJoypadConfig(v);
  JoypadConfigValues again;
  ParseJoypadConfig(written, again);
  ExpectInRange(again);
  ASSERT_EQ(FormatJoypadConfig(again), written);
}

TEST(JoypadConfigCorpus, EverySeedFileAndEveryCutOffCopyReadsAndSurvivesAWriteAndARead) {
  const auto files = CorpusFiles();
  ASSERT_GE(files.size(), 5u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    const Bytes bytes = ReadBytes(file.string());
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
      SCOPED_TRACE(n);
      Replay(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)));
      if (HasFatalFailure()) return;
    }
  }
}

TEST(JoypadConfigCorpus, TheGamesOwnFilesComeBackByteForByte) {
  int whole = 0;
  for (const auto& file : CorpusFiles()) {
    const std::string name = file.filename().string();
    if (name.rfind("damaged", 0) == 0 || name.rfind("edited", 0) == 0) continue;
    SCOPED_TRACE(name);
    const Bytes bytes = ReadBytes(file.string());
    JoypadConfigValues v;
    ParseJoypadConfig(bytes, v);
    EXPECT_EQ(FormatJoypadConfig(v), bytes);
    ++whole;
  }
  EXPECT_GE(whole, 2);
}

}  // namespace
