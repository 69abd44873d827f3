#include "persist/profile.h"

#include <gtest/gtest.h>

namespace {

TEST(Profile, TheUnsetNameIsNonameInAnyCaseAndNothingElse) {
  EXPECT_TRUE(IsUnsetPlayerName("noname"));
  EXPECT_TRUE(IsUnsetPlayerName("NoName"));
  EXPECT_TRUE(IsUnsetPlayerName("NONAME"));
  EXPECT_FALSE(IsUnsetPlayerName("noname "));
  EXPECT_FALSE(IsUnsetPlayerName("nonam"));
  EXPECT_FALSE(IsUnsetPlayerName(""));
  EXPECT_FALSE(IsUnsetPlayerName("Player1"));
}

TEST(Profile, TheDefaultRowsAreEmptyRows) {
  HiName[3] = "X";
  HiScore[9] = "100";
  FillDefaultHighScores();
  for (int i = 0; i < kHighScoreRows; ++i) {
    EXPECT_EQ(HiName[i], "..........");
    EXPECT_EQ(HiScore[i], "-");
    EXPECT_EQ(HiLevel[i], "-");
    EXPECT_EQ(HiSpare[i], " ");
  }
}

}  // namespace
