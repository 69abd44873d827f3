// One frame of a busy normal level: 40 insects of every type, 20 grubsteaks, 20 eggs,
// four bullets and 60 explosion records; and one frame of a bonus level with its snake
// of eleven thunderbugs. Each is reported as a share of the 16.7 ms frame.
//
// - logic: the per-frame work that draws nothing (wave control, the spider, the
//   insects' flight and bounces, their hunt for grubsteaks, the contact test), timed
//   alone;
// - frame: the whole frame as the game loop runs it, in wire and in neon mode, GL
//   submission included and the frame finished by the GL before the clock stops.
//
// The scene is topped up between timed frames whenever shots or the arena's edge
// have thinned it, so every frame carries the full load.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "app/game.h"
#include "app/hud.h"
#include "app/tables.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/insects.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/player_moves.h"
#include "arena/spider_figure.h"
#include "arena/thunderbugs.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "busy_level.h"
#include "embedded_assets.h"
#include "input/controls.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

using busy_level::SetUpLevel;
using busy_level::TopUpScene;

constexpr double kFrameSeconds = 1.0 / 60.0;

void Logic() {
  WaveControl();
  UpdatePlayer(ControlStep(), 1);
  UpdateEnemies(0);
  CheckEnemyContact();
}

// The scene topped up between timed frames, so every frame carries the full load; a
// whole frame is finished by the GL inside the timing, and only there.
template <typename TopUp, typename Step>
void TimeFrames(benchmark::State& state, TopUp top_up, Step step, bool drawn) {
  double seconds = 0;
  long frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    top_up();
    if (drawn) glFinish();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    step();
    if (drawn) {
      Flip(0);
      glFinish();
    }
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++frames;
  }
  state.counters["budget_share"] = frames > 0 ? seconds / frames / kFrameSeconds : 0;
}

void BM_LevelLogic(benchmark::State& state) {
  SetUpLevel(0);
  TimeFrames(state, TopUpScene, Logic, false);
  state.counters["insects"] = static_cast<double>(EnemyList.Count());
  state.counters["grubsteaks"] = static_cast<double>(GrubList.Count());
}

void WholeFrame(benchmark::State& state, int neon) {
  SetUpLevel(neon);
  TimeFrames(state, TopUpScene, NormalLevelFrame, true);
  state.counters["explosions"] = static_cast<double>(ExplosionList.Count());
}

void BM_LevelFrameWire(benchmark::State& state) {
  WholeFrame(state, 0);
}
void BM_LevelFrameNeon(benchmark::State& state) {
  WholeFrame(state, 1);
}

// The bonus level: the snake kept at eleven, fresh ones starting where the path does.
void TopUpBonus() {
  if (BonusLevel != 1) BeginLevel(4);  // a touch moved the game on: back to the bonus level
  PlayerHit = 0;
  HurryOut = 0;
  ThunderSpawned = 10;
  while (EnemyList.Count() < 11) NewThunderbug();
}

void SetUpBonus(int neon) {
  SeedRandom(99);
  SoundOn = 0;
  NeonMode = neon;
  ResetGameState();
  Level = 4;
  BeginLevel(Level);
  StartThunderSnake();
  TopUpBonus();
}

void BonusLogic() {
  SpawnThunderbugs();
  UpdatePlayer(ControlStep(), 1);
  UpdateThunderbugs();
}

void BM_BonusLogic(benchmark::State& state) {
  SetUpBonus(0);
  TimeFrames(state, TopUpBonus, BonusLogic, false);
  state.counters["thunderbugs"] = static_cast<double>(EnemyList.Count());
}

void BM_BonusFrameWire(benchmark::State& state) {
  SetUpBonus(0);
  TimeFrames(state, TopUpBonus, BonusLevelFrame, true);
}
void BM_BonusFrameNeon(benchmark::State& state) {
  SetUpBonus(1);
  TimeFrames(state, TopUpBonus, BonusLevelFrame, true);
}

BENCHMARK(BM_LevelLogic)->Iterations(3000);
BENCHMARK(BM_LevelFrameWire)->Iterations(200);
BENCHMARK(BM_LevelFrameNeon)->Iterations(100);
BENCHMARK(BM_BonusLogic)->Iterations(3000);
BENCHMARK(BM_BonusFrameWire)->Iterations(200);
BENCHMARK(BM_BonusFrameNeon)->Iterations(100);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  SetScreenSize(1024, 768);
  if (!OpenDisplay(1024, 768, 0, 0, 0)) return 1;
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
  if (DotImage) CenterImageHandle(DotImage);
  SetBlend(BLEND_ADD);
  BackgroundOn = 1;
  LoadGameTables();
  LoadGameFigures();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  DotImage.reset();  // textures must go before the GL context does
  BackdropImage.reset();
  CloseDisplay();
  return 0;
}
