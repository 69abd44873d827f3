#include "render/screen.h"

#include <cstdio>

int ScreenWidth = 1024;
int ScreenHeight = 768;
int ScreenOffsetX = 0;
int ScreenOffsetY = 0;
int FullScreen = 0;
int BackgroundOn = 0;

ImageHandle DotImage;
ImageHandle BackdropImage;
ImageHandle Backdrop2Image;

void SetScreenSize(int width, int height) {
  ScreenWidth = width;
  ScreenHeight = height;
  ScreenOffsetX = (width - kPlayWidth) / 2;
  ScreenOffsetY = (height - kPlayHeight) / 2;
}

bool ChangeDisplaySize(int width, int height) {
  const bool full = FullScreen == 1;
  // A full-screen request passes its colour depth as 60: any depth above 0 asks for it.
  if (!OpenDisplay(width, height, full ? 60 : 0, 60, 0)) {
    std::fprintf(stderr, "Silkguard: cannot open a %dx%d %s (%s); staying at %dx%d\n", width,
                 height, full ? "full screen" : "window", DisplayError().c_str(), ScreenWidth,
                 ScreenHeight);
    return false;
  }
  SetScreenSize(width, height);
  return true;
}

void DrawBackdrop() {
  if (BackgroundOn == 1) DrawImage(BackdropImage, ScreenOffsetX, ScreenOffsetY, 0);
}
