#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/game.h"
#include "arena/demo_insects.h"
#include "app/tables.h"
#include "arena/level_state.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

bool running = false;

// Ends the run the same way whichever way it ends: sound released, window closed.
struct RunGuard {
  RunGuard() { running = true; }
  ~RunGuard() {
    Sound::AppExit();
    CloseDisplay();
    running = false;
  }
};

void LoadImages() {
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
  Backdrop2Image = LoadImage("IncBin::res\\backdrop2.jpg", -1);
  if (DotImage) CenterImageHandle(DotImage);
}

bool OpenGameDisplay() {
  // A stored height below the play area (a damaged or edited file) falls back to
  // the smallest size rather than leaving the game without a display.
  if (ScreenHeight < kPlayHeight || ScreenWidth < kPlayWidth) SetScreenSize(1024, 768);
  return OpenDisplay(ScreenWidth, ScreenHeight, 0, 60, 0);
}

// Stands in for the main menu: one game after another until the player quits one.
void RunGamesUntilQuit() {
  // No settings file holds the player's choice yet: show the backdrop.
  BackgroundOn = 1;
  PopulateDemoInsects();
  do {
    Lives = 3;
    Level = 1;
    Score = 0;
    RunGame();
  } while (GameOverState != 3);
}

}  // namespace

const char* WindowTitle() {
  static const std::string title = std::string("Silkguard v") + kVersionText + " (OpenGL)";
  return title.c_str();
}

int Startup() {
  if (running) return 0;
  RunGuard guard;

  // 1. The embedded resources.
  RegisterEmbeddedResources();
  // 2. The drawing driver: SDL's video with a double-buffered GL context.
  InitInput();

  // 3-4. Fixed tables and lists, in the order later steps rely on; the sound system
  // with its 100 channels.
  LoadGameTables();
  SoundInit(100);

  // 5. The window title, shown once the window opens.
  SetWindowTitle(WindowTitle());

  // 7-8. Images and sounds.
  LoadImages();
  LoadGameSounds();

  // 9.
  SeedRandom(Millisecs());

  // 11. The active joypad mapping.
  SelectJoypadMapping();
  RecomputeGlowWidths();

  // 12-14. The display, clipped to the play area; opening it drains stale GL errors.
  if (!OpenGameDisplay()) {
    std::fprintf(stderr, "Silkguard: cannot open a %dx%d OpenGL window: %s\n", ScreenWidth,
                 ScreenHeight, DisplayError().c_str());
    return 1;
  }
  SetViewport(ScreenOffsetX, ScreenOffsetY, kPlayWidth, kPlayHeight);

  // 15.
  SetBlend(BLEND_ADD);
  InitGlowDrawing();
  HideMouse();
  SetBlend(BLEND_ADD);

  // 16. Figures turned to every heading.
  TurnGameFigures();

  try {
    // 19-20. Menu music, then the menu, which returns when the player leaves.
    if (MusicOn == 1) Sound::Play("menu-loop", 1);
    RunGamesUntilQuit();
  } catch (const QuitRequest&) {
    // The window was closed: leave as from the menu.
  }

  // 21.
  return 0;
}
