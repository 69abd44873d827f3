#include "screens/control_select.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "audio/sound_switches.h"
#include "data/control_pictures.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/line_picture.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/joypad_file.h"
#include "screens/joypad_screens.h"

namespace {

constexpr int kChoices = 3;
constexpr int kSpace = 32;
constexpr int kLowestThreshold = 6;
constexpr int kHighestThreshold = 24;
constexpr int kThresholdStep = 2;
constexpr int kRingSides = 24;

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;
constexpr std::uint32_t kMagentaGlow = 0xFFFF00FFu;
constexpr std::uint32_t kBlueGlow = 0xFF0080FFu;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kPinkGlow = 0xFFFF4080u;
constexpr std::uint32_t kTealGlow = 0xFF00C0C0u;

void Text(const char* text, double column, double row, std::uint32_t glow, double scale, int r,
          int g, int b) {
  WriteText(text, column, row, glow, 0, scale, scale, 0, r, g, b);
}

void DrawChoices(int choice) {
  Text("Select controls", 21, 6, kCyanGlow, 1, 0, 255, 255);
  Text("Keyboard only", 26, 10, kMagentaGlow, 0.8, 255, 0, 255);
  Text("Twin-Stick joypad", 26, 11.5, kMagentaGlow, 0.8, 255, 0, 255);
  Text("Normal Joypad", 26, 13, kMagentaGlow, 0.8, 255, 0, 255);
  Text("fire to return", 21, 13, kBlueGlow, 1, 0, 128, 255);
  Text(">", 24, 10 + 1.5 * choice, kYellowGlow, 0.8, 255, 255, 0);
  // The key's name laid over the gap left for it, in its own colour.
  Text("Use       to configure this device before use", 0.8, 32.75, kWhiteGlow, 0.8, 255, 255, 255);
  Text("    space", 0.8, 32.75, kPinkGlow, 0.8, 255, 64, 128);
}

// The labels of the picture, each with its leader line, and the rings over the parts.
void DrawLabels(int choice) {
  const char* first = choice == 0 ? "Shoot" : "Move";
  const char* second = choice == 0 ? "Move" : "Shoot";
  Text(first, 5, 10, kPinkGlow, 0.8, 255, 64, 128);
  Text(second, 25, 21, kPinkGlow, 0.8, 255, 64, 128);
  const ControlPictureMarks& marks = ControlPictureMarkData[choice];
  GlowBatch batch;
  const LineLook look{kPinkGlow, 255, 64, 128, GlowWidth16};
  for (const PictureLeader& l : marks.leaders) batch.Line(l.x1, l.y1, l.x2, l.y2, look);
  const LineLook ring{kPinkGlow, 255, 64, 128, GlowWidth18};
  for (int i = 0; i < std::min(marks.rings, kMaxPictureRings); ++i) {
    const PictureRing& r = marks.ring[i];
    batch.Polygon(r.x, r.y, 0, kRingSides, 2 * r.radius * Sin(180.0 / kRingSides), ring);
  }
}

void DrawThresholdHelp() {
  Text("Use left/right keys to", 22, 25.5, kTealGlow, 0.8, 0, 192, 192);
  Text("Adjust the sensitivity of the analog stick.", 1.5, 27, kTealGlow, 0.8, 0, 192, 192);
  Text(", but could cause the player", 16.5, 28.5, kTealGlow, 0.8, 0, 192, 192);
  Text("to move or shoot automatically. Value= ", 1.5, 30, kTealGlow, 0.8, 0, 192, 192);
  Text("Lower is better", 1.5, 28.5, kYellowGlow, 0.8, 255, 255, 0);
  Text(StickThresholdText(StickThreshold), 40, 30, kYellowGlow, 0.8, 255, 255, 0);
}

// Reads the file, runs a joypad screen with the pointer showing, writes the file and
// puts the mapping it edited into play.
void RunJoypadScreen(void (*screen)()) {
  LoadJoypadConfig();
  ShowMouse();
  screen();
  HideMouse();
  SaveJoypadConfig();
  SelectJoypadMapping();
  SetBlend(BLEND_ADD);
}

// The eight bindings in the order the screen lists them.
struct Binding {
  const char* label;
  int* key;
};
const Binding kBindings[] = {
    {"Move Left", &KeyMoveLeft}, {"Move Right", &KeyMoveRight}, {"Move Up", &KeyMoveUp},
    {"Move Down", &KeyMoveDown}, {"Fire Left", &KeyFireLeft},   {"Fire Right", &KeyFireRight},
    {"Fire Up", &KeyFireUp},     {"Fire Down", &KeyFireDown},
};
constexpr int kBindingCount = static_cast<int>(std::size(kBindings));

double BindingRow(int i) {
  return 9 + 2 * i;
}

void RedefineFrameStart() {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  WriteTitle("redefine", 2.5, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  WriteTitle("keys", 4.5, 5, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
}

// Rows 0 to shown - 1 with their key names.
void DrawBindings(int shown) {
  for (int i = 0; i < shown; ++i) {
    Text(kBindings[i].label, 6, BindingRow(i), kYellowGlow, 1, 255, 255, 0);
    Text(KeyNameOf(*kBindings[i].key), 18, BindingRow(i), kYellowGlow, 1, 255, 255, 0);
  }
}

}  // namespace

const char* StickThresholdText(int threshold) {
  static char text[24];
  const auto end = std::to_chars(text, text + 16, threshold / 2 - 2).ptr;
  std::copy_n("/10", 4, end);
  return text;
}

void RedefineKeys() {
  FlushKeys();
  for (;;) {
    bool yes = false, no = false;
    while (!yes && !no) {
      RedefineFrameStart();
      Text(" these are the currrent keys", 4.5, 25.25, kGreenGlow, 1, 128, 255, 64);
      Text("do you want to redefine (y/n)", 4.5, 26.5, kGreenGlow, 1, 128, 255, 64);
      DrawBindings(kBindingCount);
      Flip(-1);
      yes = KeyIsDown('Y') == 1;
      // Tested after Y, so they win when held with it.
      if (KeyIsDown('N') == 1 || KeyIsDown(kVkEscape) == 1) {
        yes = false;
        no = true;
      }
    }
    PlayEffectIfOn("BlipSND");
    Delay(200);
    FlushKeys();
    if (no) return;

    for (int i = 0; i < kBindingCount; ++i) {
      RedefineFrameStart();
      DrawBindings(i);
      Text(kBindings[i].label, i == 0 ? 3 : 6, BindingRow(i), kYellowGlow, 1, 255, 255, 0);
      Flip(-1);
      *kBindings[i].key = WaitForKey();
    }
    RedefineFrameStart();
    DrawBindings(kBindingCount);
    Flip(-1);
    Delay(100);
    FlushKeys();
  }
}

void ControlSelectScreen() {
  int choice = ControlScheme >= 0 && ControlScheme < kChoices ? ControlScheme : 0;
  LoadPicture(ControlPictureData[choice]);
  FlushKeys();
  for (;;) {
    Cls();
    DrawBackdrop();
    PrimeGlow();
    WriteTitle("select controls", 1, 2, kGreenGlow, 0, 2.25, 1, 0, 128, 255, 64);
    if (KeyPresses(KeyMoveUp) > 0) {
      PlayEffectIfOn("BlipSND");
      choice = (choice + kChoices - 1) % kChoices;
      LoadPicture(ControlPictureData[choice]);
    }
    if (KeyPresses(KeyMoveDown) > 0) {
      PlayEffectIfOn("BlipSND");
      choice = (choice + 1) % kChoices;
      LoadPicture(ControlPictureData[choice]);
    }
    DrawChoices(choice);
    DrawPicture(0);
    DrawLabels(choice);
    // Asked only here: on the other choices a left or right key bound to Space, Escape
    // or Return must still do what those keys do.
    if (choice == 1) {
      DrawThresholdHelp();
      const bool lower = KeyPresses(KeyMoveLeft) > 0;
      const bool raise = KeyPresses(KeyMoveRight) > 0;
      if (lower && StickThreshold > kLowestThreshold) {
        StickThreshold -= kThresholdStep;
        PlayEffectIfOn("TakeGrub");
      }
      if (raise && StickThreshold < kHighestThreshold) {
        StickThreshold += kThresholdStep;
        PlayEffectIfOn("TakeGrub");
      }
    }
    Flip(-1);

    if (KeyPresses(kSpace) > 0) {
      if (choice == 0) RedefineKeys();
      if (choice == 1) RunJoypadScreen(DualStickScreen);
      if (choice == 2) RunJoypadScreen(JoypadControlScreen);
      FlushKeys();
    }
    const bool escape = KeyPresses(kVkEscape) > 0;
    const bool enter = KeyPresses(kVkEnter) > 0;
    if (escape || enter || MenuSelect() == 1) break;
  }
  // There is no cancel: the highlighted scheme is taken however the player leaves.
  ControlScheme = choice;
  PlayEffectIfOn("BlipSND");
  FlushKeys();
}
