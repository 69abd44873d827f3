// Control settings, joypad mappings and the three control schemes.
#pragma once

#include <array>
#include <string>

#include "input/joypad_config.h"
#include "platform/control_request.h"

// Control settings, saved in the settings file.
extern int ControlScheme;   // 0 keyboard, 1 twin-stick joypad, 2 normal joypad
extern int StickThreshold;  // percent of full stick travel
extern int KeyMoveLeft, KeyMoveRight, KeyMoveUp, KeyMoveDown;
extern int KeyFireUp, KeyFireDown, KeyFireLeft, KeyFireRight;

extern bbjoypad Joypads[kMappedPorts];
extern int JoyPort;            // port used in play
extern bbjoypad ActiveJoypad;  // copy of Joypads[JoyPort] with axis ids lowered to indices

// Buttons of the normal joypad scheme (kept by the controller file). JoypadUp fires
// down and JoypadDown fires up.
extern int JoypadLeft, JoypadUp, JoypadRight, JoypadDown;

// The rest of the controller file. Only the joypad control screen shows and edits
// JoypadConfig (0 shows the pad moving and four buttons firing), JoypadOption and
// JoypadBomb; the others are kept for the file and nothing acts on them.
extern int ControlType;  // index into ControlTypeNames
extern int HybridConfig;
extern int JoypadConfig;
extern int JoypadOption;
extern int JoypadBomb;
extern int Autofire;
extern std::array<int, kStoredKeys> JoypadConfigKeys;

inline constexpr int kAxisNameCount = 16;
extern const char* const AxisNames[kAxisNameCount];

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
// Sets everything the controller file holds to its first-run value: the four ports'
// mappings, the port used in play and the scheme's buttons among them.
void ResetJoypadMappings();
// The globals as the controller file holds them, and back.
JoypadConfigValues CurrentJoypadConfig();
void ApplyJoypadConfig(const JoypadConfigValues& values);
// Copies the mapping of JoyPort into ActiveJoypad, each axis id lowered to an index;
// an id the game does not have (outside 0 to 15) gives no axis.
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

// Waits until a key of the key-name table is held and returns its code; of several
// held keys, the first in the table.
int WaitForKey();
