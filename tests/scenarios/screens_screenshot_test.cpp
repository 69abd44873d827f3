// Not checks: keeps frames of every screen as PNGs in SG_SCREENSHOT_DIR to look at, in
// neon and in wire mode.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "app/screen_tables.h"
#include "app/tables.h"
#include "arena/demo_insects.h"
#include "arena/enemies.h"
#include "arena/level_state.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "input/controls.h"
#include "persist/online.h"
#include "persist/profile.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "screens/control_select.h"
#include "screens/difficulty.h"
#include "screens/game_over.h"
#include "screens/glow_screen.h"
#include "screens/high_score_screen.h"
#include "screens/instructions.h"
#include "screens/intro.h"
#include "screens/joypad_screens.h"
#include "screens/main_menu.h"
#include "screens/name_entry.h"
#include "screens/options_menu.h"
#include "support/frame_script.h"
#include "support/pixels.h"
#include "support/score_server_process.h"
#include "support/work_folder.h"

namespace {

void NoGame() {}

class ScreenShots : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    CenterImageHandle(DotImage);
    BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
    Backdrop2Image = LoadImage("IncBin::res\\backdrop2.jpg", -1);
    SetBlend(BLEND_ADD);
    InitGlowDrawing();
    LoadGameTables();
    LoadScreenTables();
    FillMenuTables();
    LoadGameFigures();
  }
  static void TearDownTestSuite() {
    DotImage.reset();
    BackdropImage.reset();
    Backdrop2Image.reset();
    CloseDisplay();
  }

  void SetUp() override {
    dir = std::getenv("SG_SCREENSHOT_DIR");
    if (dir == nullptr) GTEST_SKIP() << "set SG_SCREENSHOT_DIR";
    SoundOn = 0;
    MusicOn = 0;
  }
  void TearDown() override {
    NeonMode = 0;
    BackgroundOn = 0;
  }

  // Runs the screen in both modes and keeps its frames at the given numbers.
  void Shoot(const std::string& name, std::function<void(FrameScript&)> script_it,
             std::function<void()> run, std::initializer_list<int> frames) {
    for (int neon : {1, 0}) {
      NeonMode = neon;
      BackgroundOn = neon;
      SeedRandom(3);
      FrameScript script;
      int last = 0;
      for (int f : frames) {
        last = std::max(last, f);
        script.At(f, [this, f, neon, name] {
          SaveScreenshot((std::string(dir) + "/" + name + "_" + std::to_string(f) +
                          (neon ? "_neon" : "_wire") + ".png")
                             .c_str());
        });
      }
      script_it(script);
      script.StopAfter(last);
      try {
        run();
      } catch (const ScriptStop&) {
      }
    }
  }

  const char* dir = nullptr;
};

TEST_F(ScreenShots, DISABLED_MainMenu) {
  Shoot(
      "menu", [](FrameScript&) {}, [] { MainMenu(NoGame); }, {30, 60, 120});
  Shoot(
      "menu_exit", [](FrameScript& s) { s.Press(100, kVkEscape); }, [] { MainMenu(NoGame); },
      {130});
}

TEST_F(ScreenShots, DISABLED_Difficulty) {
  Shoot(
      "difficulty",
      [](FrameScript& s) {
        s.Press(10, kVkDown).Press(11, kVkDown).Press(20, kVkDown).Press(21, kVkDown);
      },
      [] { DifficultySelect(); }, {5, 15, 25});
}

TEST_F(ScreenShots, DISABLED_GameOver) {
  struct Verdict {
    const char* name;
    int score, state, run_best, personal_best;
  };
  const Verdict verdicts[] = {{"gameover_achieved", 4200, 4, 0, 0},
                              {"gameover_not_achieved", 300, 4, 5000, 9000},
                              {"gameover_quit", 4200, 3, 0, 0}};
  for (const Verdict& v : verdicts) {
    Shoot(
        v.name, [](FrameScript&) {},
        [&] {
          EnemyList.Clear();
          Score = v.score;
          GameOverState = v.state;
          RunBest = v.run_best;
          PersonalBest = v.personal_best;
          GameOverScreen();
        },
        {40, 200});
  }
}

TEST_F(ScreenShots, DISABLED_HighScores) {
  const char* names[] = {"ARACHNE", "BUGZAPPER", "SILKY", "NOMAD", "HORNETHATE", "Z"};
  for (int i = 0; i < 6; ++i) {
    HiName[i] = names[i];
    HiScore[i] = std::to_string(250000 - 31000 * i);
    HiLevel[i] = std::to_string(30 - 3 * i) + " ( 1)";
  }
  PopulateDemoInsects();
  Shoot(
      "highscores", [](FrameScript& s) { s.Press(30, 'W'); },
      [] {
        Score = 1234;
        PersonalBest = 48200;
        HighScoreScreen(0);
      },
      {20, 31, 40});
  FillDefaultHighScores();
}

// A sync against the real score server: the notice, the server's top ten, then the
// main menu's footer with the new-version message.
TEST_F(ScreenShots, DISABLED_HighScoresSynced) {
  WorkFolder folder;
  ScoreServerProcess server({"--versions", "silkguard=1.1"});
  ASSERT_GT(server.Port(), 0) << server.Log();
  setenv(kScoreServerVariable, server.BaseUrl().c_str(), 1);
  OnlineInit(SG_QUILO_LIBRARY);
  const char* names[] = {"arachne", "bugzapper", "silky", "nomad"};
  for (int i = 0; i < 4; ++i) {
    PlayerName = names[i];
    OnlineSync(250000 - 31000 * i, 30 - 3 * i, 1 + i);
  }
  PlayerName = "Player1";
  PopulateDemoInsects();
  Shoot(
      "highscores_synced", [](FrameScript&) {},
      [] {
        Score = 48200;
        Level = 9;
        StartLevel = 1;
        HighScoreScreen(1);
      },
      {1, 2, 10});
  Shoot(
      "menu_new_version", [](FrameScript&) {}, [] { MainMenu(NoGame); }, {60, 250});
  unsetenv(kScoreServerVariable);
  ServerMessage = kCreditLine;
  FillDefaultHighScores();
}

