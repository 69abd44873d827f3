// Display settings and the images every screen draws.
#pragma once

#include "render/draw2d.h"

// The play area is always this size, centred in the window.
inline constexpr int kPlayWidth = 1024;
inline constexpr int kPlayHeight = 768;

extern int ScreenWidth;  // window size in pixels
extern int ScreenHeight;
extern int ScreenOffsetX;  // top-left corner of the play area inside the window
extern int ScreenOffsetY;
extern int FullScreen;    // 0 window, 1 full screen
extern int BackgroundOn;  // 1 draws the backdrop behind the scene

extern ImageHandle DotImage;        // glow texture, handle centred
extern ImageHandle BackdropImage;   // behind the web
extern ImageHandle Backdrop2Image;  // the intro's backdrop

// Sets the window size and centres the play area in it.
void SetScreenSize(int width, int height);

// Reopens the display at a new size, as a window or, when FullScreen is 1, full screen,
// and centres the play area in it. A size that cannot be opened keeps the display and
// the size as they were, says why on stderr and gives false.
bool ChangeDisplaySize(int width, int height);

// BackdropImage over the play area, when BackgroundOn is 1.
void DrawBackdrop();
