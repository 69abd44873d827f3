// The window and its OpenGL compatibility context over SDL2.
#pragma once

#include <string>

// Opens (or reopens at a new size) a double-buffered OpenGL compatibility window the
// player can resize. fullscreen asks for desktop full screen. A window larger than the
// desktop is refused. On failure returns false, leaves any open window as it was and
// writes a one-line reason into *error. A reopen always makes a new context (see
// PlatformContextStamp).
bool PlatformOpenWindow(const std::string& title, int width, int height, bool fullscreen,
                        std::string* error);
void PlatformCloseWindow();

// The size of the desktop the window is on (the first one before any window), or
// false where the video driver has none: the offscreen and dummy drivers draw into
// memory, with no screen to outgrow.
bool PlatformDesktopSize(int* width, int* height);
// Scripted runs: a desktop of this size whatever the driver says; 0, 0 removes it.
void PlatformPretendDesktop(int width, int height);
bool PlatformWindowOpen();
void PlatformSetTitle(const std::string& title);

// Presents the back buffer with the given swap interval (0 no vsync, 1 vsync).
void PlatformSwap(int interval);

// Size of the drawable in pixels.
int PlatformWindowWidth();
int PlatformWindowHeight();

// The display the game asked for (width x height) lies in the drawable at this
// rectangle, in GL's bottom-up drawable pixels: as large as fits with its shape
// kept, centred, with black bars on the other sides. A window at the size asked for
// is the whole drawable at scale 1.
struct PlatformView {
  int x = 0, y = 0, w = 0, h = 0;
  double scale = 1.0;  // drawable pixels per display pixel
};
PlatformView PlatformViewRect();
PlatformView FitView(int display_w, int display_h, int drawable_w, int drawable_h);

// Changes whenever the view moves (the window resized, full screen toggled), so the
// drawing can set its viewport again.
int PlatformViewStamp();
// Called when the window reports a new size.
void PlatformWindowResized();

// Switches the open window between a window and desktop full screen, keeping its GL
// context. False with the driver's reason when it refuses; the mode is then unchanged.
bool PlatformSetFullscreen(bool on, std::string* error);
bool PlatformFullscreen();

// Maps a position in window coordinates (as SDL reports the mouse) to display
// pixels, so the mouse matches the drawing in the full-screen mode too.
void PlatformWindowToDisplay(int wx, int wy, int* dx, int* dy);

// Changes each time a new GL context is made, so textures can tell they are stale.
// 0 while no context was ever made.
int PlatformContextStamp();

// An OpenGL entry point of the live context's driver, or nullptr; the caller checks
// the context's version before trusting it.
void* PlatformGLProc(const char* name);

void PlatformShowCursor(bool show);
void PlatformWarpMouse(int x, int y);  // in display pixels

// A message box for an error the player must see, over any window or alone. Where no
// box can be shown (no desktop), nothing happens: callers also write to stderr.
void ShowErrorBox(const std::string& title, const std::string& message);
