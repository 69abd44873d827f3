#include "platform/window.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
bool video_started = false;
int context_stamp = 0;
int display_w = 0, display_h = 0;  // what the game asked for
int swap_interval = -1;            // last interval set on this context; -1 unknown
bool fullscreen_now = false;
int view_stamp = 0;
PlatformView view;
int pretend_desktop_w = 0, pretend_desktop_h = 0;

void SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + SDL_GetError();
}

void UpdateView() {
  int dw = 0, dh = 0;
  SDL_GL_GetDrawableSize(window, &dw, &dh);
  view = FitView(display_w, display_h, dw, dh);
  ++view_stamp;
}

// A core-profile or broken context has no fixed-function pipeline; the game needs it.
bool ContextUsable(std::string* error) {
  const GLubyte* version = glGetString(GL_VERSION);
  if (!version) {
    if (error) *error = "OpenGL context gives no version";
    return false;
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (glGetError() != GL_NO_ERROR) {
    if (error) *error = "OpenGL context has no fixed-function pipeline";
    return false;
  }
  return true;
}

}  // namespace

PlatformView FitView(int display_w, int display_h, int drawable_w, int drawable_h) {
  PlatformView v;
  if (display_w <= 0 || display_h <= 0) return v;
  if (drawable_w <= 0 || drawable_h <= 0) {  // some drivers report nothing: trust the request
    drawable_w = display_w;
    drawable_h = display_h;
  }
  v.scale = std::min(static_cast<double>(drawable_w) / display_w,
                     static_cast<double>(drawable_h) / display_h);
  // Whole pixels, and never a bar of one pixel from rounding at scale 1.
  v.w = std::min(drawable_w, static_cast<int>(display_w * v.scale + 0.5));
  v.h = std::min(drawable_h, static_cast<int>(display_h * v.scale + 0.5));
  v.x = (drawable_w - v.w) / 2;
  const int top = (drawable_h - v.h) / 2;
  v.y = drawable_h - top - v.h;
  return v;
}

bool PlatformOpenWindow(const std::string& title, int width, int height, bool fullscreen,
                        std::string* error) {
  if (width <= 0 || height <= 0) {
    if (error) *error = "window size must be positive";
    return false;
  }
  if (!video_started) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      SetError(error, "cannot start SDL video");
      return false;
    }
    // Keeps the GL driver loaded while no window exists: SDL would unload it with the
    // last window and load it again for the next (and the driver leaks each time).
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
      SetError(error, "cannot load OpenGL");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    video_started = true;
  }

  // Part of a larger window would lie off the screen, out of the player's reach.
  if (int dw = 0, dh = 0;
      !fullscreen && PlatformDesktopSize(&dw, &dh) && (width > dw || height > dh)) {
    if (error)
      *error = "a " + std::to_string(width) + "x" + std::to_string(height) +
               " window is larger than the " + std::to_string(dw) + "x" + std::to_string(dh) +
               " desktop";
    return false;
  }

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);

  Uint32 wflags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
  if (fullscreen) wflags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
  SDL_Window* new_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                            SDL_WINDOWPOS_CENTERED, width, height, wflags);
  if (!new_window) {
    SetError(error, "cannot create the window");
    return false;
  }
  SDL_GLContext new_context = SDL_GL_CreateContext(new_window);
  std::string reason;
  bool ok = new_context != nullptr;
  if (!ok) SetError(&reason, "cannot create an OpenGL context");
  if (ok && !ContextUsable(&reason)) ok = false;
  if (!ok) {
    if (new_context) SDL_GL_DeleteContext(new_context);
    SDL_DestroyWindow(new_window);
    if (window && context) SDL_GL_MakeCurrent(window, context);
    if (error) *error = reason;
    return false;
  }

  // The old context goes with its window; its textures are gone with it.
  if (context) SDL_GL_DeleteContext(context);
  if (window) SDL_DestroyWindow(window);
  SDL_GL_MakeCurrent(new_window, new_context);
  window = new_window;
  context = new_context;
  ++context_stamp;
  display_w = width;
  display_h = height;
  swap_interval = -1;
  fullscreen_now = fullscreen;
  // The smallest window still shows the whole play area legibly.
  SDL_SetWindowMinimumSize(window, std::max(width / 4, 1), std::max(height / 4, 1));
  UpdateView();
  return true;
}

