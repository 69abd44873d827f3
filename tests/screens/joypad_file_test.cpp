// JoypadConfig.txt on the disk: read over what the game holds, written safely, and the
// messages the joypad screens show for both.
#include "screens/joypad_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "input/controls.h"
#include "support/work_folder.h"

namespace {

class JoypadFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetJoypadMappings();
    SelectJoypadMapping();
  }
  void TearDown() override { ResetJoypadMappings(); }
  WorkFolder folder;
};

TEST_F(JoypadFile, NoFileKeepsEverythingAndSaysTheLoadFailed) {
  JoyPort = 2;
  Joypads[2].x1id = 9;
  EXPECT_EQ(LoadJoypadConfig(), 0);
  EXPECT_EQ(ConfigStatusText, "Config load failed.");
  EXPECT_EQ(ConfigStatusTimer, 120);
  EXPECT_EQ(JoyPort, 2);
  EXPECT_EQ(Joypads[2].x1id, 9);
  EXPECT_TRUE(folder.Files().empty());  // not made until a screen closes
}

TEST_F(JoypadFile, ALoadSetsWhatTheFileHoldsAndLeavesTheRest) {
  const std::string text =
      "[Used Port]\r\n3\r\n[Joypad Down]\r\n11\r\n[Joy Port]\r\n3\r\n[Joy Fire X]\r\n6\r\n";
  WriteBytes(kJoypadConfigFile, std::vector<unsigned char>(text.begin(), text.end()));
  Joypads[3].y1id = 5;  // not in the file
  JoypadBomb = 12;
  EXPECT_EQ(LoadJoypadConfig(), 1);
  EXPECT_EQ(ConfigStatusText, "Config file loaded.");
  EXPECT_EQ(JoyPort, 3);
  EXPECT_EQ(JoypadDown, 11);
  EXPECT_EQ(Joypads[3].x2id, 6);
  EXPECT_EQ(Joypads[3].y1id, 5);
  EXPECT_EQ(JoypadBomb, 12);
  // Loading alone puts nothing into play.
  EXPECT_EQ(ActiveJoypad.x2id, 3);
}

TEST_F(JoypadFile, ASavedFileLoadsBackAndAFailedSaveLeavesTheOldOne) {
  JoypadOption = 7;
  Joypads[1].x1center = -0.25;
  ASSERT_EQ(SaveJoypadConfig(), 1);
  EXPECT_EQ(ConfigStatusText, "Config file saved.");
  const std::vector<unsigned char> saved = ReadBytes(kJoypadConfigFile);
  ResetJoypadMappings();
  ASSERT_EQ(LoadJoypadConfig(), 1);
  EXPECT_EQ(JoypadOption, 7);
  EXPECT_EQ(Joypads[1].x1center, -0.25);

  // A file that cannot be replaced (a folder of that name in another game folder): a
  // failure, no "saved" shown, nothing left behind.
  ConfigStatusText = "";
  std::filesystem::create_directory("other");
  std::filesystem::create_directory("other/JoypadConfig.txt");
  EXPECT_EQ(SaveJoypadConfig("other/JoypadConfig.txt"), 0);
  EXPECT_EQ(ConfigStatusText, "");
  EXPECT_TRUE(std::filesystem::is_directory("other/JoypadConfig.txt"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("other"),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(ReadBytes(kJoypadConfigFile), saved);
}

}  // namespace
