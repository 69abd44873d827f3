#include "platform/input.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/script.h"
#include "platform/session_tape.h"
#include "platform/utf8.h"
#include "platform/window.h"

namespace {

struct KeyState {
  std::array<int, 256> presses{};
  std::array<bool, 256> down{};
  // Characters typed, as the player's layout gives them, by the code of the character.
  std::array<int, kTypedCodes> typed{};
};

struct JoyPortState {
  std::array<double, kJoyAxes> axes{};
  std::array<bool, kJoyButtons> down{};
  std::array<int, kJoyButtons> hits{};
  SDL_JoystickID id = -1;  // -1: nothing real on this port
  SDL_Joystick* joystick = nullptr;
  SDL_GameController* controller = nullptr;
  std::array<bool, 4> pad{};  // a controller's pad held: up, down, left, right
};

KeyState keys;
int mouse_x = 0, mouse_y = 0;
std::array<int, 4> mouse_presses{};
std::array<JoyPortState, kJoyPorts> joys;
bool input_ready = false;
bool quit_requested = false;
bool full_screen_toggles = false;  // asked for, handed to the display by TakeFullScreenToggle
std::atomic<bool> sigterm_seen{false};
Uint64 last_pump_tick = ~0ull;

void OnSigterm(int) {
  sigterm_seen = true;
}

struct KeyMapEntry {
  SDL_Keycode key;
  int code;
};

// SDL key to Windows virtual-key code. Backslash goes to 226, the code our key-name
// table calls "Backslash", whichever physical key produces it.
constexpr KeyMapEntry kKeyMap[] = {
    {SDLK_BACKSPACE, 8},      {SDLK_TAB, 9},           {SDLK_RETURN, 13},
    {SDLK_KP_ENTER, 13},      {SDLK_PAUSE, 19},        {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},        {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},      {SDLK_END, 35},          {SDLK_HOME, 36},
    {SDLK_LEFT, 37},          {SDLK_UP, 38},           {SDLK_RIGHT, 39},
    {SDLK_DOWN, 40},          {SDLK_INSERT, 45},       {SDLK_DELETE, 46},
    {SDLK_HELP, 47},          {SDLK_LGUI, 91},         {SDLK_RGUI, 92},
    {SDLK_KP_0, 96},          {SDLK_KP_1, 97},         {SDLK_KP_2, 98},
    {SDLK_KP_3, 99},          {SDLK_KP_4, 100},        {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},         {SDLK_KP_7, 103},        {SDLK_KP_8, 104},
    {SDLK_KP_9, 105},         {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},     {SDLK_KP_PERIOD, 110},   {SDLK_KP_DIVIDE, 111},
    {SDLK_F1, 112},           {SDLK_F2, 113},          {SDLK_F3, 114},
    {SDLK_F4, 115},           {SDLK_F5, 116},          {SDLK_F6, 117},
    {SDLK_F7, 118},           {SDLK_F8, 119},          {SDLK_F9, 120},
    {SDLK_F10, 121},          {SDLK_F11, 122},         {SDLK_F12, 123},
    {SDLK_NUMLOCKCLEAR, 144}, {SDLK_SCROLLLOCK, 145},  {SDLK_LSHIFT, 160},
    {SDLK_RSHIFT, 161},       {SDLK_LCTRL, 162},       {SDLK_RCTRL, 163},
    {SDLK_LALT, 164},         {SDLK_RALT, 165},        {SDLK_BACKQUOTE, 192},
    {SDLK_MINUS, 189},        {SDLK_EQUALS, 187},      {SDLK_LEFTBRACKET, 219},
    {SDLK_RIGHTBRACKET, 221}, {SDLK_BACKSLASH, 226},   {SDLK_SEMICOLON, 186},
    {SDLK_QUOTE, 222},        {SDLK_COMMA, 188},       {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},
};

// Windows also reports the side-less modifier codes alongside the sided ones.
int GenericModifier(int code) {
  switch (code) {
    case 160:
    case 161:
      return 16;
    case 162:
    case 163:
      return 17;
    case 164:
    case 165:
      return 18;
    default:
      return 0;
  }
}

bool ValidKey(int code) {
  return code >= 0 && code < 256;
}

// The characters a name can hold, by the key code the game knows them by: digits,
// letters (as capitals) and Space; 0 for any other.
int TypedCode(unsigned c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ') return static_cast<int>(c);
  if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a' + 'A');
  return 0;
}

void Type(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const int code = TypedCode(NextCharacter(text, pos));
    if (code != 0) ++keys.typed[static_cast<std::size_t>(code)];
  }
}

