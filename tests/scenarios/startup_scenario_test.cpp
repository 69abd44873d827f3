// The whole program, headless, from its start-up to its end: the menu, a game, game
// over, the high scores and the question before leaving, and the settings file that
// carries the player's choices to the next start.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/settings.h"
#include "app/startup.h"
#include "arena/enemies.h"
#include "arena/level_state.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "persist/profile.h"
#include "persist/settings_file.h"
#include "platform/input.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "screens/game_over.h"
#include "screens/high_score_screen.h"
#include "screens/main_menu.h"
#include "support/frame_script.h"
#include "support/pixels.h"
#include "support/work_folder.h"

namespace {

int Brightness(const Rgb& c) {
  return c.r + c.g + c.b;
}

// Probes on a coarse grid over the play area at (left, top) that show anything.
int LitProbes(int left, int top) {
  int lit = 0;
  for (int y = top + 10; y < top + 768; y += 37)
    for (int x = left + 10; x < left + 1024; x += 41)
      if (Brightness(ReadPixel(x, y)) > 0) ++lit;
  return lit;
}

std::optional<SettingsValues> StoredSettings() {
  const std::vector<unsigned char> bytes = ReadBytes("settings.dat");
  return ParseSettings(bytes);
}

void Store(const SettingsValues& v) {
  WriteBytes("settings.dat", FormatSettings(v));
}

// Escape on the intro's first frame: the slide-in ends there, the sway and the pulse
// run one frame each, then one empty frame; the menu's first frame is the fifth.
constexpr int kIntro = 4;
void SkipIntro(FrameScript& script, int first_frame) {
  script.Press(first_frame, kVkEscape);
}

// Escape in the menu and Yes in the question: the usual way out.
void LeaveFromMenu(FrameScript& script, int frame) {
  script.Press(frame, kVkEscape).Press(frame + 3, 'Y');
}

TEST(StartupScenario, BackdropInsideThePlayAreaBlackOutsideAndEscapeThenYesLeaves) {
  WorkFolder folder;
  SettingsValues stored;
  stored.ScreenWidth = 1280;
  stored.ScreenHeight = 1024;
  stored.ScreenOffsetX = 128;
  stored.ScreenOffsetY = 128;
  stored.BackgroundOn = 1;
  Store(stored);
  FrameScript script;

  size_t sounds_loaded = 0;
  int menu_music_playing = -1;
  int lit_inside = 0;
  Rgb outside_left, outside_top, outside_corner;
  int brightest_outside = 0;
  int asked = -1;
  SkipIntro(script, 1);
  script.At(kIntro + 1, [&] {
    sounds_loaded = SoundList().size();
    menu_music_playing = Sound::IsPlaying("menu-loop");
  });
  script.At(kIntro + 3, [&] {
    // The backdrop is dim but not black: some probes inside must show it.
    lit_inside = LitProbes(128, 128);
    outside_left = ReadPixel(60, 500);
    outside_top = ReadPixel(640, 60);
    outside_corner = ReadPixel(1279, 1023);
    for (int y = 0; y < 1024; y += 16) {
      brightest_outside = std::max(brightest_outside, Brightness(ReadPixel(127, y)));
      brightest_outside = std::max(brightest_outside, Brightness(ReadPixel(1152, y)));
    }
  });
  LeaveFromMenu(script, kIntro + 5);
  script.At(kIntro + 7, [&] { asked = GameOverState; }).StopAfter(300);

  int code = -1;
  ASSERT_NO_THROW(code = Startup());

  EXPECT_EQ(code, 0);
  EXPECT_EQ(asked, 2);  // the question was up
  // Yes given during the menu's eighth frame ends the program after it.
  EXPECT_EQ(script.Frames(), kIntro + 8);
  EXPECT_GT(lit_inside, 100);
  EXPECT_EQ(sounds_loaded, 15u);
  EXPECT_EQ(menu_music_playing, 1);  // step 19: the menu plays its loop
  EXPECT_EQ(Brightness(outside_left), 0);
  EXPECT_EQ(Brightness(outside_top), 0);
  EXPECT_EQ(Brightness(outside_corner), 0);
  EXPECT_EQ(brightest_outside, 0);
  EXPECT_EQ(ScreenOffsetX, 128);
  EXPECT_EQ(ScreenOffsetY, 128);
  // The display and the sound bank are released on the way out.
  EXPECT_FALSE(SoundDeviceOpen());
}

// A new player's first run: a short game that ends with a score, game over with its
// verdicts, a sync from there, and leaving; then a second start from the file written.
TEST(StartupScenario, AFirstRunPlaysAGameAndTheNextStartKeepsTheChoices) {
  WorkFolder folder;
  FrameScript script;
  RunBest = 0;

  int level_chosen = -1, bonus_chosen = -1;
  int game_over_start = 0;
  bool achieved_best = false, achieved_personal = false;
  int score_after_sync = -1;
  int menu_index_after = -1;
  SkipIntro(script, 1);
  script.At(kIntro + 2, [] {
    // What the options menu will set: neon, the backdrop, silence, a fire key of
    // the player's own.
    NeonMode = 1;
    BackgroundOn = 1;
    MusicOn = 0;
    SoundOn = 0;
    KeyFireUp = 'I';
  });
  // Start a game, choose the second difficulty.
  script.Press(kIntro + 3, kVkEnter).Press(kIntro + 5, KeyMoveDown).Press(kIntro + 7, kVkEnter);
  script.At(kIntro + 8, [&] {
    level_chosen = Level;
    bonus_chosen = DragonflyBonus;
  });
  // Once the spider stands: a score, and the last life lost.
  script.At(100, [] {
    Score = 4200;
    Lives = 1;
    PlayerHit = 1;
  });
  script.EachFrame([&](int frame) {
    if (game_over_start == 0 && frame > 100 && GameOverState == 4) {
      // The first frame of game over: the verdicts are being shown.
      game_over_start = frame;
      achieved_best = Score > RunBest;
      achieved_personal = Score > PersonalBest;
      const int g = frame;
      // Fire once keys count asks for the sync; Left leaves the high scores; then out.
      script.Press(g + 45, 'I');
      // The high scores' first frame is g + 47 and the sync notice g + 48.
      script.At(g + 49, [&] { score_after_sync = Score; });
      script.Press(g + 50, kVkLeft);
      script.At(g + 53, [&] { menu_index_after = MenuIndex; });
      LeaveFromMenu(script, g + 54);
    }
  });
  script.StopAfter(2000);

  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(level_chosen, 5);
  EXPECT_EQ(bonus_chosen, 25000);
  ASSERT_GT(game_over_start, 0);
  EXPECT_TRUE(achieved_best);
  EXPECT_TRUE(achieved_personal);
  EXPECT_EQ(RunBest, 4200);
  EXPECT_EQ(PersonalBest, 4200);
  EXPECT_EQ(score_after_sync, 0);  // a sync never sends a score twice
  EXPECT_EQ(menu_index_after, 0);
  EXPECT_EQ(script.Frames(), game_over_start + 57);

  // The file holds the choices and the best, and nothing else was left in the folder.
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"settings.dat"});
  const auto stored = StoredSettings();
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->PersonalBest, 4200);
  EXPECT_EQ(stored->NeonMode, 1);
  EXPECT_EQ(stored->BackgroundOn, 1);
  EXPECT_EQ(stored->MusicOn, 0);
  EXPECT_EQ(stored->KeyFireUp, 'I');
  EXPECT_EQ(stored->PlayerName, "Player1");
  EXPECT_EQ(stored->rows, SettingsValues{}.rows);  // no sync could fill them

  // Start again, with everything the first run left in memory put back to nothing.
  NeonMode = 0;
  BackgroundOn = 0;
  MusicOn = 1;
  SoundOn = 1;
  KeyFireUp = 'W';
  PersonalBest = 0;
  script.Restart();
  int neon = -1, backdrop_lit = 0, music = -1, best = -1, run_best = -1, fire_up = -1;
  script.EachFrame(nullptr);
  SkipIntro(script, 1);
  script.At(kIntro + 1, [&] {
    neon = NeonMode;
    music = Sound::IsPlaying("menu-loop");
    best = PersonalBest;
    run_best = RunBest;
    fire_up = KeyFireUp;
    backdrop_lit = LitProbes(0, 0);
  });
  LeaveFromMenu(script, kIntro + 3);
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(neon, 1);
  EXPECT_EQ(music, 0);  // music off: the menu starts silent
  EXPECT_EQ(best, 4200);
  EXPECT_EQ(run_best, 0);
  EXPECT_EQ(fire_up, 'I');
  EXPECT_GT(backdrop_lit, 100);
  NeonMode = 0;
  BackgroundOn = 0;
  MusicOn = 1;
  SoundOn = 1;
  KeyFireUp = 'W';
}

