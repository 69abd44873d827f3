// Name entry: what can be typed, how much, one character a frame, and the empty name.
#include "screens/name_entry.h"

#include "screen_fixture.h"

namespace {

class NameEntryTest : public ScreenTest {
 protected:
  // Presses each key on its own frame, then Return.
  void Type(std::initializer_list<int> keys, int form = 0) {
    script.Restart();
    int frame = 1;
    for (int key : keys) script.Press(frame++, key);
    script.Press(frame, kVkEnter);
    NameEntryScreen(form);
  }
};

TEST_F(NameEntryTest, LettersAndDigitsTypeAsCapitals) {
  PlayerName = "";
  Type({'A', 'B', '1'});
  EXPECT_EQ(PlayerName, "AB1");
  PlayerName = "";
  Type({'S', ' ', '2'}, 1);
  EXPECT_EQ(PlayerName, "S 2");
}

TEST_F(NameEntryTest, AnEleventhCharacterIsIgnoredAndBackspaceErasesTheTenth) {
  PlayerName = "ABCDEFGHI";
  Type({'J', 'K'});
  EXPECT_EQ(PlayerName, "ABCDEFGHIJ");
  Type({8});
  EXPECT_EQ(PlayerName, "ABCDEFGHI");
  // A name longer than ten from the file takes no more and erases as usual.
  PlayerName = "ABCDEFGHIJKL\xC3\xA9";
  Type({'M', 8});
  EXPECT_EQ(PlayerName, "ABCDEFGHIJKL");
}

TEST_F(NameEntryTest, OfKeysPressedInOneFrameOnlyTheFirstInOrderIsTaken) {
  struct Case {
    int first, second;
    const char* name;
  };
  // Letters and digits in code order; Space is asked for right after '0'.
  const Case cases[] = {{'B', 'A', "A"}, {'Z', '0', "0"}, {'A', ' ', " "}, {'0', ' ', "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    script.Restart();
    PlayerName = "";
    script.At(1, [&] {
      InjectKeyPress(c.first);
      InjectKeyPress(c.second);
    });
    script.Press(3, kVkEnter);
    NameEntryScreen(0);
    EXPECT_EQ(PlayerName, c.name);
  }
}

TEST_F(NameEntryTest, AnEmptyNameBecomesNonameAndEscapeKeepsTheEdit) {
  PlayerName = "AB";
  Type({8, 8});
  EXPECT_EQ(PlayerName, "noname");
  PlayerName = "AB";
  script.Restart();
  script.Press(1, 'C').Press(2, kVkEscape);
  NameEntryScreen(0);
  EXPECT_EQ(PlayerName, "ABC");
  EXPECT_EQ(script.Frames(), 2);
}

}  // namespace
