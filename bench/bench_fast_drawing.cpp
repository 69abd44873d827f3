// The faster drawing paths against the plain ones, side by side in one run: a busy
// neon level frame, the same in wire, and the web with 40 lines of neon text, at
// 1024x768 through the offscreen llvmpipe context. Blocks of frames alternate between
// the plain paths, the fast ones without kept layers and sprites (queued wire lines, the
// copied backdrop, the single-pass web: the renderer before them) and all of them, so
// all three see the same machine load; medians are reported as shares of the 16.7 ms
// frame.
//
// The look: each scene is drawn from the same state both ways and the two frames are
// compared pixel by pixel (largest channel difference and PSNR); both are written as
// PNGs to the folder given by SILKGUARD_BENCH_PNG (default: the working folder).
#include <GL/gl.h>
#include <png.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/hud.h"
#include "app/tables.h"
#include "app/wave_queue.h"
#include "arena/bullets.h"
#include "arena/eggs.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/grubs.h"
#include "arena/hits.h"
#include "arena/insects.h"
#include "arena/level_start.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "bench_stats.h"
#include "busy_level.h"
#include "embedded_assets.h"
#include "platform/clock.h"
#include "platform/geometry.h"
#include "platform/random.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

using busy_level::SetUpLevel;
using busy_level::TopUpScene;

using Clock = std::chrono::steady_clock;

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kWidth = 1024, kHeight = 768;
constexpr int kBlocks = 6;
constexpr int kFramesPerBlock = 15;
constexpr int kSettleFrames = 12;  // frames run before a compared frame

constexpr const char* kText[4] = {
    "the spider walks the web: cursor keys ok",
    "fire with w a s d - 8 ways, 4 shots max!",
    "red strands stop you, green stop insects",
    "bonus life at 20000, 100000 & 1,000,000.",
};

void WebAndTextFrame() {
  Cls();
  DrawBackdrop();
  PrimeGlow();
  DrawWeb();
  for (int line = 0; line < 40; ++line) {
    const bool odd = line % 2 == 1;
    WriteText(kText[line % 4], 0.5, line + 0.5, odd ? 0xFFFF40FF : 0xFF80FF40, 0, 0.65, 0.65, 0,
              odd ? 255 : 128, odd ? 64 : 255, odd ? 255 : 64);
  }
}

struct Scene {
  const char* name;
  int neon;
  bool level;  // a game level (state moves on each frame) or the web and text (still)
  double goal_share;
};

void SetUp(const Scene& s) {
  NeonMode = s.neon;
  ResetModeDrawing();
  if (s.level) {
    SetUpLevel(s.neon);
  } else {
    BeginLevel(1);
  }
}

void DrawOnce(const Scene& s) {
  if (s.level) {
    TopUpScene();
    NormalLevelFrame();
  } else {
    WebAndTextFrame();
  }
}

std::vector<std::uint8_t> ReadBack() {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kWidth) * kHeight * 4);
  FinishDrawing();
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

bool SavePng(const std::string& path, const std::vector<std::uint8_t>& rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = kWidth;
  image.height = kHeight;
  image.format = PNG_FORMAT_RGBA;
  // Rows come bottom-up from GL.
  const png_int_32 stride = -static_cast<png_int_32>(kWidth * 4);
  return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), stride, nullptr) != 0;
}

// A level frame that draws the scene as it stands, moving nothing: the frame the game
// draws while frozen.
void StillLevelFrame() {
  Cls();
  DrawWeb();
  DrawGrubs();
  DrawEggs();
  DrawPlayerSpider(0);
  DrawEnemies();
  DrawBullets();
  DrawExplosions();
  DrawHud(1);
}

// The same state drawn the plain way and the fast way, after kSettleFrames of play.
void Capture(const Scene& s, std::vector<std::uint8_t>* before, std::vector<std::uint8_t>* after) {
  SetFastDrawing(true);
  SetUp(s);
  for (int i = 0; i < kSettleFrames; ++i) {
    DrawOnce(s);
    Flip(0);
  }
  for (const bool fast : {false, true}) {
    SetFastDrawing(fast);
    if (s.level) {
      StillLevelFrame();
    } else {
      WebAndTextFrame();
    }
    *(fast ? after : before) = ReadBack();
    Flip(0);
  }
}

