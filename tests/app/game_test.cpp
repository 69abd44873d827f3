// The game loop's level cycle: death and re-entry, level completion, bonus levels, the
// quit dialog and the music switch.
#include "app/game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "app/hud.h"
#include "app/tables.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/spider_figure.h"
#include "arena/thunderbugs.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "support/frame_script.h"

namespace {

class Game : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetScreenSize(1024, 768);
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    LoadGameTables();
    LoadGameFigures();
  }
  static void TearDownTestSuite() { CloseDisplay(); }

  void SetUp() override {
    SeedRandom(7);
    SoundOn = 0;
    MusicOn = 0;
    NeonMode = 0;
    ResetGameState();
    Lives = 3;
    CharList.Clear();
    script.StopAfter(5000);  // a loop that never ends fails instead of hanging
  }

  // A level in progress as after the spider's entry.
  void EnterLevel(int level) {
    Level = level;
    BeginLevel(Level);
    PlayerX = 502;
    PlayerY = 384;
    PlayerAngle = 180;
    EnemyQueList.Clear();
    FillWaveQueue();
  }

  FrameScript script;
};

TEST_F(Game, LosingALifeOnTheLastWaveRestartsTheLevelsWaves) {
  EnterLevel(2);
  WavePhase = 4;
  LevelFrames = 300;
  Score = 4000;
  PlayerHit = 1;
  DeathSequence();

  EXPECT_EQ(Lives, 2);
  EXPECT_EQ(GameOverState, 0);
  EXPECT_EQ(Level, 2);
  EXPECT_EQ(Score, 4000);
  EXPECT_EQ(WavePhase, 1);
  EXPECT_EQ(PlayerHit, 0);
  EXPECT_EQ(HurryOut, 0);
  // Level 2's two waves are queued afresh, with the three starters on the rim.
  EXPECT_EQ(EnemyQueList.Count(), 21u);
  EXPECT_EQ(EnemyList.Count(), 3u);
  // The spider walked in again and faces down.
  EXPECT_DOUBLE_EQ(PlayerX, 502);
  EXPECT_DOUBLE_EQ(PlayerY, 384);
  EXPECT_DOUBLE_EQ(PlayerAngle, 180);
  EXPECT_GT(script.Frames(), 91);
}

TEST_F(Game, WithOneLifeLeftAHitEndsTheGameWithoutAnEntry) {
  EnterLevel(1);
  Lives = 1;
  PlayerX = 600;
  PlayerY = 300;
  PlayerHit = 1;
  DeathSequence();

  EXPECT_EQ(Lives, 0);
  EXPECT_EQ(GameOverState, 4);
  EXPECT_EQ(EnemyQueList.Count(), 0u);
  EXPECT_TRUE(EnemyList.Empty());
  EXPECT_DOUBLE_EQ(PlayerX, 600);  // no walk in
  EXPECT_LE(script.Frames(), 201);
}

TEST_F(Game, TheDeathSequenceEndsWhenTheInsectsHaveGoneOrAfter200Frames) {
  EnterLevel(1);
  // With nothing to fly off the spin lasts a single frame.
  EnemyList.Clear();
  Lives = 2;
  PlayerHit = 1;
  DeathSequence();
  EXPECT_EQ(script.Frames(), 1 + 91);

  // Insects still flying keep the spin going, for 201 frames at the most: one sent in
  // every frame keeps the web from ever emptying.
  script.Restart();
  EnemyList.Clear();
  script.EachFrame([](int frame) {
    if (frame <= 201) CreateEnemy(1, 512, 384, 0, kBugSlayer);
  });
  Lives = 2;
  PlayerHit = 1;
  DeathSequence();
  EXPECT_EQ(script.Frames(), 201 + 91);
  EXPECT_EQ(EnemyList.Count(), 3u);  // only the next try's starters
}

TEST_F(Game, LevelCompletesOnlyOnceTheInsectsHaveFlownOff) {
  EnterLevel(1);
  HurryOut = 0;
  EnemyList.Clear();
  EXPECT_FALSE(CheckLevelComplete());  // waves still to come

  HurryOut = 1;
  CreateEnemy(1, 512, 384, 0, kHornet);
  WavePhase = 2;
  LevelFrames = 500;
  EXPECT_FALSE(CheckLevelComplete());  // one still on its way out
  EXPECT_EQ(EnemyCount, 1);
  EXPECT_EQ(script.Frames(), 0);

  // In the last phase stragglers no longer hold the level up after 120 frames.
  WavePhase = 4;
  LevelFrames = 121;
  DragonflyCounter = 2;
  EXPECT_TRUE(CheckLevelComplete());
  EXPECT_EQ(script.Frames(), 175);  // the colour flow: 25 steps of 7 frames
  EXPECT_EQ(Level, 2);
  EXPECT_EQ(DragonflyCounter, 3);
  EXPECT_EQ(WavePhase, 1);
  EXPECT_EQ(HurryOut, 0);
  EXPECT_EQ(LevelFrames, 0);
  EXPECT_EQ(EnemyQueList.Count(), 21u);  // level 2's waves
  EXPECT_EQ(WebList.Count(), 108u);
}

