// Name entry: what can be typed, how much, one character a frame, and the empty name.
#include "screens/name_entry.h"

#include <string>

#include "screen_fixture.h"

namespace {

class NameEntryTest : public ScreenTest {
 protected:
  // Types each character on its own frame (Backspace, 8, is pressed as a key), then
  // Return.
  void Type(std::initializer_list<int> keys, int form = 0) {
    script.Restart();
    int frame = 1;
    for (int key : keys) {
      if (key == 8)
        script.Press(frame++, key);
      else
        script.At(frame++, [key] { InjectTypedText(std::string(1, static_cast<char>(key))); });
    }
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

// What counts is the character the layout types, not the key: an AZERTY digit row
// types "&" and "Ã©" unshifted (nothing a name holds) and digits shifted; a key
// code with no character behind it types nothing.
TEST_F(NameEntryTest, TheLayoutsCharactersCountNotTheKeys) {
  PlayerName = "";
  script.Restart();
  script.At(1, [] { InjectTypedText("&"); });
  script.At(2, [] { InjectTypedText("\xC3\xA9"); });
  script.At(3, [] { InjectTypedText("1"); });
  script.At(4, [] { InjectTypedText("q"); });
  script.Press(5, 'W');  // a key alone, as with a layout that types no Latin letters
  script.Press(6, kVkEnter);
  NameEntryScreen(0);
  EXPECT_EQ(PlayerName, "1Q");
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
      InjectTypedText(std::string{static_cast<char>(c.first), static_cast<char>(c.second)});
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
  script.At(1, [] { InjectTypedText("c"); }).Press(2, kVkEscape);
  NameEntryScreen(0);
  EXPECT_EQ(PlayerName, "ABC");
  EXPECT_EQ(script.Frames(), 2);
}

}  // namespace
