// The bare frame, the main menu's frame and start-up. BM_BareFrame: Cls, the backdrop
// and an unpaced Flip at 1024x768 through the offscreen llvmpipe context, with glFinish
// inside the timed part so that each frame pays for its own rendering; BM_MenuFrame: a
// whole main-menu frame (backdrop, twelve roaming insects, the 70-line logo, the texts)
// in wire and in neon mode; mean and 95th percentile as a share of the 16.7 ms frame.
// Before the benchmarks, the whole start-up runs to its first presented frame, the main
// menu's, with a settings file present in a fresh working folder (a cold run, then warm
// repeats in the same process), and the resident memory is read once start-up is done
// and again once the sound bank has settled.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/screen_tables.h"
#include "app/settings.h"
#include "app/startup.h"
#include "app/tables.h"
#include "arena/demo_insects.h"
#include "audio/sound.h"
#include "bench_stats.h"
#include "embedded_assets.h"
#include "persist/file_io.h"
#include "platform/random.h"
#include "platform/script.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "screens/main_menu.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kFrames = 300;
constexpr int kWarmStarts = 4;
constexpr double kStartupTargetMs = 300;
constexpr double kRssTargetMb = 150;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A field of /proc/self/status in MB, or -1.
double StatusMb(const char* field) {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  double mb = -1;
  const std::size_t len = std::strlen(field);
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, field, len) == 0 && line[len] == ':') {
      mb = std::atof(line + len + 1) / 1024.0;
      break;
    }
  }
  std::fclose(f);
  return mb;
}

struct StartupRun {
  double first_frame_ms = -1;
  double settled_ms = -1;  // once every sound is decoded
  double rss_mb = -1;
  double settled_rss_mb = -1;
};

// Start-up to its first presented frame; the hook ends the run there.
StartupRun RunStartup() {
  StartupRun run;
  ResetFrameNumber();
  const auto start = Clock::now();
  SetFrameHook([&](int frame) {
    if (frame != 1) return;
    run.first_frame_ms = MsSince(start);
    run.rss_mb = StatusMb("VmRSS");
    // The sound list is complete only once every sound is decoded.
    (void)SoundList();
    run.settled_ms = MsSince(start);
    run.settled_rss_mb = StatusMb("VmRSS");
    throw ScriptStop{};
  });
  try {
    Startup();
  } catch (const ScriptStop&) {
  }
  SetFrameHook(nullptr);
  return run;
}

// The bank alone: device, the fifteen loads, and the wait until all are decoded.
void TimeSoundBank(double& load_ms, double& settled_ms) {
  const auto start = Clock::now();
  SoundInit(100);
  LoadGameSounds();
  load_ms = MsSince(start);
  (void)SoundList();
  settled_ms = MsSince(start);
  Sound::AppExit();
}

std::vector<double> frame_ms;

void BM_BareFrame(benchmark::State& state) {
  frame_ms.clear();
  frame_ms.reserve(kFrames);
  for (auto _ : state) {
    const auto start = Clock::now();
    Cls();
    DrawImage(BackdropImage, ScreenOffsetX, ScreenOffsetY, 0);
    Flip(0);
    glFinish();
    frame_ms.push_back(MsSince(start));
  }
  state.counters["mean_share"] = Mean(frame_ms) / kFrameMs;
  state.counters["p95_share"] = Percentile(frame_ms, 0.95) / kFrameMs;
}
BENCHMARK(BM_BareFrame)->Iterations(kFrames)->Unit(benchmark::kMillisecond);

std::vector<double> menu_ms[2];