TEST_F(Game, TheColourFlowsPlainWebBringsNoThunderbugs) {
  EnterLevel(1);
  HurryOut = 1;
  WavePhase = 4;
  LevelFrames = 200;
  EnemyList.Clear();
  int thunderbugs = -1;
  script.At(20, [&] {
    thunderbugs = 0;
    for (const Enemies& e : EnemyList) thunderbugs += e.EnemyType == kThunderbug;
  });
  std::vector<RandomDraw> draws;
  AttachRandomDrawLog(&draws);
  const bool complete = CheckLevelComplete();
  AttachRandomDrawLog(nullptr);
  ASSERT_TRUE(complete);
  EXPECT_EQ(thunderbugs, 0);
  // The set-up's draws (a path, the first thunderbug's phase) are made all the same, and
  // first, so every later draw comes out in the rules' order.
  ASSERT_GE(draws.size(), 2u);
  EXPECT_EQ(draws[0], (RandomDraw{1, 16}));
  EXPECT_EQ(draws[1], (RandomDraw{0, 1}));
  EXPECT_EQ(BonusLevel, 0);
  EXPECT_EQ(Level, 2);
}

TEST_F(Game, LevelThreeLeadsToABonusLevelOf1380Frames) {
  EnterLevel(3);
  HurryOut = 1;
  EnemyList.Clear();
  ASSERT_TRUE(CheckLevelComplete());
  EXPECT_EQ(Level, 4);
  EXPECT_EQ(BonusLevel, 1);
  EXPECT_EQ(BonusLevelFrames, 1380);
  // No waves: the snake's first thunderbug waits at the start of its path, the second
  // comes on the first frame.
  ASSERT_EQ(EnemyList.Count(), 1u);
  EXPECT_EQ(EnemyList.First()->EnemyType, kThunderbug);
  EXPECT_FLOAT_EQ(EnemyList.First()->x, ThunderPath[1].x);
  EXPECT_EQ(ThunderSpawnTimer, 9);
  EXPECT_EQ(ThunderSpawned, 0);
  EXPECT_EQ(EnemyQueList.Count(), 0u);
}

TEST_F(Game, ABonusLevelWithNoThunderbugLeftAdvancesOnceThroughTheColourFlow) {
  EnterLevel(4);
  ASSERT_EQ(BonusLevel, 1);
  EnemyList.Clear();  // the last thunderbug has just gone
  ThunderSpawned = 10;
  BonusLevelFrame();
  EXPECT_EQ(HurryOut, 1);
  EXPECT_EQ(Level, 4);  // not yet: the completion check moves on
  EndGameFrame();
  EXPECT_EQ(Level, 5);
  EXPECT_EQ(BonusLevel, 0);
  EXPECT_EQ(script.Frames(), 175 + 1);   // the colour flow, then the frame itself
  EXPECT_EQ(EnemyQueList.Count(), 22u);  // level 5's waves
  // The next frame is a normal one and stays on level 5.
  NormalLevelFrame();
  EndGameFrame();
  EXPECT_EQ(Level, 5);
}

// A thunderbug on the spider: the next level's web stands at once, no bonus behind it,
// for the death sequence to play over.
TEST_F(Game, AThunderbugOnTheSpiderBeginsTheNextLevelInTheSameFrame) {
  EnterLevel(4);
  ASSERT_EQ(BonusLevel, 1);
  EnemyList.Clear();  // as the level's start leaves it: the snake alone
  StartThunderSnake();
  PlayerX = 512;
  PlayerY = 700;
  Enemies& bug = *EnemyList.First();
  ASSERT_EQ(bug.EnemyType, kThunderbug);
  bug.x = bug.TargetX = 512;
  bug.y = bug.TargetY = 700 - 8;
  bug.angle = 180;
  bug.GoRandom = 1;
  BonusLevelFrame();
  EXPECT_EQ(PlayerHit, 1);
  EXPECT_EQ(Level, 5);
  EXPECT_EQ(BonusLevel, 0);
  EXPECT_EQ(HurryOut, 0);
}

TEST_F(Game, ABonusLevelEndsByItsBudgetEvenWithInsectsLeft) {
  EnterLevel(4);
  ASSERT_EQ(BonusLevel, 1);
  EnemyList.Clear();
  CreateEnemy(1, 500, 380, 0, kBugSlayer);
  LevelFrames = 1380;
  BonusLevelFrame();
  EXPECT_EQ(HurryOut, 0);
  LevelFrames = 1381;
  BonusLevelFrame();
  EXPECT_EQ(HurryOut, 1);
  EXPECT_EQ(LevelFrames, 0);

  // From level 52 on the budget is negative: the first frame ends it.
  EnterLevel(52);
  EnemyList.Clear();
  CreateEnemy(1, 500, 380, 0, kBugSlayer);
  LevelFrames = 0;
  BonusLevelFrame();
  EXPECT_EQ(HurryOut, 1);
  // ... and only once: a negative budget must not send them off again every frame,
  // turning them to a new random heading each time so that they never leave.
  LevelFrames = 5;
  const int heading = EnemyList.First()->angle;
  BonusLevelFrame();
  EXPECT_EQ(LevelFrames, 5);
  const int turned = std::abs(EnemyList.First()->angle - heading);
  EXPECT_LE(std::min(turned, 360 - turned), 4);  // one steering step, no new heading
}

