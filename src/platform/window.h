// The window and its OpenGL compatibility context over SDL2.
#pragma once

#include <string>

// Opens (or reopens at a new size) a double-buffered OpenGL compatibility window.
// fullscreen asks for the desktop-sized borderless mode. On failure returns false,
// leaves any open window as it was and writes a one-line reason into *error.
bool PlatformOpenWindow(const std::string& title, int width, int height, bool fullscreen,
                        std::string* error);
void PlatformCloseWindow();
bool PlatformWindowOpen();
void PlatformSetTitle(const std::string& title);

// Presents the back buffer with the given swap interval (0 no vsync, 1 vsync).
void PlatformSwap(int interval);

// Size of the drawable in pixels.
int PlatformWindowWidth();
int PlatformWindowHeight();

// Changes each time a new GL context is made, so textures can tell they are stale.
int PlatformContextStamp();

void PlatformShowCursor(bool show);
void PlatformWarpMouse(int x, int y);
