// The display: opening and closing it, full screen, clearing, and presenting frames
// with software pacing, so the game runs at its own speed whatever the monitor.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/script.h"
#include "platform/window.h"
#include "render/draw2d.h"
#include "render/draw_context.h"
#include "render/draw_log.h"

using draw_context::display_open;
using draw_context::st;

namespace {

std::string window_title;
int display_hz = 0;
std::string display_error;
int applied_view_stamp = -1;
bool presenting = true;
void (*full_screen_listener)(bool) = nullptr;

// Software frame pacing.
int pace_target = 0;
int pace_remainder = 0;
bool finish_before_wait = true;

// SILKGUARD_FRAME_LOG=file: one line per paced frame, to measure pacing in real play.
using FrameClock = std::chrono::steady_clock;
std::FILE* frame_log = nullptr;
bool frame_log_checked = false;
FrameClock::time_point frame_log_start;
FrameClock::time_point last_present;

void OpenFrameLog() {
  frame_log_checked = true;
  const char* path = std::getenv("SILKGUARD_FRAME_LOG");
  if (path == nullptr || *path == '\0') return;
  frame_log = std::fopen(path, "w");
  if (frame_log == nullptr) {
    std::fprintf(stderr, "Silkguard: cannot write the frame log %s\n", path);
    return;
  }
  std::setvbuf(frame_log, nullptr, _IOLBF, 0);  // a killed run keeps its lines
  std::fprintf(frame_log, "# present_ms wait_ms render_ms build_ms\n");
  frame_log_start = last_present = FrameClock::now();
}

double MsSince(FrameClock::time_point from, FrameClock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Fresh context: nothing bound, nothing known, pixel-exact projection.
void ResetContext() {
  namespace dc = draw_context;
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  dc::gl_state_calls += 2;
  dc::cache_texturing = false;
  dc::cache_texture = 0;
  dc::cache_blend_known = false;
  dc::strips_doubled = false;  // a fresh context has the plain combiner
  dc::scissor_on = false;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, st.g_width, st.g_height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const PlatformView view = PlatformViewRect();
  glViewport(view.x, view.y, view.w, view.h);
  applied_view_stamp = PlatformViewStamp();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GLint max_size = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_size);
  dc::max_texture_size = max_size > 0 ? max_size : 1024;
}

// The window was resized or changed mode: the play area moves and scales with it.
void FollowView() {
  if (applied_view_stamp == PlatformViewStamp()) return;
  const PlatformView view = PlatformViewRect();
  glViewport(view.x, view.y, view.w, view.h);
  applied_view_stamp = PlatformViewStamp();
  draw_context::ApplyWholeState();  // the scissor and line widths scale with the view
}

}  // namespace

bool OpenDisplay(int width, int height, int depth, int hz, int flags) {
  (void)flags;  // window flags: the game always passes 0
  const bool fullscreen = depth > 0;
  std::string error;
  if (!PlatformOpenWindow(window_title, width, height, fullscreen, &error)) {
    display_error = error;
    return false;
  }
  // Stale errors from making the context must not be blamed on later calls.
  while (glGetError() != GL_NO_ERROR) {
  }
  display_error.clear();
  display_open = true;
  // Images held in globals outlive main(); by then the GL driver may be gone, so
  // their destructors must not reach it. Registered after the driver's own exit work.
  static const bool exit_guard = [] {
    std::atexit([] { display_open = false; });
    return true;
  }();
  (void)exit_guard;
  display_hz = std::max(hz, 0);
  draw_context::ForgetLayers();
  draw_context::SizeStateToDisplay(width, height);
  ResetContext();
  draw_context::ApplyWholeState();
  pace_target = Millisecs();
  pace_remainder = 0;
  if (fullscreen && display_hz != 0) PlatformWarpMouse(width / 2, height / 2);
  return true;
}

void CloseDisplay() {
  draw_context::ForgetLayers();  // before the context: it may hold the last image handles
  PlatformCloseWindow();
  display_open = false;
  draw_context::cache_texturing = false;
  draw_context::cache_texture = 0;
  draw_context::cache_blend_known = false;
}

