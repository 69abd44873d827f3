// The bytes of JoypadConfig.txt: entries of two lines each, a header in square
// brackets and its value, lines ended by CR LF, one byte per character. Reading and
// writing here are pure functions between bytes and values, so the reader can be
// fuzzed; the globals are filled and gathered by the control screens and start-up.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

// Mapping of one joystick port. Axis ids: 0 none, 1 X, 2 Y, ... (see AxisNames).
// A new record has every field zero.
struct bbjoypad {
  int x1id = 0, y1id = 0, x2id = 0, y2id = 0;
  int x1invert = 0, y1invert = 0, x2invert = 0, y2invert = 0;
  double x1scale = 0, y1scale = 0, x2scale = 0, y2scale = 0;
  double x1center = 0, y1center = 0, x2center = 0, y2center = 0;
  double x1dz = 0, y1dz = 0, x2dz = 0, y2dz = 0;
  int optionbutton = 0;
  int bombbutton = 0;
  bool operator==(const bbjoypad&) const = default;
};

// What every port's mapping starts as: move on X and Y, fire on R and Z (a modern
// pad's right stick), nothing inverted, scaled or off centre.
inline constexpr bbjoypad kDefaultJoypadMapping = {1,   2, 4, 3, 1, 1, 1, 1, 1.0, 1.0, 1.0,
                                                   1.0, 0, 0, 0, 0, 0, 0, 0, 0,   1,   2};

inline constexpr int kMappedPorts = 4;

inline constexpr int kControlTypeCount = 5;
inline constexpr const char* ControlTypeNames[kControlTypeCount] = {"Dual Analog", "Mouse",
                                                                    "Keyboard", "Joypad", "Hybrid"};

// The nine key codes the file keeps, in its order: bomb, move left, right, up, down,
// fire left, right, up, down. They are not the keys of play (settings.dat has those).
inline constexpr int kStoredKeys = 9;

// Everything the file holds. The initial values are those of a first run.
struct JoypadConfigValues {
  int ControlType = 0;  // index into ControlTypeNames
  int HybridConfig = 0;
  int JoypadConfig = 0;
  int JoypadLeft = 0, JoypadUp = 1, JoypadRight = 2, JoypadDown = 3;
  int JoypadOption = 0;
  int JoypadBomb = 4;
  int Autofire = 0;
  std::array<int, kStoredKeys> Keys = {32, 83, 68, 69, 88, 37, 39, 38, 40};
  int UsedPort = 0;
  std::array<bbjoypad, kMappedPorts> Ports = {kDefaultJoypadMapping, kDefaultJoypadMapping,
                                              kDefaultJoypadMapping, kDefaultJoypadMapping};
  bool operator==(const JoypadConfigValues&) const = default;
};

// Reads the entries of a file over `values`: an entry that is missing, or whose
// header the game does not know, leaves its value as it was, and a later entry for
// the same header wins. Never trusts a number that picks a table entry: a used port
// or a "[Joy Port]" block outside 0 to 3 is ignored, an inversion other than 1 or -1
// is 1, a scale of 0 is 1, a centre or dead zone above 1 in size (or not a number) is
// 0. Axis ids and button numbers are kept as they stand; play reads 0 from one the
// device does not have.
void ParseJoypadConfig(std::span<const unsigned char> bytes, JoypadConfigValues& values);

// The bytes of a whole file holding these values: the twenty entries of the first
// table, then a block for each of the four ports; 224 lines.
std::vector<unsigned char> FormatJoypadConfig(const JoypadConfigValues& values);

// The file's integer and real readings of a value, as the reader applies them.
int ReadConfigInt(std::string_view text);
double ReadConfigReal(std::string_view text);
