// Writing never loses the old file: a failure at any point leaves it as it was and no
// temporary file behind.
#include "persist/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/work_folder.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(FileIo, AWriteReplacesTheFileAndLeavesNothingElse) {
  WorkFolder folder;
  ASSERT_TRUE(WriteFileAtomically("settings.dat", Text("old contents")));
  ASSERT_TRUE(WriteFileAtomically("settings.dat", Text("new")));
  EXPECT_EQ(ReadBytes("settings.dat"), Text("new"));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"settings.dat"});
  EXPECT_EQ(ReadFileBytes("settings.dat", 1 << 20), Text("new"));
}

TEST(FileIo, AFailureHalfwayThroughLeavesTheOldFileAsItWas) {
  WorkFolder folder;
  WriteBytes("settings.dat", Text("the player's settings"));
  // The system refuses to let any file grow past 100 bytes: the write fails midway.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool written = WriteFileAtomically("settings.dat", Bytes(600, 'x'), &error);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes("settings.dat"), Text("the player's settings"));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"settings.dat"});
}

TEST(FileIo, AFileThatCannotBeReplacedStaysAndTheReasonIsGiven) {
  WorkFolder folder;
  std::filesystem::create_directory("settings.dat");
  std::string error;
  EXPECT_FALSE(WriteFileAtomically("settings.dat", Text("x"), &error));
  EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_directory("settings.dat"));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"settings.dat"});
  // Nor is there a folder to write into.
  EXPECT_FALSE(WriteFileAtomically("no/such/folder/settings.dat", Text("x"), &error));
  EXPECT_NE(error.find("temporary"), std::string::npos) << error;
}

TEST(FileIo, TheNewFileKeepsTheOldFilesPermissions) {
  WorkFolder folder;
  WriteBytes("settings.dat", Text("old"));
  std::filesystem::permissions("settings.dat", std::filesystem::perms(0640));
  ASSERT_TRUE(WriteFileAtomically("settings.dat", Text("new")));
  struct stat st {};
  ASSERT_EQ(stat("settings.dat", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(FileIo, ReadingStopsAtTheLimitAndAMissingFileIsNothing) {
  WorkFolder folder;
  WriteBytes("big", Bytes(10000, 'a'));
  EXPECT_EQ(ReadFileBytes("big", 5000)->size(), 5000u);
  EXPECT_EQ(ReadFileBytes("big", 1 << 20)->size(), 10000u);
  EXPECT_FALSE(ReadFileBytes("missing", 100).has_value());
  std::filesystem::create_directory("folder");
  EXPECT_FALSE(ReadFileBytes("folder", 100).has_value());
}

}  // namespace
