// A headless display with the tables the screens draw from, quiet, in wire mode, with
// a scripted player whose runs fail rather than hang.
#pragma once

#include <gtest/gtest.h>

#include "arena/enemies.h"
#include "arena/insect_shapes.h"
#include "arena/level_state.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/profile.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/difficulty.h"
#include "screens/main_menu.h"
#include "support/frame_script.h"

class ScreenTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    LoadColorTable();
    LoadWebLayouts();
    LoadFont();
    LoadTextScales();
    LoadEnemyShapes();
    LoadDifficultyTexts();
    LoadTitleLogo();
  }
  static void TearDownTestSuite() { CloseDisplay(); }

  void SetUp() override {
    SeedRandom(11);
    SoundOn = 0;
    MusicOn = 0;
    NeonMode = 0;
    BackgroundOn = 0;
    ControlScheme = 0;
    ResetJoypadMappings();
    SelectJoypadMapping();
    GameOverState = 0;
    Score = 0;
    PersonalBest = 0;
    FillDefaultHighScores();
    EnemyList.Clear();
    script.StopAfter(3000);  // a loop that never ends fails instead of hanging
  }
  void TearDown() override { ControlScheme = 0; }

  FrameScript script;
};
