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

}  // namespace
