// A seeded game played headless by a scripted player: the rules hold over thousands
// of frames, and the same seed plays the same game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/tables.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/spider_figure.h"
#include "arena/web.h"
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
#include "render/vector_font.h"
#include "screens/main_menu.h"
#include "support/frame_script.h"
#include "support/pixels.h"

namespace {

struct FrameRecord {
  int score, lives, level, wave_phase, hurry_out, insects, bullets, grubsteaks, eggs;
  int kinds;  // bit t set while an insect of type t flies
  double x, y;
  std::uint64_t insects_at;
  bool operator==(const FrameRecord&) const = default;
};

// The default keyboard scheme: cursor keys walk, W A S D fire.
constexpr int kLeft = kVkLeft, kUp = kVkUp, kRight = kVkRight, kDown = kVkDown;
constexpr int kFireUp = 'W', kFireLeft = 'A', kFireDown = 'S', kFireRight = 'D';
constexpr int kAllKeys[] = {kLeft, kUp, kRight, kDown, kFireUp, kFireLeft, kFireDown, kFireRight};
constexpr int kFrames = 14000;  // the game may end sooner

// A fair beginner: shoots along the nearest of the eight directions at the closest
// insect, backs away from one that comes close, and otherwise goes for a grubsteak
// nearby or drifts back towards the middle of the web.
void Steer() {
  for (int key : kAllKeys) InjectKeyUp(key);
  const Enemies* nearest = nullptr;
  double best = 1e9;
  for (const Enemies& e : EnemyList) {
    const double d = Distance(PlayerX, PlayerY, e.x, e.y);
    if (d < best) {
      best = d;
      nearest = &e;
    }
  }
  const double home_dx = 512 - PlayerX, home_dy = 384 - PlayerY;
  if (nearest == nullptr) {
    if (home_dx > 8) InjectKeyDown(kRight);
    if (home_dx < -8) InjectKeyDown(kLeft);
    return;
  }
  const double dx = nearest->x - PlayerX, dy = nearest->y - PlayerY;
  // Fire along an axis when the insect lies within about 22 degrees of it, else along
  // the diagonal.
  if (dx > std::fabs(dy) * 0.4) InjectKeyDown(kFireRight);
  if (dx < -std::fabs(dy) * 0.4) InjectKeyDown(kFireLeft);
  if (dy > std::fabs(dx) * 0.4) InjectKeyDown(kFireDown);
  if (dy < -std::fabs(dx) * 0.4) InjectKeyDown(kFireUp);
  const Grubs* food = nullptr;
  double food_distance = 250;
  for (const Grubs& g : GrubList) {
    const double d = Distance(PlayerX, PlayerY, g.X, g.Y);
    if (d < food_distance) {
      food_distance = d;
      food = &g;
    }
  }
  if (best < 130) {
    InjectKeyDown(dx > 0 ? kLeft : kRight);
    InjectKeyDown(dy > 0 ? kUp : kDown);
  } else if (food != nullptr) {
    if (food->X > PlayerX + 4) InjectKeyDown(kRight);
    if (food->X < PlayerX - 4) InjectKeyDown(kLeft);
    if (food->Y > PlayerY + 4) InjectKeyDown(kDown);
    if (food->Y < PlayerY - 4) InjectKeyDown(kUp);
  } else if (std::fabs(home_dx) + std::fabs(home_dy) > 60) {
    InjectKeyDown(home_dx > 0 ? kRight : kLeft);
    InjectKeyDown(home_dy > 0 ? kDown : kUp);
  }
}

int KindsFlying() {
  int kinds = 0;
  for (const Enemies& e : EnemyList) kinds |= 1 << (e.EnemyType & 31);
  return kinds;
}

// Where every insect is, folded into one number: two games that differ anywhere in
// the arena differ here.
std::uint64_t InsectsAt() {
  std::uint64_t h = 1469598103934665603ull;
  for (const Enemies& e : EnemyList) {
    for (const float v : {e.x, e.y}) {
      std::uint32_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      h = (h ^ bits) * 1099511628211ull;
    }
    h = (h ^ static_cast<std::uint64_t>(e.EnemyType)) * 1099511628211ull;
  }
  return h;
}

// Choice 1 starts on level 1, choice 5 on level 17.
std::vector<FrameRecord> PlaySeededGame(std::int64_t seed, int neon = 0, int frames = kFrames,
                                        int difficulty = 1, int lives = 3) {
  FrameScript script;
  SeedRandom(seed);
  SoundOn = 0;
  MusicOn = 0;
  NeonMode = neon;
  ResetGameState();
  Lives = lives;
  CharList.Clear();

  std::vector<FrameRecord> trace;
  trace.reserve(static_cast<std::size_t>(frames));
  script
      .EachFrame([&](int frame) {
        // The difficulty first: down to the choice, then Enter, and the game starts.
        if (frame <= difficulty) {
          InjectKeyPress(frame < difficulty ? KeyMoveDown : kVkEnter);
          return;
        }
        // The game is over: the game-over screen is not part of the game's trace.
        if (GameOverState >= 3) throw ScriptStop{};
        trace.push_back({Score, Lives, Level, WavePhase, HurryOut,
                         static_cast<int>(EnemyList.Count()), static_cast<int>(BulletList.Count()),
                         static_cast<int>(GrubList.Count()), static_cast<int>(EggList.Count()),
                         KindsFlying(), PlayerX, PlayerY, InsectsAt()});
        if (frame > difficulty + 91) Steer();
      })
      .StopAfter(frames);
  try {
    RunGame();
  } catch (const ScriptStop&) {
  }
  NeonMode = 0;
  return trace;
}

class GameScenario : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    // As start-up leaves the drawing, so the neon games draw real glow strips.
    RegisterEmbeddedResources();
    DotImage = LoadImage("IncBin::res\\dot.png", -1);
    CenterImageHandle(DotImage);
    SetBlend(BLEND_ADD);
    InitGlowDrawing();
    LoadGameTables();
    LoadGameFigures();
  }
  static void TearDownTestSuite() {
    DotImage.reset();  // its texture must go before the GL context does
    CloseDisplay();
  }
};

