// Joypads through SDL, with SDL's virtual devices standing in for real ones: plugged in
// and pulled out while the game runs, laid out as the game expects, and mapped by the
// player's own file.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "platform/input.h"
#include "support/virtual_pad.h"
#include "support/work_folder.h"

namespace {

class JoypadDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    InitInput();
    SettleInput();
    ResetInput();
  }
  void TearDown() override { ResetInput(); }
};

TEST_F(JoypadDevices, AControllerPluggedInLateGivesItsSticksAndTriggersAsTheGameLaysThemOut) {
  VirtualPad pad("Late Pad");
  const int port = pad.Port();
  ASSERT_EQ(port, 0);
  pad.SetAxis(VirtualPad::kLeftX, 1.0);
  pad.SetAxis(VirtualPad::kLeftY, -1.0);
  pad.SetAxis(VirtualPad::kRightX, -0.5);
  pad.SetAxis(VirtualPad::kRightY, 0.5);
  pad.SetAxis(5, 1.0);  // right trigger
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyX), 1.0);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyY), -1.0);
  // The right stick: X on R, Y on Z, where the default twin-stick mapping looks.
  EXPECT_NEAR(JoyAxis(port, kJoyR), -0.5, 1e-3);
  EXPECT_NEAR(JoyAxis(port, kJoyZ), 0.5, 1e-3);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyV), 1.0);
  EXPECT_EQ(JoyAxis(port, kJoyHat), -1.0);  // centred
}

TEST_F(JoypadDevices, FaceButtonsOfAControllerAreNumberedByWhereTheySit) {
  VirtualPad pad("Face Pad");
  const int port = pad.Port();
  ASSERT_GE(port, 0);
  // Left 0, bottom 1, right 2, top 3: the normal scheme's defaults fire that way.
  struct Case {
    int sdl_button, game_button;
  };
  for (const Case c : {Case{VirtualPad::kX, 0}, Case{VirtualPad::kA, 1}, Case{VirtualPad::kB, 2},
                       Case{VirtualPad::kY, 3}, Case{9, 9}}) {
    SCOPED_TRACE(c.sdl_button);
    pad.SetButton(c.sdl_button, true);
    for (int b = 0; b < kJoyButtons; ++b) EXPECT_EQ(JoyButtonDown(b, port), b == c.game_button);
    EXPECT_EQ(JoyButtonHits(c.game_button, port), 1);
    pad.SetButton(c.sdl_button, false);
    EXPECT_EQ(JoyButtonDown(c.game_button, port), 0);
  }
  // The pad's cross is also the hat.
  pad.SetButton(VirtualPad::kPadUp, true);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyHat), 0.0);
  pad.SetButton(VirtualPad::kPadLeft, true);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyHat), 31500 / 36000.0);
  pad.SetButton(VirtualPad::kPadUp, false);
  pad.SetButton(VirtualPad::kPadLeft, false);
  EXPECT_EQ(JoyAxis(port, kJoyHat), -1.0);
}

TEST_F(JoypadDevices, AJoystickSDLDoesNotKnowDeliversItsRawAxesButtonsAndHat) {
  VirtualPad stick("Plain Stick", false);
  const int port = stick.Port();
  ASSERT_GE(port, 0);
  stick.SetAxis(2, -1.0);
  stick.SetAxis(5, 1.0);
  stick.SetButton(0, true);
  stick.SetButton(15, true);
  stick.SetHat(SDL_HAT_RIGHT);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyZ), -1.0);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyV), 1.0);
  EXPECT_EQ(JoyButtonDown(0, port), 1);
  EXPECT_EQ(JoyButtonDown(1, port), 0);
  EXPECT_EQ(JoyButtonDown(15, port), 1);
  EXPECT_DOUBLE_EQ(JoyAxis(port, kJoyHat), 0.25);
}

TEST_F(JoypadDevices, PortsStayPutWhilePadsComeAndGo) {
  auto first = std::make_unique<VirtualPad>("First Pad");
  VirtualPad second("Second Pad");
  ASSERT_EQ(first->Port(), 0);
  ASSERT_EQ(second.Port(), 1);
  second.SetAxis(VirtualPad::kLeftX, 1.0);
  first->SetButton(VirtualPad::kA, true);

  // Pulled out while a button is held: its port reads nothing, the other keeps its own.
  first.reset();
  EXPECT_EQ(JoyPortName(0), "");
  EXPECT_EQ(JoyButtonDown(1, 0), 0);
  for (int axis = 0; axis < kJoyAxes; ++axis) EXPECT_EQ(JoyAxis(0, axis), 0.0);
  EXPECT_EQ(second.Port(), 1);
  EXPECT_DOUBLE_EQ(JoyAxis(1, kJoyX), 1.0);

  // A new pad takes the free port.
  VirtualPad third("Third Pad");
  EXPECT_EQ(third.Port(), 0);
  EXPECT_EQ(second.Port(), 1);
}

TEST_F(JoypadDevices, APlayersOwnMappingsFileReachesSDLsDatabase) {
  WorkFolder folder;
  EXPECT_EQ(AddControllerMappings("gamecontrollerdb.txt"), -1);  // none there

  // A pad SDL has never heard of, in the format of SDL's community database: lines for
  // other systems and damaged lines are passed over.
  const char* guid = "03000000f00d0000beef000001000000";
  {
    std::ofstream out("gamecontrollerdb.txt");
    out << "# the player's pads\nnot a mapping at all\n"
        << guid << ",Homebrew Pad,a:b7,b:b6,x:b5,y:b4,leftx:a1,lefty:a0,platform:Windows,\n"
        << guid
        << ",Homebrew Pad,a:b3,b:b2,x:b1,y:b0,leftx:a0,lefty:a1,platform:" << SDL_GetPlatform()
        << ",\n";
  }
  EXPECT_EQ(AddControllerMappings("gamecontrollerdb.txt"), 1);
  char* mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid));
  ASSERT_NE(mapping, nullptr);
  EXPECT_NE(std::string(mapping).find("Homebrew Pad,a:b3"), std::string::npos) << mapping;
  SDL_free(mapping);

  // Bytes that are no text at all add nothing and harm nothing.
  {
    std::ofstream out("gamecontrollerdb.txt", std::ios::binary);
    for (int i = 0; i < 4096; ++i) out.put(static_cast<char>((i * 151) & 0xFF));
  }
  EXPECT_EQ(AddControllerMappings("gamecontrollerdb.txt"), 0);
}

}  // namespace
