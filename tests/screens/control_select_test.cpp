// The control selection: the highlight, the threshold, leaving, key redefinition and
// the way into the joypad screens with the controller file read before and written
// after.
#include "screens/control_select.h"

#include <vector>

#include "data/control_pictures.h"
#include "input/joypad_config.h"
#include "render/line_picture.h"
#include "screen_fixture.h"
#include "screens/joypad_file.h"
#include "support/work_folder.h"

namespace {

class ControlSelectTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    StickThreshold = 16;
    saved_keys_ = {KeyMoveLeft, KeyMoveRight, KeyMoveUp, KeyMoveDown,
                   KeyFireLeft, KeyFireRight, KeyFireUp, KeyFireDown};
  }
  void TearDown() override {
    KeyMoveLeft = saved_keys_[0];
    KeyMoveRight = saved_keys_[1];
    KeyMoveUp = saved_keys_[2];
    KeyMoveDown = saved_keys_[3];
    KeyFireLeft = saved_keys_[4];
    KeyFireRight = saved_keys_[5];
    KeyFireUp = saved_keys_[6];
    KeyFireDown = saved_keys_[7];
    StickThreshold = 16;
    ScreenTest::TearDown();
  }
  std::vector<int> saved_keys_;
};

TEST_F(ControlSelectTest, TheThresholdMovesOnlyOnTheTwinStickChoiceAndStaysInItsRange) {
  std::vector<int> seen;
  script.EachFrame([&](int) { seen.push_back(StickThreshold); });
  // Left and right on the keyboard choice, then down to the twin stick: nothing moves.
  script.Press(2, KeyMoveLeft).Press(3, KeyMoveRight).Press(3, KeyMoveLeft);
  script.Press(4, KeyMoveDown);
  for (int f = 6; f < 13; ++f) script.Press(f, KeyMoveLeft);    // 16 down to 6, and no further
  for (int f = 13; f < 25; ++f) script.Press(f, KeyMoveRight);  // up to 24, and no further
  script.Press(26, kVkEscape);
  ControlSelectScreen();
  // A press after frame f counts in frame f + 1, which seen[f] shows.
  ASSERT_GE(seen.size(), 26u);
  EXPECT_EQ(seen[4], 16);
  EXPECT_EQ(seen[6], 14);
  EXPECT_EQ(seen[10], 6);  // five steps down
  EXPECT_EQ(seen[12], 6);  // held at the bottom
  EXPECT_EQ(seen[13], 8);
  EXPECT_EQ(seen[21], 24);  // nine steps up
  EXPECT_EQ(seen[24], 24);
  EXPECT_EQ(ControlScheme, 1);
  EXPECT_STREQ(StickThresholdText(6), "1/10");
  EXPECT_STREQ(StickThresholdText(16), "6/10");
  EXPECT_STREQ(StickThresholdText(24), "10/10");
}

// Off the twin-stick choice, left and right are nobody's: bound to the keys that leave,
// those keys still leave.
TEST_F(ControlSelectTest, LeftAndRightBoundToTheWayOutStillLeaveOffTheTwinStickChoice) {
  KeyMoveLeft = kVkEscape;
  KeyMoveRight = kVkEnter;
  for (const int key : {kVkEscape, kVkEnter}) {
    SCOPED_TRACE(key);
    script.Restart();
    ControlScheme = 0;
    script.Press(2, key);
    ControlSelectScreen();
    EXPECT_EQ(script.Frames(), 2);
    EXPECT_EQ(StickThreshold, 16);
  }
}