TEST_F(GameScenario, AScriptedPlayerPlaysByTheRulesAndTheSameSeedPlaysTheSameGame) {
  const std::vector<FrameRecord> first = PlaySeededGame(2026);
  ASSERT_FALSE(first.empty());

  int kills_in_play = 0;
  int kinds_seen = 0;
  int grubsteaks_dropped = 0, eggs_laid = 0, hatched = 0;
  int deaths = 0;
  int max_level = 1;
  bool phases_ran = false;
  for (size_t i = 1; i < first.size(); ++i) {
    const FrameRecord& a = first[i - 1];
    const FrameRecord& b = first[i];
    SCOPED_TRACE(i);
    // Score only grows, by the points of shots, grubsteaks and eggs: 50s at the least.
    ASSERT_GE(b.score, a.score);
    ASSERT_EQ(b.score % 50, 0);
    // A life goes only one at a time; one comes only with an extra-life score.
    if (b.lives < a.lives) {
      ASSERT_EQ(b.lives, a.lives - 1);
      ++deaths;
    }
    if (b.lives > a.lives) {
      ASSERT_GE(b.score, 20000);
    }
    // Levels advance one at a time, never back.
    ASSERT_GE(b.level, a.level);
    ASSERT_LE(b.level, a.level + 1);
    max_level = std::max(max_level, b.level);
    kinds_seen |= b.kinds;
    if (b.wave_phase > 2) phases_ran = true;
    // At most four bullets; the spider stays inside the play ellipse once it stands.
    ASSERT_LE(b.bullets, 4);
    const bool walking_in = b.y - 20 == 2 * (b.x - 320);
    ASSERT_TRUE(InsideEllipse(b.x, b.y, 512, 384, 420, 300) || walking_in);
    // Insects vanish in play only when shot: nothing else removes them before the
    // level's end.
    if (a.hurry_out == 0 && b.hurry_out == 0 && b.insects < a.insects && b.lives == a.lives &&
        b.level == a.level && b.wave_phase == a.wave_phase)
      kills_in_play += a.insects - b.insects;
    // In play: a kill drops a grubsteak, laying turns one into an egg, and an egg that
    // goes without paying has hatched into an insect.
    const bool same_stage = b.lives == a.lives && b.level == a.level && b.hurry_out == 0;
    if (same_stage && b.grubsteaks > a.grubsteaks)
      grubsteaks_dropped += b.grubsteaks - a.grubsteaks;
    if (same_stage && b.eggs > a.eggs) eggs_laid += b.eggs - a.eggs;
    if (same_stage && b.eggs < a.eggs && b.score == a.score && b.insects > a.insects) ++hatched;
    ASSERT_LE(b.grubsteaks, 60);  // they age away: nothing piles up
  }
  EXPECT_GT(grubsteaks_dropped, 5);
  EXPECT_GT(eggs_laid, 0);
  EXPECT_GT(hatched, 0);
  EXPECT_GT(kills_in_play, 5);
  EXPECT_TRUE(phases_ran);
  // This seed's beginner plays through the bonus levels 4 and 8 into level 9, and
  // meets every kind of insect that comes before level 12 on the way.
  EXPECT_GE(max_level, 9);
  for (int kind : {kHornet, kMosquito, kBeetle, kDragonfly, kGrenadeBug, kBugSlayer, kThunderbug,
                   kThunderbugHit})
    EXPECT_TRUE(kinds_seen & (1 << kind)) << "never saw type " << kind;

  const std::vector<FrameRecord> second = PlaySeededGame(2026);
  ASSERT_EQ(second.size(), first.size());
  EXPECT_TRUE(second == first);
}

