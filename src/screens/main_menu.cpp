#include "screens/main_menu.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "arena/demo_insects.h"
#include "arena/enemies.h"
#include "arena/insects.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/online.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/line_picture.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/high_score_screen.h"
#include "screens/instructions.h"
#include "screens/options_menu.h"

std::array<LineArtRecord, kTitleLogoLines> TitleLogo;
double LogoScale = 0.1;
double LogoRotation = 180;
int LogoStep = 0;

namespace {

constexpr double kZoomStart = 25;
constexpr int kLogoX = 512, kLogoY = 320;
constexpr int kLogoSteps = 270;
constexpr int kFooterPeriod = 180;
constexpr int kMenuEntries = 5;
constexpr int kTab = 9;

constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kMagentaGlow = 0xFFFF40FFu;
constexpr std::uint32_t kFooterBlueGlow = 0xFF4043FFu;

struct MenuEntry {
  const char* text;
  double column;
};
constexpr MenuEntry kEntries[kMenuEntries] = {
    {"start game", 14},    {"instructions", 12.5}, {"set Options", 13.5},
    {"show scores", 13.5}, {" exit game", 13.5},
};

void DrawTitleLogo() {
  static constexpr WireColour kLogoRed{255, 32, 32};
  DrawLineArt(TitleLogo.data(), kTitleLogoLines, kLogoX, kLogoY, LogoScale, LogoRotation,
              GlowWidth20, &kLogoRed);
}

void StepTitleLogo() {
  if (LogoStep >= kLogoSteps) return;
  LogoStep += 3;
  LogoScale += Sin(LogoStep) / 24;
  LogoRotation -= 2;
}

void AdvanceFooter() {
  if (++FooterCounter > kFooterPeriod) {
    FooterCounter = 0;
    FooterToggle ^= 1;
  }
}

void DrawHelpLines(const char* first, const char* second) {
  WriteText(first, 14, 28.5, kMagentaGlow, 0, 0.75, 0.75, 0, 255, 64, 255);
  WriteText(second, 14, 30, kMagentaGlow, 0, 0.75, 0.75, 0, 255, 64, 255);
}

// Yes or No to leaving the program; the insects and the logo carry on behind.
void ExitConfirmation() {
  MenuZoom = kZoomStart;
  FlushKeys();
  while (GameOverState == 2) {
    Cls();
    DrawBackdrop();
    PrimeGlow();
    DrawMenuScene();
    WriteZoomText("exit menu (y/n)", 11.5, 20, kWhiteGlow, MenuZoom, 1, 1, 0);
    DrawHelpLines("press right key for no", "press left key for yes");
    DrawMenuFooter();
    Flip(-1);
    AdvanceFooter();
    // Every answer is asked each frame, so none lingers into the menu.
    const bool yes = (KeyPresses('Y') > 0) | (KeyPresses(KeyMoveLeft) > 0);
    const bool no = (KeyPresses('N') > 0) | (KeyPresses(KeyMoveRight) > 0) |
                    (KeyPresses(kVkEscape) > 0) | (MenuSelect() == 1);
    if (MenuZoom > 0) MenuZoom -= 1;
    if (yes)
      GameOverState = 1;
    else if (no)
      GameOverState = 0;
  }
  // Back in the menu, the entry zooms in afresh.
  MenuZoom = kZoomStart;
  FlushKeys();
}

// After a screen the menu starts over on its first entry with the logo spinning in.
void BackToFirstEntry() {
  FooterCounter = 0;
  MenuIndex = 0;
  ResetTitleLogo();
}

void RunEntry(void (*play_game)()) {
  switch (MenuIndex) {
    case 0:
      Lives = 3;
      Level = 1;
      Score = 0;
      FlushKeys();
      play_game();
      Delay(25);
      FlushKeys();
      FooterCounter = 0;
      ResetTitleLogo();
      ClearPlayLeftovers();
      PopulateDemoInsects();
      break;
    case 1:
      PlayEffectIfOn("BlipSND");
      InstructionsScreen();
      BackToFirstEntry();
      break;
    case 2:
      PlayEffectIfOn("BlipSND");
      OptionsMenu();
      BackToFirstEntry();
      break;
    case 3:
      PlayEffectIfOn("BlipSND");
      HighScoreScreen(0);
      BackToFirstEntry();
      break;
    default:
      PlayEffectIfOn("BlipSND");
      GameOverState = 2;
      MenuIndex = 0;
      break;
  }
}

}  // namespace

void LoadTitleLogo() {
  std::copy(std::begin(TitleLogoData), std::end(TitleLogoData), TitleLogo.begin());
}

void ResetTitleLogo() {
  LogoScale = 0.1;
  LogoRotation = 180;
  LogoStep = 0;
}

void DrawMenuScene() {
  UpdateEnemies(1);
  DrawEnemies();
  DrawTitleLogo();
  StepTitleLogo();
}

void DrawMenuFooter() {
  const bool credit = FooterToggle == 0 || ServerMessage == kCreditLine;
  const std::string_view text = FooterToggle == 0 ? std::string_view(kCreditLine) : ServerMessage;
  if (credit)
    WriteText(text, 8, 35, kFooterBlueGlow, 0, 0.75, 0.75, 0, 64, 67, 255);
  else
    WriteText(text, 8, 35, kWhiteGlow, 0, 0.75, 0.75, 0, 255, 255, 255);
}

void DrawMainMenuScreen() {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  DrawMenuScene();
  const MenuEntry& entry = kEntries[MenuIndex];
  WriteZoomText(entry.text, entry.column, 20, kWhiteGlow, MenuZoom, 1, 1, 0);
  DrawHelpLines("use arrows for options", "and 'enter' to select");
  DrawMenuFooter();
}

void MainMenu(void (*play_game)()) {
  MenuIndex = 0;
  GameOverState = 0;
  MenuZoom = kZoomStart;
  FooterCounter = 0;
  ResetTitleLogo();
  // No web in the menu: the insects fly free.
  WebList.Clear();
  PopulateDemoInsects();
  FlushKeys();

  while (GameOverState != 1) {
    DrawMainMenuScreen();
    if (KeyPresses(kVkRight) > 0 || KeyPresses(KeyMoveDown) > 0 || MenuDown() == 1 ||
        MenuRight() == 1) {
      MenuIndex = (MenuIndex + 1) % kMenuEntries;
      MenuZoom = kZoomStart;
      PlayEffectIfOn("BlipSND");
    }
    if (KeyPresses(kVkLeft) > 0 || KeyPresses(KeyMoveUp) > 0 || MenuUp() == 1 || MenuLeft() == 1) {
      MenuIndex = (MenuIndex + kMenuEntries - 1) % kMenuEntries;
      MenuZoom = kZoomStart;
      PlayEffectIfOn("BlipSND");
    }
    if (MenuZoom > 0) MenuZoom -= 1.5;

    if (KeyPresses(kTab) > 0) {
      PlayEffectIfOn("BlipSND");
      OptionsMenu();
      MenuIndex = 0;
      ResetTitleLogo();
    }
    if (KeyPresses(kVkEnter) > 0 || MenuSelect() == 1) RunEntry(play_game);
    if (KeyPresses(kVkEscape) > 0) {
      PlayEffectIfOn("BlipSND");
      GameOverState = 2;
      MenuIndex = 0;
    }
    Flip(-1);
    if (RandInt(1, 100) == 24) {
      PlayerX = RandInt(64, 960);
      PlayerY = RandInt(64, 704);
    }
    AdvanceFooter();
    if (GameOverState == 2) ExitConfirmation();
  }
  FlushKeys();
}
