#include "screens/intro.h"

#include <cmath>
#include <cstdint>

#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "data/line_art.h"
#include "input/controls.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/glow.h"
#include "render/line_picture.h"
#include "render/screen.h"
#include "render/vector_font.h"

EntityList<IntroStars> IntroStarList;
int IntroSkip = 0;

namespace {

constexpr int kStars = 100;
constexpr std::uint32_t kStarGlow = 0xFFFFFFFFu;
constexpr std::uint32_t kMakerGlow = 0xFFFFFF00u;

void MakeStars() {
  IntroStarList.Clear();
  for (int i = 0; i < kStars; ++i) {
    IntroStars s;
    s.x = RandInt(1, 1023);
    s.y = RandInt(1, 767);
    s.color = kStarGlow;
    s.xspeed = RandReal(4, 10);
    IntroStarList.Add(s);
  }
}

// Every frame's ground: the second backdrop and the stars, streaking while they move
// and points of light once they stand.
void DrawIntroGround(bool moving) {
  Cls();
  if (Backdrop2Image) DrawImage(Backdrop2Image, ScreenOffsetX, ScreenOffsetY, 0);
  PrimeGlow();
  GlowBatch batch;
  for (IntroStars& s : IntroStarList) {
    double tail = 1;
    if (moving) {
      s.x += s.xspeed;
      if (s.x >= kPlayWidth) s.x -= kPlayWidth;
      tail = s.xspeed * 2;
    }
    batch.Line(s.x - tail, s.y, s.x, s.y, LineLook{s.color, 255, 255, 255, GlowWidth14});
  }
}

void DrawMakerLines() {
  WriteText(kIntroPresenter, 9, 5, kMakerGlow, 0, 1, 1, 0, 255, 255, 0);
  WriteText(kIntroByline, 9, 22, kMakerGlow, 0, 1, 1, 0, 255, 255, 0);
}

void CheckSkip() {
  if (MenuSelect() == 1 || KeyPresses(kVkEscape) > 0) IntroSkip = 1;
}

void SlideIn() {
  PictureAngle = 10;
  double dx = 600;
  do {
    DrawIntroGround(true);
    DrawPicture(dx);
    dx -= 10;
    Flip(-1);
    CheckSkip();
  } while (dx >= 1 && IntroSkip == 0);
}

// A damped swing about the centre; the sparkle comes on with the whoosh near its end.
void Sway() {
  PlayEffectIfOn("Boing");
  int swing = 180;
  double amplitude = 180.0;
  bool woorped = false;
  PictureZoom = 1.0;
  do {
    DrawIntroGround(false);
    DrawMakerLines();
    swing = static_cast<int>(swing - std::fmod(amplitude, 3.0));
    const int offset = static_cast<int>(Sin(swing) * amplitude);
    if (amplitude > 2.0) amplitude -= 1.5;
    DrawPicture(-offset);
    // A wobble of at most a degree, seen from the next frame on.
    PictureAngle = Sin(amplitude / 2.0 * 100.0);
    Flip(-1);
    CheckSkip();
    if (SoundOn == 1 && amplitude < 30 && !woorped) {
      Sound::Play("WoorpSND", 0);
      woorped = true;
      PictureSparkle = 1.0;
    }
  } while (amplitude >= 2.0 && IntroSkip == 0);
}

void Pulse() {
  int counter = 0;
  double phase = 1.0, wobble = 0.0;
  PictureAngle = 0;
  PictureZoom = 1;
  do {
    DrawIntroGround(false);
    DrawMakerLines();
    wobble += 4.0;
    phase += 1.25;
    PictureAngle = Sin(wobble * 200.0);
    PictureZoom = 1 + Sin(phase);
    DrawPicture(0);
    ++counter;
    Flip(-1);
    CheckSkip();
  } while (IntroSkip == 0 && counter <= 150);
}

}  // namespace

void IntroSequence() {
  IntroSkip = 0;
  MakeStars();
  LoadPicture(IntroLogoData);
  PlayEffectIfOn("Swoosh");
  SlideIn();
  Sway();
  Pulse();
  IntroStarList.Clear();
  Cls();
  Flip(-1);
  FlushKeys();
  Delay(100);
}