// A game quit with grubsteaks down leaves none of its field behind: the game-over
// screen's and then the menu's insects roam an empty web.
TEST_F(GameScenario, AGameQuitWithGrubsteaksDownLeavesNothingForTheMenusInsects) {
  FrameScript script;
  SeedRandom(2026);
  SoundOn = 0;
  MusicOn = 0;
  NeonMode = 0;
  enum { kStarting, kPlaying, kQuitting, kGameOver, kMenu } stage = kStarting;
  int grubsteaks_at_quit = 0, menu_frames = 0;
  std::size_t left_on_game_over = 0, left_in_menu = 0;
  auto left_over = [] {
    return GrubList.Count() + EggList.Count() + BulletList.Count() + ExplosionList.Count() +
           CharList.Count() + EnemyQueList.Count();
  };
  script
      .EachFrame([&](int frame) {
        switch (stage) {
          case kStarting:  // "start game", then the first difficulty
            InjectKeyPress(kVkEnter);
            if (frame == 2) stage = kPlaying;
            break;
          case kPlaying:
            if (frame > 100) Steer();
            if (GrubList.Count() >= 3 && BulletList.Count() > 0) {
              grubsteaks_at_quit = static_cast<int>(GrubList.Count());
              for (int key : kAllKeys) InjectKeyUp(key);
              InjectKeyPress(kVkEscape);
              stage = kQuitting;
            }
            break;
          case kQuitting:
            InjectKeyPress('Y');
            if (GameOverState == 3) stage = kGameOver;
            break;
          case kGameOver:
            left_on_game_over = std::max(left_on_game_over, left_over());
            InjectKeyPress('Q');
            if (GameOverState == 0) stage = kMenu;
            break;
          case kMenu:
            left_in_menu = std::max(left_in_menu, left_over());
            if (++menu_frames == 120) throw ScriptStop{};
            break;
        }
      })
      .StopAfter(6000);
  EXPECT_THROW(MainMenu(RunGame), ScriptStop);
  ASSERT_EQ(stage, kMenu);
  EXPECT_GE(grubsteaks_at_quit, 3);
  EXPECT_EQ(left_on_game_over, 0u);
  EXPECT_EQ(left_in_menu, 0u);
}

// Rocket bugs, their rockettes and spoilers come only on the later levels.
TEST_F(GameScenario, TheLaterLevelsBringTheRestOfTheInsects) {
  // A beginner needs more than three lives to see them all; the thunderbugs of the bonus
  // levels are the first game's.
  const std::vector<FrameRecord> game = PlaySeededGame(17, 0, 6000, 5, 30);
  ASSERT_FALSE(game.empty());
  EXPECT_EQ(game.front().level, 17);
  int kinds_seen = 0;
  for (size_t i = 1; i < game.size(); ++i) {
    kinds_seen |= game[i].kinds;
    ASSERT_GE(game[i].score, game[i - 1].score);
  }
  for (int kind : {kRocketBug, kSpoiler, kRockette})
    EXPECT_TRUE(kinds_seen & (1 << kind)) << "never saw type " << kind;
}

// The graphics mode is a matter of looks: the same seed and the same player give the
// same game in both, frame for frame.
TEST_F(GameScenario, TheSameGamePlaysTheSameInNeonAndWire) {
  constexpr int kShortGame = 1500;
  const std::vector<FrameRecord> wire = PlaySeededGame(7, 0, kShortGame);
  const std::vector<FrameRecord> neon = PlaySeededGame(7, 1, kShortGame);
  ASSERT_EQ(wire.size(), neon.size());
  // Long enough for the shots to have made explosions flicker in both.
  EXPECT_GT(wire.back().score, 0);
  for (std::size_t i = 0; i < wire.size(); ++i) {
    SCOPED_TRACE(i + 1);
    ASSERT_TRUE(wire[i] == neon[i]) << "score " << wire[i].score << " vs " << neon[i].score
                                    << ", insects " << wire[i].insects << " vs " << neon[i].insects;
  }
}

}  // namespace
