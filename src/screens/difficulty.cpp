#include "screens/difficulty.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "arena/enemies.h"
#include "arena/insect_shapes.h"
#include "arena/level_state.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

std::array<std::string_view, kDifficultyRows> DifficultyTable;
std::array<LineArtRecord, kDifficultyPictureBuffer> DifficultyPicture;
int DifficultyPictureLines = 0;
int DifficultyPictureShown = 0;
int DifficultyChoice = 1;
int DifficultyCountdown = 0;

namespace {

constexpr int kChoices = 6;
constexpr int kCountdownFrames = 660;
constexpr int kPictureX = 512, kPictureY = 360;
constexpr int kBonusShape = 11;

constexpr std::string_view kDifficultyTexts[kDifficultyRows] = {
    "",
    " ",
    "  1      00000      fer sure",
    "  5      25000      fer sure",
    "  9      50000      far out",
    " 13      75000      far out",
    " 17     100000      intense",
    " 21     125000      intense",
    " ",
};

struct ChoiceResult {
  int level;
  int bonus;
  int picture;
};
constexpr ChoiceResult kChoiceResults[kChoices] = {
    {1, 0, 1}, {5, 25000, 1}, {9, 50000, 2}, {13, 75000, 2}, {17, 100000, 3}, {21, 125000, 3},
};

constexpr std::uint32_t kGreenGlow = 0xFF00FF00u;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;
constexpr std::uint32_t kBlueGlow = 0xFF4040FFu;
constexpr std::uint32_t kRedGlow = 0xFFFF4040u;

void DrawPicture() {
  GlowBatch batch;
  for (int i = 0; i < DifficultyPictureLines; ++i) {
    const LineArtRecord& r = DifficultyPicture[static_cast<std::size_t>(i)];
    batch.Line(kPictureX + r.x1, kPictureY + r.y1, kPictureX + r.x2, kPictureY + r.y2,
               LineLook{r.glow, r.red, r.green, r.blue, GlowWidth18});
  }
}

void DrawTexts(int choice, int countdown) {
  WriteText("select difficulty using up/down", 3, 12, kGreenGlow, 0, 1, 1, 0, 0, 255, 0);
  WriteText(" press a firekey to start game", 3, 14, kYellowGlow, 0, 1, 1, 0, 255, 255, 0);
  WriteText("  shoot    to collect bonus", 3, 16.5, kWhiteGlow, 0, 1, 1, 0, 255, 255, 255);
  WriteText(" wave     bonus     difficulty", 3, 19, kGreenGlow, 0, 1, 1, 0, 0, 255, 0);
  DrawEnemyShape(kBonusShape, 0, 0, 320, 464);
  for (int r = 0; r < 3; ++r) {
    const std::string_view row = DifficultyTable[static_cast<std::size_t>(choice + r)];
    if (r == 1)
      WriteText(row, 4, 21 + 1.5 * r, kCyanGlow, 0, 1, 1, 0, 0, 255, 255);
    else
      WriteText(row, 4, 21 + 1.5 * r, kBlueGlow, 0, 1, 1, 0, 64, 64, 255);
  }
  char time[16] = "Time ";
  const auto end = std::to_chars(time + 5, time + sizeof time, countdown / 60).ptr;
  WriteText(std::string_view(time, static_cast<std::size_t>(end - time)), 16, 26.5, kRedGlow, 0, 1,
            1, 0, 255, 64, 64);
}

int PictureOf(int choice) {
  return kChoiceResults[choice - 1].picture;
}

}  // namespace

void LoadDifficultyTexts() {
  std::copy(std::begin(kDifficultyTexts), std::end(kDifficultyTexts), DifficultyTable.begin());
}

void ClearDifficultyPicture() {
  DifficultyPicture = {};
  DifficultyPictureLines = 0;
  DifficultyPictureShown = 0;
}

void LoadDifficultyPicture(int picture) {
  if (picture < 1 || picture > kDifficultyPictures) return;
  const LineArtPicture& source = DifficultyPictureData[picture - 1];
  DifficultyPictureLines = std::min(source.lines, kDifficultyPictureBuffer);
  std::copy_n(source.records, DifficultyPictureLines, DifficultyPicture.begin());
  DifficultyPictureShown = picture;
}

void DifficultySelect() {
  int& choice = DifficultyChoice;
  choice = 1;
  DifficultyCountdown = kCountdownFrames;
  LoadDifficultyPicture(1);
  for (;;) {
    Cls();
    DrawBackdrop();
    PrimeGlow();
    DrawPicture();
    DrawTexts(choice, DifficultyCountdown);
    const int before = choice;
    if (MenuUp() == 1 && choice > 1) {
      PlayEffectIfOn("BlipSND");
      --choice;
    }
    if (MenuDown() == 1 && choice < kChoices) {
      PlayEffectIfOn("BlipSND");
      ++choice;
    }
    if (choice != before && PictureOf(choice) != PictureOf(before))
      LoadDifficultyPicture(PictureOf(choice));
    Flip(-1);
    DifficultyCountdown -= 1;
    if (DifficultyCountdown < 0 || MenuSelect() == 1 || KeyPresses(kVkEnter) > 0) break;
  }
  PlayEffectIfOn("Crunch1");
  const ChoiceResult& result = kChoiceResults[choice - 1];
  DragonflyBonus = result.bonus;
  Level = result.level;
  StartLevel = Level;
  FlushKeys();
}
