#include "input/controls.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "support/virtual_pad.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetInput();
    UseVirtualClock(1000);
    ResetJoypadMappings();
    SelectJoypadMapping();
    ControlScheme = 0;
    StickThreshold = 16;
  }
  void TearDown() override {
    ResetInput();
    ControlScheme = 0;
    UseRealClock();
  }
};

TEST_F(Controls, DiagonalKeysGiveTwoStepsLeftFirst) {
  InjectKeyDown(KeyMoveUp);
  InjectKeyDown(KeyMoveLeft);
  const ControlRequest r = ControlStep();
  ASSERT_EQ(r.step_count, 2);
  EXPECT_EQ(r.step_dx[0], -4);
  EXPECT_EQ(r.step_dy[0], 0);
  EXPECT_EQ(r.step_dx[1], 0);
  EXPECT_EQ(r.step_dy[1], -4);
  EXPECT_FALSE(r.fire);
}

TEST_F(Controls, KeyboardFireTablePrecedence) {
  struct Case {
    std::vector<int> keys;
    int angle;
  };
  const std::vector<Case> cases = {
      {{KeyFireUp, KeyFireRight}, 45},
      {{KeyFireUp, KeyFireRight, KeyFireLeft}, 45},
      {{KeyFireUp, KeyFireLeft}, 315},
      {{KeyFireDown, KeyFireRight}, 135},
      {{KeyFireDown, KeyFireLeft}, 225},
      {{KeyFireLeft, KeyFireRight}, 270},
      {{KeyFireUp, KeyFireDown}, 0},
      {{KeyFireDown}, 180},
      {{KeyFireRight}, 90},
  };
  for (const Case& c : cases) {
    ResetInput();
    for (int k : c.keys) InjectKeyDown(k);
    const ControlRequest r = ControlStep();
    EXPECT_TRUE(r.fire);
    EXPECT_EQ(r.fire_angle, c.angle) << "keys " << c.keys.size();
  }
}

TEST_F(Controls, TwinStickThresholdIsStrict) {
  ControlScheme = 1;
  // Stick 2 is X on R (index 3) and Y on Z (index 2) by default.
  InjectJoyAxis(0, kJoyR, 0.17);
  InjectJoyAxis(0, kJoyZ, -0.17);
  ControlRequest r = ControlStep();
  EXPECT_TRUE(r.fire);
  EXPECT_EQ(r.fire_angle, 45);
  InjectJoyAxis(0, kJoyR, 0.15);
  r = ControlStep();
  EXPECT_EQ(r.fire_angle, 0);
  InjectJoyAxis(0, kJoyR, 0.16);
  InjectJoyAxis(0, kJoyZ, 0.16);
  EXPECT_FALSE(ControlStep().fire);
  // Stick 1 moves, each direction tested on its own.
  InjectJoyAxis(0, kJoyX, 0.5);
  InjectJoyAxis(0, kJoyY, 0.5);
  r = ControlStep();
  ASSERT_EQ(r.step_count, 2);
  EXPECT_EQ(r.step_dx[0], 4);
  EXPECT_EQ(r.step_dy[1], 4);
}

TEST_F(Controls, InvertScaleAndCentreApplyInThatOrder) {
  InjectJoyAxis(1, kJoyU, 0.5);
  EXPECT_DOUBLE_EQ(ReadStickAxis(1, 4, -1, 2.0, 0.1), -0.35);
  EXPECT_EQ(ReadStickAxis(1, -1, 1, 1.0, 0.0), 0.0);  // unassigned axis
  EXPECT_EQ(ReadStickAxis(1, 15, 1, 1.0, 0.0), 0.0);
  EXPECT_EQ(ReadStickAxis(1, 7, 1, 1.0, 0.5), -0.5);  // pitch reads 0, centre still applies
}