// A player who erases the whole name is asked again at the next start, in any case.
TEST(StartupScenario, AnEmptyNameIsStoredAsNonameAndTheNextStartAsksAgain) {
  WorkFolder folder;
  SettingsValues stored;
  stored.PlayerName = "NoName";
  Store(stored);
  FrameScript script;
  std::string name_at_2;
  // The first-run form comes before the menu: Backspace erases, Return ends.
  for (int f = 1; f <= 6; ++f) script.Press(f, 8);
  script.At(2, [&] { name_at_2 = PlayerName; });
  script.Press(7, kVkEnter);
  SkipIntro(script, 8);  // the intro comes after the name
  LeaveFromMenu(script, kIntro + 10);
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(name_at_2, "NoNam");
  EXPECT_EQ(StoredSettings()->PlayerName, "noname");

  script.Restart();
  script.At(1, [] { InjectTypedText("A"); }).Press(3, kVkEnter);
  SkipIntro(script, 4);
  LeaveFromMenu(script, kIntro + 5);
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(StoredSettings()->PlayerName, "nonameA");
  PlayerName = "Player1";
}

TEST(StartupScenario, ClosingTheWindowSavesTheSettingsAsLeavingDoes) {
  WorkFolder folder;
  FrameScript script;
  script.At(4, [] {
    PersonalBest = 777;
    InjectQuit();
  });
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(script.Frames(), 4);
  ASSERT_TRUE(StoredSettings().has_value());
  EXPECT_EQ(StoredSettings()->PersonalBest, 777);
  PersonalBest = 0;
}

