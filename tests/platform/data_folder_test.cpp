// Where the game keeps its files: the choice, and entering the folder.
#include "platform/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

DataFolderFacts Installed() {
  DataFolderFacts f;
  f.program_dir = "/usr/games";
  f.build_dir = "/home/ada/silkguard/build";
  f.home = "/home/ada";
  return f;
}

TEST(DataFolder, AnInstalledGameUsesTheUsersDataFolder) {
  DataFolderFacts f = Installed();
  EXPECT_EQ(ChooseDataFolder(f), "/home/ada/.local/share/silkguard");
  f.xdg_data_home = "/data/ada";
  EXPECT_EQ(ChooseDataFolder(f), "/data/ada/silkguard");
  // A relative XDG_DATA_HOME is to be ignored.
  f.xdg_data_home = "data";
  EXPECT_EQ(ChooseDataFolder(f), "/home/ada/.local/share/silkguard");
  // Without a home there is nowhere better than where it was started.
  f.home.clear();
  EXPECT_EQ(ChooseDataFolder(f), "");
}

TEST(DataFolder, BuildsPortableCopiesAndTheCommandLineDecideOtherwise) {
  DataFolderFacts f = Installed();
  f.program_dir = "/home/ada/silkguard/build";
  EXPECT_EQ(ChooseDataFolder(f), "");
  f.program_dir = "/home/ada/silkguard/build/tests";
  EXPECT_EQ(ChooseDataFolder(f), "");
  // A sibling whose name merely starts the same is not inside the build tree.
  f.program_dir = "/home/ada/silkguard/build-release";
  EXPECT_EQ(ChooseDataFolder(f), "/home/ada/.local/share/silkguard");
  f.portable_marker = true;
  EXPECT_EQ(ChooseDataFolder(f), "");
  f.given = "/mnt/usb/silkguard";
  EXPECT_EQ(ChooseDataFolder(f), "/mnt/usb/silkguard");
}

class DataFolderOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    came_from_ = std::filesystem::current_path();
    root_ = came_from_ / ("data-folder-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root_);
  }
  void TearDown() override {
    std::filesystem::current_path(came_from_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  std::filesystem::path came_from_, root_;
};

TEST_F(DataFolderOnDisk, AFreshFolderIsMadeAndEntered) {
  const auto folder = root_ / "share" / "silkguard";
  std::string reason;
  ASSERT_TRUE(EnterDataFolder(folder.string(), &reason)) << reason;
  EXPECT_EQ(std::filesystem::current_path(), folder);
  EXPECT_TRUE(CurrentFolderWritable());
  EXPECT_TRUE(std::filesystem::is_empty(folder));  // the probe leaves nothing behind
  // Empty means: stay.
  EXPECT_TRUE(EnterDataFolder("", &reason));
  EXPECT_EQ(std::filesystem::current_path(), folder);
}

TEST_F(DataFolderOnDisk, AFolderThatCannotBeUsedIsReportedAndNothingMoves) {
  // A file where a folder should be: no folder can be made under it, even by root.
  const auto blocker = root_ / "blocker";
  { std::ofstream(blocker.string()) << "x"; }
  std::string reason;
  EXPECT_FALSE(EnterDataFolder((blocker / "silkguard").string(), &reason));
  EXPECT_NE(reason.find("cannot make"), std::string::npos);
  EXPECT_EQ(std::filesystem::current_path(), came_from_);
  // Nobody can create files in /proc: the game would say that settings stay unsaved.
  std::filesystem::current_path("/proc");
  EXPECT_FALSE(CurrentFolderWritable());
}

}  // namespace
