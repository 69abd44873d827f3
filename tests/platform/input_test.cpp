#include "platform/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/script.h"

namespace {

TEST(KeyMapping, LettersDigitsAndNamedKeys) {
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_a, 0), 65);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_z, 0), 90);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_0, 0), 48);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_9, 0), 57);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT, 0), 37);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_UP, 0), 38);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RIGHT, 0), 39);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN, 0), 40);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE, 0), 27);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER, 0), 13);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_7, 0), 103);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12, 0), 123);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT, 0), 165);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKQUOTE, 0), 192);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKSLASH, 0), 226);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_SLASH, 0), 191);
  EXPECT_EQ(VirtualKeyFromSdl(SDLK_APPLICATION, 0), 0);
}

TEST(KeyMapping, EveryNamedCodeIsReachable) {
  // The codes the key-name table shows; each must come from some real key.
  std::vector<int> codes = {8,   9,   13,  19,  20,  27,  32,  33,  34,  35,  36,
                            37,  38,  39,  40,  45,  46,  47,  91,  92,  106, 107,
                            109, 110, 111, 144, 145, 160, 161, 162, 163, 164, 165,
                            192, 189, 187, 219, 221, 226, 186, 222, 188, 190, 191};
  for (int c = 48; c <= 57; ++c) codes.push_back(c);
  for (int c = 65; c <= 90; ++c) codes.push_back(c);
  for (int c = 96; c <= 105; ++c) codes.push_back(c);
  for (int c = 112; c <= 123; ++c) codes.push_back(c);
  ASSERT_EQ(codes.size(), 102u);  // 13 appears twice in the table (Return, Enter)
  std::vector<bool> reachable(256, false);
  for (SDL_Keycode k :
       {SDLK_BACKSPACE,    SDLK_TAB,         SDLK_RETURN,       SDLK_PAUSE,     SDLK_CAPSLOCK,
        SDLK_ESCAPE,       SDLK_SPACE,       SDLK_PAGEUP,       SDLK_PAGEDOWN,  SDLK_END,
        SDLK_HOME,         SDLK_LEFT,        SDLK_UP,           SDLK_RIGHT,     SDLK_DOWN,
        SDLK_INSERT,       SDLK_DELETE,      SDLK_HELP,         SDLK_LGUI,      SDLK_RGUI,
        SDLK_KP_MULTIPLY,  SDLK_KP_PLUS,     SDLK_KP_MINUS,     SDLK_KP_PERIOD, SDLK_KP_DIVIDE,
        SDLK_NUMLOCKCLEAR, SDLK_SCROLLLOCK,  SDLK_LSHIFT,       SDLK_RSHIFT,    SDLK_LCTRL,
        SDLK_RCTRL,        SDLK_LALT,        SDLK_RALT,         SDLK_BACKQUOTE, SDLK_MINUS,
        SDLK_EQUALS,       SDLK_LEFTBRACKET, SDLK_RIGHTBRACKET, SDLK_BACKSLASH, SDLK_SEMICOLON,
        SDLK_QUOTE,        SDLK_COMMA,       SDLK_PERIOD,       SDLK_SLASH})
    reachable[VirtualKeyFromSdl(k, 0)] = true;
  for (SDL_Keycode k = SDLK_0; k <= SDLK_9; ++k) reachable[VirtualKeyFromSdl(k, 0)] = true;
  for (SDL_Keycode k = SDLK_a; k <= SDLK_z; ++k) reachable[VirtualKeyFromSdl(k, 0)] = true;
  for (SDL_Keycode k : {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4, SDLK_KP_5, SDLK_KP_6,
                        SDLK_KP_7, SDLK_KP_8, SDLK_KP_9})
    reachable[VirtualKeyFromSdl(k, 0)] = true;
  for (SDL_Keycode k = SDLK_F1; k <= SDLK_F12; ++k) reachable[VirtualKeyFromSdl(k, 0)] = true;
  for (int c : codes) EXPECT_TRUE(reachable[c]) << "code " << c;
}

class InputState : public ::testing::Test {
 protected:
  void SetUp() override { ResetInput(); }
  void TearDown() override { ResetInput(); }
};

TEST_F(InputState, PressCountsClearOnQueryAndHeldStateStays) {
  InjectKeyDown('W');
  EXPECT_EQ(KeyIsDown('W'), 1);
  EXPECT_EQ(KeyPresses('W'), 1);
  EXPECT_EQ(KeyPresses('W'), 0);
  EXPECT_EQ(KeyIsDown('W'), 1);
  InjectKeyUp('W');
  EXPECT_EQ(KeyIsDown('W'), 0);
  InjectKeyPress(kVkEscape);
  InjectKeyPress(kVkEscape);
  EXPECT_EQ(KeyIsDown(kVkEscape), 0);
  EXPECT_EQ(KeyPresses(kVkEscape), 2);
  EXPECT_EQ(KeyPresses(-1), 0);
  EXPECT_EQ(KeyIsDown(256), 0);
}

TEST_F(InputState, SidedModifiersAlsoHoldTheGenericCode) {
  constexpr int kLeftShift = 160, kRightShift = 161, kShift = 16;
  InjectKeyDown(kRightShift);
  EXPECT_EQ(KeyIsDown(kShift), 1);
  EXPECT_EQ(KeyIsDown(kLeftShift), 0);
  InjectKeyUp(kRightShift);
  EXPECT_EQ(KeyIsDown(kShift), 0);
}

TEST_F(InputState, FlushForgetsPressesAndHeldKeys) {
  InjectKeyDown(kVkLeft);
  InjectMouseButton(1, true);
  InjectJoyButton(0, 3, true);
  FlushKeys();
  FlushMouse();
  FlushJoy();
  EXPECT_EQ(KeyIsDown(kVkLeft), 0);
  EXPECT_EQ(KeyPresses(kVkLeft), 0);
  EXPECT_EQ(MouseButtonPresses(1), 0);
  EXPECT_EQ(JoyButtonHits(3, 0), 0);
  // FlushJoy forgets press counts only; the button is still held.
  EXPECT_EQ(JoyButtonDown(3, 0), 1);
}

TEST_F(InputState, NoJoypadReadsZeroAndOutOfRangeIsSafe) {
  for (int axis = 0; axis < kJoyAxes; ++axis) EXPECT_EQ(JoyAxis(0, axis), 0.0);
  EXPECT_EQ(JoyAxis(-1, 0), 0.0);
  EXPECT_EQ(JoyAxis(16, 0), 0.0);
  EXPECT_EQ(JoyAxis(0, 16), 0.0);
  EXPECT_EQ(JoyButtonDown(16, 0), 0);
  EXPECT_EQ(JoyButtonDown(0, 16), 0);
  InjectJoyAxis(2, kJoyR, -0.5);
  EXPECT_DOUBLE_EQ(JoyAxis(2, kJoyR), -0.5);
  InjectMouseMove(300, 200);
  EXPECT_EQ(MouseX(), 300);
  EXPECT_EQ(MouseY(), 200);
  EXPECT_EQ(MouseButtonPresses(4), 0);
}

TEST_F(InputState, QuitUnwindsFromTheNextQuery) {
  InjectQuit();
  EXPECT_THROW(KeyPresses(27), QuitRequest);
  ResetInput();
  EXPECT_NO_THROW(KeyPresses(27));
}

}  // namespace
