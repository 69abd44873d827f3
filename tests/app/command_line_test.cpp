// The command line: every option in both spellings, and the lines that must be refused.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

ParsedCommandLine Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"silkguard"};
  argv.insert(argv.end(), args.begin(), args.end());
  return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NothingGivenPlaysAsTheSettingsSay) {
  const ParsedCommandLine p = Parse({});
  EXPECT_TRUE(p.error.empty());
  EXPECT_FALSE(p.options.help);
  EXPECT_EQ(p.options.display, LaunchOptions::Display::kAsSettings);
  EXPECT_FALSE(p.options.seed.has_value());
  EXPECT_TRUE(p.options.record.empty());
  EXPECT_TRUE(p.options.replay.empty());
}

TEST(CommandLine, EachOptionWithItsValueSeparateOrAfterAnEqualsSign) {
  ParsedCommandLine p =
      Parse({"--fullscreen", "--data-dir", "/tmp/sg", "--seed=-42", "--record", "run.rpl"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.options.display, LaunchOptions::Display::kFullScreen);
  EXPECT_EQ(p.options.data_dir, "/tmp/sg");
  EXPECT_EQ(p.options.seed, -42);
  EXPECT_EQ(p.options.record, "run.rpl");

  p = Parse({"--windowed", "--windowed", "--verify-replay=a b.rpl"});
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.options.display, LaunchOptions::Display::kWindowed);
  EXPECT_EQ(p.options.replay, "a b.rpl");
  EXPECT_TRUE(p.options.verify);

  p = Parse({"--replay", "x.rpl", "-h", "--version"});
  EXPECT_EQ(p.options.replay, "x.rpl");
  EXPECT_FALSE(p.options.verify);
  EXPECT_TRUE(p.options.help);
  EXPECT_TRUE(p.options.version);
}

TEST(CommandLine, LinesThatCannotMeanAnythingAreRefusedWithAReason) {
  for (const auto& args : std::vector<std::vector<const char*>>{
           {"--bogus"},
           {"play"},
           {"--seed"},
           {"--seed", "12abc"},
           {"--seed", "99999999999999999999"},
           {"--seed="},
           {"--data-dir"},
           {"--record"},
           {"--replay="},
           {"--windowed", "--fullscreen"},
           {"--help=yes"},
           {"--replay", "a.rpl", "--verify-replay", "b.rpl"},
           {"--replay", "a.rpl", "--record", "b.rpl"},
           {"--verify-replay", "a.rpl", "--seed", "3"},
       }) {
    std::vector<const char*> argv = {"silkguard"};
    argv.insert(argv.end(), args.begin(), args.end());
    const ParsedCommandLine p = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_FALSE(p.error.empty()) << args.front();
  }
}

TEST(CommandLine, TheHelpNamesEveryOption) {
  const std::string help = UsageText();
  for (const char* option : {"--help", "--version", "--windowed", "--fullscreen", "--data-dir",
                             "--seed", "--record", "--replay", "--verify-replay"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
}

}  // namespace