TEST_F(Game, TheQuitDialogFreezesTheSceneAndNoResumesExactly) {
  EnterLevel(1);
  EnemyList.Clear();
  CreateEnemy(1, 300, 300, 90, kHornet);
  CreateEnemy(1, 700, 500, 90, kBeetle);
  FireBullet();
  CreateExplosion(400, 400, 1, kExplosionRing, 32, 1);
  struct Snapshot {
    std::vector<float> insects;
    std::vector<double> bullets;
    double ring = 0;
    double player_x = 0, player_y = 0;
    double frames = 0;
  };
  auto snap = [] {
    Snapshot s;
    for (const Enemies& e : EnemyList) s.insects.insert(s.insects.end(), {e.x, e.y});
    for (const PlayerBullets& b : BulletList) s.bullets.insert(s.bullets.end(), {b.x, b.y});
    s.ring = ExplosionList.First() ? ExplosionList.First()->Size : -1;
    s.player_x = PlayerX;
    s.player_y = PlayerY;
    s.frames = LevelFrames;
    return s;
  };
  const Snapshot before = snap();
  ASSERT_EQ(before.insects.size(), 4u);
  ASSERT_EQ(before.bullets.size(), 2u);

  // Held walk and fire keys must not move anything while the question is up.
  script.Hold(1, KeyMoveUp).Hold(1, KeyFireUp).Press(30, 'N');
  QuitDialog();
  const Snapshot after = snap();
  EXPECT_EQ(GameOverState, 0);
  EXPECT_EQ(script.Frames(), 30);
  EXPECT_EQ(after.insects, before.insects);
  EXPECT_EQ(after.bullets, before.bullets);
  EXPECT_EQ(after.ring, before.ring);
  EXPECT_EQ(after.player_x, before.player_x);
  EXPECT_EQ(after.frames, before.frames);
  // The answer does not linger: the next frame sees no press and no held key.
  EXPECT_EQ(KeyPresses('N'), 0);
  EXPECT_EQ(KeyIsDown(KeyMoveUp), 0);
}

TEST_F(Game, EveryYesAnswerQuitsAndEveryNoAnswerResumes) {
  struct Case {
    int key;
    int game_over_state;
  };
  // Left and right are the menu's: the walk keys of the keyboard scheme.
  const Case cases[] = {{'Y', 3}, {kVkEnter, 3},  {KeyMoveLeft, 3},
                        {'N', 0}, {kVkEscape, 0}, {KeyMoveRight, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    GameOverState = 0;
    script.Restart();
    script.Press(3, c.key);
    QuitDialog();
    EXPECT_EQ(GameOverState, c.game_over_state);
    EXPECT_EQ(script.Frames(), 3);
  }
}

TEST_F(Game, EscapeDuringPlayOpensTheDialogAndYesEndsTheGame) {
  // A whole game: Enter takes the first difficulty, Escape once the spider stands, then
  // Yes; Escape leaves the game-over screen.
  int state_after_yes = -1;
  script.Press(1, kVkEnter).Press(101, kVkEscape).Press(111, 'Y');
  script.At(112, [&] { state_after_yes = GameOverState; }).Press(160, kVkEscape);
  RunGame();
  EXPECT_EQ(state_after_yes, 3);
  EXPECT_EQ(script.Frames(), 160);
  // Game over leaves the menu's state behind, and the menu's insects: eight small ones
  // and four specials.
  EXPECT_EQ(GameOverState, 0);
  EXPECT_EQ(EnemyList.Count(), 12u);
  EXPECT_EQ(HurryOut, 0);
}

TEST_F(Game, AGameStartsFreshWhateverTheLastOneLeft) {
  Score = 12345;
  NextBonusAt = 60000;
  ContactCheckType = 5;
  DragonflyCounter = 9;
  FireTimer = 5;
  script.Press(1, kVkEnter).StopAfter(92);  // the first difficulty, then stop as the spider stands
  EXPECT_THROW(StartGame(), ScriptStop);
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(Level, 1);
  EXPECT_EQ(NextBonusAt, 20000);
  EXPECT_EQ(ContactCheckType, 1);
  EXPECT_EQ(DragonflyCounter, 0);
  EXPECT_EQ(FireTimer, 0);
  // The first level of a game runs faster than its web's own rule.
  EXPECT_DOUBLE_EQ(EnemySpeedFactor, 1.0 + 2.0 / 20.0);
}

}  // namespace