void BM_MenuFrame(benchmark::State& state) {
  const int neon = static_cast<int>(state.range(0));
  NeonMode = neon;
  BackgroundOn = 1;
  SeedRandom(1);
  // As the menu opens: the first entry, the logo spinning in, the insects sent in.
  MenuIndex = 0;
  MenuZoom = 25;
  ResetTitleLogo();
  PopulateDemoInsects();
  std::vector<double>& ms = menu_ms[neon];
  ms.clear();
  ms.reserve(kFrames);
  for (auto _ : state) {
    const auto start = Clock::now();
    DrawMainMenuScreen();
    Flip(0);
    glFinish();
    ms.push_back(MsSince(start));
  }
  state.counters["mean_share"] = Mean(ms) / kFrameMs;
  state.counters["p95_share"] = Percentile(ms, 0.95) / kFrameMs;
  NeonMode = 0;
}
BENCHMARK(BM_MenuFrame)->Arg(0)->Arg(1)->Iterations(kFrames)->Unit(benchmark::kMillisecond);

// A working folder of its own holding a first run's settings file, so start-up reads
// one as a returning player's does.
bool EnterFolderWithSettings() {
  char folder[] = "/tmp/silkguard-bench.XXXXXX";
  if (mkdtemp(folder) == nullptr || chdir(folder) != 0) return false;
  return WriteFileAtomically(kSettingsFile, FormatSettings(SettingsValues{}));
}

const char* Verdict(bool met) {
  return met ? "target met" : "TARGET MISSED";
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  if (!EnterFolderWithSettings()) return 1;
  const StartupRun cold = RunStartup();
  std::vector<double> warm;
  for (int i = 0; i < kWarmStarts; ++i) warm.push_back(RunStartup().first_frame_ms);
  double bank_load_ms = 0, bank_settled_ms = 0;
  TimeSoundBank(bank_load_ms, bank_settled_ms);

  if (!OpenDisplay(1024, 768, 0, 60, 0)) return 1;
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  CenterImageHandle(DotImage);
  SetBlend(BLEND_ADD);
  InitGlowDrawing();
  LoadGameTables();
  LoadScreenTables();
  FillMenuTables();
  LoadGameFigures();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  BackdropImage.reset();  // textures must go before the GL context does
  DotImage.reset();
  CloseDisplay();

  std::printf("\n");
  std::printf(
      "start-up to the first menu frame, settings file present: cold %.1f ms, warm median %.1f ms "
      "(target < %.0f ms): %s\n",
      cold.first_frame_ms, Percentile(warm, 0.5), kStartupTargetMs,
      Verdict(cold.first_frame_ms < kStartupTargetMs));
  std::printf("start-up until every sound is decoded: %.1f ms\n", cold.settled_ms);
  std::printf("sound bank alone: loads return after %.1f ms, all decoded after %.1f ms\n",
              bank_load_ms, bank_settled_ms);
  std::printf(
      "resident memory after start-up: %.1f MB, with the bank settled %.1f MB "
      "(target < %.0f MB): %s\n",
      cold.rss_mb, cold.settled_rss_mb, kRssTargetMb,
      Verdict(std::max(cold.rss_mb, cold.settled_rss_mb) < kRssTargetMb));
  if (!frame_ms.empty()) {
    std::printf(
        "bare frame (Cls, backdrop, Flip 0) over %zu frames: mean %.3f ms = %.1f%% of "
        "the frame, p95 %.3f ms = %.1f%%\n",
        frame_ms.size(), Mean(frame_ms), 100 * Mean(frame_ms) / kFrameMs,
        Percentile(frame_ms, 0.95), 100 * Percentile(frame_ms, 0.95) / kFrameMs);
  }
  for (int neon : {0, 1}) {
    const std::vector<double>& ms = menu_ms[neon];
    if (ms.empty()) continue;
    std::printf(
        "main menu frame, %s, over %zu frames: mean %.3f ms = %.1f%% of the frame, p95 %.3f ms "
        "= %.1f%%\n",
        neon ? "neon" : "wire", ms.size(), Mean(ms), 100 * Mean(ms) / kFrameMs,
        Percentile(ms, 0.95), 100 * Percentile(ms, 0.95) / kFrameMs);
  }
  return 0;
}
