#include "screens/joypad_screens.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/screen.h"
#include "screens/joypad_file.h"

int ConfigMouseX = 0, ConfigMouseY = 0;

namespace {

constexpr int kMouseMaxX = 640, kMouseMaxY = 550;
constexpr int kFrameMs = 20;
constexpr int kShiftLeft = 160, kShiftRight = 161;
constexpr int kLastAxisId = kAxisNameCount - 1;
constexpr int kLastButton = 15;

// ---- Drawing in play-area pixels --------------------------------------------------

void Fill(int x, int y, int w, int h) {
  DrawRect(ScreenOffsetX + x, ScreenOffsetY + y, w, h);
}

void Outline(int x, int y, int w, int h) {
  Fill(x, y, w, 1);
  Fill(x, y + h - 1, w, 1);
  Fill(x, y, 1, h);
  Fill(x + w - 1, y, 1, h);
}

void Label(const std::string& text, int x, int y) {
  DrawText(text, ScreenOffsetX + x, ScreenOffsetY + y);
}

struct Box {
  int x, y, w, h;
  bool UnderMouse() const { return BoxUnderMouse(x, y, w, h); }
};

// A tool screen's frame: presented, then padded to 20 ms.
class ToolFrame {
 public:
  ToolFrame() : start_(Millisecs()) { Cls(); }
  void Present() {
    Flip(-1);
    const int used = Millisecs() - start_;
    if (used > 0 && used < kFrameMs) Delay(kFrameMs - used);
  }

