#include "app/game.h"

#include <cmath>

#include "app/hud.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/demo_insects.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/hits.h"
#include "arena/insects.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/player_moves.h"
#include "arena/spider_figure.h"
#include "arena/thunderbugs.h"
#include "arena/web.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"
#include "screens/difficulty.h"
#include "screens/game_over.h"

namespace {

constexpr int kSpiderEntryFrames = 91;
constexpr int kDeathFramesMax = 200;
constexpr int kLevelCompleteFramesPerStep = 7;
constexpr int kLevelCompleteSteps = 24;
constexpr int kHurryOutLevelEnd = 1000;
constexpr int kHurryOutDeath = 1400;
constexpr int kQuitZoomStart = 25;

void PlayEffect(const char* name) {
  if (SoundOn == 1) Sound::Play(name, 0);
}

// A level's scene as it stands, in the order it is layered: web, grubsteaks, eggs, the
// spider, insects, shots, explosions, floating scores and the HUD. Draws only.
void DrawLevelScene(int hud_blink) {
  DrawWeb();
  DrawGrubs();
  DrawEggs();
  DrawPlayerSpider(0);
  DrawEnemies();
  DrawBullets();
  DrawExplosions();
  UpdateFloatingTexts();
  DrawHud(hud_blink);
}

// Behind the quit dialog nothing moves; what holds in a frozen frame still holds: a
// grubsteak under the spider is taken, a deadly ring over it kills.
void StepFrozenScene() {
  StepGrubs(0);
  StepEggs(0);
  StepExplosions(0);
  AwardExtraLife();
}

}  // namespace

void ResetGameState() {
  LevelFrames = 0;
  PlayerHit = 0;
  Score = 0;
  GameOverState = 0;
  Level = 1;
  WavePhase = 1;
  StartLevel = Level;

  PlayerWalkStep = 1;
  NextBonusAt = kExtraLifeEvery;
  ContactCheckType = 1;
  DemoRetargetTimer = 0;
  DragonflyCounter = 0;
  FireTimer = 0;

  EnemyList.Clear();
  EnemyQueList.Clear();
  BulletList.Clear();
  GrubList.Clear();
  ExplosionList.Clear();
  // Eggs too: a new game starts on a clean web (see docs/game-rules.md).
  EggList.Clear();
}

void StartGame() {
  ResetFpsTimeBase();
  ResetGameState();
  // The start level and the dragonfly's bonus; nothing the choice shows reads what the
  // reset above cleared.
  DifficultySelect();

  BeginLevel(Level);
  EnemySpeedFactor = GameStartSpeedFactor(Level);

  if (MusicOn == 1 && Sound::IsPlaying("menu-loop") == 1) Sound::Stop("menu-loop");
  SpiderEntry();
  FillWaveQueue();
  if (MusicOn == 1) Sound::Play("ingame-loop", 1);
}

void StepNormalLevel() {
  WaveControl();
  UpdatePlayer(ControlStep(), 1);
  StepGrubs(1);
  StepEggs(1);
  UpdateEnemies(0);
  if (HurryOut == 0) CheckEnemyContact();
  StepBullets();
  StepExplosions(1);
  AwardExtraLife();
}

void NormalLevelFrame() {
  StepNormalLevel();
  Cls();
  DrawLevelScene(1);
}

void StepBonusLevel() {
  SpawnThunderbugs();
  UpdatePlayer(ControlStep(), 1);
  StepBullets();
  StepExplosions(1);
  AwardExtraLife();
  // A thunderbug on the spider ends the bonus level there: the next level's web stands
  // behind the death sequence.
  if (UpdateThunderbugs()) {
    Level += 1;
    BeginLevel(Level);
  }
  if (HurryOut == 0 && (LevelFrames > BonusLevelFrames || EnemyList.Empty()))
    EnemiesHurryOut(kHurryOutLevelEnd);
}

void BonusLevelFrame() {
  StepBonusLevel();
  Cls();
  DrawWeb();
  DrawPlayerSpider(0);
  DrawBullets();
  DrawExplosions();
  UpdateFloatingTexts();
  DrawHud(1);
  DrawEnemies();
}

void LevelCompleteAnimation() {
  WebColourStep = 0;
  int sub = 0;
  int steps = 0;
  while (steps <= kLevelCompleteSteps) {
    StepExplosions(1);
    StepGrubs(0);
    UpdatePlayer(ControlStep(), 1);
    StepEggs(0);
    StepBullets();
    AwardExtraLife();
    Cls();
    DrawBackdrop();
    PrimeGlow();
    DrawLevelCompleteWeb();
    DrawExplosions();
    DrawGrubs();
    UpdateFloatingTexts();
    DrawEggs();
    DrawPlayerSpider(0);
    DrawBullets();
    DrawHud(0);
    Flip(-1);
    FrameToggle ^= 1;
    if (++sub == kLevelCompleteFramesPerStep) {
      sub = 0;
      WebColourStep = (WebColourStep + 1) % 32;
      ++steps;
    }
  }
}

