// The whole program, headless: the player opens the control selection, redefines the
// eight keys, inverts an axis on the dual-stick screen, leaves, and plays with the new
// keys; both files keep what was chosen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "arena/bullets.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "input/controls.h"
#include "input/joypad_config.h"
#include "persist/settings_file.h"
#include "platform/input.h"
#include "render/screen.h"
#include "screens/control_select.h"
#include "screens/joypad_file.h"
#include "support/frame_script.h"
#include "support/work_folder.h"

namespace {

// The new keys: move with J L I K, fire with F H T G.
constexpr int kNewKeys[] = {'J', 'L', 'I', 'K', 'F', 'H', 'T', 'G'};

void PutBackDefaultKeys() {
  KeyMoveLeft = kVkLeft, KeyMoveRight = kVkRight, KeyMoveUp = kVkUp, KeyMoveDown = kVkDown;
  KeyFireUp = 'W', KeyFireDown = 'S', KeyFireLeft = 'A', KeyFireRight = 'D';
  ControlScheme = 0;
  ResetJoypadMappings();
  SelectJoypadMapping();
}

// Steps taken one a frame, each once its condition holds.
class Steps {
 public:
  Steps& Then(std::function<bool()> when, std::function<void()> action) {
    steps_.push_back({std::move(when), std::move(action)});
    return *this;
  }
  Steps& Then(std::function<void()> action) {
    return Then([] { return true; }, std::move(action));
  }
  void OnFrame() {
    if (next_ < steps_.size() && steps_[next_].when()) steps_[next_++].action();
  }
  std::size_t Done() const { return next_; }
  std::size_t Count() const { return steps_.size(); }

 private:
  struct Step {
    std::function<bool()> when;
    std::function<void()> action;
  };
  std::vector<Step> steps_;
  std::size_t next_ = 0;
};

TEST(ControlsScenario, RedefinedKeysWalkTheSpiderAndBothFilesKeepTheChoices) {
  WorkFolder folder;
  PutBackDefaultKeys();
  FrameScript script;
  script.HoldWhenWaiting(std::vector<int>(std::begin(kNewKeys), std::end(kNewKeys)));

  bool selection_open = false;
  int scheme_after = -1;
  // Escape skips the intro (four frames); the main menu's second frame opens the
  // control selection as the options menu's control row does, with the twin stick in
  // force.
  script.Press(1, kVkEscape);
  script.At(6, [&] {
    ControlScheme = 1;
    selection_open = true;
    ControlSelectScreen();
    scheme_after = ControlScheme;
  });

  double x_before = 0, y_before = 0, x_new_key = 0, x_old_key = 0, y_old_key = 0;
  int shots = -1;
  Steps steps;
  // In the control selection: up to the keyboard, Space, Y, the eight keys, N.
  steps.Then([&] { return selection_open; }, [] { InjectKeyPress(kVkUp); })
      .Then([] { InjectKeyPress(' '); })
      .Then([] { InjectKeyDown('Y'); })
      .Then([] { InjectKeyUp('Y'); })
      // The eight shown once more, then the question again: no.
      .Then([] { return KeyFireDown == 'G'; }, [] {})
      .Then([] { InjectKeyDown('N'); })
      // Down is K now: to the twin stick, Space for the dual-stick screen; a right click
      // on stick 1's X axis box inverts it; Escape closes the screen, writing the file.
      .Then([] {
        InjectKeyUp('N');
        InjectKeyPress('K');
      })
      .Then([] { InjectKeyPress(' '); })
      .Then([] { InjectMouseMove(ScreenOffsetX + 50, ScreenOffsetY + 400); })
      .Then([] { InjectMouseButton(2, true); })
      .Then([] {
        InjectMouseButton(2, false);
        InjectKeyPress(kVkEscape);
      })
      // Up is I: back to the keyboard, and out with Escape.
      .Then([] { InjectKeyPress('I'); })
      .Then([] { InjectKeyPress(kVkEscape); })
      // The menu: start a game at the first difficulty.
      .Then([&] { return scheme_after >= 0; }, [] { InjectKeyPress(kVkEnter); })
      .Then([] { InjectKeyPress(kVkEnter); })
      // Once the spider stands: J walks it left; the old left key no longer does; T fires.
      .Then([] { return GameOverState == 0 && LevelFrames >= 2 && LevelFrames < 10; },
            [&] {
              x_before = PlayerX;
              y_before = PlayerY;
              InjectKeyDown('J');
            })
      .Then([] { return LevelFrames >= 14; },
            [&] {
              InjectKeyUp('J');
              x_new_key = PlayerX;
              InjectKeyDown(kVkLeft);
            })
      .Then([] { return LevelFrames >= 22; },
            [&] {
              InjectKeyUp(kVkLeft);
              x_old_key = PlayerX;
              y_old_key = PlayerY;
              BulletList.Clear();
              InjectKeyDown('T');
            })
      .Then([&] {
        shots = BulletList.Count();
        InjectKeyUp('T');
        InjectQuit();  // the window closed: the program ends as from the menu
      });
  script.EachFrame([&](int) { steps.OnFrame(); });
  script.StopAfter(3000);

  ASSERT_EQ(Startup(), 0);
  ASSERT_EQ(steps.Done(), steps.Count());
  EXPECT_EQ(scheme_after, 0);  // the keyboard, left with Escape
  EXPECT_LT(x_new_key, x_before);
  EXPECT_EQ(x_old_key, x_new_key);
  EXPECT_EQ(y_old_key, y_before);
  EXPECT_EQ(shots, 1);

  // settings.dat keeps the scheme and the keys, the controller file the inverted axis.
  const auto settings = ParseSettings(ReadBytes("settings.dat"));
  ASSERT_TRUE(settings.has_value());
  EXPECT_EQ(settings->ControlScheme, 0);
  EXPECT_EQ((std::vector<int>{settings->KeyMoveLeft, settings->KeyMoveRight, settings->KeyMoveUp,
                              settings->KeyMoveDown, settings->KeyFireLeft, settings->KeyFireRight,
                              settings->KeyFireUp, settings->KeyFireDown}),
            std::vector<int>(std::begin(kNewKeys), std::end(kNewKeys)));
  JoypadConfigValues stored;
  stored.Ports[0].x1invert = 7;  // not a value the reader leaves
  ParseJoypadConfig(ReadBytes(kJoypadConfigFile), stored);
  EXPECT_EQ(stored.Ports[0].x1invert, -1);
  EXPECT_EQ(stored.Ports[0].y1invert, 1);
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"JoypadConfig.txt", "settings.dat"}));
  PutBackDefaultKeys();
}

}  // namespace
