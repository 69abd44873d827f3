// Opening and reopening the display, and presenting paced frames.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/script.h"
#include "platform/window.h"
#include "render/draw2d.h"
#include "render/draw_fixture.h"
#include "render/draw_log.h"

namespace {

using drawtest::kH;
using drawtest::kW;
using drawtest::ReadBack;
using drawtest::SolidImage;

class PacingTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock(5000);
    ResetFrameNumber();
  }
  void TearDown() override {
    SetFrameHook({});
    UseRealClock();
  }
  // Virtual milliseconds that each of n paced flips took.
  static std::vector<int> FlipLengths(int n) {
    std::vector<int> lengths;
    for (int i = 0; i < n; ++i) {
      const int before = Millisecs();
      Flip(-1);
      lengths.push_back(Millisecs() - before);
    }
    return lengths;
  }
  static int Sum(const std::vector<int>& v) {
    int s = 0;
    for (int x : v) s += x;
    return s;
  }
};

TEST_F(PacingTest, SixtyHertzAddsUpToWholeSeconds) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  const auto second = FlipLengths(60);
  EXPECT_EQ(Sum(second), 1000);
  int long_frames = 0;
  for (int len : second) {
    EXPECT_TRUE(len == 16 || len == 17) << len;
    long_frames += len == 17;
  }
  EXPECT_EQ(long_frames, 40);
  EXPECT_EQ(second[0], 16);
  EXPECT_EQ(second[1], 17);
  EXPECT_EQ(Sum(FlipLengths(600)), 10000);
  EXPECT_EQ(FrameNumber(), 660) << "the frame hook counts every flip";
}

TEST_F(PacingTest, LateFrameIsNotCaughtUp) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  FlipLengths(10);
  Delay(50);  // a slow frame
  const int before = Millisecs();
  Flip(-1);
  EXPECT_EQ(Millisecs(), before) << "already late: no sleep";
  const auto after = FlipLengths(30);
  for (int len : after) EXPECT_TRUE(len == 16 || len == 17) << len;
  EXPECT_EQ(Sum(after), 500);
}

TEST_F(PacingTest, OtherHzAndUnpacedModes) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 75, 0)) << DisplayError();
  EXPECT_EQ(Sum(FlipLengths(75)), 1000);
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 0, 0)) << DisplayError();
  EXPECT_EQ(Sum(FlipLengths(10)), 0) << "no hz: no software pacing";
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  const int before = Millisecs();
  Flip(0);
  Flip(1);
  EXPECT_EQ(Millisecs(), before) << "explicit intervals do not pace in software";
}

TEST_F(PacingTest, FrameHookCanEndTheRunFromFlip) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  int seen = 0;
  SetFrameHook([&](int frame) {
    seen = frame;
    if (frame == 3) throw ScriptStop{};
  });
  EXPECT_THROW(
      {
        for (int i = 0; i < 10; ++i) Flip(-1);
      },
      ScriptStop);
  EXPECT_EQ(seen, 3);
}

TEST_F(PacingTest, FullScreenScalesTheDisplayToFitAndStillPacesInSoftware) {
  ASSERT_TRUE(OpenDisplay(320, 200, 60, 60, 0)) << DisplayError();
  EXPECT_TRUE(DisplayFullScreen());
  ResetDrawState();
  const PlatformView v = PlatformViewRect();
  ASSERT_GT(v.scale, 1.0) << "the offscreen desktop is larger than 320 x 200";
  EXPECT_NEAR(static_cast<double>(v.w) / v.h, 320.0 / 200.0, 0.01) << "shape kept";
  SetBlend(BLEND_SOLID);
  SetClsColor(0, 0, 0);
  Cls();
  SetColor(255, 0, 0);
  DrawRect(0, 0, 2, 2);
  FinishDrawing();
  glFinish();
  auto red_at = [](int x, int y_up) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, y_up, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return static_cast<int>(p[0]);
  };
  const int top_row = v.y + v.h - 1;  // GL rows count from the bottom
  EXPECT_EQ(red_at(v.x, top_row), 255) << "display (0, 0) is the view's top-left";
  EXPECT_EQ(red_at(v.x + static_cast<int>(2 * v.scale) - 1, top_row), 255) << "scaled up";
  if (v.y + v.h < PlatformWindowHeight()) {
    EXPECT_EQ(red_at(v.x, top_row + 1), 0) << "the bar above stays black";
  }
  SetViewport(10, 20, 50, 40);
  GLint box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], v.x + static_cast<int>(10 * v.scale));
  EXPECT_EQ(box[1], v.y + static_cast<int>((200 - 20 - 40) * v.scale));

  // A 144 Hz monitor whose driver forces vsync: every swap waits for its next
  // vertical blank (about 7 ms). The game still makes 60 frames a second.
  SetFrameHook([](int) { Delay(7); });
  const int before = Millisecs();
  FlipLengths(600);
  // Ten seconds, and the last swap's wait that the next frame absorbs.
  EXPECT_EQ(Millisecs() - before, 10000 + 7);
  SetFrameHook({});
  ResetDrawState();
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 0, 0)) << DisplayError();
}

