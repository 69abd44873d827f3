#include "screens/options_menu.h"

#include <cstdint>

#include "arena/enemies.h"
#include "arena/insects.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/profile.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/control_select.h"
#include "screens/glow_screen.h"
#include "screens/name_entry.h"

int ShowFPS = 0;
int OptionsRow = 1;

namespace {

constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kMagentaGlow = 0xFFFF00FFu;
constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kRuleGlow = 0xFFFF4020u;

constexpr const char* kNamePrefix = "change playername from: ";
constexpr double kNameColumn = 2 + 24;  // the prefix is 24 cells long

struct SizeRow {
  const char* text;
  int width, height;
};
constexpr SizeRow kSizes[4] = {
    {"set resolution to 1024x768  (4:3)", 1024, 768},
    {"set resolution to 1280x1024 (4:3)", 1280, 1024},
    {"set resolution to 1440x900  (16:10)", 1440, 900},
    {"set resolution to 1680x1050 (16:9)", 1680, 1050},
};

constexpr const char* kSchemeTexts[3] = {
    "Select controls (Keyboard only)",
    "Select controls (Twin-Stick joypad)",
    "Select controls (Normal joypad)",
};

struct RowLook {
  std::uint32_t glow;
  int r, g, b;
};
constexpr RowLook kWhite{kWhiteGlow, 255, 255, 255};
constexpr RowLook kYellow{kYellowGlow, 255, 255, 0};
constexpr RowLook kMagenta{kMagentaGlow, 255, 0, 255};

const RowLook& LookOf(int row) {
  if (row <= 4 || row == 13) return kWhite;
  if (row == 5) return kYellow;
  return kMagenta;
}

double TextRow(int row) {
  return 5 + 1.5 * row;
}

void DrawRow(int row) {
  const RowLook& look = LookOf(row);
  WriteText(OptionRowText(row), 2, TextRow(row), look.glow, 0, 1, 1, 0, look.r, look.g, look.b);
  if (row == 5)
    WriteText(PlayerName, kNameColumn, TextRow(row), look.glow, 0, 1, 1, 0, look.r, look.g, look.b);
}

void DrawOptions() {
  Cls();
  SetColor(255, 255, 255);
  DrawBackdrop();
  PrimeGlow();
  for (int pass = 0; pass < 2; ++pass) GlowLine(200, 112, 810, 112, kRuleGlow, 255, 64, 32);
  UpdateEnemies(1);
  DrawEnemies();
  WriteTitle("options", 3, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  WriteText(">", 0.5, TextRow(OptionsRow), kGreenGlow, 0, 1, 1, 0, 128, 255, 64);
  for (int row = 1; row <= kOptionRows; ++row) {
    DrawRow(row);
    if (row == 7) PrimeGlow();
  }
}

void ChangeSize(const SizeRow& size) {
  if (!ChangeDisplaySize(size.width, size.height)) return;
  SavedOffsetY = ScreenOffsetY;
  ResetModeDrawing();
}

// The music follows its switch at once.
void FollowMusic() {
  if (MusicOn == 0 && Sound::IsPlaying("menu-loop") == 1) Sound::Stop("menu-loop");
  if (MusicOn == 1) Sound::Play("menu-loop", 1);
}

// Performs the row's action; true when the menu is done.
bool Select(int row) {
  if (row >= 1 && row <= 4) {
    ChangeSize(kSizes[row - 1]);
    return false;
  }
  switch (row) {
    case 5:
      PlayEffectIfOn("BlipSND");
      NameEntryScreen(0);
      break;
    case 6:
      PlayEffectIfOn("BlipSND");
      ControlSelectScreen();
      break;
    case 7:
      PlayEffectIfOn("BlipSND");
      BackgroundOn ^= 1;
      break;
    case 8:
      PlayEffectIfOn("BlipSND");
      ShowFPS ^= 1;
      break;
    case 9:
      PlayEffectIfOn("BlipSND");
      NeonMode ^= 1;
      ResetModeDrawing();
      break;
    case 10:
      // Glow belongs to neon; in wire mode the row only answers with a crunch.
      if (NeonMode == 1) {
        PlayEffectIfOn("BlipSND");
        GlowScreen();
      } else {
        PlayEffectIfOn("Crunch1");
      }
      break;
    case 11:
      // Heard only when switching off: the blip comes before the switch.
      PlayEffectIfOn("BlipSND");
      SoundOn ^= 1;
      break;
    case 12:
      PlayEffectIfOn("BlipSND");
      MusicOn ^= 1;
      FollowMusic();
      break;
    default:
      return true;
  }
  return false;
}

}  // namespace

const char* OptionRowText(int row) {
  if (row >= 1 && row <= 4) return kSizes[row - 1].text;
  switch (row) {
    case 5:
      return kNamePrefix;
    case 6:
      return ControlScheme >= 0 && ControlScheme <= 2 ? kSchemeTexts[ControlScheme]
                                                      : kSchemeTexts[0];
    case 7:
      return BackgroundOn == 1 ? "use background (on)/off" : "use background on/(off)";
    case 8:
      return ShowFPS == 1 ? "show fps counter (on next game)" : "show fps counter";
    case 9:
      return NeonMode == 1 ? "set graphics mode  wire/(neon)" : "set graphics mode  (wire)/neon";
    case 10:
      return "Adjust amount of glow";
    case 11:
      return SoundOn == 1 ? "Sound effects (on)/off" : "Sound effects on/(off)";
    case 12:
      return MusicOn == 1 ? "Music (on)/off" : "Music on/(off)";
    case 13:
      return "return to mainmenu";
    default:
      return "";
  }
}

// Leaving from row 10 while the fire-up key is still held (as when the glow screen was
// left with it) is not an exit here: the player comes back to the options on that row.
void OptionsMenu() {
  OptionsRow = 1;
  bool done = false;
  while (!done) {
    FlushKeys();
    FlushJoy();
    DrawOptions();
    Flip(-1);
    if (KeyPresses(kVkEnter) > 0 || KeyPresses(KeyFireUp) > 0 || MenuSelect() == 1)
      done = Select(OptionsRow);
    if (KeyPresses(KeyMoveUp) > 0 || MenuUp() == 1) {
      if (--OptionsRow < 1) OptionsRow = kOptionRows;
      PlayEffectIfOn("BlipSND");
      FlushJoy();
    }
    if (KeyPresses(KeyMoveDown) > 0 || MenuDown() == 1) {
      if (++OptionsRow > kOptionRows) OptionsRow = 1;
      PlayEffectIfOn("BlipSND");
      FlushJoy();
    }
    if (KeyPresses(kVkEscape) > 0) done = true;
  }
  FlushKeys();
  PlayEffectIfOn("BlipSND");
}
