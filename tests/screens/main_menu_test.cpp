// The main menu: the carousel, the question before leaving, Tab, the logo's spin and
// what a game leaves behind.
#include "screens/main_menu.h"

#include <algorithm>
#include <vector>

#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "screen_fixture.h"
#include "screens/options_menu.h"

namespace {

void NoGame() {}

class MainMenuTest : public ScreenTest {};

TEST_F(MainMenuTest, EscapeThenNoReturnsToTheMenuOnItsFirstEntry) {
  int index_before = -1, asked = -1, index_after = -1, state_after = -1;
  script.Press(1, kVkRight).Press(2, kVkRight).At(3, [&] { index_before = MenuIndex; });
  script.Press(4, kVkEscape).At(6, [&] { asked = GameOverState; }).Press(7, 'N');
  script.At(10, [&] {
    index_after = MenuIndex;
    state_after = GameOverState;
  });
  script.StopAfter(10);
  EXPECT_THROW(MainMenu(NoGame), ScriptStop);
  EXPECT_EQ(index_before, 2);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(index_after, 0);
  EXPECT_EQ(state_after, 0);
}

TEST_F(MainMenuTest, EveryAnswerToTheQuestion) {
  struct Case {
    int key;
    bool leaves;
  };
  // Fire is the select action of the keyboard scheme: it means No here.
  const Case cases[] = {{'Y', true},        {KeyMoveLeft, true},   {'N', false},
                        {kVkEscape, false}, {KeyMoveRight, false}, {KeyFireUp, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    script.Restart();
    bool in_menu_again = false;
    script.Press(2, kVkEscape).Press(5, c.key).At(8, [&] { in_menu_again = GameOverState == 0; });
    script.StopAfter(8);
    if (c.leaves) {
      EXPECT_NO_THROW(MainMenu(NoGame));
      EXPECT_EQ(script.Frames(), 5);
      EXPECT_EQ(GameOverState, 1);
    } else {
      EXPECT_THROW(MainMenu(NoGame), ScriptStop);
      EXPECT_TRUE(in_menu_again);
    }
  }
}

TEST_F(MainMenuTest, TheCarouselWrapsBothWays) {
  std::vector<int> seen;
  script.EachFrame([&](int) { seen.push_back(MenuIndex); });
  script.Press(1, kVkLeft).Press(2, kVkLeft).Press(3, kVkRight).Press(4, kVkRight);
  script.Press(5, KeyMoveDown).Press(6, KeyMoveUp).StopAfter(7);
  EXPECT_THROW(MainMenu(NoGame), ScriptStop);
  EXPECT_EQ(seen, (std::vector<int>{0, 4, 3, 4, 0, 1, 0}));
}

TEST_F(MainMenuTest, TabFromAnyEntryGoesBackToTheFirstWithTheLogoSpinningInAgain) {
  for (int entry = 0; entry < 5; ++entry) {
    SCOPED_TRACE(entry);
    script.Restart();
    for (int i = 0; i < entry; ++i) script.Press(1 + i, kVkRight);
    int index = -1, step = -1, row = -1;
    // Tab opens the options; Escape there comes back.
    script.Press(20, 9).At(22, [&] { row = OptionsRow; }).Press(22, kVkEscape);
    script.At(23, [&] {
      index = MenuIndex;
      step = LogoStep;
    });
    script.StopAfter(23);
    EXPECT_THROW(MainMenu(NoGame), ScriptStop);
    EXPECT_EQ(row, 1);  // the options were open
    EXPECT_EQ(index, 0);
    EXPECT_EQ(step, 0);  // spinning in from the start on the next frame
  }
}

TEST_F(MainMenuTest, TheLogoSpinsInOverNinetyFramesAndSettles) {
  double largest = 0, at_sixty = 0;
  script.EachFrame([&](int frame) {
    largest = std::max(largest, LogoScale);
    if (frame == 60) at_sixty = LogoScale;
  });
  script.StopAfter(120);
  EXPECT_THROW(MainMenu(NoGame), ScriptStop);
  EXPECT_EQ(LogoStep, 270);
  EXPECT_DOUBLE_EQ(LogoRotation, 0);
  EXPECT_NEAR(LogoScale, 0.875, 0.005);
  EXPECT_NEAR(largest, 1.69, 0.005);
  EXPECT_NEAR(at_sixty, largest, 1e-12);  // the largest a second in
}

TEST_F(MainMenuTest, TheFooterAlternatesEvery181Frames) {
  std::vector<int> toggles;
  script.EachFrame([&](int frame) {
    if (frame == 181 || frame == 182 || frame == 362 || frame == 363)
      toggles.push_back(FooterToggle);
  });
  script.StopAfter(363);
  EXPECT_THROW(MainMenu(NoGame), ScriptStop);
  EXPECT_EQ(toggles, (std::vector<int>{0, 1, 1, 0}));
}

int lives_given = -1, level_given = -1, score_given = -1;
// A game that ends with its field full: a shot, a grubsteak, an egg, an explosion and a
// floating score.
void LitteringGame() {
  lives_given = Lives;
  level_given = Level;
  score_given = Score;
  Lives = 0;
  Level = 7;
  Score = 500;
  EnemyList.Clear();
  BulletList.Add(PlayerBullets{});
  CreateGrub(400, 300);
  CreateEgg(500, 300, 1);
  CreateExplosion(600, 300, 1, 1, 20, 1);
  SpawnFloatingText(300, 300, "500", 1, 1, 0xFFFFFFFFu);
}

TEST_F(MainMenuTest, StartGamePlaysAFreshGameAndLeavesOnlyANewSetOfInsects) {
  int insects = -1, step = -1;
  std::size_t left = 99;
  script.Press(100, kVkEnter).At(101, [&] {
    insects = static_cast<int>(EnemyList.Count());
    step = LogoStep;
    left = BulletList.Count() + GrubList.Count() + EggList.Count() + ExplosionList.Count() +
           CharList.Count();
  });
  script.StopAfter(101);
  EXPECT_THROW(MainMenu(LitteringGame), ScriptStop);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(lives_given, 3);
  EXPECT_EQ(level_given, 1);
  EXPECT_EQ(score_given, 0);
  EXPECT_EQ(insects, 12);
  EXPECT_EQ(step, 0);
}

TEST_F(MainMenuTest, ShowScoresOpensTheHighScoresAndComesBackToTheFirstEntry) {
  int index_inside = -1, index_after = -1;
  Score = 1234;
  script.Press(1, kVkLeft).Press(2, kVkLeft).Press(4, kVkEnter);
  // The high scores are up: the menu keeps its entry until they close.
  script.At(10, [&] { index_inside = MenuIndex; }).Press(10, kVkRight);
  script.At(13, [&] { index_after = MenuIndex; }).StopAfter(13);
  EXPECT_THROW(MainMenu(NoGame), ScriptStop);
  EXPECT_EQ(index_inside, 3);
  EXPECT_EQ(index_after, 0);
  EXPECT_EQ(Score, 1234);  // the menu's form does not sync
}

}  // namespace
