#include "screens/instructions.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "arena/enemies.h"
#include "arena/grubs.h"
#include "arena/insect_shapes.h"
#include "arena/player.h"
#include "arena/spider_figure.h"
#include "audio/sound_switches.h"
#include "data/instruction_pages.h"
#include "data/line_art.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/line_picture.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/high_score_screen.h"
#include "screens/menu_state.h"

int InstructionsPageShown = 0;
double FigureRotation = 0;
int PulseAngle = 1;
int FigureWingStep = 1;
int FigureWalkStep = 1;

namespace {

constexpr int kFigureX = 480, kFigureY = 192;
constexpr int kCreditsX = 512, kCreditsY = 256;
constexpr int kCreditsPage = kInstructionPages - 1;
constexpr int kCycleHold = 10;  // a step of the wing and walk cycles every 11th frame

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kMagentaGlow = 0xFFFF40FFu;
constexpr std::uint32_t kBlueGlow = 0xFF4043FFu;

int wing_counter = 0;
int walk_counter = 0;

void StepCycle(int& counter, int& step) {
  if (++counter <= kCycleHold) return;
  counter = 0;
  if (++step > 4) step = 1;
}

void DrawTexts(const InstructionPage& page, int number) {
  if (number == kCreditsPage)
    WriteTitle("credits", 3, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  else
    WriteTitle("instructions", 0.5, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  double row = 10;
  for (int i = 0; i < kPageSlots && std::string_view(page.lines[i]) != "*"; ++i, row += 1.5) {
    if (i == 0)
      WriteText(page.lines[i], 2, row, kYellowGlow, 0, 1, 1, 0, 255, 255, 0);
    else
      WriteText(page.lines[i], 2, row, kWhiteGlow, 0, 1, 1, 0, 255, 255, 255);
  }
  char counter[24] = "page ";
  char* end = std::to_chars(counter + 5, counter + 12, number + 1).ptr;
  const std::string_view of = " of 12";
  end = std::copy(of.begin(), of.end(), end);
  WriteText(std::string_view(counter, static_cast<std::size_t>(end - counter)), 19, 33,
            kMagentaGlow, 0, 0.75, 0.75, 0, 255, 64, 255);
  WriteText("press any key to continue", 6, 26.5, kBlueGlow, 0, 1, 1, 0, 64, 67, 255);
}

void DrawFigure(const InstructionPage& page, int number) {
  const int heading = static_cast<int>(FigureRotation);
  if (number == 0) {
    DrawSpiderFigure(SpiderWalkFrame(FigureWalkStep), kFigureX, kFigureY, heading, 0);
    StepCycle(walk_counter, FigureWalkStep);
  } else if (number == 1) {
    DrawGrubIcon(kFigureX, kFigureY);
  } else if (number == kCreditsPage) {
    DrawLineArt(CreditsPictureData.records, CreditsPictureData.lines, kCreditsX, kCreditsY,
                CreditsPictureScale(PulseAngle), FigureRotation, GlowWidth20);
  } else {
    DrawEnemyShape(page.shape, EnemyFrameTable[FigureWingStep - 1], heading, kFigureX, kFigureY);
  }
}

// Any key of the key-name table, or any menu direction or select (a stick or a pad
// button in the joypad schemes), turns the page.
bool AnyKeyOrStick() {
  for (const KeyName* k = KeyNameTable; k->code != 255; ++k)
    if (KeyPresses(k->code) > 0) return true;
  return MenuSelect() == 1 || MenuUp() == 1 || MenuDown() == 1 || MenuLeft() == 1 ||
         MenuRight() == 1;
}

}  // namespace

double CreditsPictureScale(int pulse_angle) {
  return 1 + Sin(pulse_angle);
}

void InstructionsScreen() {
  PlayEffectIfOn("Crunch1");
  FlushKeys();
  FlushJoy();
  InstructionsPageShown = 0;
  FigureRotation = 0;
  PulseAngle = 1;
  wing_counter = 0;
  FigureWingStep = 1;
  AnyKeyPressed = 0;
  walk_counter = 0;
  FigureWalkStep = 1;
  while (AnyKeyPressed != 2) {
    const InstructionPage& page = InstructionPages[InstructionsPageShown];
    Cls();
    DrawBackdrop();
    PrimeGlow();
    DrawTexts(page, InstructionsPageShown);
    DrawFigure(page, InstructionsPageShown);
    FigureRotation += 2;
    if (FigureRotation >= 360) FigureRotation -= 360;
    Flip(-1);
    if (++PulseAngle >= 180) PulseAngle = 0;
    StepCycle(wing_counter, FigureWingStep);

    AnyKeyPressed = AnyKeyOrStick() ? 1 : 0;
    if (AnyKeyPressed == 1) {
      PlayEffectIfOn("Crunch1");
      // A chord of keys turns one page, not one per key.
      FlushKeys();
      FlushJoy();
      if (++InstructionsPageShown >= kInstructionPages) AnyKeyPressed = 2;
    }
  }
  Delay(100);
  FlushKeys();
  CharList.Clear();
  MenuZoom = 25;
}