void CompareLook(const Scene& s, const std::string& folder) {
  std::vector<std::uint8_t> before, after;
  Capture(s, &before, &after);
  int worst = 0;
  long differing = 0;
  double squares = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (i % 4 == 3) continue;  // alpha is not shown
    const int d = std::abs(static_cast<int>(before[i]) - static_cast<int>(after[i]));
    worst = std::max(worst, d);
    differing += d != 0;
    squares += static_cast<double>(d) * d;
  }
  const double mse = squares / (static_cast<double>(kWidth) * kHeight * 3);
  const double psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : INFINITY;
  const std::string stem = folder + "/" + s.name;
  const bool saved = SavePng(stem + "_before.png", before) && SavePng(stem + "_after.png", after);
  std::printf("%-14s look: max channel difference %d (%s), %ld channels differ, PSNR %.1f dB%s\n",
              s.name, worst, worst <= 2 ? "within 2" : "OVER 2", differing, psnr,
              saved ? "" : " (PNGs not written)");
}

// The three ways a frame can be drawn: the plain paths, the fast paths without kept
// layers and sprites (the renderer before them), and everything.
enum Way { kPlain, kNoLayers, kAll };

void UseWay(Way way) {
  SetFastDrawing(way != kPlain);
  SetLayerCache(way == kAll);
}

void CompareTime(const Scene& s) {
  std::vector<double> times[3];
  for (int block = 0; block < kBlocks; ++block) {
    for (const Way way : {kPlain, kNoLayers, kAll}) {
      UseWay(way);
      SetUp(s);
      for (int i = 0; i < kFramesPerBlock; ++i) {
        if (s.level) TopUpScene();
        glFinish();
        const auto start = Clock::now();
        if (s.level) {
          NormalLevelFrame();
        } else {
          WebAndTextFrame();
        }
        Flip(0);
        glFinish();
        times[way].push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      }
    }
  }
  UseWay(kAll);
  auto share = [](const std::vector<double>& t, double p) {
    return 100 * Percentile(t, p) / kFrameMs;
  };
  std::printf(
      "%-14s time: median %.2f / %.2f / %.2f ms = %.0f%% / %.0f%% / %.0f%% of the frame "
      "(p95 %.0f%% / %.0f%% / %.0f%%; goal < %.0f%%: %s)\n",
      s.name, Percentile(times[kPlain], 0.5), Percentile(times[kNoLayers], 0.5),
      Percentile(times[kAll], 0.5), share(times[kPlain], 0.5), share(times[kNoLayers], 0.5),
      share(times[kAll], 0.5), share(times[kPlain], 0.95), share(times[kNoLayers], 0.95),
      share(times[kAll], 0.95), 100 * s.goal_share,
      share(times[kAll], 0.5) < 100 * s.goal_share ? "met" : "not met");
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  // The game's timers follow the virtual clock, so both ways see the same states.
  UseVirtualClock();
  SetScreenSize(kWidth, kHeight);
  if (!OpenDisplay(kWidth, kHeight, 0, 0, 0)) return 1;
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  BackdropImage = LoadImage("IncBin::res\\backdrop1.png", -1);
  if (DotImage) CenterImageHandle(DotImage);
  BackgroundOn = 1;
  GlowAmount = 0;
  RecomputeGlowWidths();
  LoadGameTables();
  LoadGameFigures();
  InitGlowDrawing();
  const char* folder_env = std::getenv("SILKGUARD_BENCH_PNG");
  const std::string folder = folder_env != nullptr && *folder_env != '\0' ? folder_env : ".";

  const Scene scenes[] = {
      {"level_neon", 1, true, 0.5},
      {"web_text_neon", 1, false, 0.25},
      {"level_wire", 0, true, 0.1},
  };
  std::printf(
      "look: the plain paths (before) against all the fast ones (after); time: plain / fast "
      "paths without kept layers and sprites / all (shares of 16.7 ms)\n");
  for (const Scene& s : scenes) {
    CompareLook(s, folder);
    CompareTime(s);
  }
  SetFastDrawing(true);
  DotImage.reset();  // textures must go before the GL context does
  BackdropImage.reset();
  CloseDisplay();
  return 0;
}