void PlatformCloseWindow() {
  if (context) SDL_GL_DeleteContext(context);
  if (window) SDL_DestroyWindow(window);
  context = nullptr;
  window = nullptr;
  display_w = display_h = 0;
  fullscreen_now = false;
  view = PlatformView{};
  ++view_stamp;
  // SDL video and the GL driver stay loaded for the next window.
}

bool PlatformDesktopSize(int* width, int* height) {
  if (pretend_desktop_w > 0 && pretend_desktop_h > 0) {
    *width = pretend_desktop_w;
    *height = pretend_desktop_h;
    return true;
  }
  const char* driver = video_started ? SDL_GetCurrentVideoDriver() : nullptr;
  if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
      std::strcmp(driver, "dummy") == 0)
    return false;
  int index = window ? SDL_GetWindowDisplayIndex(window) : 0;
  if (index < 0) index = 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(index, &mode) != 0 || mode.w <= 0 || mode.h <= 0) return false;
  *width = mode.w;
  *height = mode.h;
  return true;
}

void PlatformPretendDesktop(int width, int height) {
  pretend_desktop_w = width;
  pretend_desktop_h = height;
}

bool PlatformWindowOpen() {
  return window != nullptr;
}

void PlatformSetTitle(const std::string& title) {
  if (window) SDL_SetWindowTitle(window, title.c_str());
}

void PlatformSwap(int interval) {
  if (!window) return;
  if (interval != swap_interval) {
    // Not every driver can change it (offscreen cannot); presenting goes on anyway.
    SDL_GL_SetSwapInterval(interval);
    swap_interval = interval;
  }
  SDL_GL_SwapWindow(window);
}

void* PlatformGLProc(const char* name) {
  if (!context) return nullptr;
  return SDL_GL_GetProcAddress(name);
}

int PlatformWindowWidth() {
  if (!window) return 0;
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  return w > 0 ? w : display_w;
}

int PlatformWindowHeight() {
  if (!window) return 0;
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  return h > 0 ? h : display_h;
}

PlatformView PlatformViewRect() {
  return view;
}

int PlatformViewStamp() {
  return view_stamp;
}

void PlatformWindowResized() {
  if (window) UpdateView();
}

bool PlatformSetFullscreen(bool on, std::string* error) {
  if (!window) {
    if (error) *error = "no window is open";
    return false;
  }
  if (on == fullscreen_now) return true;
  if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    SetError(error, on ? "cannot switch to full screen" : "cannot switch to a window");
    return false;
  }
  fullscreen_now = on;
  UpdateView();
  return true;
}

bool PlatformFullscreen() {
  return window && fullscreen_now;
}

void PlatformWindowToDisplay(int wx, int wy, int* dx, int* dy) {
  int dh = PlatformWindowHeight();
  const int left = view.x;
  const int top = dh - view.y - view.h;
  const double s = view.scale > 0 ? view.scale : 1.0;
  if (dx) *dx = static_cast<int>((wx - left) / s);
  if (dy) *dy = static_cast<int>((wy - top) / s);
}

int PlatformContextStamp() {
  return context_stamp;
}

void PlatformShowCursor(bool show) {
  if (!video_started) return;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void PlatformWarpMouse(int x, int y) {
  if (!window) return;
  const int dh = PlatformWindowHeight();
  const int top = dh - view.y - view.h;
  SDL_WarpMouseInWindow(window, view.x + static_cast<int>(x * view.scale),
                        top + static_cast<int>(y * view.scale));
}

void ShowErrorBox(const std::string& title, const std::string& message) {
  // The offscreen and dummy drivers have no desktop to show it on.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && (std::string(driver) == "offscreen" || std::string(driver) == "dummy")) return;
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), window);
}
