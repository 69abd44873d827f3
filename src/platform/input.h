// Keyboard, mouse and joystick state as the game sees it.
//
// Keys are kept by Windows virtual-key code (0..255) because stored bindings and the
// key-name table use those codes. Every query first pumps pending window events, so a
// loop that waits for a key without presenting a frame still sees it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/input_limits.h"

// Handles pending SDL events: keys, mouse, joysticks, window close. A close request
// (or SIGTERM) throws QuitRequest from here, the one safe place to unwind.
void PumpEvents();

// True once after the player pressed Alt+Enter, which the game's keys never see.
bool TakeFullScreenToggle();

// Starts SDL's event, keyboard and joystick services and opens every joystick
// present, numbered in the order SDL reports them. Safe to call more than once.
// Joypads plugged in later take the lowest free port; one pulled out frees its port
// and every other keeps its own.
void InitInput();

// Adds the game-controller mappings of a file in SDL's gamecontrollerdb.txt format to
// those SDL knows (its own and SDL_GAMECONTROLLERCONFIG), for pads opened from now on.
// The number of mappings added, or -1 when the file cannot be read.
int AddControllerMappings(const std::string& path);

// The name of the device on a port, empty when none is there.
std::string JoyPortName(int port);

// Virtual-key codes the screens ask for by name; letters and digits are their
// upper-case ASCII codes ('Y', '0').
inline constexpr int kVkEnter = 13;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkLeft = 37;  // the cursor keys
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;

int KeyPresses(int code);  // presses since the last query for that key; cleared by it
int KeyIsDown(int code);   // 1 while held
// Characters typed since the last query for that code, as the player's keyboard
// layout gives them, counted by the code of the character a name can hold: '0'..'9',
// 'A'..'Z' (a letter of either case) and Space (32); codes below kTypedCodes. Cleared
// by the query and by FlushKeys. Editing keys (Backspace, Return, Escape) are keys,
// not characters.
int TypedPresses(int code);
void FlushKeys();  // forget all presses and held states

int MouseX();
int MouseY();
int MouseButtonPresses(int button);  // 1 left, 2 right, 3 middle
void FlushMouse();
// Puts the pointer at a window position: the pointer seen on screen and the one read.
void MoveMouse(int x, int y);

enum JoyAxisIndex {
  kJoyX = 0,
  kJoyY,
  kJoyZ,
  kJoyR,
  kJoyU,
  kJoyV,
  kJoyYaw,
  kJoyPitch,
  kJoyRoll,
  kJoyHat,
  kJoyWheel
};
double JoyAxis(int port, int axis);       // X..V in -1..1; hat /36000 or -1 centred
int JoyButtonDown(int button, int port);  // 1 while held
int JoyButtonHits(int button, int port);  // presses since the last query
void FlushJoy();                          // forget the press counts of all buttons

// Virtual-key code for an SDL keycode, 0 when the key has none.
int VirtualKeyFromSdl(std::int32_t sdl_keycode, std::uint16_t sdl_mod);

// Input injection for scripted runs. Injected state looks exactly like real input.
void InjectKeyDown(int code);
void InjectKeyUp(int code);
void InjectKeyPress(int code);                // down and up: one press, not left held
void InjectTypedText(std::string_view text);  // UTF-8, as the layout would type it
void InjectMouseMove(int x, int y);
void InjectMouseButton(int button, bool down);
void InjectJoyAxis(int port, int axis, double value);
void InjectJoyButton(int port, int button, bool down);
void InjectQuit();  // as if the window were closed
void ResetInput();  // all state back to nothing pressed, no injected devices