TEST_F(Controls, NormalJoypadDownButtonFiresUp) {
  ControlScheme = 2;
  InjectJoyButton(0, JoypadDown, true);
  ControlRequest r = ControlStep();
  EXPECT_TRUE(r.fire);
  EXPECT_EQ(r.fire_angle, 0);
  InjectJoyButton(0, JoypadRight, true);
  r = ControlStep();
  EXPECT_EQ(r.fire_angle, 45);
  InjectJoyButton(0, JoypadDown, false);
  InjectJoyButton(0, JoypadRight, false);
  InjectJoyButton(0, JoypadUp, true);
  EXPECT_EQ(ControlStep().fire_angle, 180);
}

TEST_F(Controls, StickMenuRepeatsOncePer200Ms) {
  ControlScheme = 1;
  InjectJoyAxis(0, kJoyY, 0.9);
  const int start = Millisecs();
  int moves = 0;
  while (Millisecs() - start < 1000) moves += MenuDown();
  EXPECT_EQ(moves, 5);
  EXPECT_EQ(MenuUp(), 0);
  // Keys play no part in the stick schemes.
  InjectKeyPress(KeyMoveDown);
  InjectJoyAxis(0, kJoyY, 0.0);
  EXPECT_EQ(MenuDown(), 0);
}

TEST_F(Controls, KeyMenuUsesPressCounts) {
  InjectKeyDown(KeyMoveRight);
  EXPECT_EQ(MenuRight(), 1);
  EXPECT_EQ(MenuRight(), 0);  // held, not pressed again
  InjectKeyPress(KeyFireDown);
  EXPECT_EQ(MenuSelect(), 1);
  EXPECT_EQ(MenuSelect(), 0);
  EXPECT_EQ(Millisecs(), 1000);  // key answers never sleep
}

TEST_F(Controls, UnknownSchemeDoesNothing) {
  ControlScheme = 7;
  InjectKeyDown(KeyMoveLeft);
  InjectKeyDown(KeyFireUp);
  InjectKeyPress(KeyMoveLeft);
  InjectJoyAxis(0, kJoyX, -1.0);
  const ControlRequest r = ControlStep();
  EXPECT_EQ(r.step_count, 0);
  EXPECT_FALSE(r.fire);
  EXPECT_EQ(MenuLeft(), 0);
  EXPECT_EQ(MenuSelect(), 0);
}

TEST_F(Controls, DefaultsAndActiveMappingLowersIds) {
  EXPECT_EQ(KeyMoveLeft, 37);
  EXPECT_EQ(KeyFireRight, 68);
  EXPECT_EQ(Joypads[3].x2id, 4);
  EXPECT_EQ(Joypads[3].y2id, 3);
  EXPECT_EQ(Joypads[2].bombbutton, 2);
  EXPECT_EQ(ActiveJoypad.x1id, 0);
  EXPECT_EQ(ActiveJoypad.x2id, 3);
  Joypads[1].x1id = 10;
  JoyPort = 1;
  SelectJoypadMapping();
  EXPECT_EQ(ActiveJoypad.x1id, 9);  // the hat
}