 private:
  int start_;
};

void ReadPointer() {
  ConfigMouseX = std::min(MouseX() - ScreenOffsetX, kMouseMaxX);
  ConfigMouseY = std::min(MouseY() - ScreenOffsetY, kMouseMaxY);
}

void DrawStatus() {
  if (ConfigStatusTimer <= 0) return;
  SetColor(255, 255, 255);
  Label(ConfigStatusText, 320, 180);
  --ConfigStatusTimer;
}

// The mapping the screens edit. A port outside the four mapped ones never comes from
// the file; should one be set, the first port is edited instead of memory past them.
bbjoypad& EditedMapping() {
  if (JoyPort < 0 || JoyPort >= kMappedPorts) JoyPort = 0;
  return Joypads[JoyPort];
}

int AxisIndexOf(int id) {
  return id >= 0 && id <= kLastAxisId ? id - 1 : -1;
}

const char* AxisNameOf(int id) {
  return id >= 0 && id <= kLastAxisId ? AxisNames[id] : "null";
}

std::string PortLine(int port) {
  const std::string name = JoyPortName(port);
  return "Port " + std::to_string(port) + ": " + (name.empty() ? "no joypad plugged in" : name);
}

// ---- The dual-stick screen --------------------------------------------------------

struct AxisSlot {
  int bbjoypad::*id;
  int bbjoypad::*invert;
  double bbjoypad::*scale;
  double bbjoypad::*center;
  double bbjoypad::*dz;
  Box box;
  const char* label;
  int scale_x, scale_y;  // the first of its three scale boxes
};
constexpr AxisSlot kAxisSlots[4] = {
    {&bbjoypad::x1id,
     &bbjoypad::x1invert,
     &bbjoypad::x1scale,
     &bbjoypad::x1center,
     &bbjoypad::x1dz,
     {10, 395, 175, 14},
     "X axis: ",
     10,
     455},
    {&bbjoypad::y1id,
     &bbjoypad::y1invert,
     &bbjoypad::y1scale,
     &bbjoypad::y1center,
     &bbjoypad::y1dz,
     {10, 415, 175, 14},
     "Y axis: ",
     10,
     495},
    {&bbjoypad::x2id,
     &bbjoypad::x2invert,
     &bbjoypad::x2scale,
     &bbjoypad::x2center,
     &bbjoypad::x2dz,
     {250, 395, 175, 14},
     "X axis: ",
     250,
     455},
    {&bbjoypad::y2id,
     &bbjoypad::y2invert,
     &bbjoypad::y2scale,
     &bbjoypad::y2center,
     &bbjoypad::y2dz,
     {250, 415, 175, 14},
     "Y axis: ",
     250,
     495},
};
constexpr double kScaleChoices[3] = {1.0, 180.0, 255.0};
constexpr const char* kScaleNames[3] = {"1", "180", "255"};
constexpr int kScalePitch = 50;

Box ScaleBox(const AxisSlot& slot, int k) {
  return {slot.scale_x + kScalePitch * k, slot.scale_y, 45, 20};
}

constexpr Box kStickBoxes[2] = {{10, 275, 100, 100}, {250, 275, 100, 100}};
constexpr Box kDebugButton = {490, 315, 120, 20};
constexpr Box kSaveButton = {490, 340, 120, 20};
constexpr Box kLoadButton = {490, 365, 120, 20};

Box PortBox(int port) {
  return {110 + 50 * port, 175, 45, 25};
}

constexpr const char* kDualStickHelp[] = {
    "Select controller port (0 for  single joypad)",
    "others are only needed for multiple joypads.",
    "Assign controls by clicking AXIS WIZARD or individually",
    "cycle through available controls by left clicking on the axis box.",
    "Right click on a box to toggle invert On or Off.",
    "Blue box is normal, Orange box indicates an inverted axis.",
    "Click on Stick 1/2 boxes and use cursor keys to adjust centering and",
    "Dead Zone.  Make sure the red dot is in the green square when at rest.",
    "If it drifts, press SHIFT+Cursor Keys to adjust Dead Zone.",
    "Or point at an axis box, press C and move the stick to capture it.",
};

// The axes a device delivers, by index: X to V and the hat.
constexpr int kDeliveredAxes[] = {kJoyX, kJoyY, kJoyZ, kJoyR, kJoyU, kJoyV, kJoyHat};
constexpr int kCaptureFrames = 300;
constexpr double kCaptureTravel = 0.5;

struct DualStickState {
  int selected = 0;  // 0 none, 1 stick 1, 2 stick 2
  int debug = 0;
  int frame = 0;
  // Axis capture: the slot waiting for a stick to move, the values it started from,
  // and the frames it still waits.
  int capture_slot = -1;
  int capture_port = 0;
  double capture_from[std::size(kDeliveredAxes)] = {};
  int capture_frames = 0;
};

void SetStatus(const std::string& text, int frames) {
  ConfigStatusText = text;
  ConfigStatusTimer = frames;
}

double RawAxis(int port, int index) {
  return ReadStickAxis(port, index, 1, 1.0, 0.0);
}

void StartCapture(DualStickState& s, int slot) {
  s.capture_slot = slot;
  s.capture_port = JoyPort;
  for (std::size_t i = 0; i < std::size(kDeliveredAxes); ++i)
    s.capture_from[i] = RawAxis(JoyPort, kDeliveredAxes[i]);
  s.capture_frames = kCaptureFrames;
  SetStatus("Move the stick for this axis...", kCaptureFrames);
}

// The first delivered axis that has moved half its travel from where it started is
// taken for the slot.
void StepCapture(DualStickState& s) {
  if (s.capture_slot < 0) return;
  if (s.capture_port != JoyPort) {
    s.capture_slot = -1;
    return;
  }
  for (std::size_t i = 0; i < std::size(kDeliveredAxes); ++i) {
    const int index = kDeliveredAxes[i];
    if (std::fabs(RawAxis(JoyPort, index) - s.capture_from[i]) > kCaptureTravel) {
      EditedMapping().*kAxisSlots[s.capture_slot].id = index + 1;
      SetStatus(std::string("Captured ") + AxisNames[index + 1], kConfigStatusFrames);
      s.capture_slot = -1;
      return;
    }
  }
  if (--s.capture_frames <= 0) {
    SetStatus("Nothing moved.", kConfigStatusFrames);
    s.capture_slot = -1;
  }
}

void DrawButton(const Box& b, const char* text) {
  SetColor(90, 90, 90);
  Fill(b.x, b.y, b.w, b.h);
  SetColor(200, 200, 200);
  Outline(b.x, b.y, b.w, b.h);
  SetColor(255, 255, 255);
  Label(text, b.x + 6, b.y + 2);
}

std::string Numbers(const char* format, double a, double b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

void DrawStickBox(const DualStickState& s, const bbjoypad& m, int stick) {
  const Box& b = kStickBoxes[stick];
  const AxisSlot& ax = kAxisSlots[stick * 2];
  const AxisSlot& ay = kAxisSlots[stick * 2 + 1];
  SetColor(255, 255, 255);
  Label(stick == 0 ? "Stick 1" : "Stick 2", b.x, b.y - 18);
  SetColor(30, 30, 30);
  Fill(b.x, b.y, b.w, b.h);
  if (s.selected == stick + 1)
    SetColor(255, 255, 0);
  else
    SetColor(150, 150, 150);
  Outline(b.x, b.y, b.w, b.h);
  // The dead zone round the middle: the dot at rest belongs inside it.
  const int hx = 6 + static_cast<int>(std::clamp(m.*ax.dz, 0.0, 1.0) * 50);
  const int hy = 6 + static_cast<int>(std::clamp(m.*ay.dz, 0.0, 1.0) * 50);
  SetColor(0, 200, 0);
  Outline(b.x + 50 - hx, b.y + 50 - hy, 2 * hx, 2 * hy);
  const int tx = stick == 0 ? 118 : 358;
  SetColor(255, 255, 255);
  Label((stick == 0 ? "C 1 " : "C 2 ") + Numbers("%+.2f %+.2f", m.*ax.center, m.*ay.center), tx,
        300);
  Label((stick == 0 ? "DZ 1 " : "DZ 2 ") + Numbers("%.2f %.2f", m.*ax.dz, m.*ay.dz), tx, 320);
}

void DrawAxisBoxes(const bbjoypad& m) {
  for (const AxisSlot& slot : kAxisSlots) {
    const Box& b = slot.box;
    if (m.*slot.invert == -1)
      SetColor(255, 128, 0);
    else
      SetColor(50, 65, 220);
    Fill(b.x, b.y, b.w, b.h);
    SetColor(255, 255, 255);
    Label(std::string(slot.label) + AxisNameOf(m.*slot.id), b.x + 4, b.y - 1);
  }
  for (int row = 0; row < 4; ++row) {
    const AxisSlot& slot = kAxisSlots[row];
    SetColor(255, 255, 255);
    Label(row % 2 == 0 ? "X Scaling Factor" : "Y Scaling Factor", slot.scale_x, slot.scale_y - 17);
    for (int k = 0; k < 3; ++k) {
      const Box b = ScaleBox(slot, k);
      SetColor(50, 65, 220);
      if (m.*slot.scale == kScaleChoices[k])
        Fill(b.x, b.y, b.w, b.h);
      else
        Outline(b.x, b.y, b.w, b.h);
      SetColor(255, 255, 255);
      Label(kScaleNames[k], b.x + 6, b.y + 2);
    }
  }
}

void DrawDebug() {
  SetColor(160, 255, 160);
  for (int id = 1; id <= 13; ++id) {
    char value[32];
    std::snprintf(value, sizeof value, "%+.3f", RawAxis(JoyPort, id - 1));
    Label(JoyDebugLabel(id) + value, 660, 180 + 16 * (id - 1));
  }
  std::string held = "Buttons held:";
  for (int b = 0; b <= kLastButton; ++b)
    if (JoyButtonDown(b, JoyPort) == 1) held.append(" ").append(std::to_string(b));
  Label(held, 660, 180 + 16 * 13);
}

}  // namespace

std::string JoyDebugLabel(int id) {
  std::string label = std::to_string(id) + ".";
  label.resize(4, ' ');
  label += AxisNames[id];
  // The names line up at column 16, with two blanks at the least before the colon.
  label.resize(std::max(label.size() + 2, std::size_t{16}), ' ');
  return label + ": ";
}

namespace {

void DrawDualStickLayout(const DualStickState& s) {
  const bbjoypad& m = EditedMapping();
  SetColor(255, 255, 255);
  Label("Dual Stick Configuration", 170, 10);
  SetColor(128, 128, 128);
  Outline(10, 32, 600, 130);
  SetColor(220, 220, 220);
  int y = 35;
  for (const char* line : kDualStickHelp) {
    Label(line, 15, y);
    y += 12;
  }

  SetColor(255, 255, 255);
  Label("Controller:", 10, 180);
  for (int p = 0; p < kMappedPorts; ++p) {
    const Box b = PortBox(p);
    SetColor(50, 65, 220);
    if (p == JoyPort)
      Fill(b.x, b.y, b.w, b.h);
    else
      Outline(b.x, b.y, b.w, b.h);
    SetColor(255, 255, 255);
    Label(std::to_string(p), b.x + 19, b.y + 5);
  }
  SetColor(160, 200, 255);
  Label(PortLine(JoyPort), 110, 210);

  DrawStickBox(s, m, 0);
  DrawStickBox(s, m, 1);
  DrawAxisBoxes(m);
  DrawButton(kDebugButton, "(D)ebug");
  DrawButton(kSaveButton, "(S)ave Config");
  DrawButton(kLoadButton, "(L)oad Config");
  SetColor(255, 255, 255);
  Label("(ESC) to Exit", 490, 400);
  if (s.debug == 1) DrawDebug();
}

// One adjustment of a centre (or, with Shift, a dead zone) by a cursor key held.
void Adjust(double& value, double step, double low, double high) {
  value = std::clamp(value + step, low, high);
}

// The input of one frame, in the screen's order. True when the screen ends.
bool DualStickInput(DualStickState& s) {
  const int left = MouseButtonPresses(1);
  const int right = MouseButtonPresses(2);
  bbjoypad& m = EditedMapping();

  for (const AxisSlot& slot : kAxisSlots) {
    if (!slot.box.UnderMouse()) continue;
    if (left > 0) {
      int& id = m.*slot.id;
      id = id >= 0 && id < kLastAxisId ? id + 1 : 0;
    }
    if (right > 0) m.*slot.invert = m.*slot.invert == -1 ? 1 : -1;
  }
  for (int stick = 0; stick < 2; ++stick)
    if (left > 0 && kStickBoxes[stick].UnderMouse())
      s.selected = s.selected == stick + 1 ? 0 : stick + 1;
  for (int p = 0; p < kMappedPorts; ++p) {
    const Box b = PortBox(p);
    if ((left > 0 && b.UnderMouse()) || KeyPresses('1' + p) > 0) JoyPort = p;
  }
  for (const AxisSlot& slot : kAxisSlots)
    for (int k = 0; k < 3; ++k)
      if (left > 0 && ScaleBox(slot, k).UnderMouse())
        EditedMapping().*slot.scale = kScaleChoices[k];

  if (KeyPresses('D') > 0 || (left > 0 && kDebugButton.UnderMouse())) s.debug ^= 1;
  if (KeyPresses('S') > 0 || (left > 0 && kSaveButton.UnderMouse())) SaveJoypadConfig();
  if (KeyPresses('L') > 0 || (left > 0 && kLoadButton.UnderMouse())) LoadJoypadConfig();
  if (KeyPresses('C') > 0) {
    for (int slot = 0; slot < 4; ++slot)
      if (kAxisSlots[slot].box.UnderMouse()) StartCapture(s, slot);
  }
  if (KeyPresses(kVkEscape) > 0) return true;

  if (s.selected != 0) {
    bbjoypad& e = EditedMapping();
    const AxisSlot& ax = kAxisSlots[(s.selected - 1) * 2];
    const AxisSlot& ay = kAxisSlots[(s.selected - 1) * 2 + 1];
    const bool shift = KeyIsDown(kShiftLeft) == 1 || KeyIsDown(kShiftRight) == 1;
    const int up = KeyIsDown(kVkUp), down = KeyIsDown(kVkDown);
    const int lower = KeyIsDown(kVkLeft), raise = KeyIsDown(kVkRight);
    if (shift) {
      if (up) Adjust(e.*ay.dz, -0.01, 0.0, 0.5);
      if (down) Adjust(e.*ay.dz, 0.01, 0.0, 0.5);
      if (lower) Adjust(e.*ax.dz, -0.01, 0.0, 0.5);
      if (raise) Adjust(e.*ax.dz, 0.01, 0.0, 0.5);
    } else {
      if (up) Adjust(e.*ay.center, -0.01, -0.9, 0.9);
      if (down) Adjust(e.*ay.center, 0.01, -0.9, 0.9);
      if (lower) Adjust(e.*ax.center, -0.01, -0.9, 0.9);
      if (raise) Adjust(e.*ax.center, 0.01, -0.9, 0.9);
    }
  }
  return false;
}

// One axis as play reads it, with the screen's dead zone.
double LiveAxis(const bbjoypad& m, const AxisSlot& slot) {
  const double v = ReadStickAxis(JoyPort, AxisIndexOf(m.*slot.id), m.*slot.invert, m.*slot.scale,
                                 m.*slot.center);
  return std::fabs(v) < m.*slot.dz ? 0.0 : v;
}

void DrawLiveSticks() {
  const bbjoypad& m = EditedMapping();
  SetColor(185, 0, 0);
  for (int stick = 0; stick < 2; ++stick) {
    const Box& b = kStickBoxes[stick];
    const int x = StickDotPosition(LiveAxis(m, kAxisSlots[stick * 2]), b.x, b.w);
    const int y = StickDotPosition(LiveAxis(m, kAxisSlots[stick * 2 + 1]), b.y, b.h);
    Fill(x - 5, y - 5, 10, 10);
  }
}

// ---- The joypad control screen ----------------------------------------------------

constexpr int kCx = kPlayWidth / 2, kCy = kPlayHeight / 2;
constexpr int kItems = 8;
constexpr int kDoneItem = 7;
constexpr int kStickRepeatFrames = 10;

// Where each item is drawn and pointed at. Items 1 and 2 (bomb and option) have no box:
// only the keys reach them.
struct ControlItem {
  Box box;
  bool clickable;
};
constexpr ControlItem kControlItems[kItems] = {
    {{kCx - 124, kCy - 180, 248, 22}, true},  // move/fire line
    {{kCx - 120, kCy - 148, 0, 0}, false},    // bomb button
    {{kCx - 120, kCy - 128, 0, 0}, false},    // option button
    {{kCx - 20, kCy - 65, 40, 30}, true},     // top: JoypadDown, fires up
    {{kCx - 80, kCy - 25, 40, 30}, true},     // left: JoypadLeft
    {{kCx + 40, kCy - 25, 40, 30}, true},     // right: JoypadRight
    {{kCx - 20, kCy + 15, 40, 30}, true},     // bottom: JoypadUp, fires down
    {{kCx - 30, kCy + 80, 60, 24}, true},     // Done
};

// The button number an item edits, for items 1 to 6.
int* ItemButton(int item) {
  switch (item) {
    case 1:
      return &JoypadBomb;
    case 2:
      return &JoypadOption;
    case 3:
      return &JoypadDown;
    case 4:
      return &JoypadLeft;
    case 5:
      return &JoypadRight;
    case 6:
      return &JoypadUp;
    default:
      return nullptr;
  }
}

void PointAt(int item) {
  const Box& b = kControlItems[item].box;
  MoveMouse(ScreenOffsetX + b.x + b.w / 2, ScreenOffsetY + b.y + b.h / 2);
}

void ItemColour(int item, int selected, int frame) {
  if (item == selected)
    SetColor(255, 255, (8 * frame) % 255);
  else
    SetColor(0, 200, 0);
}

// A number edited into the file may be anything; shown as it stands, counted from 1.
std::string ButtonText(int item) {
  return std::to_string(static_cast<long long>(*ItemButton(item)) + 1);
}

void DrawJoypadControl(int selected, int frame) {
  SetColor(255, 255, 255);
  Label("Joypad Control", kCx - 56, kCy - 240);
  SetColor(160, 200, 255);
  const std::string port = PortLine(JoyPort);
  Label(port, kCx - static_cast<int>(port.size()) * 4, kCy - 215);

  const bool pad_moves = JoypadConfig == 0;
  const ControlItem& line = kControlItems[0];
  ItemColour(0, selected, frame);
  Outline(line.box.x, line.box.y, line.box.w, line.box.h);
  Label(std::string("Move: ") + (pad_moves ? "D Pad" : "4-Buttons") +
            "  Fire: " + (pad_moves ? "4-Buttons" : "D Pad"),
        line.box.x + 12, line.box.y + 3);
  ItemColour(1, selected, frame);
  Label("Bomb button:   " + ButtonText(1), kControlItems[1].box.x, kControlItems[1].box.y);
  ItemColour(2, selected, frame);
  Label("Option button: " + ButtonText(2), kControlItems[2].box.x, kControlItems[2].box.y);

  SetColor(200, 200, 200);
  Label("fires up", kCx - 32, kCy - 84);
  Label("fires left", kCx - 166, kCy - 18);
  Label("fires right", kCx + 88, kCy - 18);
  Label("fires down", kCx - 40, kCy + 50);
  for (int item = 3; item <= 6; ++item) {
    const Box& b = kControlItems[item].box;
    ItemColour(item, selected, frame);
    Outline(b.x, b.y, b.w, b.h);
    const std::string n = ButtonText(item);
    Label(n, b.x + b.w / 2 - static_cast<int>(n.size()) * 4, b.y + 7);
  }
  const Box& done = kControlItems[kDoneItem].box;
  ItemColour(kDoneItem, selected, frame);
  Outline(done.x, done.y, done.w, done.h);
  Label("Done", done.x + 14, done.y + 4);

  SetColor(200, 200, 200);
  Label("Up/Down or the pointer picks a line; Left/Right or a click changes it.", kCx - 280,
        kCy + 130);
  Label("Hold a joypad button to give it to the picked button box.", kCx - 228, kCy + 148);
  Label("Escape, or Done, to leave.", kCx - 104, kCy + 166);
}

// Stick 1 of the mapping being set up, repeating while held.
struct StickRepeat {
  int wait = 0;
  // -1, 0 or +1 along one axis, once and then every kStickRepeatFrames frames.
  int Step(double value) {
    const double t = StickThreshold;
    const int dir = value * 100 < -t ? -1 : value * 100 > t ? 1 : 0;
    if (dir == 0) {
      wait = 0;
      return 0;
    }
    if (wait > 0) {
      --wait;
      return 0;
    }
    wait = kStickRepeatFrames;
    return dir;
  }
};

double StickOne(bool y_axis) {
  const bbjoypad& m = EditedMapping();
  if (y_axis) return ReadStickAxis(JoyPort, AxisIndexOf(m.y1id), m.y1invert, m.y1scale, m.y1center);
  return ReadStickAxis(JoyPort, AxisIndexOf(m.x1id), m.x1invert, m.x1scale, m.x1center);
}

}  // namespace

bool BoxUnderMouse(int x, int y, int w, int h) {
  return ConfigMouseX + 2 >= x && ConfigMouseX - 2 <= x + w && ConfigMouseY + 2 >= y &&
         ConfigMouseY - 2 <= y + h;
}

void PointerCursor(int x, int y, int frame, int size) {
  if ((frame / 15) % 2 == 0)
    SetColor(255, 32, 32);
  else
    SetColor(255, 255, 32);
  const double reach = 3.0 * size;
  const double cx = ScreenOffsetX + x, cy = ScreenOffsetY + y;
  for (int k = 0; k < 8; ++k) {
    const double a = frame * 8.0 + k * 45.0;
    DrawLine(cx, cy, cx + reach * Sin(a), cy - reach * Cos(a), 1);
  }
  SetColor(255, 255, 255);
}

int StickDotPosition(double value, int low, int span) {
  const double v = std::isnan(value) ? 0.0 : std::clamp(value, -1.0, 1.0);
  return low + static_cast<int>((v + 1.0) / 2.0 * span);
}

void DualStickScreen() {
  DualStickState s;
  EditedMapping();
  SetBlend(BLEND_ALPHA);
  FlushKeys();
  FlushMouse();
  for (;;) {
    ToolFrame frame;
    DrawDualStickLayout(s);
    ReadPointer();
    if (DualStickInput(s)) break;
    StepCapture(s);
    DrawLiveSticks();
    PointerCursor(ConfigMouseX, ConfigMouseY, s.frame, 4);
    DrawStatus();
    ++s.frame;
    frame.Present();
  }
  SetColor(255, 255, 255);
  FlushKeys();
  FlushMouse();
}

void JoypadControlScreen() {
  EditedMapping();
  SetBlend(BLEND_ALPHA);
  FlushKeys();
  FlushMouse();
  FlushJoy();
  int selected = kDoneItem;
  PointAt(selected);
  StickRepeat stick_x, stick_y;
  for (int frame = 0;; ++frame) {
    ToolFrame tool_frame;
    ReadPointer();
    for (int item = 0; item < kItems; ++item)
      if (kControlItems[item].clickable && kControlItems[item].box.UnderMouse()) selected = item;

    const int nav = stick_y.Step(StickOne(true));
    if (KeyPresses(kVkUp) > 0 || nav < 0) {
      selected = (selected + kItems - 1) % kItems;
      PointAt(selected);
      ReadPointer();
    } else if (KeyPresses(kVkDown) > 0 || nav > 0) {
      selected = (selected + 1) % kItems;
      PointAt(selected);
      ReadPointer();
    }

    const bool over = kControlItems[selected].box.UnderMouse();
    const int left_click = MouseButtonPresses(1) > 0 && over;
    const int right_click = MouseButtonPresses(2) > 0 && over;
    const int turn = stick_x.Step(StickOne(false));
    int request = 0;
    if (KeyPresses(kVkLeft) > 0 || left_click || turn < 0) request -= 1;
    if (KeyPresses(kVkRight) > 0 || right_click || KeyPresses(kVkEnter) > 0 || turn > 0)
      request += 1;
    bool leave = KeyPresses(kVkEscape) > 0;
    // Every press is asked for every frame, so none waits for the "Done" line.
    bool pressed = false;
    int held = -1;
    for (int b = 0; b <= kLastButton; ++b) {
      if (JoyButtonHits(b, JoyPort) > 0) pressed = true;
      if (held < 0 && JoyButtonDown(b, JoyPort) == 1) held = b;
    }

    if (selected == 0 && request != 0) {
      JoypadConfig = JoypadConfig == 0 ? 1 : 0;
    } else if (int* button = ItemButton(selected)) {
      if (request != 0)
        *button = std::clamp(std::clamp(*button, 0, kLastButton) + request, 0, kLastButton);
      if (held >= 0) *button = held;
    } else if (selected == kDoneItem && (request != 0 || pressed)) {
      leave = true;
    }
    if (leave) selected = kDoneItem;

    DrawJoypadControl(selected, frame);
    PointerCursor(ConfigMouseX, ConfigMouseY, frame, 4);
    DrawStatus();
    tool_frame.Present();
    if (leave) break;
  }
  SetColor(255, 255, 255);
  FlushKeys();
  FlushMouse();
}
