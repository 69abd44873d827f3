// Replay files: what is written reads back the same; anything cut, changed, foreign or
// overlong is refused with a reason; and the fuzzer's seed files, with every cut-off
// version of each, read without a fault.
#include "persist/replay_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/work_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

ReplayFile Sample() {
  ReplayFile r;
  r.game_version = "1.0";
  r.seeded = true;
  r.seed = -1234567890123;
  r.files = {{"settings.dat", Bytes(464, 7)}, {"JoypadConfig.txt", {'x', '\n'}}};
  r.tape.input = {3, 1, 0x80, 0x02, 2, 5, 0};  // key 0 held after 3 quiet pumps, then 5
  r.tape.clock = {0xC0, 0x9A, 0x0C, 0x20, 0x22};
  r.outcome = {12500, 7, 0x0123456789ABCDEFull, 4242};
  return r;
}

ReplayReadResult Read(const Bytes& bytes, ReplayFile* out = nullptr, std::string* why = nullptr) {
  ReplayFile ignored;
  std::string reason;
  return DecodeReplay(bytes, out ? out : &ignored, why ? why : &reason);
}

TEST(ReplayFile, WrittenAndReadBackTheSame) {
  const ReplayFile r = Sample();
  const Bytes bytes = EncodeReplay(r);
  ReplayFile back;
  std::string why;
  ASSERT_EQ(Read(bytes, &back, &why), ReplayReadResult::kOk) << why;
  EXPECT_EQ(back.game_version, "1.0");
  EXPECT_TRUE(back.seeded);
  EXPECT_EQ(back.seed, r.seed);
  ASSERT_EQ(back.files.size(), 2u);
  EXPECT_EQ(back.files[0].name, "settings.dat");
  EXPECT_EQ(back.files[0].bytes, r.files[0].bytes);
  EXPECT_EQ(back.files[1].bytes, r.files[1].bytes);
  EXPECT_EQ(back.tape.input, r.tape.input);
  EXPECT_EQ(back.tape.clock, r.tape.clock);
  EXPECT_EQ(back.outcome, r.outcome);
  EXPECT_EQ(EncodeReplay(back), bytes);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "SGREPLAY");
}

TEST(ReplayFile, OnlyTheGamesOwnFilesAreCarried) {
  ReplayFile r = Sample();
  r.files.push_back({"../../.bashrc", {'x'}});
  r.files.push_back({"big.dat", Bytes(kReplayFileLimit + 1, 0)});
  ReplayFile back;
  ASSERT_EQ(Read(EncodeReplay(r), &back), ReplayReadResult::kOk);
  EXPECT_EQ(back.files.size(), 2u);
  EXPECT_FALSE(ReplayCarriesName("/etc/passwd"));
  EXPECT_FALSE(ReplayCarriesName("settings.dat/.."));
  EXPECT_TRUE(ReplayCarriesName("JoypadConfig.txt"));
}

TEST(ReplayFile, DamageOfEveryKindIsRefusedWithAReason) {
  const Bytes good = EncodeReplay(Sample());
  std::string why;
  EXPECT_EQ(Read({}, nullptr, &why), ReplayReadResult::kNotAReplay);
  EXPECT_EQ(Read(Bytes{'h', 'e', 'l', 'l', 'o'}, nullptr, &why), ReplayReadResult::kNotAReplay);
  EXPECT_FALSE(why.empty());

  // Every byte changed in turn: the check sum (or the magic) catches it.
  for (std::size_t i = 0; i < good.size(); ++i) {
    Bytes bad = good;
    bad[i] ^= 0x10;
    EXPECT_NE(Read(bad), ReplayReadResult::kOk) << "byte " << i;
  }
  // Every cut.
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_NE(Read(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n))),
              ReplayReadResult::kOk)
        << n;

  // A newer format is named as such, before its check sum is looked at.
  Bytes newer = good;
  newer[8] = 2;
  EXPECT_EQ(Read(newer, nullptr, &why), ReplayReadResult::kNewerFormat);
  EXPECT_NE(why.find("format 2"), std::string::npos) << why;

  // Well-formed files whose content is wrong: a tape that does not decode, a file
  // carried twice.
  ReplayFile r = Sample();
  r.tape.input = {0, 1, 0};
  EXPECT_EQ(Read(EncodeReplay(r), nullptr, &why), ReplayReadResult::kDamaged);
  EXPECT_NE(why.find("input stream"), std::string::npos) << why;
  r = Sample();
  r.files[1].name = "settings.dat";
  EXPECT_EQ(Read(EncodeReplay(r), nullptr, &why), ReplayReadResult::kDamaged);
  EXPECT_NE(why.find("twice"), std::string::npos) << why;
}

std::vector<fs::path> CorpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SG_REPLAY_CORPUS))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ReplayFileCorpus, SeedFilesAndEveryCutOfThemReadWithoutAFault) {
  const auto files = CorpusFiles();
  ASSERT_GE(files.size(), 5u);
  int whole = 0;
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    const Bytes bytes = [&] {
      std::vector<unsigned char> b = ReadBytes(path.string());
      return Bytes(b.begin(), b.end());
    }();
    ReplayFile r;
    std::string why;
    if (Read(bytes, &r, &why) == ReplayReadResult::kOk) {
      ++whole;
      EXPECT_EQ(EncodeReplay(r), bytes);
    } else {
      EXPECT_FALSE(why.empty());
    }
    for (std::size_t n = 0; n + 1 < bytes.size(); n += 7)
      EXPECT_NE(Read(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n))),
                ReplayReadResult::kOk);
  }
  EXPECT_GE(whole, 3) << "the recorded sessions among the seeds read whole";
}

}  // namespace