TEST(DisplayViewTest, FitsWithTheShapeKeptAndBarsOnTheOtherSides) {
  const PlatformView same = FitView(1024, 768, 1024, 768);
  EXPECT_EQ(same.scale, 1.0);
  EXPECT_EQ(same.x, 0);
  EXPECT_EQ(same.y, 0);
  EXPECT_EQ(same.w, 1024);
  EXPECT_EQ(same.h, 768);
  // A 16:9 desktop: bars left and right.
  const PlatformView wide = FitView(1024, 768, 1920, 1080);
  EXPECT_DOUBLE_EQ(wide.scale, 1080.0 / 768);
  EXPECT_EQ(wide.h, 1080);
  EXPECT_EQ(wide.w, 1440);
  EXPECT_EQ(wide.x, 240);
  EXPECT_EQ(wide.y, 0);
  // A tall window: bars above and below, GL's bottom-up y.
  const PlatformView tall = FitView(1024, 768, 512, 700);
  EXPECT_DOUBLE_EQ(tall.scale, 0.5);
  EXPECT_EQ(tall.w, 512);
  EXPECT_EQ(tall.h, 384);
  EXPECT_EQ(tall.y, 700 - 158 - 384);
  // Odd sizes never reach past the drawable.
  const PlatformView odd = FitView(1024, 768, 1023, 767);
  EXPECT_LE(odd.x + odd.w, 1023);
  EXPECT_LE(odd.y + odd.h, 767);
  // Drivers that report no drawable size: the request is trusted.
  const PlatformView none = FitView(800, 600, 0, 0);
  EXPECT_EQ(none.w, 800);
  EXPECT_EQ(none.h, 600);
}

TEST(DisplayTest, ResizingTheWindowOrSwitchingModesMovesThePlayArea) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  ResetDrawState();
  EXPECT_FALSE(DisplayFullScreen());
  const int stamp = PlatformViewStamp();
  ASSERT_TRUE(SetDisplayFullScreen(true));
  EXPECT_TRUE(DisplayFullScreen());
  EXPECT_NE(PlatformViewStamp(), stamp);
  const PlatformView full = PlatformViewRect();
  EXPECT_EQ(full.w, static_cast<int>(kW * full.scale + 0.5));
  Cls();  // follows the view: the viewport is the new play area
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[0], full.x);
  EXPECT_EQ(vp[2], full.w);
  EXPECT_EQ(vp[3], full.h);
  ASSERT_TRUE(SetDisplayFullScreen(false));
  EXPECT_FALSE(DisplayFullScreen());
  Cls();
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], PlatformViewRect().w);

  // Alt+Enter is the window's: the game's Enter key never sees it.
  static bool told = false;
  told = false;
  OnFullScreenChange([](bool on) { told = on; });
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_RETURN;
  e.key.keysym.mod = KMOD_LALT;
  SDL_PushEvent(&e);
  e.type = SDL_KEYUP;
  SDL_PushEvent(&e);
  Delay(2);
  Flip(0);
  EXPECT_TRUE(DisplayFullScreen());
  EXPECT_TRUE(told) << "the setting follows the switch";
  EXPECT_EQ(KeyPresses(kVkEnter), 0);
  OnFullScreenChange(nullptr);
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  EXPECT_FALSE(DisplayFullScreen()) << "reopening as a window leaves full screen";
}

