// Per-frame cost of the spider and its shots: UpdatePlayer, the shot, and UpdateBullets
// with four bullets in flight against 30 insects, reported as a share of the 16.7 ms
// frame. The insects stand off the bullets' lines so that every bullet runs the full
// walk every frame (the dearest case). Drawing is submitted to the offscreen GL
// context as in play; GL is drained outside the timed part now and then.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "arena/bullets.h"
#include "arena/enemies.h"
#include "arena/hits.h"
#include "arena/player.h"
#include "arena/player_moves.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr double kCentreX = 512, kCentreY = 384;
constexpr int kHeadings[4] = {0, 90, 180, 270};

void SetUpScene(int neon) {
  // The insects keep 20 degrees or more off the axes the shots fly along, farther than
  // any hit radius at their distance from the centre.
  EnemyList.Clear();
  for (int i = 0; i < 30; ++i) {
    const double a = 90 * (i % 4) + 20 + 50.0 * (i / 4) / 7;
    CreateEnemy(1, static_cast<int>(kCentreX + 250 * Sin(a)),
                static_cast<int>(kCentreY - 250 * Cos(a)), 0, 1 + i % 8);
  }
  BulletList.Clear();
  FireTimer = 0;
  SoundOn = 0;
  NeonMode = neon;
  GlowAmount = 0;
  RecomputeGlowWidths();
  LoadBulletShape();
  PlayerX = kCentreX;
  PlayerY = kCentreY;
}

// Keeps four shots in the air, one per heading, as held fire would.
void TopUpBullets() {
  for (int heading : kHeadings) {
    bool flying = false;
    for (const PlayerBullets& b : BulletList)
      if (b.angle == heading) flying = true;
    if (flying) continue;
    PlayerAngle = heading;
    FireTimer = 0;
    FireBullet();
  }
}

void RunFrames(benchmark::State& state, int neon) {
  SetUpScene(neon);
  double seconds = 0;
  long frames = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    UpdatePlayer(ControlRequest{}, 1);
    TopUpBullets();
    StepBullets();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++frames;
    if (frames % 60 == 0) {
      state.PauseTiming();
      glFinish();
      state.ResumeTiming();
    }
  }
  state.counters["bullets"] = static_cast<double>(BulletList.Count());
  state.counters["budget_share"] = frames > 0 ? seconds / frames / kFrameSeconds : 0;
  BulletList.Clear();
  EnemyList.Clear();
}

void BM_PlayerAndBulletsWire(benchmark::State& state) {
  RunFrames(state, 0);
}
void BM_PlayerAndBulletsNeon(benchmark::State& state) {
  RunFrames(state, 1);
}
BENCHMARK(BM_PlayerAndBulletsWire);
BENCHMARK(BM_PlayerAndBulletsNeon);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  if (!OpenDisplay(1024, 768, 0, 0, 0)) return 1;
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  if (DotImage) CenterImageHandle(DotImage);
  SetBlend(BLEND_ADD);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  DotImage.reset();  // its texture must go before the GL context does
  CloseDisplay();
  return 0;
}