void SetKey(int code, bool down) {
  if (!ValidKey(code) || code == 0) return;
  if (down && !keys.down[code]) ++keys.presses[code];
  keys.down[code] = down;
  const int generic = GenericModifier(code);
  if (generic) {
    if (down && !keys.down[generic]) ++keys.presses[generic];
    keys.down[generic] = down;
  }
}

JoyPortState* PortOf(SDL_JoystickID id) {
  for (auto& p : joys)
    if (p.id == id) return &p;
  return nullptr;
}

void SetButton(JoyPortState& p, int button, bool down) {
  if (button < 0 || button >= kJoyButtons) return;
  if (down && !p.down[button]) ++p.hits[button];
  p.down[button] = down;
}

// The state as the session tape numbers it.
void ReadSlots(InputSlots& slots) {
  using namespace tape_slots;
  slots.resize(kCount);
  for (int c = 0; c < 256; ++c) {
    slots[kPresses + c] = keys.presses[c];
    slots[kDown + c] = keys.down[c];
  }
  for (int c = 0; c < kTypedCodes; ++c) slots[kTyped + c] = keys.typed[static_cast<std::size_t>(c)];
  slots[kMouseX] = mouse_x;
  slots[kMouseY] = mouse_y;
  for (int b = 0; b < 4; ++b) slots[kMousePresses + b] = mouse_presses[b];
  for (int p = 0; p < kJoyPorts; ++p) {
    const JoyPortState& port = joys[p];
    const int base = kJoys + p * kPerPort;
    for (int a = 0; a < kJoyAxes; ++a) std::memcpy(&slots[base + a], &port.axes[a], sizeof(double));
    for (int b = 0; b < kJoyButtons; ++b) {
      slots[base + kJoyAxes + b] = port.down[b];
      slots[base + kJoyAxes + kJoyButtons + b] = port.hits[b];
    }
  }
  slots[kQuit] = quit_requested;
}

void WriteSlots(const InputSlots& slots) {
  using namespace tape_slots;
  for (int c = 0; c < 256; ++c) {
    keys.presses[c] = static_cast<int>(slots[kPresses + c]);
    keys.down[c] = slots[kDown + c] != 0;
  }
  for (int c = 0; c < kTypedCodes; ++c)
    keys.typed[static_cast<std::size_t>(c)] = static_cast<int>(slots[kTyped + c]);
  mouse_x = static_cast<int>(slots[kMouseX]);
  mouse_y = static_cast<int>(slots[kMouseY]);
  for (int b = 0; b < 4; ++b) mouse_presses[b] = static_cast<int>(slots[kMousePresses + b]);
  for (int p = 0; p < kJoyPorts; ++p) {
    JoyPortState& port = joys[p];
    const int base = kJoys + p * kPerPort;
    for (int a = 0; a < kJoyAxes; ++a) std::memcpy(&port.axes[a], &slots[base + a], sizeof(double));
    for (int b = 0; b < kJoyButtons; ++b) {
      port.down[b] = slots[base + kJoyAxes + b] != 0;
      port.hits[b] = static_cast<int>(slots[base + kJoyAxes + kJoyButtons + b]);
    }
  }
  quit_requested = slots[kQuit] != 0;
}

// While a session is taped, what the outside changes inside this scope goes on tape.
class Taped {
 public:
  Taped() {
    if (TapeRecording()) ReadSlots(before_);
  }
  ~Taped() {
    if (before_.empty()) return;
    InputSlots after;
    ReadSlots(after);
    TapeChanges(before_, after);
  }
  Taped(const Taped&) = delete;
  Taped& operator=(const Taped&) = delete;

 private:
  InputSlots before_;
};

// Every pump closes its record on the tape, however it ends.
struct TapedPump {
  ~TapedPump() { EndTapedPump(); }
};

double ScaleAxis(int value) {
  // Device range -32768..32767 carried onto -1..1.
  return (value + 32768.0) * 2.0 / 65535.0 - 1.0;
}

double HatValue(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0.0;
    case SDL_HAT_RIGHTUP:
      return 4500 / 36000.0;
    case SDL_HAT_RIGHT:
      return 9000 / 36000.0;
    case SDL_HAT_RIGHTDOWN:
      return 13500 / 36000.0;
    case SDL_HAT_DOWN:
      return 18000 / 36000.0;
    case SDL_HAT_LEFTDOWN:
      return 22500 / 36000.0;
    case SDL_HAT_LEFT:
      return 27000 / 36000.0;
    case SDL_HAT_LEFTUP:
      return 31500 / 36000.0;
    default:
      return -1.0;
  }
}

