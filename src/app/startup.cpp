#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/game.h"
#include "app/screen_tables.h"
#include "app/settings.h"
#include "app/tables.h"
#include "arena/level_state.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "input/controls.h"
#include "persist/online.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "screens/game_over.h"
#include "screens/joypad_file.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"

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

// A stored size that cannot hold the play area, or that cannot be opened, falls back
// to the smallest size in a window rather than leaving the game without a display.
bool OpenGameDisplay() {
  if (ScreenHeight >= kPlayHeight && ScreenWidth >= kPlayWidth) {
    if (OpenDisplay(ScreenWidth, ScreenHeight, 0, 60, 0)) return true;
    std::fprintf(stderr, "Silkguard: cannot open a %dx%d window (%s); opening 1024x768\n",
                 ScreenWidth, ScreenHeight, DisplayError().c_str());
  } else {
    std::fprintf(stderr, "Silkguard: a %dx%d window cannot hold the game; opening 1024x768\n",
                 ScreenWidth, ScreenHeight);
  }
  SetScreenSize(kPlayWidth, kPlayHeight);
  return OpenDisplay(ScreenWidth, ScreenHeight, 0, 60, 0);
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
  // 2. The drawing driver: SDL's video with a double-buffered GL context. With the
  // input services come the player's own pad mappings, if any lie beside the settings,
  // before the first pad is opened.
  InitInput();
  AddControllerMappings(kControllerMappingsFile);

  // 3-4. Fixed tables and lists, in the order later steps rely on; the sound system
  // with its 100 channels.
  LoadGameTables();
  LoadScreenTables();
  SoundInit(100);

  // 5. The window title, shown once the window opens.
  SetWindowTitle(WindowTitle());

  // 6. The online score service, which may not be there.
  OnlineInit();

  // 7-8. Images and sounds.
  LoadImages();
  LoadGameSounds();

  // 9. Also the best score of the run starts here.
  SeedRandom(Millisecs());
  RunBest = 0;

  // 10. Tables the settings file may overwrite, and the menus' texts and logo.
  FillMenuTables();

  // 11. The controller file and the active joypad mapping, then the settings (which
  // recompute the glow widths). No file, or a damaged one, keeps the defaults.
  LoadJoypadConfig();
  SelectJoypadMapping();
  LoadSettings();

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
  LoadGameFigures();

  try {
    // 17. A player without a name is asked for one first.
    if (IsUnsetPlayerName(PlayerName)) NameEntryScreen(1);
    // 18. The intro runs here once it exists.
    // 19-20. Menu music, then the menu, which returns when the player leaves.
    if (MusicOn == 1) Sound::Play("menu-loop", 1);
    MainMenu(RunGame);
  } catch (const QuitRequest&) {
    // The window was closed or the process told to stop: leave as from the menu.
  }

  // 21. A file that cannot be written is reported and the program still ends normally.
  SaveSettings();
  return 0;
}
