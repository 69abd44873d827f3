// Difficulty selection: the countdown, the six choices and their pictures.
#include "screens/difficulty.h"

#include <cstdint>
#include <set>

#include "screen_fixture.h"

namespace {

class DifficultyTest : public ScreenTest {};

TEST_F(DifficultyTest, DoingNothingStartsOnLevelOneAfter661FramesCountingElevenToZero) {
  std::vector<int> seconds;
  script.EachFrame([&](int) {
    const int shown = DifficultyCountdown / 60;  // what this frame's "Time" showed
    if (seconds.empty() || seconds.back() != shown) seconds.push_back(shown);
  });
  Level = 99;
  DifficultySelect();
  EXPECT_EQ(script.Frames(), 661);
  EXPECT_EQ(seconds, (std::vector<int>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(Level, 1);
  EXPECT_EQ(StartLevel, 1);
  EXPECT_EQ(DragonflyBonus, 0);
}

TEST_F(DifficultyTest, EachChoiceSetsItsStartLevelAndBonus) {
  const int levels[] = {1, 5, 9, 13, 17, 21};
  const int bonuses[] = {0, 25000, 50000, 75000, 100000, 125000};
  for (int choice = 1; choice <= 6; ++choice) {
    SCOPED_TRACE(choice);
    script.Restart();
    for (int i = 1; i < choice; ++i) script.Press(i, KeyMoveDown);
    // Fire starts the game as Enter does.
    script.Press(choice == 6 ? 10 : choice, choice % 2 == 0 ? KeyFireLeft : kVkEnter);
    DifficultySelect();
    EXPECT_EQ(Level, levels[choice - 1]);
    EXPECT_EQ(StartLevel, levels[choice - 1]);
    EXPECT_EQ(DragonflyBonus, bonuses[choice - 1]);
  }
}

TEST_F(DifficultyTest, ThePictureChangesOnlyWhenTheChoiceCrossesIntoAnotherGroup) {
  std::vector<int> pictures;
  bool marker_kept = false;
  script.EachFrame([&](int) { pictures.push_back(DifficultyPictureShown); });
  script.Press(1, KeyMoveDown);  // 2: same picture
  script.Press(2, KeyMoveDown);  // 3: the second
  // A mark in the loaded picture survives the move from 3 to 4: nothing was reloaded.
  script.At(3, [] { DifficultyPicture[0].x1 = 12345; });
  script.Press(3, KeyMoveDown);  // 4
  script.At(4, [&] { marker_kept = DifficultyPicture[0].x1 == 12345; });
  script.Press(4, KeyMoveDown);                    // 5: the third
  script.Press(5, KeyMoveUp).Press(6, KeyMoveUp);  // 4, then 3: back to the second
  script.Press(7, kVkEnter);
  DifficultySelect();
  EXPECT_EQ(pictures, (std::vector<int>{1, 1, 2, 2, 3, 2, 2}));
  EXPECT_TRUE(marker_kept);
  EXPECT_EQ(DifficultyPictureLines, 127);
}

TEST_F(DifficultyTest, PushingPastEitherEndChangesNothing) {
  std::vector<int> choices;
  script.EachFrame([&](int) { choices.push_back(DifficultyChoice); });
  script.Press(1, KeyMoveUp);
  for (int f = 2; f <= 7; ++f) script.Press(f, KeyMoveDown);
  script.Press(8, KeyMoveDown).Press(9, kVkEnter);
  DifficultySelect();
  EXPECT_EQ(choices, (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 6, 6}));
  EXPECT_EQ(DifficultyPictureShown, 3);
  EXPECT_EQ(DifficultyPictureLines, 128);
  EXPECT_EQ(Level, 21);
}

TEST_F(DifficultyTest, ThePicturesHaveTheirLineCountsAndColours) {
  // Each picture uses red, grey and one green of its own, and nothing else.
  const int counts[] = {122, 127, 128};
  std::set<std::uint32_t> greens_of_all;
  for (int p = 1; p <= 3; ++p) {
    SCOPED_TRACE(p);
    LoadDifficultyPicture(p);
    EXPECT_EQ(DifficultyPictureLines, counts[p - 1]);
    int reds = 0, greys = 0;
    std::set<std::uint32_t> greens;
    for (int i = 0; i < DifficultyPictureLines; ++i) {
      const LineArtRecord& r = DifficultyPicture[static_cast<std::size_t>(i)];
      const bool red = r.red == 189 && r.green == 0 && r.blue == 34;
      const bool grey = r.red == 194 && r.green == 194 && r.blue == 194;
      const bool green = r.green > r.red && r.green > r.blue;
      EXPECT_TRUE(red || grey || green) << i;
      reds += red;
      greys += grey;
      if (green) greens.insert(r.glow);
      // The glow colour is the wire colour, opaque.
      EXPECT_EQ(r.glow, 0xFF000000u | (r.red << 16) | (r.green << 8) | r.blue);
    }
    EXPECT_GT(reds, 0);
    EXPECT_GT(greys, 0);
    EXPECT_EQ(greens.size(), 1u);
    greens_of_all.insert(greens.begin(), greens.end());
  }
  EXPECT_EQ(greens_of_all.size(), 3u);
}

}  // namespace
