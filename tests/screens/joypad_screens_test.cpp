// The two joypad screens: the pointer and its boxes, the dual-stick screen's axis,
// stick, scale and port boxes, its keys and live dots, axis capture from a pad, and the
// joypad control screen's items and button capture.
#include "screens/joypad_screens.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "input/joypad_config.h"
#include "render/draw_log.h"
#include "screen_fixture.h"
#include "screens/joypad_file.h"
#include "support/virtual_pad.h"
#include "support/work_folder.h"

namespace {

std::vector<DrawEntry> Logged(DrawKind kind) {
  std::vector<DrawEntry> out;
  for (const DrawEntry& e : GetDrawLog())
    if (e.kind == kind) out.push_back(e);
  return out;
}

bool TextShown(const std::string& text) {
  for (const DrawEntry& e : Logged(DrawKind::Text))
    if (e.text == text) return true;
  return false;
}

// The red dot of a stick box: the 10 x 10 rectangle drawn in (185, 0, 0).
std::vector<std::pair<double, double>> Dots() {
  std::vector<std::pair<double, double>> dots;
  for (const DrawEntry& e : Logged(DrawKind::Rect))
    if ((e.argb & 0xFFFFFFu) == 0xB90000u) dots.emplace_back(e.points[0].x + 5, e.points[0].y + 5);
  return dots;
}

class JoypadScreensTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    ConfigStatusTimer = 0;
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    ScreenTest::TearDown();
  }
  // Logs what the given frame draws and nothing else.
  void LogFrame(int frame) {
    script.At(frame - 1, [] {
      ClearDrawLog();
      EnableDrawLog(true);
    });
    script.At(frame, [] { EnableDrawLog(false); });
  }
  void Click(int frame, int x, int y, int button = 1) {
    script.At(frame, [x, y] { InjectMouseMove(x, y); });
    script.At(frame, [button] { InjectMouseButton(button, true); });
  }
};

TEST(JoypadDebugList, LabelsRunFromJoyXToTheThirteenthAxis) {
  EXPECT_EQ(JoyDebugLabel(1), "1.  JoyX()      : ");
  EXPECT_EQ(JoyDebugLabel(8), "8.  JoyPitch()  : ");
  EXPECT_EQ(JoyDebugLabel(13), "13. JoyAxis13()  : ");
}

TEST_F(JoypadScreensTest, TheBoxUnderThePointerCountsEveryEdgeOfItsSquare) {
  struct Case {
    int x, y;
    bool under;
  };
  // The box (100, 50, 20, 10) and the 4 x 4 square round the pointer.
  for (const Case c :
       {Case{98, 50, true}, Case{97, 50, false}, Case{122, 60, true}, Case{123, 60, false},
        Case{110, 48, true}, Case{110, 47, false}, Case{110, 62, true}, Case{110, 63, false}}) {
    ConfigMouseX = c.x;
    ConfigMouseY = c.y;
    EXPECT_EQ(BoxUnderMouse(100, 50, 20, 10), c.under) << c.x << ", " << c.y;
  }
}

TEST_F(JoypadScreensTest, ThePointerIsAStarThatTurnsAndChangesColourEveryFifteenFrames) {
  EnableDrawLog(true);
  for (int frame : {0, 14, 15, 29, 30}) {
    ClearDrawLog();
    PointerCursor(200, 100, frame, 4);
    const auto lines = Logged(DrawKind::Line);
    ASSERT_EQ(lines.size(), 8u);
    const bool red = (frame / 15) % 2 == 0;
    EXPECT_EQ(lines[0].argb & 0xFFFFFFu, red ? 0xFF2020u : 0xFFFF20u) << frame;
    // The first spoke points 8 degrees further round each frame, 12 pixels long.
    const double dx = lines[0].points[1].x - lines[0].points[0].x;
    const double dy = lines[0].points[1].y - lines[0].points[0].y;
    EXPECT_NEAR(std::hypot(dx, dy), 12, 1e-9);
    EXPECT_NEAR(std::atan2(dx, -dy) * 180 / M_PI, std::remainder(frame * 8.0, 360.0), 1e-6);
  }
  EXPECT_EQ(StickDotPosition(-1.0, 10, 100), 10);
  EXPECT_EQ(StickDotPosition(0.0, 10, 100), 60);
  EXPECT_EQ(StickDotPosition(7.5, 10, 100), 110);
  EXPECT_EQ(StickDotPosition(std::nan(""), 250, 100), 300);
}

