#include "input/controls.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "platform/clock.h"
#include "platform/input.h"

int ControlScheme = 0;
int StickThreshold = 16;
int KeyMoveLeft = 37, KeyMoveRight = 39, KeyMoveUp = 38, KeyMoveDown = 40;
int KeyFireUp = 87, KeyFireDown = 83, KeyFireLeft = 65, KeyFireRight = 68;

bbjoypad Joypads[kMappedPorts];
int JoyPort = 0;
bbjoypad ActiveJoypad;
int JoypadLeft = 0, JoypadUp = 1, JoypadRight = 2, JoypadDown = 3;
int ControlType = 0;
int HybridConfig = 0;
int JoypadConfig = 0;
int JoypadOption = 0;
int JoypadBomb = 4;
int Autofire = 0;
std::array<int, kStoredKeys> JoypadConfigKeys = JoypadConfigValues{}.Keys;

const char* const AxisNames[kAxisNameCount] = {
    "null",        "JoyX()",      "JoyY()",      "JoyZ()",     "JoyR()",   "JoyU()",
    "JoyV()",      "JoyYaw()",    "JoyPitch()",  "JoyRoll()",  "JoyHat()", "JoyWheel()",
    "JoyAxis12()", "JoyAxis13()", "JoyAxis14()", "JoyAxisl5()"};