// The hat of a game controller, from its four pad buttons.
double PadHat(const JoyPortState& p) {
  const bool up = p.pad[0], down = p.pad[1], left = p.pad[2], right = p.pad[3];
  Uint8 hat = SDL_HAT_CENTERED;
  if (up && !down) hat |= SDL_HAT_UP;
  if (down && !up) hat |= SDL_HAT_DOWN;
  if (left && !right) hat |= SDL_HAT_LEFT;
  if (right && !left) hat |= SDL_HAT_RIGHT;
  return HatValue(hat);
}

// Game controllers are laid out so the default twin-stick mapping (fire X on R, fire Y
// on Z) lands on the right stick.
int ControllerAxisIndex(Uint8 axis) {
  switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
      return kJoyX;
    case SDL_CONTROLLER_AXIS_LEFTY:
      return kJoyY;
    case SDL_CONTROLLER_AXIS_RIGHTY:
      return kJoyZ;
    case SDL_CONTROLLER_AXIS_RIGHTX:
      return kJoyR;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
      return kJoyU;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
      return kJoyV;
    default:
      return -1;
  }
}

// A game controller's face buttons by where they sit, so the normal joypad scheme's
// defaults fire the way each button points: left 0, bottom 1, right 2, top 3. SDL's
// A, B, X and Y are bottom, right, left and top (SDL is told to keep them so on every
// make of pad). Its other buttons keep their numbers; those past 15 are dropped.
int ControllerButton(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
      return 1;
    case SDL_CONTROLLER_BUTTON_B:
      return 2;
    case SDL_CONTROLLER_BUTTON_X:
      return 0;
    case SDL_CONTROLLER_BUTTON_Y:
      return 3;
    default:
      return button;
  }
}

// Which of the four pad buttons, or -1.
int PadIndex(Uint8 button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return 0;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return 1;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return 2;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return 3;
    default:
      return -1;
  }
}

// A device keeps the port it was given for as long as it stays plugged in; a new one
// takes the lowest free port.
void OpenJoystick(int device_index) {
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device_index);
  if (id < 0 || PortOf(id)) return;  // gone again, or already open
  for (auto& p : joys) {
    if (p.id != -1) continue;
    if (SDL_IsGameController(device_index)) {
      p.controller = SDL_GameControllerOpen(device_index);
      if (p.controller) p.joystick = SDL_GameControllerGetJoystick(p.controller);
    }
    // A pad whose mapping SDL cannot use still works as a plain joystick.
    if (!p.joystick) {
      if (p.controller) SDL_GameControllerClose(p.controller);
      p.controller = nullptr;
      p.joystick = SDL_JoystickOpen(device_index);
    }
    if (!p.joystick) return;  // gone before it could be opened: the game goes on without it
    p.id = SDL_JoystickInstanceID(p.joystick);
    p.axes.fill(0.0);
    p.axes[kJoyHat] = -1.0;
    return;
  }
}

void CloseJoystick(SDL_JoystickID id) {
  JoyPortState* p = PortOf(id);
  if (!p) return;
  if (p->controller)
    SDL_GameControllerClose(p->controller);
  else if (p->joystick)
    SDL_JoystickClose(p->joystick);
  *p = JoyPortState{};
}

void HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      quit_requested = true;
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) PlatformWindowResized();
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (e.key.repeat) break;
      // Alt+Enter belongs to the window in every screen: the game never sees it.
      if ((e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
          (e.key.keysym.mod & KMOD_ALT) != 0) {
        if (e.type == SDL_KEYDOWN) full_screen_toggles = true;
        break;
      }
      for (const auto& m : kKeyMap) {
        if (m.key == e.key.keysym.sym) SetKey(m.code, e.type == SDL_KEYDOWN);
      }
      {
        const int code = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.mod);
        if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90))
          SetKey(code, e.type == SDL_KEYDOWN);
      }
      break;
    case SDL_TEXTINPUT:
      Type(e.text.text);
      break;
    case SDL_MOUSEMOTION:
      // In display pixels, wherever the display sits in a resized or full-screen window.
      PlatformWindowToDisplay(e.motion.x, e.motion.y, &mouse_x, &mouse_y);
      break;
    case SDL_MOUSEBUTTONDOWN: {
      const int b = e.button.button == SDL_BUTTON_LEFT     ? 1
                    : e.button.button == SDL_BUTTON_RIGHT  ? 2
                    : e.button.button == SDL_BUTTON_MIDDLE ? 3
                                                           : 0;
      if (b) ++mouse_presses[b];
      break;
    }
    case SDL_JOYDEVICEADDED:
      OpenJoystick(e.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      CloseJoystick(e.jdevice.which);
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (JoyPortState* p = PortOf(e.caxis.which)) {
        const int axis = ControllerAxisIndex(e.caxis.axis);
        if (axis >= 0) p->axes[axis] = ScaleAxis(e.caxis.value);
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (JoyPortState* p = PortOf(e.cbutton.which)) {
        const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
        SetButton(*p, ControllerButton(e.cbutton.button), down);
        if (const int pad = PadIndex(e.cbutton.button); pad >= 0) {
          p->pad[static_cast<std::size_t>(pad)] = down;
          p->axes[kJoyHat] = PadHat(*p);
        }
      }
      break;
    case SDL_JOYAXISMOTION:
      if (JoyPortState* p = PortOf(e.jaxis.which); p && !p->controller && e.jaxis.axis < 6)
        p->axes[e.jaxis.axis] = ScaleAxis(e.jaxis.value);
      break;
    case SDL_JOYHATMOTION:
      if (JoyPortState* p = PortOf(e.jhat.which); p && !p->controller && e.jhat.hat == 0)
        p->axes[kJoyHat] = HatValue(e.jhat.value);
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (JoyPortState* p = PortOf(e.jbutton.which); p && !p->controller)
        SetButton(*p, e.jbutton.button, e.type == SDL_JOYBUTTONDOWN);
      break;
    default:
      break;
  }
}

}  // namespace

int VirtualKeyFromSdl(std::int32_t sym, std::uint16_t) {
  if (sym >= SDLK_0 && sym <= SDLK_9) return 48 + (sym - SDLK_0);
  if (sym >= SDLK_a && sym <= SDLK_z) return 65 + (sym - SDLK_a);
  for (const auto& m : kKeyMap)
    if (m.key == sym) return m.code;
  return 0;
}

void InitInput() {
  if (input_ready) return;
  input_ready = true;
  std::signal(SIGTERM, OnSigterm);
  // A, B, X and Y by position on every pad, Nintendo's included.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) SDL_InitSubSystem(SDL_INIT_EVENTS);
  // Characters come as the player's layout types them (an AZERTY digit row included).
  SDL_StartTextInput();
  // Joysticks are optional: without the subsystem every port reads zeros.
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  // Devices present now are announced as SDL_JOYDEVICEADDED events, in SDL's order.
}

bool TakeFullScreenToggle() {
  const bool asked = full_screen_toggles;
  full_screen_toggles = false;
  return asked;
}

namespace {

// A replay takes the game's input from its tape. The window stays the player's: it
// can be resized, switched to full screen or closed, which ends the replay.
void ReplayEvents() {
  if (sigterm_seen) throw QuitRequest{};
  if (!ReplayQuietPump()) {
    InputSlots slots;
    ReadSlots(slots);
    ReplayPump(slots);
    WriteSlots(slots);
  }
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      if (e.type == SDL_QUIT) throw QuitRequest{};
      if (e.type == SDL_WINDOWEVENT) HandleEvent(e);
      if (e.type == SDL_KEYDOWN && !e.key.repeat &&
          (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
          (e.key.keysym.mod & KMOD_ALT) != 0)
        full_screen_toggles = true;
    }
  }
  if (quit_requested) throw QuitRequest{};
}

}  // namespace
int AddControllerMappings(const std::string& path) {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0) return -1;
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (!file) return -1;
  return SDL_GameControllerAddMappingsFromRW(file, 1);
}

std::string JoyPortName(int port) {
  if (port < 0 || port >= kJoyPorts) return {};
  const JoyPortState& p = joys[static_cast<std::size_t>(port)];
  const char* name = p.controller ? SDL_GameControllerName(p.controller)
                     : p.joystick ? SDL_JoystickName(p.joystick)
                                  : nullptr;
  if (!name) return p.id != -1 ? "joypad" : "";
  return name;
}