TEST_F(JoypadScreensTest, AxisBoxesCycleAndInvertAndTheDotFollows) {
  InjectJoyAxis(0, kJoyX, 0.6);
  // Fifteen clicks on stick 1's X axis box take it from JoyX() round to "null"; the
  // sixteenth brings it back. A click after frame f counts in frame f + 1.
  for (int i = 0; i < 15; ++i) Click(2 + i, 20, 400);
  std::vector<std::pair<double, double>> null_dots, normal_dots, inverted_dots;
  bool null_shown = false;
  LogFrame(19);
  script.At(19, [&] {
    null_dots = Dots();
    null_shown = TextShown("X axis: null");
  });
  Click(20, 20, 400);
  LogFrame(23);
  script.At(23, [&] { normal_dots = Dots(); });
  Click(24, 20, 400, 2);  // a right click inverts it
  LogFrame(27);
  bool orange = false;
  script.At(27, [&] {
    inverted_dots = Dots();
    for (const DrawEntry& e : Logged(DrawKind::Rect))
      orange = orange || ((e.argb & 0xFFFFFFu) == 0xFF8000u && e.points[0].y == 395);
  });
  script.Press(28, kVkEscape);
  DualStickScreen();
  EXPECT_EQ(Joypads[0].x1id, 1);
  EXPECT_EQ(Joypads[0].x1invert, -1);
  EXPECT_TRUE(null_shown);
  EXPECT_TRUE(orange);
  ASSERT_EQ(null_dots.size(), 2u);
  ASSERT_EQ(normal_dots.size(), 2u);
  ASSERT_EQ(inverted_dots.size(), 2u);
  EXPECT_EQ(null_dots[0].first, 60);  // no axis: the middle of the box
  EXPECT_EQ(normal_dots[0].first, 90);
  EXPECT_EQ(inverted_dots[0].first, 30);
}

TEST_F(JoypadScreensTest, CursorKeysMoveTheSelectedSticksCentreAndWithShiftItsDeadZone) {
  Click(2, 60, 320);  // stick 1 selected
  script.Hold(3, kVkUp);
  double after_a_second = 0;
  script.At(53, [&] { after_a_second = Joypads[0].y1center; });  // 50 frames of 20 ms
  script.Release(120, kVkUp);
  script.Hold(121, 160).Hold(121, kVkRight);  // left Shift and right: X's dead zone
  script.Release(200, kVkRight).Release(200, 160);
  Click(201, 60, 320);  // stick 1 no longer selected: the keys do nothing
  script.Hold(202, kVkDown).Press(210, kVkEscape);
  DualStickScreen();
  EXPECT_NEAR(after_a_second, -0.5, 1e-9);
  EXPECT_NEAR(Joypads[0].y1center, -0.9, 1e-9);  // held there
  EXPECT_NEAR(Joypads[0].x1dz, 0.5, 1e-9);
  EXPECT_EQ(Joypads[0].x1center, 0.0);
  EXPECT_EQ(Joypads[0].y1dz, 0.0);
  EXPECT_EQ(Joypads[0].y2center, 0.0);
}

TEST_F(JoypadScreensTest, PortsScalesAndTheSaveAndLoadButtons) {
  WorkFolder folder;
  Click(2, 220, 185);    // port 2's box
  Click(3, 310, 500);    // stick 2 Y scale 180
  Click(4, 120, 460);    // stick 1 X scale 255
  script.Press(5, 'S');  // saved, with port 2 in use
  script.Press(6, '4');  // port 3 by its key
  Click(7, 260, 400);    // port 3's stick 2 X axis id up
  bool saved_shown = false;
  LogFrame(30);
  script.At(30, [&] { saved_shown = TextShown("Config file saved."); });
  LogFrame(127);
  bool still_shown_at_127 = true;
  script.At(127, [&] { still_shown_at_127 = TextShown("Config file saved."); });
  Click(130, 540, 375);  // "(L)oad Config": back to the file's values
  script.Press(132, kVkEscape);
  DualStickScreen();
  EXPECT_TRUE(saved_shown);
  EXPECT_FALSE(still_shown_at_127);  // 120 frames from the save
  EXPECT_EQ(ConfigStatusText, "Config file loaded.");
  EXPECT_EQ(JoyPort, 2);
  EXPECT_EQ(Joypads[2].y2scale, 180.0);
  EXPECT_EQ(Joypads[2].x1scale, 255.0);
  EXPECT_EQ(Joypads[3].x2id, 4);  // the click was undone by the load
  JoypadConfigValues written;
  ParseJoypadConfig(ReadBytes(kJoypadConfigFile), written);
  EXPECT_EQ(written.UsedPort, 2);
  EXPECT_EQ(written.Ports[2].y2scale, 180.0);
}

