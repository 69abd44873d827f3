#include "screens/high_score_screen.h"

#include <array>
#include <cstdint>

#include "arena/enemies.h"
#include "arena/insects.h"
#include "arena/level_state.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/online.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/utf8.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/sync_notice.h"

int AnyKeyPressed = 0;

namespace {

constexpr std::size_t kNameWidth = 10;
constexpr std::size_t kScoreCut = 10;
constexpr std::size_t kNumberWidth = 8;

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;
constexpr std::uint32_t kRedGlow = 0xFFFF0000u;
constexpr std::uint32_t kYellowGlow = 0xFFFFFF00u;
constexpr std::uint32_t kUnavailableGlow = 0xFFFF4040u;

// The rows as they are drawn; made when the screen opens and after a sync, the only
// times the table changes.
using TableLines = std::array<std::string, kHighScoreRows>;
void BuildTableLines(TableLines& lines) {
  for (int i = 0; i < kHighScoreRows; ++i)
    lines[static_cast<std::size_t>(i)] =
        HighScoreRowShown(HiScore[i]) ? HighScoreLine(HiName[i], HiLevel[i], HiScore[i]) : "";
}

struct ScreenTexts {
  std::string last_score;
  std::string best;
  TableLines rows;
  bool unavailable = false;
};

void DrawScreen(const ScreenTexts& t) {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  {
    GlowBatch batch;
    const LineLook magenta{0xFFFF00FFu, 255, 0, 255, GlowWidth16};
    batch.Line(32, 230, 992, 230, magenta);
    batch.Line(32, 698, 992, 698, magenta);
  }
  UpdateEnemies(1);
  DrawEnemies();
  WriteTitle("highscores", 1.5, 2, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
  WriteText(t.last_score, 2, 5.5, kWhiteGlow, 0, 1, 1, 0, 255, 255, 255);
  WriteText(t.best, 2, 7, kWhiteGlow, 0, 1, 1, 0, 255, 255, 255);
  if (t.unavailable)
    WriteText("online scores are unavailable", 10, 5.6, kUnavailableGlow, 0, 0.75, 0.75, 0, 255, 64,
              64);
  WriteText("online scores - press a firekey to sync them", 2.25, 34.25, kCyanGlow, 0, 0.75, 0.75,
            0, 0, 255, 255);
  WriteText("or any other key to return to the main menu.", 2.5, 35.5, kCyanGlow, 0, 0.75, 0.75, 0,
            0, 255, 255);
  WriteText("playername     level     topscore", 2, 9, kRedGlow, 0, 1, 1, 0, 255, 0, 0);
  for (int i = 0; i < kHighScoreRows; ++i) {
    const std::string& line = t.rows[static_cast<std::size_t>(i)];
    if (!line.empty()) WriteText(line, 2, 10.5 + 1.5 * i, kYellowGlow, 0, 1, 1, 0, 255, 255, 0);
  }
}

// The table changes only when the top ten came; otherwise it stays as it was and the
// screen says that the online scores could not be had.
void Sync(ScreenTexts& t) {
  PlayEffectIfOn("BlipSND");
  ShowSyncNotice();
  const bool fetched = OnlineSync(Score, Level, StartLevel);
  VersionCheck();
  t.unavailable = !fetched;
  if (fetched) BuildTableLines(t.rows);
  FlushKeys();
  Score = 0;
}

}  // namespace

std::string ZeroPadded(int number) {
  std::string text = std::to_string(number);
  if (text.size() < kNumberWidth) text.insert(0, kNumberWidth - text.size(), '0');
  return text;
}

std::string HighScoreLine(const std::string& name, const std::string& level,
                          const std::string& score) {
  std::string line(FirstCharacters(name, kNameWidth));
  line.append(kNameWidth - CharacterCount(line), ' ');
  line += "    ";
  line += level;
  line += "    ";
  const std::string_view cut = FirstCharacters(score, kScoreCut);
  const std::size_t length = CharacterCount(cut);
  if (length < kNumberWidth) line.append(kNumberWidth - length, ' ');
  line += cut;
  return line;
}

bool HighScoreRowShown(const std::string& score) {
  return score > "0";
}

int ReadAnyKey() {
  AnyKeyPressed = 0;
  int key = 0;
  for (const KeyName* k = KeyNameTable; k->code != 255; ++k) {
    if (KeyPresses(k->code) > 0) {
      key = k->code;
      break;
    }
  }
  int answer = key > 0 && key != 255 ? 1 : 0;
  if (key != 0 &&
      (key == KeyFireUp || key == KeyFireDown || key == KeyFireLeft || key == KeyFireRight))
    answer = 2;
  if (MenuSelect() == 1) answer = 2;
  AnyKeyPressed = answer;
  return answer;
}

void HighScoreScreen(int sync) {
  AnyKeyPressed = 0;
  bool leave = false;
  bool sync_requested = sync == 1;
  ScreenTexts texts;
  texts.last_score = "last score achieved    : " + ZeroPadded(Score);
  texts.best = "highscore:             : " + ZeroPadded(PersonalBest);
  BuildTableLines(texts.rows);
  Delay(100);
  FlushKeys();

  while (!leave) {
    DrawScreen(texts);
    Flip(-1);
    const int key = ReadAnyKey();
    if (key == 1) leave = true;
    if (key == 2) sync_requested = true;
    if (MenuLeft() == 1 || MenuRight() == 1) leave = true;
    if (sync_requested) {
      sync_requested = false;
      Sync(texts);
    }
    if (KeyPresses(kVkEscape) > 0) leave = true;
  }
  FlushKeys();
  PlayEffectIfOn("BlipSND");
}
