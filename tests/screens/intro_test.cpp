// The intro: its length, the skip, and when the crest sparkles.
#include "screens/intro.h"

#include <vector>

#include "render/line_picture.h"
#include "sound_probe.h"
#include "support/pixels.h"

namespace {

class IntroTest : public SoundScreenTest {};

constexpr int kSlideFrames = 60, kSwayFrames = 119, kPulseFrames = 151;

TEST_F(IntroTest, ARunUntouchedLastsItsPhasesThenOneEmptyFrameAndLeavesNoStars) {
  SoundOn = 0;
  std::vector<double> zooms;
  int stars_during = -1;
  script.At(5, [&] { stars_during = static_cast<int>(IntroStarList.Count()); });
  script.EachFrame([&](int) { zooms.push_back(PictureZoom); });
  IntroSequence();
  EXPECT_EQ(script.Frames(), kSlideFrames + kSwayFrames + kPulseFrames + 1);
  EXPECT_EQ(stars_during, 100);
  EXPECT_EQ(IntroStarList.Count(), 0u);
  // The pulse grows the crest to about twice its size and back just below it.
  double largest = 0;
  for (double z : zooms) largest = std::max(largest, z);
  EXPECT_NEAR(largest, 2.0, 0.01);
  EXPECT_LT(zooms[static_cast<std::size_t>(kSlideFrames + kSwayFrames + kPulseFrames - 1)], 1.0);
}

TEST_F(IntroTest, EscapeInTheSlideInEndsItThenTheSwayAndThePulseRunOneFrameEach) {
  SoundOn = 1;
  bool swoosh = false;
  script.At(1, [&] { swoosh = Played("swoosh"); });
  script.Press(10, kVkEscape);
  IntroSequence();
  EXPECT_EQ(script.Frames(), 10 + 1 + 1 + 1);
  EXPECT_TRUE(swoosh);
  EXPECT_TRUE(Played("boing"));      // a later phase's sound still plays
  EXPECT_FALSE(Played("woorpsnd"));  // one frame of sway never gets that far
  EXPECT_EQ(PictureSparkle, 0.0);
}

TEST_F(IntroTest, FireSkipsAsEscapeDoes) {
  script.Press(100, KeyFireUp);  // fire is the keyboard scheme's select
  IntroSequence();
  EXPECT_EQ(script.Frames(), 100 + 1 + 1);  // in the sway: the pulse runs one frame
}

TEST_F(IntroTest, WithSoundTheCrestSparklesFromTheWhooshWithoutNoSoundAndNoSparkle) {
  for (int sound : {1, 0}) {
    SCOPED_TRACE(sound);
    script.Restart();
    ForgetPlays();
    SoundOn = sound;
    int first_sparkle = 0;
    script.EachFrame([&](int frame) {
      if (first_sparkle == 0 && PictureSparkle == 1.0) first_sparkle = frame;
    });
    script.StopAfter(kSlideFrames + kSwayFrames);
    EXPECT_THROW(IntroSequence(), ScriptStop);
    if (sound == 1) {
      // The amplitude falls 1.5 a frame from 180: below 30 after the sway's 101st
      // frame, seen from the next.
      EXPECT_EQ(first_sparkle, kSlideFrames + 102);
      EXPECT_TRUE(Played("woorpsnd"));
    } else {
      EXPECT_EQ(first_sparkle, 0);
      for (const char* name : {"swoosh", "boing", "woorpsnd"}) EXPECT_FALSE(Played(name)) << name;
    }
  }
  script.EachFrame(nullptr);
}

// The sparkle changes the glow colour only: wire lines look the same with it on.
TEST_F(IntroTest, InWireTheSparkleChangesNothingOnScreen) {
  NeonMode = 0;
  LoadPicture(IntroLogoData);
  auto frame = [] {
    std::vector<int> lit;
    Cls();
    DrawPicture(0);
    Flip(-1);
    for (int i = 0; i < PictureLines; ++i) {
      const LineArtRecord& l = PictureBuffer[static_cast<std::size_t>(i)];
      if (l.glow != kSparkleLineColour) continue;
      const Rgb c = ReadPixel(512 + (l.x1 + l.x2) / 2, 386 + (l.y1 + l.y2) / 2);
      lit.push_back(c.r * 65536 + c.g * 256 + c.b);
    }
    return lit;
  };
  const std::vector<int> plain = frame();
  PictureSparkle = 1.0;
  SparkleColour = 0xFF00FF00u;
  const std::vector<int> sparkling = frame();
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(plain, sparkling);
  int lit = 0;
  for (int c : plain) lit += c != 0;
  EXPECT_GT(lit, 0);  // the probes do land on the silver lines
}

}  // namespace