TEST_F(ScreenShots, DISABLED_NameEntry) {
  Shoot(
      "name_first_run", [](FrameScript& s) { s.Press(5, 'A').Press(6, 'B').Press(7, '1'); },
      [] {
        PlayerName = "noname";
        NameEntryScreen(1);
      },
      {20});
  Shoot(
      "name_plain", [](FrameScript&) {},
      [] {
        PlayerName = "SPINNER";
        NameEntryScreen(0);
      },
      {20});
  PlayerName = "Player1";
}

TEST_F(ScreenShots, DISABLED_Intro) {
  SoundOn = 1;  // the sparkle comes with the whoosh
  Shoot(
      "intro", [](FrameScript&) {}, [] { IntroSequence(); }, {20, 59, 90, 150, 178, 250, 330});
  SoundOn = 0;
}

TEST_F(ScreenShots, DISABLED_Instructions) {
  Shoot(
      "instructions",
      [](FrameScript& s) {
        for (int page = 1; page < 12; ++page) s.Press(page * 40, ' ');
      },
      [] { InstructionsScreen(); },
      {30, 70, 110, 150, 190, 230, 270, 310, 350, 390, 430, 470, 515});
}

TEST_F(ScreenShots, DISABLED_Options) {
  PopulateDemoInsects();
  Shoot(
      "options", [](FrameScript& s) { s.Press(30, KeyMoveDown).Press(31, KeyMoveDown); },
      [] { OptionsMenu(); }, {20, 40});
}

TEST_F(ScreenShots, DISABLED_Glow) {
  Shoot(
      "glow",
      [](FrameScript& s) {
        s.Press(10, KeyMoveLeft).Press(11, KeyMoveLeft).Press(12, KeyMoveLeft);
        for (int i = 0; i < 6; ++i) s.Press(30 + i, KeyMoveRight);
      },
      [] {
        GlowAmount = 0;
        RecomputeGlowWidths();
        GlowScreen();
      },
      {8, 20, 45});
  GlowAmount = 0;
  RecomputeGlowWidths();
}

// The options' window sizes one after another, each kept once the window has it.
TEST_F(ScreenShots, DISABLED_DisplaySizes) {
  PopulateDemoInsects();
  Shoot(
      "display",
      [](FrameScript& s) {
        s.Press(5, KeyMoveDown).Press(6, kVkEnter);    // 1280x1024
        s.Press(20, KeyMoveDown).Press(21, kVkEnter);  // 1440x900
        s.Press(40, KeyMoveDown).Press(41, kVkEnter);  // 1680x1050
        s.Press(60, KeyMoveUp).Press(61, KeyMoveUp).Press(62, KeyMoveUp).Press(63, kVkEnter);
      },
      [] { OptionsMenu(); }, {15, 35, 55, 75});
  ChangeDisplaySize(1024, 768);
  ResetModeDrawing();
}

TEST_F(ScreenShots, DISABLED_ControlSelection) {
  // The three choices, the threshold lowered once on the twin-stick one.
  Shoot(
      "controls",
      [](FrameScript& s) {
        s.Press(20, KeyMoveDown).Press(30, KeyMoveLeft).Press(40, KeyMoveDown);
      },
      [] {
        ControlScheme = 0;
        StickThreshold = 16;
        ControlSelectScreen();
      },
      {10, 35, 50});
  ControlScheme = 0;
  StickThreshold = 16;
}

void DefaultKeys() {
  KeyMoveLeft = 37, KeyMoveRight = 39, KeyMoveUp = 38, KeyMoveDown = 40;
  KeyFireUp = 87, KeyFireDown = 83, KeyFireLeft = 65, KeyFireRight = 68;
}

TEST_F(ScreenShots, DISABLED_RedefineKeys) {
  // The question, then the fourth key being asked for.
  Shoot(
      "redefine",
      [](FrameScript& s) {
        s.Hold(10, 'Y').HoldWhenWaiting({'J', 'L', 'I', 'K', 'F', 'H', 'T', 'G'});
      },
      [] {
        DefaultKeys();
        RedefineKeys();
      },
      {5, 15});
  DefaultKeys();
}

TEST_F(ScreenShots, DISABLED_JoypadScreens) {
  // The pointer over stick 2's Y axis box (inverted by a right click), stick 1 picked;
  // then over the joypad control screen's left box.
  Shoot(
      "dualstick",
      [](FrameScript& s) {
        s.At(2, [] { InjectMouseMove(60, 330); })
            .At(3, [] { InjectMouseButton(1, true); })
            .At(5, [] { InjectMouseMove(300, 422); })
            .At(6, [] { InjectMouseButton(2, true); })
            .At(7, [] { InjectJoyAxis(0, kJoyX, 0.6); })
            .Press(8, 'D');
      },
      [] { DualStickScreen(); }, {12});
  Shoot(
      "joypadcontrol", [](FrameScript& s) { s.At(3, [] { InjectMouseMove(452, 372); }); },
      [] { JoypadControlScreen(); }, {10});
  ResetJoypadMappings();
}

}  // namespace
