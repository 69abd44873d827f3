#include "render/screen.h"

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

void DrawBackdrop() {
  if (BackgroundOn == 1) DrawImage(BackdropImage, ScreenOffsetX, ScreenOffsetY, 0);
}