// Every entry in order, as the key-name table is described: codes and names.
TEST(KeyNames, TheTableHoldsItsHundredAndThreeEntriesInOrder) {
  std::vector<std::pair<int, std::string>> want = {
      {8, "Backspace"},      {9, "Tab"},          {13, "Return"},
      {13, "Enter"},         {19, "Pause"},       {20, "Caps Lock"},
      {27, "Escape"},        {32, "Space"},       {33, "Page Up"},
      {34, "Page Down"},     {35, "End"},         {36, "Home"},
      {37, "Cursor (Left)"}, {38, "Cursor (Up)"}, {39, "Cursor (Right)"},
      {40, "Cursor (Down)"}, {45, "Insert"},      {46, "Delete"},
      {47, "Help"}};
  for (int c = 48; c <= 57; ++c) want.emplace_back(c, std::string(1, static_cast<char>(c)));
  for (int c = 65; c <= 90; ++c) want.emplace_back(c, std::string(1, static_cast<char>(c)));
  want.emplace_back(91, "Sys key (Left)");
  want.emplace_back(92, "Sys key (Right)");
  for (int c = 96; c <= 105; ++c)
    want.emplace_back(c, std::string("Numpad ").append(std::to_string(c - 96)));
  want.insert(want.end(), {{106, "Numpad *"},
                           {107, "Numpad +"},
                           {109, "Numpad -"},
                           {110, "Numpad ."},
                           {111, "Numpad /"}});
  for (int c = 112; c <= 123; ++c)
    want.emplace_back(c, std::string("F").append(std::to_string(c - 111)));
  want.insert(want.end(), {{144, "Num Lock"},
                           {145, "Scroll Lock"},
                           {160, "Shift (Left)"},
                           {161, "Shift (Right)"},
                           {162, "Control (Left)"},
                           {163, "Control (Right)"},
                           {164, "Alt key (Left)"},
                           {165, "Alt key (Right)"},
                           {192, "Tilde"},
                           {189, "Minus"},
                           {187, "Equals"},
                           {219, "Bracket (Open)"},
                           {221, "Bracket (Close)"},
                           {226, "Backslash"},
                           {186, "Semi-colon"},
                           {222, "Quote"},
                           {188, "Comma"},
                           {190, "Period"},
                           {191, "Slash"}});
  ASSERT_EQ(want.size(), 103u);
  std::vector<std::pair<int, std::string>> got;
  for (const KeyName* k = KeyNameTable; k->code != 255 && got.size() < 200; ++k)
    got.emplace_back(k->code, k->name);
  EXPECT_EQ(got, want);
}

TEST(KeyNames, FirstNameWinsAndSecondListIsNeverReached) {
  EXPECT_STREQ(KeyNameOf(13), "Return");
  EXPECT_STREQ(KeyNameOf(37), "Cursor (Left)");
  EXPECT_STREQ(KeyNameOf(226), "Backslash");
  EXPECT_STREQ(KeyNameOf(108), "n/a");
  EXPECT_STREQ(KeyNameOf(255), "n/a");
  int entries = 0;
  const KeyName* k = KeyNameTable;
  for (; k->code != 255; ++k) ++entries;
  EXPECT_EQ(entries, 103);
  // The second list follows the terminator directly.
  ++k;
  EXPECT_EQ(k->code, 48);
  EXPECT_STREQ(k->name, "0");
  EXPECT_STREQ(AxisNames[15], "JoyAxisl5()");
  EXPECT_STREQ(ControlTypeNames[4], "Hybrid");
}

TEST_F(Controls, WaitForKeyIgnoresKeysOutsideTheTableAndKeepsWaiting) {
  // Keys held before the call are flushed; 0 and 255 are not in the table.
  InjectKeyDown(70);
  int delays = 0;
  SetDelayHook([&](int) {
    ++delays;
    if (delays == 2) {
      InjectKeyDown(0);
      InjectKeyDown(255);
    }
    if (delays == 50) InjectKeyDown(KeyFireLeft);
  });
  const int code = WaitForKey();
  SetDelayHook(nullptr);
  EXPECT_EQ(code, KeyFireLeft);
  EXPECT_EQ(delays, 50);
}

TEST_F(Controls, WaitForKeyTakesTheFirstHeldKeyOfTheTable) {
  // Cursor left (37) comes before W (87) in the table, Escape (27) before both.
  for (const std::vector<int>& held : {std::vector<int>{87, 37}, std::vector<int>{37, 87, 27}}) {
    int delays = 0;
    SetDelayHook([&](int) {
      if (++delays == 2)
        for (int k : held) InjectKeyDown(k);
    });
    const int code = WaitForKey();
    SetDelayHook(nullptr);
    ResetInput();
    EXPECT_EQ(code, held.size() == 2 ? 37 : 27);
  }
}

