#include "app/test_arena.h"

#include "app/hud.h"
#include "arena/bullets.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/spider_figure.h"
#include "arena/web.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

constexpr int kLastViewLevel = 65;

void BuildLevel(int level) {
  Level = level;
  BuildWeb(Level);
}

void LevelCompleteFlow() {
  BuildWeb(4);
  WebColourStep = 0;
  int sub = 0;
  int steps = 0;
  while (steps <= 24) {
    Cls();
    if (BackgroundOn == 1) DrawImage(BackdropImage, ScreenOffsetX, ScreenOffsetY, 0);
    DrawImage(DotImage, 10000, 10000, 0);
    DrawLevelCompleteWeb();
    UpdateFloatingTexts();
    UpdatePlayer(1);
    DrawPlayerSpider(0);
    UpdateBullets(1);
    DrawHud(0);
    Flip(-1);
    FrameToggle ^= 1;
    if (++sub == 7) {
      sub = 0;
      WebColourStep = (WebColourStep + 1) % 32;
      ++steps;
    }
  }
  BuildLevel(Level % kLastViewLevel + 1);
}

}  // namespace

void SpiderEntry() {
  PlayerX = 320;
  PlayerY = 20;
  PlayerAngle = 0;
  PlayerWalkStep = 0;
  PlayerWalkDelay = 0;
  for (int i = 0; i < 91; ++i) {
    Cls();
    DrawWeb();
    DrawHud(0);
    DrawSpiderFigure(SpiderWalkFrame(PlayerWalkStep), PlayerX, PlayerY,
                     static_cast<int>(PlayerAngle), 0);
    PlayerX += 2;
    PlayerY += 4;
    PlayerAngle += 2;
    Flip(-1);
  }
  PlayerAngle = 180;
}

void RunTestArena() {
  // No settings file holds the player's choice yet: show the backdrop.
  BackgroundOn = 1;
  Score = 0;
  Lives = 3;
  NextBonusAt = 20000;
  FireTimer = 0;
  BulletList.Clear();
  CharList.Clear();
  ResetFpsTimeBase();
  BuildLevel(1);
  FlushKeys();
  SpiderEntry();
  PlayerWalkStep = 1;

  int frame = 0;
  for (;;) {
    Cls();
    DrawWeb();
    UpdatePlayer(1);
    DrawPlayerSpider(0);
    UpdateBullets(1);
    UpdateFloatingTexts();
    WriteText("walk the web - cursor keys, fire - w a s d", 3, 25.5, 0xFF80FF40, 0, 0.75, 0.75, 0,
              128, 255, 64);
    WriteText("f2 level  f3 neon/wire  f4 done  f5 backdrop", 3, 26.8, 0xFFFF40FF, 0, 0.75, 0.75, 0,
              255, 64, 255);
    DrawHud(1);
    Flip(-1);
    FrameToggle ^= 1;
    // A floating score now and then, so the pop-and-shrink can be watched.
    if (++frame % 120 == 0) {
      Score += 250;
      SpawnFloatingText(static_cast<int>(PlayerX) - 39, static_cast<int>(PlayerY) - 40, "250", 1, 1,
                        0xFFFFFF00);
    }

    if (KeyPresses(27) > 0) break;
    if (KeyPresses(kKeyNextLevel) > 0) BuildLevel(Level % kLastViewLevel + 1);
    if (KeyPresses(kKeyToggleNeon) > 0) NeonMode = NeonMode == 1 ? 0 : 1;
    if (KeyPresses(kKeyToggleBackdrop) > 0) BackgroundOn = BackgroundOn == 1 ? 0 : 1;
    if (KeyPresses(kKeyLevelComplete) > 0) LevelCompleteFlow();
  }
  FlushKeys();
}
