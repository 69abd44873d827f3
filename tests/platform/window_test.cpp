// The SDL window and its GL context: immediate mode must draw what we read back.
#include "platform/window.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class WindowTest : public testing::Test {
 protected:
  void TearDown() override { PlatformCloseWindow(); }
};

void SetUpPixelProjection(int w, int h) {
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

// Red channel of the pixel at (x, y) from the top-left.
int RedAt(int x, int y, int h) {
  unsigned char px[4] = {0, 0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  return px[0];
}

TEST_F(WindowTest, ImmediateModeDrawsAndReadsBack) {
  std::string error;
  ASSERT_TRUE(PlatformOpenWindow("test", 160, 120, false, &error)) << error;
  EXPECT_TRUE(PlatformWindowOpen());
  EXPECT_EQ(PlatformWindowWidth(), 160);
  EXPECT_EQ(PlatformWindowHeight(), 120);
  GLint alpha_bits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alpha_bits);
  EXPECT_EQ(alpha_bits, 8);

  SetUpPixelProjection(160, 120);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor4ub(255, 0, 0, 255);
  glBegin(GL_QUADS);
  glVertex2f(10, 20);
  glVertex2f(30, 20);
  glVertex2f(30, 25);
  glVertex2f(10, 25);
  glEnd();
  glFinish();
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_EQ(RedAt(10, 20, 120), 255);
  EXPECT_EQ(RedAt(29, 24, 120), 255);
  EXPECT_EQ(RedAt(30, 24, 120), 0);
  EXPECT_EQ(RedAt(10, 25, 120), 0) << "y runs downwards from the top";
  PlatformSwap(0);
  PlatformSwap(1);
}

TEST_F(WindowTest, ReopenMakesANewContextAndFailureKeepsTheOld) {
  std::string error;
  ASSERT_TRUE(PlatformOpenWindow("a", 160, 120, false, &error)) << error;
  const int first = PlatformContextStamp();
  EXPECT_GT(first, 0);
  ASSERT_TRUE(PlatformOpenWindow("b", 200, 100, false, &error)) << error;
  EXPECT_EQ(PlatformContextStamp(), first + 1);
  EXPECT_EQ(PlatformWindowWidth(), 200);
  EXPECT_EQ(PlatformWindowHeight(), 100);

  error.clear();
  EXPECT_FALSE(PlatformOpenWindow("c", 0, 100, false, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
  EXPECT_TRUE(PlatformWindowOpen());
  EXPECT_EQ(PlatformContextStamp(), first + 1);
  EXPECT_EQ(PlatformWindowWidth(), 200);
  // The old context is still current and usable.
  EXPECT_NE(glGetString(GL_VERSION), nullptr);

  PlatformCloseWindow();
  EXPECT_FALSE(PlatformWindowOpen());
  EXPECT_EQ(PlatformWindowWidth(), 0);
  ASSERT_TRUE(PlatformOpenWindow("d", 64, 64, false, &error)) << error;
  EXPECT_EQ(PlatformContextStamp(), first + 2);
}

TEST_F(WindowTest, FullScreenCentresTheDisplayInTheDesktop) {
  std::string error;
  ASSERT_TRUE(PlatformOpenWindow("fs", 320, 200, true, &error)) << error;
  const int dw = PlatformWindowWidth(), dh = PlatformWindowHeight();
  const PlatformView v = PlatformViewRect();
  ASSERT_GT(v.scale, 0);
  EXPECT_LE(v.w, dw);
  EXPECT_LE(v.h, dh);
  EXPECT_EQ(v.w, static_cast<int>(320 * v.scale));
  EXPECT_EQ(v.x, (dw - v.w) / 2);
  EXPECT_NEAR(v.y, (dh - v.h) / 2.0, 1.0);
  // The display's centre is where the drawable's centre is.
  int x = 0, y = 0;
  PlatformWindowToDisplay(dw / 2, dh / 2, &x, &y);
  EXPECT_NEAR(x, 160, 1 / v.scale + 1);
  EXPECT_NEAR(y, 100, 1 / v.scale + 1);
}

}  // namespace