TEST(DisplayTest, ReopeningKeepsTheStateAndRemakesTextures) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  ResetDrawState();
  ImageHandle img = SolidImage("res\\reopen.png", 8, 8, 255, 255, 255);
  ASSERT_TRUE(img);
  TGLImageFrame* f = GetImageFrame(img, 0);
  ASSERT_NE(f, nullptr);
  const int old_stamp = f->seq;
  EXPECT_EQ(old_stamp, PlatformContextStamp());

  SetColor(10, 20, 30);
  SetAlpha(0.5);
  SetBlend(BLEND_ALPHA);
  SetClsColor(0, 0, 255);
  SetViewport(16, 32, 200, 100);
  ASSERT_TRUE(OpenDisplay(400, 300, 0, 60, 0)) << DisplayError();
  EXPECT_NE(PlatformContextStamp(), old_stamp);
  const DrawState& s = CurrentDrawState();
  EXPECT_EQ(s.g_width, 400);
  EXPECT_EQ(s.g_height, 300);
  EXPECT_EQ(s.color_red, 10);
  EXPECT_EQ(s.blend_mode, BLEND_ALPHA);

  // The new context holds the same state.
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], 10 / 255.0, 1e-3);
  EXPECT_NEAR(c[2], 30 / 255.0, 1e-3);
  EXPECT_NEAR(c[3], 127 / 255.0, 1e-3);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  GLint dst = 0;
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
  GLfloat k[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, k);
  EXPECT_NEAR(k[2], 1.0, 1e-3);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  GLint box[4];
  glGetIntegerv(GL_SCISSOR_BOX, box);
  EXPECT_EQ(box[0], 16);
  EXPECT_EQ(box[1], 300 - 32 - 100);
  EXPECT_EQ(box[2], 200);
  EXPECT_EQ(box[3], 100);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 400);
  EXPECT_EQ(vp[3], 300);

  // The image is drawn from a texture of the new context.
  EXPECT_NE(img->frames[0].seq, PlatformContextStamp());
  SetBlend(BLEND_SOLID);
  SetColor(255, 255, 255);
  DrawImage(img, 20, 40);
  EXPECT_EQ(img->frames[0].seq, PlatformContextStamp());
  EXPECT_TRUE(glIsTexture(img->frames[0].name));
  EXPECT_EQ(ReadBack(23, 43).r, 255);
  EXPECT_EQ(ReadBack(23, 43).b, 255);
  ResetDrawState();
}

TEST(DisplayTest, FailedOpenLeavesTheDisplayAsItWas) {
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 60, 0)) << DisplayError();
  SetColor(1, 2, 3);
  const int stamp = PlatformContextStamp();
  EXPECT_FALSE(OpenDisplay(0, 600, 0, 60, 0));
  EXPECT_FALSE(OpenDisplay(-5, -5, 0, 60, 0));
  EXPECT_FALSE(DisplayError().empty());
  EXPECT_TRUE(DisplayOpen());
  EXPECT_EQ(PlatformContextStamp(), stamp);
  EXPECT_EQ(CurrentDrawState().g_width, kW);
  EXPECT_EQ(CurrentDrawState().color_red, 1);
  SetColor(255, 0, 0);
  SetBlend(BLEND_SOLID);
  DrawRect(0, 0, 4, 4);
  EXPECT_EQ(ReadBack(1, 1).r, 255) << "the old context still draws";
  ResetDrawState();
}

TEST(DisplayTest, DrawingWithoutADisplayIsHarmless) {
  CloseDisplay();
  EXPECT_FALSE(DisplayOpen());
  EnableDrawLog(true);
  ClearDrawLog();
  SetColor(9, 9, 9);
  SetBlend(BLEND_ADD);
  SetViewport(1, 2, 3, 4);
  Cls();
  DrawLine(0, 0, 5, 5);
  DrawOval(0, 0, 5, 5);
  DrawText("hello", 0, 0);
  ImageHandle img = LoadImage("IncBin::res\\nothing.png", -1);
  DrawImage(img, 0, 0);
  EXPECT_TRUE(GetDrawLog().empty());
  EnableDrawLog(false);
  EXPECT_EQ(CurrentDrawState().color_red, 9);
  EXPECT_EQ(CurrentDrawState().blend_mode, BLEND_ADD);
  // The state set meanwhile is applied when a display opens.
  ASSERT_TRUE(OpenDisplay(kW, kH, 0, 0, 0)) << DisplayError();
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  EXPECT_NEAR(c[0], 9 / 255.0, 1e-3);
  EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
  ResetDrawState();
}

}  // namespace