TEST_F(Controls, AxisIdsTheGameDoesNotHaveGiveNoAxis) {
  Joypads[2].x1id = -2147483647 - 1;  // would overflow when lowered
  Joypads[2].y1id = 16;
  Joypads[2].x2id = 15;
  Joypads[2].y2id = 0;
  JoyPort = 2;
  SelectJoypadMapping();
  EXPECT_EQ(ActiveJoypad.x1id, -1);
  EXPECT_EQ(ActiveJoypad.y1id, -1);
  EXPECT_EQ(ActiveJoypad.x2id, 14);
  EXPECT_EQ(ActiveJoypad.y2id, -1);
  ControlScheme = 1;
  for (int axis = 0; axis < kJoyAxes; ++axis) InjectJoyAxis(2, axis, 1.0);
  const ControlRequest r = ControlStep();
  EXPECT_EQ(r.step_count, 0);
  EXPECT_FALSE(r.fire);
}

TEST_F(Controls, TheControllerFilesValuesGoBackToTheirFirstRun) {
  JoypadConfigValues changed;
  changed.ControlType = 3;
  changed.JoypadBomb = 9;
  changed.Keys[8] = 99;
  changed.UsedPort = 2;
  changed.Ports[1].x2id = 6;
  ApplyJoypadConfig(changed);
  EXPECT_EQ(JoypadBomb, 9);
  EXPECT_EQ(JoyPort, 2);
  EXPECT_EQ(Joypads[1].x2id, 6);
  EXPECT_EQ(CurrentJoypadConfig(), changed);
  ResetJoypadMappings();
  EXPECT_EQ(CurrentJoypadConfig(), JoypadConfigValues{});
  EXPECT_EQ(ControlType, 0);
  EXPECT_EQ(JoypadBomb, 4);
  EXPECT_EQ(JoypadConfigKeys[8], 40);
}

// A modern pad plugged in while the game runs plays both joypad schemes with nothing
// set up: sticks where the twin-stick mapping looks, face buttons firing the way they
// point.
TEST_F(Controls, AControllerPluggedInPlaysBothJoypadSchemesUntouched) {
  VirtualPad pad("Couch Pad");
  ASSERT_EQ(pad.Port(), JoyPort);
  ControlScheme = 1;
  pad.SetAxis(VirtualPad::kLeftX, -1.0);
  pad.SetAxis(VirtualPad::kRightX, 1.0);
  pad.SetAxis(VirtualPad::kRightY, -1.0);
  ControlRequest r = ControlStep();
  ASSERT_EQ(r.step_count, 1);
  EXPECT_EQ(r.step_dx[0], -4);
  EXPECT_TRUE(r.fire);
  EXPECT_EQ(r.fire_angle, 45);
  pad.SetAxis(VirtualPad::kRightX, 0.0);
  pad.SetAxis(VirtualPad::kRightY, 0.0);
  EXPECT_FALSE(ControlStep().fire);

  ControlScheme = 2;
  struct Case {
    int button, angle;
  };
  for (const Case c : {Case{VirtualPad::kX, 270}, Case{VirtualPad::kY, 0}, Case{VirtualPad::kB, 90},
                       Case{VirtualPad::kA, 180}}) {
    SCOPED_TRACE(c.button);
    pad.SetButton(c.button, true);
    r = ControlStep();
    EXPECT_TRUE(r.fire);
    EXPECT_EQ(r.fire_angle, c.angle);
    pad.SetButton(c.button, false);
  }
  // Pulled out mid-game: nothing moves or fires, and nothing breaks.
  pad.SetButton(VirtualPad::kA, true);
  pad.Unplug();
  r = ControlStep();
  EXPECT_EQ(r.step_count, 0);
  EXPECT_FALSE(r.fire);
  EXPECT_EQ(MenuSelect(), 0);
}

}  // namespace
