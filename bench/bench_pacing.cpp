// Frame pacing in play: the busy neon level of the frame benchmarks run through the paced Flip for
// 20 seconds with the frame's rendering finished after the wait (as before) and 20 seconds with it
// finished before the wait, in alternating two-second turns, logged through SILKGUARD_FRAME_LOG and
// read back: p50 and p99 of the interval between presented frames, frames late, and the drift
// against 60 Hz. Meant for a real window under Xvfb (xvfb-run bench/bench_pacing); without a
// display it falls back to the offscreen driver.
//
// Given "wire", plays the level in wire mode instead. Given a file, only summarises that frame log
// (one written by the game itself).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/tables.h"
#include "bench_stats.h"
#include "busy_level.h"
#include "embedded_assets.h"
#include "platform/clock.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kSecondsEach = 20;  // in two-second turns

struct Frame {
  double present, wait, render;
};

std::vector<Frame> ReadLog(const std::string& path) {
  std::vector<Frame> frames;
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (f == nullptr) return frames;
  char line[256];
  while (std::fgets(line, sizeof line, f) != nullptr) {
    Frame fr{};
    double build = 0;
    if (line[0] != '#' &&
        std::sscanf(line, "%lf %lf %lf %lf", &fr.present, &fr.wait, &fr.render, &build) == 4)
      frames.push_back(fr);
  }
  std::fclose(f);
  return frames;
}

struct Range {
  std::size_t from, to;  // log lines [from, to)
};

// Intervals are taken within each range only; drift is summed over the ranges.
void Summarise(const char* label, const std::vector<Frame>& frames,
               const std::vector<Range>& ranges) {
  std::vector<double> intervals, renders;
  int late = 0;
  double drift = 0, span = 0;
  std::size_t count = 0;
  for (Range r : ranges) {
    r.to = std::min(r.to, frames.size());
    if (r.to < r.from + 2) continue;
    for (std::size_t i = r.from + 1; i < r.to; ++i) {
      const double d = frames[i].present - frames[i - 1].present;
      intervals.push_back(d);
      // Later than a frame and a quarter: a 60 Hz display would show it a refresh late.
      if (d > kFrameMs * 1.25) ++late;
    }
    for (std::size_t i = r.from; i < r.to; ++i) renders.push_back(frames[i].render);
    const double s = frames[r.to - 1].present - frames[r.from].present;
    span += s;
    drift += s - kFrameMs * static_cast<double>(r.to - 1 - r.from);
    count += r.to - r.from;
  }
  if (intervals.empty()) {
    std::printf("%s: too few frames logged\n", label);
    return;
  }
  std::printf(
      "%s: %zu frames, interval p50 %.2f ms, p99 %.2f ms, max %.2f ms; %d late; drift "
      "against 60 Hz %+.1f ms over %.1f s; render p50 %.2f ms\n",
      label, count, Percentile(intervals, 0.5), Percentile(intervals, 0.99),
      Percentile(intervals, 1.0), late, drift, span / 1000.0, Percentile(renders, 0.5));
}

}  // namespace

int main(int argc, char** argv) {
  // "wire": the same level in wire mode, a frame that fits the budget on slow machines.
  const bool wire = argc > 1 && std::string(argv[1]) == "wire";
  if (argc > 1 && !wire) {
    const std::vector<Frame> frames = ReadLog(argv[1]);
    Summarise(argv[1], frames, {{0, frames.size()}});
    return frames.empty() ? 1 : 0;
  }
  const std::string log = "bench_pacing_frames.log";
  setenv("SILKGUARD_FRAME_LOG", log.c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  SetScreenSize(1024, 768);
  if (!OpenDisplay(1024, 768, 0, 60, 0)) return 1;
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
  if (DotImage) CenterImageHandle(DotImage);
  BackgroundOn = 1;
  LoadGameTables();
  LoadGameFigures();
  InitGlowDrawing();
  NeonMode = wire ? 0 : 1;
  ResetModeDrawing();
  busy_level::SetUpLevel(NeonMode);
  // Two-second turns each way, alternating, so both see the same machine load.
  std::vector<Range> turns[2];
  std::size_t logged = 0;
  for (int turn = 0; turn < kSecondsEach / 2; ++turn) {
    for (const bool early : {false, true}) {
      SetFinishBeforeWait(early);
      const std::size_t from = logged;
      const int start = Millisecs();
      while (Millisecs() - start < 2000) {
        busy_level::TopUpScene();
        NormalLevelFrame();
        Flip(-1);
        ++logged;
      }
      turns[early ? 1 : 0].push_back({from, logged});
    }
  }
  DotImage.reset();
  BackdropImage.reset();
  CloseDisplay();
  std::printf("%zu frames: %ld began with a kept layer; %ld sprites added back\n", logged,
              LayersShown(), SpritesShown());
  const std::vector<Frame> frames = ReadLog(log);
  Summarise("finished after the wait (before)", frames, turns[0]);
  Summarise("finished before the wait (after)", frames, turns[1]);
  return 0;
}