namespace {

// The key-name table, then a second list of the same form right after its terminator;
// scans from the head stop at the first terminator and never reach the second.
constexpr KeyName kKeyNames[] = {
    {8, "Backspace"},
    {9, "Tab"},
    {13, "Return"},
    {13, "Enter"},
    {19, "Pause"},
    {20, "Caps Lock"},
    {27, "Escape"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Cursor (Left)"},
    {38, "Cursor (Up)"},
    {39, "Cursor (Right)"},
    {40, "Cursor (Down)"},
    {45, "Insert"},
    {46, "Delete"},
    {47, "Help"},
    {48, "0"},
    {49, "1"},
    {50, "2"},
    {51, "3"},
    {52, "4"},
    {53, "5"},
    {54, "6"},
    {55, "7"},
    {56, "8"},
    {57, "9"},
    {65, "A"},
    {66, "B"},
    {67, "C"},
    {68, "D"},
    {69, "E"},
    {70, "F"},
    {71, "G"},
    {72, "H"},
    {73, "I"},
    {74, "J"},
    {75, "K"},
    {76, "L"},
    {77, "M"},
    {78, "N"},
    {79, "O"},
    {80, "P"},
    {81, "Q"},
    {82, "R"},
    {83, "S"},
    {84, "T"},
    {85, "U"},
    {86, "V"},
    {87, "W"},
    {88, "X"},
    {89, "Y"},
    {90, "Z"},
    {91, "Sys key (Left)"},
    {92, "Sys key (Right)"},
    {96, "Numpad 0"},
    {97, "Numpad 1"},
    {98, "Numpad 2"},
    {99, "Numpad 3"},
    {100, "Numpad 4"},
    {101, "Numpad 5"},
    {102, "Numpad 6"},
    {103, "Numpad 7"},
    {104, "Numpad 8"},
    {105, "Numpad 9"},
    {106, "Numpad *"},
    {107, "Numpad +"},
    {109, "Numpad -"},
    {110, "Numpad ."},
    {111, "Numpad /"},
    {112, "F1"},
    {113, "F2"},
    {114, "F3"},
    {115, "F4"},
    {116, "F5"},
    {117, "F6"},
    {118, "F7"},
    {119, "F8"},
    {120, "F9"},
    {121, "F10"},
    {122, "F11"},
    {123, "F12"},
    {144, "Num Lock"},
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
    {191, "Slash"},
    {255, "n/a"},
    // The second list.
    {48, "0"},
    {49, "1"},
    {50, "2"},
    {51, "3"},
    {52, "4"},
    {53, "5"},
    {54, "6"},
    {55, "7"},
    {56, "8"},
    {57, "9"},
    {65, "A"},
    {66, "B"},
    {67, "C"},
    {68, "D"},
    {69, "E"},
    {70, "F"},
    {71, "G"},
    {72, "H"},
    {73, "I"},
    {74, "J"},
    {75, "K"},
    {76, "L"},
    {77, "M"},
    {78, "N"},
    {79, "O"},
    {80, "P"},
    {81, "Q"},
    {82, "R"},
    {83, "S"},
    {84, "T"},
    {85, "U"},
    {86, "V"},
    {87, "W"},
    {88, "X"},
    {89, "Y"},
    {90, "Z"},
    {255, "n/a"},
};

bool SchemeKnown() {
  return ControlScheme >= 0 && ControlScheme <= 2;
}

double Stick(int id, int invert, double scale, double center) {
  return 100.0 * ReadStickAxis(JoyPort, id, invert, scale, center);
}
double Stick1X() {
  const bbjoypad& j = ActiveJoypad;
  return Stick(j.x1id, j.x1invert, j.x1scale, j.x1center);
}
double Stick1Y() {
  const bbjoypad& j = ActiveJoypad;
  return Stick(j.y1id, j.y1invert, j.y1scale, j.y1center);
}
double Stick2X() {
  const bbjoypad& j = ActiveJoypad;
  return Stick(j.x2id, j.x2invert, j.x2scale, j.x2center);
}
double Stick2Y() {
  const bbjoypad& j = ActiveJoypad;
  return Stick(j.y2id, j.y2invert, j.y2scale, j.y2center);
}

// The eight directions, first match wins; fx, fy are -1, 0 or +1 (up is -1).
bool FireAngle(int fx, int fy, int* angle) {
  if (fy < 0 && fx > 0)
    *angle = 45;
  else if (fy < 0 && fx < 0)
    *angle = 315;
  else if (fy > 0 && fx > 0)
    *angle = 135;
  else if (fy > 0 && fx < 0)
    *angle = 225;
  else if (fy < 0)
    *angle = 0;
  else if (fy > 0)
    *angle = 180;
  else if (fx < 0)
    *angle = 270;
  else if (fx > 0)
    *angle = 90;
  else
    return false;
  return true;
}

void AddStep(ControlRequest& req, int dx, int dy) {
  req.step_dx[req.step_count] = dx;
  req.step_dy[req.step_count] = dy;
  ++req.step_count;
}

void StickSteps(ControlRequest& req) {
  const double t = StickThreshold;
  const double mx = Stick1X();
  const double my = Stick1Y();
  if (mx < -t) AddStep(req, -4, 0);
  if (mx > t) AddStep(req, 4, 0);
  if (my < -t) AddStep(req, 0, -4);
  if (my > t) AddStep(req, 0, 4);
}

int Sign(double v, double t) {
  return v < -t ? -1 : (v > t ? 1 : 0);
}

// Stick and button answers repeat at most about five times a second.
int JoyAnswer() {
  FlushJoy();
  Delay(200);
  return 1;
}

int StickMenuQuery(bool (*test)(double x, double y, double t)) {
  if (ControlScheme == 0 || !SchemeKnown()) return 0;
  if (test(Stick1X(), Stick1Y(), StickThreshold)) return JoyAnswer();
  return 0;
}

int ButtonFx() {
  return JoyButtonDown(JoypadRight, JoyPort) - JoyButtonDown(JoypadLeft, JoyPort);
}
int ButtonFy() {
  return JoyButtonDown(JoypadUp, JoyPort) - JoyButtonDown(JoypadDown, JoyPort);
}

}  // namespace

const KeyName* const KeyNameTable = kKeyNames;

const char* KeyNameOf(int code) {
  for (const KeyName* k = KeyNameTable; k->code != 255; ++k)
    if (k->code == code) return k->name;
  return "n/a";
}

bbjoypad DefaultJoypadMapping() {
  return kDefaultJoypadMapping;
}

void ResetJoypadMappings() {
  ApplyJoypadConfig(JoypadConfigValues{});
}

JoypadConfigValues CurrentJoypadConfig() {
  JoypadConfigValues v;
  v.ControlType = ControlType;
  v.HybridConfig = HybridConfig;
  v.JoypadConfig = JoypadConfig;
  v.JoypadLeft = JoypadLeft;
  v.JoypadUp = JoypadUp;
  v.JoypadRight = JoypadRight;
  v.JoypadDown = JoypadDown;
  v.JoypadOption = JoypadOption;
  v.JoypadBomb = JoypadBomb;
  v.Autofire = Autofire;
  v.Keys = JoypadConfigKeys;
  v.UsedPort = JoyPort;
  std::copy(std::begin(Joypads), std::end(Joypads), v.Ports.begin());
  return v;
}

void ApplyJoypadConfig(const JoypadConfigValues& v) {
  ControlType = v.ControlType;
  HybridConfig = v.HybridConfig;
  JoypadConfig = v.JoypadConfig;
  JoypadLeft = v.JoypadLeft;
  JoypadUp = v.JoypadUp;
  JoypadRight = v.JoypadRight;
  JoypadDown = v.JoypadDown;
  JoypadOption = v.JoypadOption;
  JoypadBomb = v.JoypadBomb;
  Autofire = v.Autofire;
  JoypadConfigKeys = v.Keys;
  JoyPort = v.UsedPort;
  std::copy(v.Ports.begin(), v.Ports.end(), std::begin(Joypads));
}

void SelectJoypadMapping() {
  if (JoyPort < 0 || JoyPort >= kMappedPorts) return;
  ActiveJoypad = Joypads[JoyPort];
  for (int* id : {&ActiveJoypad.x1id, &ActiveJoypad.y1id, &ActiveJoypad.x2id, &ActiveJoypad.y2id})
    *id = *id >= 0 && *id < kAxisNameCount ? *id - 1 : -1;
}

double ReadStickAxis(int port, int axis_index, int invert, double scale, double center) {
  double raw;
  if (axis_index >= 0 && axis_index <= 5)
    raw = JoyAxis(port, axis_index);
  else if (axis_index == 9)
    raw = JoyAxis(port, kJoyHat);
  else if ((axis_index >= 6 && axis_index <= 8) || (axis_index >= 10 && axis_index <= 14))
    raw = 0.0;  // yaw, pitch, roll, wheel and the extra slots are never delivered
  else
    return 0.0;
  if (scale == 0) return 0.0;  // never reaches play; guards a hand-edited mapping
  return (raw / scale) * invert - center;
}

ControlRequest ControlStep() {
  ControlRequest req;
  int fx = 0, fy = 0;
  switch (ControlScheme) {
    case 0:
      if (KeyIsDown(KeyMoveLeft)) AddStep(req, -4, 0);
      if (KeyIsDown(KeyMoveRight)) AddStep(req, 4, 0);
      if (KeyIsDown(KeyMoveUp)) AddStep(req, 0, -4);
      if (KeyIsDown(KeyMoveDown)) AddStep(req, 0, 4);
      {
        const bool up = KeyIsDown(KeyFireUp), down = KeyIsDown(KeyFireDown);
        const bool left = KeyIsDown(KeyFireLeft), right = KeyIsDown(KeyFireRight);
        // The table's order: diagonals, then up, down, left, right.
        if (up && right)
          fx = 1, fy = -1;
        else if (up && left)
          fx = -1, fy = -1;
        else if (down && right)
          fx = 1, fy = 1;
        else if (down && left)
          fx = -1, fy = 1;
        else if (up)
          fy = -1;
        else if (down)
          fy = 1;
        else if (left)
          fx = -1;
        else if (right)
          fx = 1;
      }
      break;
    case 1:
      StickSteps(req);
      fx = Sign(Stick2X(), StickThreshold);
      fy = Sign(Stick2Y(), StickThreshold);
      break;
    case 2:
      StickSteps(req);
      fx = ButtonFx();
      fy = ButtonFy();
      break;
    default:
      return req;
  }
  req.fire = FireAngle(fx, fy, &req.fire_angle);
  return req;
}

int MenuLeft() {
  if (ControlScheme == 0) return KeyPresses(KeyMoveLeft) > 0 ? 1 : 0;
  return StickMenuQuery([](double x, double, double t) { return x < -t; });
}

int MenuRight() {
  if (ControlScheme == 0) return KeyPresses(KeyMoveRight) > 0 ? 1 : 0;
  return StickMenuQuery([](double x, double, double t) { return x > t; });
}

int MenuUp() {
  if (ControlScheme == 0) return KeyPresses(KeyMoveUp) > 0 ? 1 : 0;
  return StickMenuQuery([](double, double y, double t) { return y < -t; });
}

int MenuDown() {
  if (ControlScheme == 0) return KeyPresses(KeyMoveDown) > 0 ? 1 : 0;
  return StickMenuQuery([](double, double y, double t) { return y > t; });
}

int MenuSelect() {
  switch (ControlScheme) {
    case 0:
      for (int key : {KeyFireLeft, KeyFireRight, KeyFireUp, KeyFireDown})
        if (KeyPresses(key) > 0) return 1;
      return 0;
    case 1:
      if (std::abs(Stick2X()) > StickThreshold || std::abs(Stick2Y()) > StickThreshold)
        return JoyAnswer();
      return 0;
    case 2:
      if (ButtonFx() != 0 || ButtonFy() != 0) return JoyAnswer();
      return 0;
    default:
      return 0;
  }
}

int WaitForKey() {
  Delay(100);
  FlushKeys();
  int remembered = -1;
  while (remembered < 0) {
    // The first held key of the table is the one taken.
    for (const KeyName* k = KeyNameTable; k->code != 255 && remembered < 0; ++k)
      if (KeyIsDown(k->code)) remembered = k->code;
    if (remembered < 0) Delay(1);
  }
  if (SoundOn == 1) Sound::Play("BlipSND", 0);
  return remembered;
}
