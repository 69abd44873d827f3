// Game over: the verdicts and the bests, the rules for leaving and the sync request.
#include "screens/game_over.h"

#include "screen_fixture.h"
#include "screens/high_score_screen.h"

namespace {

class GameOverTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    RunBest = 0;
  }
  // A game that ended with this score and state, the screen left by Escape.
  void EndGameWith(int score, int state) {
    script.Restart();
    Score = score;
    GameOverState = state;
    script.Press(3, kVkEscape);
    GameOverScreen();
  }
};

TEST_F(GameOverTest, QuittingCountsNoHighscoreAndChangesNeitherBest) {
  PersonalBest = 500;
  EndGameWith(99999, 3);
  EXPECT_FALSE(GameOverBestOfRun);
  EXPECT_FALSE(GameOverPersonalBest);
  EXPECT_EQ(RunBest, 0);
  EXPECT_EQ(PersonalBest, 500);
  EXPECT_EQ(GameOverState, 0);
}

TEST_F(GameOverTest, TheFirstScoreOfARunIsItsBestAndALowerOneIsNot) {
  PersonalBest = 5000;
  EndGameWith(1200, 4);
  EXPECT_TRUE(GameOverBestOfRun);
  EXPECT_FALSE(GameOverPersonalBest);
  EXPECT_EQ(RunBest, 1200);
  EXPECT_EQ(PersonalBest, 5000);

  EndGameWith(800, 4);
  EXPECT_FALSE(GameOverBestOfRun);
  EXPECT_EQ(RunBest, 1200);

  EndGameWith(7000, 4);
  EXPECT_TRUE(GameOverBestOfRun);
  EXPECT_TRUE(GameOverPersonalBest);
  EXPECT_EQ(RunBest, 7000);
  EXPECT_EQ(PersonalBest, 7000);
}

TEST_F(GameOverTest, AScoreEqualToThePersonalBestDoesNotBeatIt) {
  PersonalBest = 3000;
  EndGameWith(3000, 4);
  EXPECT_TRUE(GameOverBestOfRun);
  EXPECT_FALSE(GameOverPersonalBest);
  // A score of nothing beats nothing either.
  RunBest = 0;
  PersonalBest = 0;
  EndGameWith(0, 4);
  EXPECT_FALSE(GameOverBestOfRun);
  EXPECT_FALSE(GameOverPersonalBest);
}

TEST_F(GameOverTest, FireBeforeFortyFramesAsksForASyncButWaitsForTheBar) {
  GameOverState = 4;
  script.Press(20, KeyFireRight).Press(402, kVkLeft);
  GameOverScreen();
  EXPECT_TRUE(GameOverSync);
  // The bar's 401 frames, one of the high scores, then the sync notice.
  EXPECT_EQ(script.Frames(), 403);
}

TEST_F(GameOverTest, OtherKeysCountOnlyAfterFortyFrames) {
  Score = 100;
  GameOverState = 4;
  script.Press(10, 'K').Press(39, 'K').Press(45, 'K');
  GameOverScreen();
  EXPECT_EQ(script.Frames(), 46);
  EXPECT_FALSE(GameOverSync);
}

TEST_F(GameOverTest, WithoutAKeyTheScreenClosesAfterFourHundredFrames) {
  GameOverState = 4;
  GameOverScreen();
  EXPECT_EQ(script.Frames(), 401);
}

TEST_F(GameOverTest, AStickPushedAsideLeavesAtOnce) {
  ControlScheme = 1;
  GameOverState = 4;
  script.At(5, [] { InjectJoyAxis(0, kJoyX, -1.0); });
  GameOverScreen();
  InjectJoyAxis(0, kJoyX, 0.0);
  EXPECT_EQ(script.Frames(), 5);
}

TEST_F(GameOverTest, FireAsksForASyncAndOpensTheHighScoresThatSyncAtOnce) {
  Score = 4300;
  GameOverState = 4;
  HiName[0] = "KEPT";
  HiScore[0] = "9999";
  int score_in_high_scores = -1;
  script.Press(45, KeyFireRight);
  // The game-over screen leaves after frame 46; the high scores' first frame (47) syncs,
  // showing the sync notice as frame 48.
  script.At(49, [&] { score_in_high_scores = Score; }).Press(49, kVkLeft);
  GameOverScreen();
  EXPECT_TRUE(GameOverSync);
  EXPECT_EQ(script.Frames(), 49);
  EXPECT_EQ(score_in_high_scores, 0);
  EXPECT_EQ(RunBest, 4300);
  // Without the online service the table stays as it was.
  EXPECT_EQ(HiName[0], "KEPT");
  EXPECT_EQ(HiScore[0], "9999");
}

}  // namespace