TEST(StartupScenario, ASizeThatCannotHoldTheGameFallsBackToTheSmallestWindow) {
  WorkFolder folder;
  SettingsValues stored;
  stored.ScreenWidth = 1024;
  stored.ScreenHeight = 600;
  stored.ScreenOffsetY = -84;
  Store(stored);
  FrameScript script;
  SkipIntro(script, 1);
  LeaveFromMenu(script, kIntro + 2);
  testing::internal::CaptureStderr();
  ASSERT_EQ(Startup(), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("1024x600"), std::string::npos) << said;
  EXPECT_EQ(StoredSettings()->ScreenHeight, 768);
  EXPECT_EQ(StoredSettings()->ScreenOffsetY, 0);
}

TEST(StartupScenario, ASettingsFileThatCannotBeWrittenStillEndsNormally) {
  WorkFolder folder;
  // A folder where the file should be: it cannot be replaced.
  std::filesystem::create_directory("settings.dat");
  std::filesystem::create_directory("settings.dat/kept");
  FrameScript script;
  SkipIntro(script, 1);
  LeaveFromMenu(script, kIntro + 2);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Startup(), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("settings not saved"), std::string::npos) << said;
  EXPECT_TRUE(std::filesystem::is_directory("settings.dat/kept"));
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"settings.dat"});
}

// From the menu into the options: the backdrop on, neon on, more glow; then out and
// quit. The file keeps all three, and the next start comes up in neon over the backdrop
// with the wider glow.
TEST(StartupScenario, OptionsChangedInTheMenuAreKeptForTheNextStart) {
  WorkFolder folder;
  FrameScript script;
  SkipIntro(script, 1);
  const int o = kIntro + 3;  // the options' first frame: Tab in the menu's second
  script.Press(kIntro + 2, 9);
  for (int f = o; f < o + 6; ++f) script.Press(f, KeyMoveDown);  // row 7, the backdrop
  script.Press(o + 6, kVkEnter);
  script.Press(o + 7, KeyMoveDown).Press(o + 8, KeyMoveDown).Press(o + 9, kVkEnter);  // neon
  script.Press(o + 10, KeyMoveDown).Press(o + 11, kVkEnter);  // the glow screen
  script.Press(o + 12, KeyMoveRight).Press(o + 13, KeyMoveRight).Press(o + 15, kVkEscape);
  int width_in_game = 0;
  script.At(o + 16, [&] { width_in_game = GlowWidth24; }).Press(o + 16, kVkEscape);
  LeaveFromMenu(script, o + 18);
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(script.Frames(), o + 21);  // Yes in the question, after the options closed

  const auto stored = StoredSettings();
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(stored->NeonMode, 1);
  EXPECT_EQ(stored->BackgroundOn, 1);
  EXPECT_EQ(stored->GlowAmount, 2);

  NeonMode = 0;
  BackgroundOn = 0;
  GlowAmount = 0;
  RecomputeGlowWidths();
  const int width_at_zero = GlowWidth24;
  script.Restart();
  SkipIntro(script, 1);
  int neon = -1, width = -1, backdrop_lit = 0;
  script.At(kIntro + 2, [&] {
    neon = NeonMode;
    width = GlowWidth24;
    backdrop_lit = LitProbes(0, 0);
  });
  LeaveFromMenu(script, kIntro + 3);
  ASSERT_EQ(Startup(), 0);
  EXPECT_EQ(neon, 1);
  EXPECT_EQ(width, width_in_game);
  EXPECT_GT(width, width_at_zero);
  EXPECT_GT(backdrop_lit, 100);
  NeonMode = 0;
  BackgroundOn = 0;
  GlowAmount = 0;
  RecomputeGlowWidths();
}

}  // namespace