TEST_F(ControlSelectTest, EveryWayOutKeepsTheHighlightedSchemeAndItsPicture) {
  struct Case {
    std::vector<int> moves;
    int leave_key;
    int scheme;
  };
  // Up from the keyboard wraps to the normal joypad; Escape is no cancel.
  const Case cases[] = {{{KeyMoveUp}, kVkEscape, 2},
                        {{KeyMoveDown, KeyMoveDown, KeyMoveDown}, kVkEnter, 0},
                        {{KeyMoveDown}, KeyFireUp, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scheme);
    script.Restart();
    ControlScheme = 0;
    int frame = 2;
    int lines_shown = -1;
    for (int key : c.moves) script.Press(frame++, key);
    script.At(frame, [&] { lines_shown = PictureLines; });
    script.Press(frame + 1, c.leave_key);
    ControlSelectScreen();
    EXPECT_EQ(ControlScheme, c.scheme);
    EXPECT_EQ(lines_shown, ControlPictureData[c.scheme].lines);
    EXPECT_EQ(script.Frames(), frame + 1);  // the way out is asked after the frame shows
  }
}

TEST_F(ControlSelectTest, RedefiningTakesAnyKeyOfTheTableEvenOneInUseOrEscape) {
  // Space on the keyboard choice, Y, then eight keys: Escape, A twice, the cursor keys
  // among them, Space. N afterwards, and Escape to leave the selection.
  script.Press(2, ' ').Hold(4, 'Y').Release(5, 'Y');
  script.HoldWhenWaiting({kVkEscape, 'A', 'A', kVkUp, kVkDown, kVkLeft, 32, 'K'});
  script.EachFrame([&](int frame) {
    // Once the eight are in (the question shows again), answer no, then leave.
    if (frame > 20 && KeyMoveLeft == kVkEscape && KeyFireDown == 'K') {
      InjectKeyDown('N');
      if (frame > 40) {
        InjectKeyUp('N');
        InjectKeyPress(kVkEscape);
      }
    }
  });
  ControlSelectScreen();
  EXPECT_EQ(KeyMoveLeft, kVkEscape);
  EXPECT_EQ(KeyMoveRight, 'A');
  EXPECT_EQ(KeyMoveUp, 'A');
  EXPECT_EQ(KeyMoveDown, kVkUp);
  EXPECT_EQ(KeyFireLeft, kVkDown);
  EXPECT_EQ(KeyFireRight, kVkLeft);
  EXPECT_EQ(KeyFireUp, 32);
  EXPECT_EQ(KeyFireDown, 'K');
  EXPECT_EQ(ControlScheme, 0);
}

TEST_F(ControlSelectTest, YesAndNoHeldTogetherMeanNo) {
  for (int no : {static_cast<int>('N'), kVkEscape}) {
    script.Restart();
    script.Hold(2, 'Y').Hold(2, no);
    RedefineKeys();
    EXPECT_EQ(script.Frames(), 2);
    EXPECT_EQ(KeyMoveLeft, saved_keys_[0]);
    ResetInput();
  }
}

TEST_F(ControlSelectTest, TheJoypadScreensReadTheFileAndWriteItBackWhenTheyClose) {
  WorkFolder folder;
  JoypadConfigValues stored;
  stored.UsedPort = 1;
  stored.Ports[1].x1id = 6;
  WriteBytes(kJoypadConfigFile, FormatJoypadConfig(stored));
  // Twin stick, Space: the dual-stick screen; a click on stick 1's X axis box raises
  // its id; Escape closes it; Escape leaves the selection.
  script.Press(2, KeyMoveDown).Press(4, ' ');
  script.At(8, [] { InjectMouseMove(50, 400); }).At(9, [] { InjectMouseButton(1, true); });
  script.Press(12, kVkEscape).Press(16, kVkEscape);
  int blend_after = -1;
  script.At(14, [&] { blend_after = CurrentDrawState().blend_mode; });
  ControlSelectScreen();
  EXPECT_EQ(JoyPort, 1);
  EXPECT_EQ(Joypads[1].x1id, 7);
  EXPECT_EQ(ActiveJoypad.x1id, 6);  // selected for play as the screen closed
  EXPECT_EQ(blend_after, BLEND_ADD);
  EXPECT_EQ(ConfigStatusText, "Config file saved.");
  JoypadConfigValues written;
  ParseJoypadConfig(ReadBytes(kJoypadConfigFile), written);
  EXPECT_EQ(written.UsedPort, 1);
  EXPECT_EQ(written.Ports[1].x1id, 7);
  EXPECT_EQ(ControlScheme, 1);
}

}  // namespace