bool DisplayOpen() {
  return display_open;
}

const std::string& DisplayError() {
  return display_error;
}

bool DisplayFullScreen() {
  return display_open && PlatformFullscreen();
}

bool SetDisplayFullScreen(bool on) {
  if (!display_open) return false;
  const bool was = PlatformFullscreen();
  std::string error;
  if (!PlatformSetFullscreen(on, &error)) {
    std::fprintf(stderr, "Silkguard: %s\n", error.c_str());
    return false;
  }
  FollowView();
  if (was != on && full_screen_listener) full_screen_listener(on);
  return true;
}

void OnFullScreenChange(void (*listener)(bool on)) {
  full_screen_listener = listener;
}

void SetWindowTitle(const std::string& title) {
  window_title = title;
  PlatformSetTitle(title);
}

void Cls() {
  if (!display_open) return;
  draw_context::BeforeDrawing();
  FollowView();
  draw_context::frame_untouched =
      st.clscolor_red == 0 && st.clscolor_green == 0 && st.clscolor_blue == 0;
  if (!draw_context::StartLayer()) {
    // The whole window, margins around the play area too: the scissor would otherwise
    // leave whatever the last swap left there.
    const bool scissor_on = draw_context::scissor_on;
    if (scissor_on) glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    if (scissor_on) glEnable(GL_SCISSOR_TEST);
  }
  if (DrawLogEnabled()) {
    DrawEntry e;
    e.kind = DrawKind::Clear;
    e.argb = 0xFF000000u | (static_cast<std::uint32_t>(st.clscolor_red) << 16) |
             (static_cast<std::uint32_t>(st.clscolor_green) << 8) |
             static_cast<std::uint32_t>(st.clscolor_blue);
    e.blend = st.blend_mode;
    AppendDrawLog(std::move(e));
  }
}

void Flip(int sync) {
  if (display_open) {
    draw_context::BeforeDrawing();
    draw_context::FrameShown();
    // -1 is the game's paced frame: software pacing in a window and in full screen
    // alike, without waiting for vsync, so a 120 or 144 Hz monitor plays at 60.
    const int interval = sync == 1 ? 1 : 0;
    const bool paced = sync == -1 && display_hz > 0;
    if (paced && !frame_log_checked) OpenFrameLog();
    const auto entered = FrameClock::now();
    // A software GL rasterises the whole frame inside the swap: done after the wait, the
    // frame would be shown late by its own render time, a different lateness each frame.
    if (paced && presenting && finish_before_wait) glFinish();
    const auto rendered = FrameClock::now();
    int wait = 0;
    if (paced) {
      const int step = 1000 / display_hz;
      pace_target += step;
      pace_remainder += 1000 - step * display_hz;
      if (pace_remainder >= display_hz) {
        pace_remainder -= display_hz;
        ++pace_target;
      }
      const int now = Millisecs();
      wait = pace_target - now;
      if (wait < 1) {
        pace_target = now;  // a late frame is not caught up
      } else {
        Delay(wait);
      }
    }
    const auto waited = FrameClock::now();
    if (presenting) PlatformSwap(interval);
    if (paced && frame_log != nullptr) {
      const auto presented = FrameClock::now();
      // Without the early finish the swap is where the frame is rendered.
      const double render =
          MsSince(entered, rendered) + (finish_before_wait ? 0.0 : MsSince(waited, presented));
      std::fprintf(frame_log, "%.3f %.3f %.3f %.3f\n", MsSince(frame_log_start, presented),
                   MsSince(rendered, waited), render, MsSince(last_present, entered));
      last_present = presented;
    }
  }
  PumpEvents();
  if (TakeFullScreenToggle()) SetDisplayFullScreen(!DisplayFullScreen());
  RunFrameHook();
}

void SetFinishBeforeWait(bool on) {
  finish_before_wait = on;
}

void SetPresenting(bool on) {
  presenting = on;
}

void HideMouse() {
  PlatformShowCursor(false);
}

void ShowMouse() {
  PlatformShowCursor(true);
}