void MoveMouse(int x, int y) {
  PlatformWarpMouse(x, y);
  // What moved the pointer before the warp is past; the warp's own motion may come
  // back later, at the same place.
  if (SDL_WasInit(SDL_INIT_EVENTS) != 0) SDL_FlushEvent(SDL_MOUSEMOTION);
  mouse_x = x;
  mouse_y = y;
}

void PumpEvents() {
  if (TapeReplaying()) return ReplayEvents();
  TapedPump pump;
  if (sigterm_seen) {
    Taped taped;
    quit_requested = true;
  }
  if (quit_requested) throw QuitRequest{};
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  // Devices refresh at most once per millisecond, however often the game asks.
  const Uint64 now = SDL_GetTicks64();
  if (now == last_pump_tick) return;
  last_pump_tick = now;
  SDL_Event e;
  if (SDL_PollEvent(&e)) {
    Taped taped;
    do HandleEvent(e);
    while (SDL_PollEvent(&e));
  }
  if (quit_requested) throw QuitRequest{};
}

int KeyPresses(int code) {
  PumpEvents();
  if (!ValidKey(code)) return 0;
  const int n = keys.presses[code];
  keys.presses[code] = 0;
  return n;
}

int TypedPresses(int code) {
  PumpEvents();
  if (code < 0 || code >= kTypedCodes) return 0;
  const int n = keys.typed[static_cast<std::size_t>(code)];
  keys.typed[static_cast<std::size_t>(code)] = 0;
  return n;
}

int KeyIsDown(int code) {
  PumpEvents();
  return ValidKey(code) && keys.down[code] ? 1 : 0;
}

void FlushKeys() {
  PumpEvents();
  keys = KeyState{};
}

int MouseX() {
  PumpEvents();
  return mouse_x;
}

int MouseY() {
  PumpEvents();
  return mouse_y;
}

int MouseButtonPresses(int button) {
  PumpEvents();
  if (button < 1 || button > 3) return 0;
  const int n = mouse_presses[button];
  mouse_presses[button] = 0;
  return n;
}

void FlushMouse() {
  PumpEvents();
  mouse_presses.fill(0);
}

double JoyAxis(int port, int axis) {
  PumpEvents();
  if (port < 0 || port >= kJoyPorts || axis < 0 || axis >= kJoyAxes) return 0.0;
  return joys[port].axes[axis];
}

int JoyButtonDown(int button, int port) {
  PumpEvents();
  if (port < 0 || port >= kJoyPorts || button < 0 || button >= kJoyButtons) return 0;
  return joys[port].down[button] ? 1 : 0;
}

int JoyButtonHits(int button, int port) {
  PumpEvents();
  if (port < 0 || port >= kJoyPorts || button < 0 || button >= kJoyButtons) return 0;
  const int n = joys[port].hits[button];
  joys[port].hits[button] = 0;
  return n;
}

void FlushJoy() {
  PumpEvents();
  for (auto& p : joys) p.hits.fill(0);
}

void InjectKeyDown(int code) {
  Taped taped;
  SetKey(code, true);
}
void InjectKeyUp(int code) {
  Taped taped;
  SetKey(code, false);
}
void InjectKeyPress(int code) {
  Taped taped;
  SetKey(code, true);
  SetKey(code, false);
}
void InjectTypedText(std::string_view text) {
  Taped taped;
  Type(text);
}
void InjectMouseMove(int x, int y) {
  Taped taped;
  mouse_x = x;
  mouse_y = y;
}
void InjectMouseButton(int button, bool down) {
  Taped taped;
  if (down && button >= 1 && button <= 3) ++mouse_presses[button];
}
void InjectJoyAxis(int port, int axis, double value) {
  Taped taped;
  if (port >= 0 && port < kJoyPorts && axis >= 0 && axis < kJoyAxes) joys[port].axes[axis] = value;
}
void InjectJoyButton(int port, int button, bool down) {
  Taped taped;
  if (port >= 0 && port < kJoyPorts) SetButton(joys[port], button, down);
}
void InjectQuit() {
  Taped taped;
  quit_requested = true;
}

void ResetInput() {
  keys = KeyState{};
  mouse_presses.fill(0);
  mouse_x = mouse_y = 0;
  for (auto& p : joys) {
    p.axes.fill(0.0);
    if (p.id != -1) p.axes[kJoyHat] = -1.0;
    p.down.fill(false);
    p.hits.fill(0);
    p.pad.fill(false);
  }
  quit_requested = false;
  full_screen_toggles = false;
  sigterm_seen = false;
}