bool CheckLevelComplete() {
  EnemyCount = EnemyList.Count();
  if (WavePhase == 4 && LevelFrames > 120 && HurryOut == 1) EnemyCount = 0;
  if (HurryOut != 1 || EnemyCount != 0) return false;

  // The plain web the colour flow runs over. Without the bonus level's set-up: a
  // thunderbug made for it would fly unseen through the colour flow, and be shot.
  BeginPlainWeb();
  DiscardThunderSetupDraws();
  LevelCompleteAnimation();
  HurryOut = 0;
  EnemyList.Clear();
  BulletList.Clear();
  ExplosionList.Clear();
  Level += 1;
  DragonflyCounter += 1;
  LevelFrames = 0;
  WavePhase = 1;
  BeginLevel(Level);
  EnemyQueList.Clear();
  FillWaveQueue();
  if (IsBonusLevel(Level)) {
    GrubList.Clear();
    EnemyList.Clear();
    EggList.Clear();
    // The web is clear of the waves' starters: now the whole snake can come in.
    StartThunderSnake();
  }
  return true;
}

void SpiderEntry() {
  PlayerX = 320;
  PlayerY = 20;
  PlayerAngle = 0;
  PlayerWalkStep = 0;
  PlayerWalkDelay = 0;
  for (int i = 0; i < kSpiderEntryFrames; ++i) {
    AwardExtraLife();
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

void DeathSequence() {
  EnemiesHurryOut(kHurryOutDeath);
  EggList.Clear();
  GrubList.Clear();
  for (;;) {
    AwardExtraLife();
    StepGrubs(0);
    UpdateEnemies(1);
    StepBullets();
    StepExplosions(1);
    Cls();
    DrawWeb();
    DrawHud(0);
    DrawGrubs();
    DrawPlayerSpider(1);
    DrawEnemies();
    DrawBullets();
    DrawExplosions();
    UpdateFloatingTexts();
    // The spider spins as it dies, after it is drawn.
    PlayerAngle = std::fmod(PlayerAngle + 15, 360.0);
    AdvanceWalk();
    LevelFrames += 1;
    Flip(-1);
    if (EnemyList.Empty() || LevelFrames > kDeathFramesMax) break;
  }
  EnemyList.Clear();
  EnemyQueList.Clear();
  BulletList.Clear();
  GrubList.Clear();
  ExplosionList.Clear();
  WavePhase = 1;
  LevelFrames = 0;
  HurryOut = 0;
  PlayerHit = 0;

  Lives -= 1;
  if (Lives <= 0) GameOverState = 4;
  if (GameOverState == 0) {
    SpiderEntry();
    FillWaveQueue();
  }
  BeginLevel(Level);
}

void QuitDialog() {
  PlayEffect("BlipSND");
  double zoom = kQuitZoomStart;
  FlushKeys();
  int answer = 0;  // 1 yes, 2 no
  while (answer == 0) {
    StepFrozenScene();
    Cls();
    DrawLevelScene(0);
    WriteZoomText("exit game (y/n)", 11.5, 20, 0xFFFFFFFF, zoom, 1, 1, 0);
    WriteText("press right key for no", 14, 28.5, 0xFFFF40FF, 0, 0.75, 0.75, 0, 255, 64, 255);
    WriteText("press left key for yes", 14, 30, 0xFFFF40FF, 0, 0.75, 0.75, 0, 255, 64, 255);
    Flip(-1);
    // Every answer is asked for each frame so no press lingers into play.
    const bool yes = KeyPresses('Y') > 0 || MenuLeft() == 1 || KeyPresses(kVkEnter) > 0;
    const bool no = KeyPresses('N') > 0 || MenuRight() == 1 || KeyPresses(kVkEscape) > 0;
    if (yes)
      answer = 1;
    else if (no)
      answer = 2;
    if (zoom > 0) zoom -= 1;
  }
  if (answer == 1) GameOverState = 3;
  Delay(100);
  FlushKeys();
}

void EndGameFrame() {
  FrameToggle ^= 1;
  CheckLevelComplete();
  LevelFrames += 1;
  Flip(-1);
  if (PlayerHit > 0) DeathSequence();
  if (KeyPresses(kVkEscape) > 0) QuitDialog();
}

void EndGame() {
  // Glow batches close with their scopes: none is open here to end.
  HurryOut = 0;
  EnemySpeedFactor = 1;
  if (MusicOn == 1 && Sound::IsPlaying("ingame-loop") == 1) Sound::Stop("ingame-loop");
  if (MusicOn == 1) Sound::Play("menu-loop", 1);
  // The game-over and high-score screens' insects roam an empty field.
  ClearPlayLeftovers();
  EnemyQueList.Clear();
  PopulateDemoInsects();
  GameOverScreen();
}

void RunGame() {
  StartGame();
  while (GameOverState < 3) {
    if (BonusLevel == 1)
      BonusLevelFrame();
    else
      NormalLevelFrame();
    EndGameFrame();
  }
  EndGame();
}