TEST_F(JoypadScreensTest, ThePointerIsHeldInsideTheScreensCorner) {
  script.At(2, [] { InjectMouseMove(900, 700); });
  int x = 0, y = 0;
  script.At(4, [&] {
    x = ConfigMouseX;
    y = ConfigMouseY;
  });
  script.Press(5, kVkEscape);
  DualStickScreen();
  EXPECT_EQ(x, 640);
  EXPECT_EQ(y, 550);
}

TEST_F(JoypadScreensTest, CaptureTakesTheAxisOfAPadThatMoves) {
  VirtualPad pad("Capture Pad");
  ASSERT_EQ(pad.Port(), 0);
  // Point at stick 2's X axis box, press C, push the right stick up (the game's Z).
  script.At(2, [] { InjectMouseMove(300, 400); }).Press(3, 'C');
  script.At(10, [&] { pad.SetAxis(VirtualPad::kRightY, -1.0); });
  script.Press(14, kVkEscape);
  DualStickScreen();
  EXPECT_EQ(Joypads[0].x2id, 3);
  EXPECT_EQ(ConfigStatusText, "Captured JoyZ()");
}

TEST_F(JoypadScreensTest, JoypadControlItemsKeysClicksAndAPadsButtons) {
  VirtualPad pad("Button Pad");
  ASSERT_EQ(pad.Port(), 0);
  int entry_x = 0, entry_y = 0;
  script.At(1, [&] {
    entry_x = MouseX();
    entry_y = MouseY();
  });
  // Up from "Done": the bottom box (JoypadUp), pointer moved onto it; Right raises it.
  script.Press(2, kVkUp).Press(3, kVkRight);
  int pointer_y = 0;
  script.At(3, [&] { pointer_y = MouseY(); });
  // A pad's button held gives its number to the box: the pad's top button is 3.
  script.At(5, [&] { pad.SetButton(VirtualPad::kY, true); });
  script.At(7, [&] { pad.SetButton(VirtualPad::kY, false); });
  // The left box: clicked twice with the left button, lowered to 0 and no further.
  Click(8, 452 - 20, 384 - 10);
  Click(9, 452 - 20, 384 - 10);
  // The move/fire line: a right click swaps its labels.
  Click(10, 512, 215, 2);
  LogFrame(12);
  bool swapped = false;
  script.At(12, [&] { swapped = TextShown("Move: 4-Buttons  Fire: D Pad"); });
  // Keys reach the bomb button, which has no box.
  script.At(13, [] { InjectMouseMove(900, 700); });
  script.Press(14, kVkDown).Press(15, kVkRight).Press(16, kVkRight);
  // Down to "Done", and a pad button ends the screen.
  for (int f = 17; f < 23; ++f) script.Press(f, kVkDown);
  script.At(24, [&] { pad.SetButton(VirtualPad::kA, true); });
  JoypadControlScreen();
  EXPECT_EQ(entry_x, 512);
  EXPECT_EQ(entry_y, 384 + 92);
  EXPECT_EQ(pointer_y, 384 + 30);
  EXPECT_EQ(JoypadUp, 3);
  EXPECT_EQ(JoypadLeft, 0);
  EXPECT_TRUE(swapped);
  EXPECT_EQ(JoypadConfig, 1);
  EXPECT_EQ(JoypadBomb, 6);
  EXPECT_EQ(script.Frames(), 25);
}

TEST_F(JoypadScreensTest, ButtonNumbersEditedFarOutOfRangeAreShownAndStepBackIn) {
  // From an edited file: shown as they stand, and one step brings each to an end.
  JoypadBomb = 2147483647;
  JoypadOption = -2147483647 - 1;
  LogFrame(2);
  bool shown = false;
  script.At(2, [&] {
    shown = TextShown("Bomb button:   2147483648") && TextShown("Option button: -2147483647");
  });
  // Down from "Done" wraps to the move/fire line, then the bomb and option buttons.
  script.Press(3, kVkDown).Press(4, kVkDown).Press(5, kVkRight);
  script.Press(6, kVkDown).Press(7, kVkLeft).Press(8, kVkEscape);
  JoypadControlScreen();
  EXPECT_TRUE(shown);
  EXPECT_EQ(JoypadBomb, 15);
  EXPECT_EQ(JoypadOption, 0);
  JoypadBomb = 4;
  JoypadOption = 0;
}

TEST_F(JoypadScreensTest, EscapeLeavesTheJoypadControlScreenAtOnce) {
  script.Press(3, kVkEscape);
  JoypadControlScreen();
  EXPECT_EQ(script.Frames(), 4);
}

}  // namespace
