#include "screens/glow_screen.h"

#include <algorithm>
#include <cstdint>

#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/input.h"
#include "platform/utf8.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

double GlowSpin = 0;

namespace {

constexpr int kLowest = -3, kHighest = 3;
constexpr std::size_t kCentredWidth = 48;

constexpr std::string_view kAmountTexts[kHighest - kLowest + 1] = {
    "Glow amount: minimal",      "Glow amount: almost minimal", "Glow amount: below average",
    "Glow amount: normal",       "Glow amount: above average",  "Glow amount: maximum amount",
    "Glow amount: too much :-)",
};

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;
constexpr std::uint32_t kLightRedGlow = 0xFFFF8080u;
constexpr std::uint32_t kChosenGlow = 0xFFFFFF00u;
constexpr std::uint32_t kOtherGlow = 0xFF009090u;

void DrawOctagons() {
  for (int i = kLowest; i <= kHighest; ++i) {
    GlowSpin += 0.5;
    if (GlowSpin > 359) GlowSpin -= 360;
    const double x = 512 + 140 * i;
    if (i == GlowAmount)
      GlowPolygon(x, 512, static_cast<int>(GlowSpin), 8, 36, kChosenGlow, 255, 255, 0);
    else
      GlowPolygon(x, 512, 0, 8, 36, kOtherGlow, 0, 144, 144);
  }
}

void DrawScreen() {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  WriteText("set glow", 2.5, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  WriteText("use arrows to adjust glow and fire to exit.", 2.5, 35.5, kCyanGlow, 0, 0.75, 0.75, 0,
            0, 255, 255);
  CentredLine("The amount of glow shown can depend on", -12);
  CentredLine("you monitor, as they are all different.", -11);
  CentredLine("Use this to adjust the amount of glow", -9);
  CentredLine("if you think it needs more or less.", -8);
  DrawOctagons();
  CentredLine(GlowAmountText(GlowAmount), 4);
}

}  // namespace

std::string_view GlowAmountText(int amount) {
  return kAmountTexts[std::clamp(amount, kLowest, kHighest) - kLowest];
}

double CentredColumn(std::string_view text) {
  const std::size_t length = CharacterCount(text);
  // The spaces added on each side until the whole is longer than the width.
  const std::size_t pad = length > kCentredWidth ? 0 : (kCentredWidth - length) / 2 + 1;
  return 1 + static_cast<double>(pad);
}

void CentredLine(std::string_view text, double row) {
  WriteText(text, CentredColumn(text), 25 + 1.5 * row, kLightRedGlow, 0, 0.75, 0.75, 0, 255, 128,
            128);
}

void GlowScreen() {
  PlayEffectIfOn("BlipSND");
  GlowSpin = 0;
  FlushJoy();
  FlushKeys();
  // A stray amount from a damaged file is shown and stepped from the one in force.
  GlowAmount = std::clamp(GlowAmount, kLowest, kHighest);
  for (;;) {
    DrawScreen();
    // The key is asked first; the menu query only when it was not pressed.
    if ((KeyPresses(KeyMoveLeft) > 0 || MenuLeft() == 1) && GlowAmount > kLowest) {
      PlayEffectIfOn("Crunch1");
      --GlowAmount;
      FlushJoy();
      RecomputeGlowWidths();
    }
    if ((KeyPresses(KeyMoveRight) > 0 || MenuRight() == 1) && GlowAmount < kHighest) {
      PlayEffectIfOn("Crunch1");
      FlushJoy();
      ++GlowAmount;
      RecomputeGlowWidths();
    }
    Flip(-1);
    if (KeyPresses(kVkEscape) > 0 || KeyPresses(kVkEnter) > 0 || MenuSelect() == 1) break;
  }
  RecomputeGlowWidths();
  PlayEffectIfOn("BlipSND");
}
