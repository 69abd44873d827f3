#include "screens/game_over.h"

#include <cstdint>

#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/profile.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/vector_font.h"
#include "screens/high_score_screen.h"
#include "screens/menu_state.h"

int RunBest = 0;
int GameOverFrame = 0;
bool GameOverBestOfRun = false;
bool GameOverPersonalBest = false;
bool GameOverSync = false;

namespace {

constexpr int kBarFrames = 400;   // the marker crosses the bar in this many frames
constexpr int kAnyKeyAfter = 40;  // keys other than the directions count from here on

constexpr std::uint32_t kGreenGlow = 0xFF80FF40u;
constexpr std::uint32_t kWhiteGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kCyanGlow = 0xFF00FFFFu;

void WriteWhite(const char* text, double column, double row) {
  WriteText(text, column, row, kWhiteGlow, 0, 1, 1, 0, 255, 255, 255);
}

void DrawTimeBar(int frame) {
  const int marker = 912 - 2 * frame;
  GlowBatch batch;
  batch.Line(112, 730, 912, 730, LineLook{0xFFFF00FFu, 255, 0, 255, GlowWidth16});
  batch.Line(marker, 745, marker, 715, LineLook{0xFFFFFF00u, 0, 255, 255, GlowWidth16});
}

}  // namespace

void GameOverScreen() {
  MenuIndex = 0;
  double zoom = 25;
  FooterCounter = 0;
  AnyKeyPressed = 0;
  FlushKeys();
  int& frame = GameOverFrame;
  bool& best_of_run = GameOverBestOfRun;
  bool& personal_best = GameOverPersonalBest;
  bool& sync = GameOverSync;
  frame = 0;
  best_of_run = personal_best = sync = false;

  // The plain web, without a bonus level's set-up; nothing changes it while the
  // screen is up, so it is built once.
  BeginPlainWeb();

  for (;;) {
    Cls();
    DrawWeb();
    WriteTitle("game over", 2.1, 12, kGreenGlow, 0, 3, 1, 0, 128, 255, 64);
    if (GameOverState == 3) {
      WriteWhite("highscore not counted", 7.25, 16);
      WriteWhite(" when quitting game.", 7.5, 18);
    } else {
      if (Score > RunBest) {
        best_of_run = true;
        WriteZoomText("highscore achieved", 9.5, 16, kWhiteGlow, zoom, 1, 1, 0);
      } else {
        WriteWhite("highscore not achieved", 7.25, 16);
      }
      if (Score > PersonalBest) {
        personal_best = true;
        WriteZoomText("personal highscore achieved", 5, 18, kWhiteGlow, zoom, 1, 1, 0);
      } else {
        WriteWhite("personal highscore not achieved", 4, 18);
      }
    }
    WriteText("press fire to sync scores online,", 2.5, 22.5, kCyanGlow, 0, 1, 1, 0, 0, 255, 255);
    WriteText("or any other key to return to menu.", 1.5, 24, kCyanGlow, 0, 1, 1, 0, 0, 255, 255);
    DrawTimeBar(frame);
    if (ReadAnyKey() == 2) sync = true;
    if (MenuSelect() == 1) sync = true;
    Flip(-1);
    frame += 1;
    if (zoom > 0) zoom -= 1;
    if (MenuLeft() == 1 || MenuRight() == 1 || MenuUp() == 1 || MenuDown() == 1)
      frame = kBarFrames + 1;
    if (frame > kBarFrames || (AnyKeyPressed > 0 && frame > kAnyKeyAfter) ||
        KeyPresses(kVkEscape) > 0)
      break;
  }

  if (best_of_run) RunBest = Score;
  if (personal_best) PersonalBest = RunBest;
  GameOverState = 0;
  PlayEffectIfOn("BlipSND");
  if (sync) {
    HighScoreScreen(1);
    FooterCounter = 0;
    MenuIndex = 0;
  }
}
