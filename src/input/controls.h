// Control settings, joypad mappings and the three control schemes.
#pragma once

#include <string>

#include "platform/control_request.h"

// Control settings, saved in the settings file.
extern int ControlScheme;   // 0 keyboard, 1 twin-stick joypad, 2 normal joypad
extern int StickThreshold;  // percent of full stick travel
extern int KeyMoveLeft, KeyMoveRight, KeyMoveUp, KeyMoveDown;
extern int KeyFireUp, KeyFireDown, KeyFireLeft, KeyFireRight;

// Mapping of one joystick port. Axis ids: 0 none, 1 X, 2 Y, ... (see AxisNames).
struct bbjoypad {
  int x1id = 0, y1id = 0, x2id = 0, y2id = 0;
  int x1invert = 0, y1invert = 0, x2invert = 0, y2invert = 0;
  double x1scale = 0, y1scale = 0, x2scale = 0, y2scale = 0;
  double x1center = 0, y1center = 0, x2center = 0, y2center = 0;
  double x1dz = 0, y1dz = 0, x2dz = 0, y2dz = 0;
  int optionbutton = 0;
  int bombbutton = 0;
};

inline constexpr int kMappedPorts = 4;
extern bbjoypad Joypads[kMappedPorts];
extern int JoyPort;            // port used in play
extern bbjoypad ActiveJoypad;  // copy of Joypads[JoyPort] with axis ids lowered to indices

// Buttons of the normal joypad scheme (kept by the controller file).
extern int JoypadLeft, JoypadUp, JoypadRight, JoypadDown;

inline constexpr int kAxisNameCount = 16;
extern const char* const AxisNames[kAxisNameCount];
inline constexpr int kControlTypeCount = 5;
extern const char* const ControlTypeNames[kControlTypeCount];

struct KeyName {
  int code;
  const char* name;
};
// Scanned from the head, ended by (255, "n/a"); first match by code wins.
extern const KeyName* const KeyNameTable;
// The display name of a key code: its first name in the table, or "n/a".
const char* KeyNameOf(int code);

// The defaults of a port's mapping.
bbjoypad DefaultJoypadMapping();
// Sets all four ports and the scheme buttons to their defaults.
void ResetJoypadMappings();
void SelectJoypadMapping();

double ReadStickAxis(int port, int axis_index, int invert, double scale, double center);

// What the active scheme asks of the spider this frame: up to four steps, in order,
// and at most one shot.
ControlRequest ControlStep();

int MenuLeft();
int MenuRight();
int MenuUp();
int MenuDown();
int MenuSelect();

// Waits until a key of the key-name table is held and returns its code.
int WaitForKey();
