#include "app/startup.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "app/game.h"
#include "app/screen_tables.h"
#include "app/session_replay.h"
#include "app/settings.h"
#include "app/tables.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "input/controls.h"
#include "persist/online.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "platform/data_folder.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "platform/session_tape.h"
#include "platform/window.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "screens/game_over.h"
#include "screens/intro.h"
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
bool OpenGameDisplay(bool full_screen) {
  const int depth = full_screen ? 60 : 0;
  if (ScreenHeight >= kPlayHeight && ScreenWidth >= kPlayWidth) {
    if (OpenDisplay(ScreenWidth, ScreenHeight, depth, 60, 0)) return true;
    if (ScreenWidth == kPlayWidth && ScreenHeight == kPlayHeight) return false;
    std::fprintf(stderr, "Silkguard: cannot open a %dx%d display (%s); opening 1024x768\n",
                 ScreenWidth, ScreenHeight, DisplayError().c_str());
  } else {
    std::fprintf(stderr, "Silkguard: a %dx%d window cannot hold the game; opening 1024x768\n",
                 ScreenWidth, ScreenHeight);
  }
  SetScreenSize(kPlayWidth, kPlayHeight);
  return OpenDisplay(ScreenWidth, ScreenHeight, depth, 60, 0);
}

// An installed game keeps its files in the user's data folder; a build or a portable
// copy where it is started. Trouble there never stops the game: it says so and plays.
void UseDataFolder(const std::string& given) {
  std::string reason;
  if (!EnterDataFolder(ChooseDataFolder(CurrentDataFolderFacts(given)), &reason))
    std::fprintf(stderr, "Silkguard: %s; keeping the files in the current folder\n",
                 reason.c_str());
  if (!CurrentFolderWritable())
    std::fprintf(stderr,
                 "Silkguard: cannot write in the current folder: settings will not be saved\n");
}

// Without OpenGL there is no game: the player is told what is missing, in a box when
// the desktop can show one and on stderr always.
void ReportNoOpenGl() {
  const std::string message =
      "Silkguard draws with OpenGL 2.1 and could not open an OpenGL display:\n" + DisplayError() +
      "\n\nInstall or update your graphics driver's OpenGL support (on Debian and Ubuntu: the "
      "package libgl1-mesa-dri) and start the game again.";
  std::fprintf(stderr, "Silkguard: %s\n", message.c_str());
  ShowErrorBox("Silkguard cannot start", message);
}

// Start-up, the screens and the end of the run. seeded: the seed replaces the clock
// for every reseed of the run.
int RunSession(const LaunchOptions& options, bool seeded, std::int64_t seed) {
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
  // Empty lists and a game at its start, also when a run follows another in the same
  // process (the tests), so a recorded run starts where its replay will.
  ResetGameState();
  PlacePlayerAtStart();

  // 5. The window title, shown once the window opens.
  SetWindowTitle(WindowTitle());

  // 6. The online score service, which may not be there. A recorded or replayed
  // session plays offline: what a server answers is not on its tape.
  const bool taped = !options.record.empty() || !options.replay.empty();
  if (!taped) OnlineInit();

  // 7-8. Images and sounds.
  LoadImages();
  LoadGameSounds();

  // 9. Also the best score of the run starts here.
  if (seeded) {
    UseFixedSeeds(seed);
  } else {
    UseClockSeeds();
    ReseedFromClock();
  }
  RunBest = 0;

  // 10. Tables the settings file may overwrite, and the menus' texts and logo.
  FillMenuTables();

  // 11. The controller file and the active joypad mapping, then the settings (which
  // recompute the glow widths). No file, or a damaged one, keeps the defaults.
  LoadJoypadConfig();
  SelectJoypadMapping();
  LoadSettings();
  // The look never changes the game; wire is the quickest to draw.
  if (options.verify) NeonMode = 0;

  // 12-14. The display, clipped to the play area; opening it drains stale GL errors.
  // Full screen only when asked for on the command line; Alt+Enter switches later.
  if (!OpenGameDisplay(options.display == LaunchOptions::Display::kFullScreen)) {
    ReportNoOpenGl();
    return 1;
  }
  OnFullScreenChange([](bool on) { FullScreen = on ? 1 : 0; });
  if (options.verify) SetPresenting(false);
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
    // 18.
    IntroSequence();
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

}  // namespace

const char* WindowTitle() {
  static const std::string title = std::string("Silkguard v") + kVersionText + " (OpenGL)";
  return title.c_str();
}

int Startup(const LaunchOptions& options) {
  if (running) return 0;
  RunGuard guard;
  const bool replaying = !options.replay.empty();
  const bool recording = !options.record.empty();

  if (options.verify) {
    // Nothing shown and nothing heard, unless asked for.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
  }

  // 0. The folder the game's files live in, entered before any of them is read. A
  // replay brings its own files into a folder of its own.
  ReplayFile replay;
  if (replaying) {
    std::string error;
    if (const int code = LoadReplay(options.replay, options.verify, &replay, &error); code != 0) {
      std::fprintf(stderr, "Silkguard: %s\n", error.c_str());
      return code;
    }
  } else {
    UseDataFolder(options.data_dir);
    if (recording) BeginRecording(options.seed.has_value(), options.seed.value_or(0));
  }

  int code = 0;
  bool diverged = false;
  try {
    code = RunSession(options, replaying ? replay.seeded : options.seed.has_value(),
                      replaying ? replay.seed : options.seed.value_or(0));
  } catch (const TapeRanOut&) {
    diverged = true;
  }
  SetPresenting(true);
  OnFullScreenChange(nullptr);
  UseClockSeeds();

  if (replaying) {
    std::string report;
    const bool same = FinishReplay(replay, diverged, &report);
    std::fprintf(stderr, "Silkguard: %s\n", report.c_str());
    return same ? code : kExitReplayDiffers;
  }
  if (recording) {
    std::string error;
    if (!FinishRecording(options.record, &error)) {
      std::fprintf(stderr, "Silkguard: %s\n", error.c_str());
      return 1;
    }
  }
  return code;
}

int Startup() {
  return Startup(LaunchOptions{});
}

int RunFromCommandLine(int argc, const char* const* argv) {
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "silkguard: %s\nTry 'silkguard --help' for more.\n", parsed.error.c_str());
    return kExitBadUsage;
  }
  if (parsed.options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (parsed.options.version) {
    std::printf("Silkguard %s\n", kVersionText);
    return 0;
  }
  return Startup(parsed.options);
}
