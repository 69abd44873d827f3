// The high-score screen: its texts, the any-key poll, leaving and syncing.
#include "screens/high_score_screen.h"

#include "screen_fixture.h"

namespace {

TEST(HighScoreTexts, NumbersAreShownWithZerosInFrontToEightDigits) {
  EXPECT_EQ(ZeroPadded(1234), "00001234");
  EXPECT_EQ(ZeroPadded(0), "00000000");
  EXPECT_EQ(ZeroPadded(12345678), "12345678");
  EXPECT_EQ(ZeroPadded(123456789), "123456789");
}

TEST(HighScoreTexts, ARowIsTheNameTheLevelAndTheScoreInColumns) {
  EXPECT_EQ(HighScoreLine("ABCDEFGHIJKLM", "12", "4500"), "ABCDEFGHIJ    12        4500");
  EXPECT_EQ(HighScoreLine("AL", " 7 ( 1)", "98765432"), "AL             7 ( 1)    98765432");
  // Longer scores are cut to ten characters and shown unpadded.
  EXPECT_EQ(HighScoreLine("X", "1", "123456789012"), "X             1    1234567890");
  // A name of other characters is cut and padded by characters, not bytes.
  EXPECT_EQ(HighScoreLine("\xC3\xA9"
                          "BCDEFGHIJKL",
                          "3", "1"),
            "\xC3\xA9"
            "BCDEFGHIJ    3           1");
}

TEST(HighScoreTexts, OnlyScoresThatSortAfterZeroAreShown) {
  EXPECT_FALSE(HighScoreRowShown("0"));
  EXPECT_FALSE(HighScoreRowShown("-"));
  EXPECT_FALSE(HighScoreRowShown(""));
  EXPECT_TRUE(HighScoreRowShown("05"));
  EXPECT_TRUE(HighScoreRowShown("1"));
}

class HighScoreScreenTest : public ScreenTest {};

TEST_F(HighScoreScreenTest, TheAnyKeyPollTakesTheFirstKeyOfTheTableAndClearsThoseBeforeIt) {
  InjectKeyPress('Z');
  InjectKeyPress(kVkEscape);
  InjectKeyPress(8);  // Backspace, the table's first
  EXPECT_EQ(ReadAnyKey(), 1);
  EXPECT_EQ(AnyKeyPressed, 1);
  // Backspace was found first; Escape, after it, keeps its press, and so does Z.
  EXPECT_EQ(KeyPresses(kVkEscape), 1);
  EXPECT_EQ(ReadAnyKey(), 1);  // Z
  EXPECT_EQ(ReadAnyKey(), 0);
  EXPECT_EQ(AnyKeyPressed, 0);
  InjectKeyPress(KeyFireDown);
  EXPECT_EQ(ReadAnyKey(), 2);
  // A key the table does not know is not a key here.
  InjectKeyPress(16);
  EXPECT_EQ(ReadAnyKey(), 0);
  // An unbound fire key turns neither no key nor another key into fire.
  KeyFireUp = 0;
  EXPECT_EQ(ReadAnyKey(), 0);
  InjectKeyPress('Q');
  EXPECT_EQ(ReadAnyKey(), 1);
  KeyFireUp = 'W';
}

TEST_F(HighScoreScreenTest, AnArrowLeavesAndFireSyncsAndStays) {
  HiName[2] = "THIRD";
  HiScore[2] = "777";
  Score = 250;
  int score_after_fire = -1;
  script.Press(3, KeyFireUp).At(5, [&] { score_after_fire = Score; }).Press(8, kVkDown);
  HighScoreScreen(0);
  EXPECT_EQ(script.Frames(), 8);
  EXPECT_EQ(score_after_fire, 0);
  EXPECT_EQ(HiName[2], "THIRD");
  EXPECT_EQ(HiScore[2], "777");
}

TEST_F(HighScoreScreenTest, TheMenuFormDoesNotSyncAndTheGameOverFormDoesAtOnce) {
  Score = 250;
  script.Press(2, 'K');
  HighScoreScreen(0);
  EXPECT_EQ(Score, 250);
  script.Restart();
  int score_after_first = -1;
  // The sync follows the first frame; its notice is the second.
  script.At(1, [&] { score_after_first = Score; }).Press(3, 'K');
  HighScoreScreen(1);
  EXPECT_EQ(score_after_first, 250);
  EXPECT_EQ(Score, 0);
}

TEST_F(HighScoreScreenTest, InAJoypadSchemeTheStickLeavesSidewaysOnly) {
  ControlScheme = 2;
  script.At(3, [] { InjectJoyAxis(0, kJoyY, 1.0); });
  script.At(6, [] {
    InjectJoyAxis(0, kJoyY, 0.0);
    InjectJoyAxis(0, kJoyX, 1.0);
  });
  HighScoreScreen(0);
  InjectJoyAxis(0, kJoyX, 0.0);
  EXPECT_EQ(script.Frames(), 6);
}

}  // namespace
