// The spider walks the level-3 web frame by frame from where its entry leaves it, with
// the keys of the default keyboard scheme: into a red strand and round its end, out to
// the rim and along it, back in across the red, then firing while it walks. Every
// expected number below is worked out from the web's geometry and the rules of play
// (4-pixel steps, the 8-pixel probe against red strands, the strict ellipse 420 x 300
// about (512, 384), shots 15 pixels out at 10 per frame, one every 8 frames, 4 alive).
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <vector>

#include "arena/bullets.h"
#include "arena/enemies.h"
#include "arena/hits.h"
#include "arena/level_start.h"
#include "arena/player.h"
#include "arena/player_moves.h"
#include "arena/web.h"
#include "audio/sound_switches.h"
#include "input/controls.h"
#include "platform/input.h"

namespace {

// Default key codes of the keyboard scheme, written out: the test must not follow a
// changed binding.
constexpr int kLeft = kVkLeft, kUp = kVkUp, kRight = kVkRight, kDown = kVkDown;
constexpr int kFireUp = 'W', kFireDown = 'S', kFireLeft = 'A', kFireRight = 'D';
constexpr int kAllKeys[] = {kLeft, kUp, kRight, kDown, kFireUp, kFireDown, kFireLeft, kFireRight};

struct Point {
  double x, y;
};

struct ExpectedBullet {
  double x, y, vx, vy;
};

class WalkScenario : public testing::Test {
 protected:
  void SetUp() override {
    ResetInput();
    ControlScheme = 0;
    KeyMoveLeft = kLeft;
    KeyMoveRight = kRight;
    KeyMoveUp = kUp;
    KeyMoveDown = kDown;
    KeyFireUp = kFireUp;
    KeyFireDown = kFireDown;
    KeyFireLeft = kFireLeft;
    KeyFireRight = kFireRight;
    SoundOn = 0;
    NeonMode = 0;
    EnemyList.Clear();  // nothing to hit: the shots fly to the edge
    LoadWebLayouts();
    LoadBulletShape();
    BeginLevel(3);
    BulletList.Clear();
    FireTimer = 0;
    // Where the entry leaves the spider.
    PlayerX = 502;
    PlayerY = 384;
    PlayerAngle = 180;
    PlayerWalkStep = 1;
    PlayerWalkDelay = 0;
  }
  void TearDown() override {
    ResetInput();
    BulletList.Clear();
  }

  // Holds exactly these keys from now on.
  void Hold(std::initializer_list<int> keys) {
    for (int code : kAllKeys) {
      bool held = false;
      for (int k : keys) held = held || k == code;
      if (held) {
        InjectKeyDown(code);
      } else {
        InjectKeyUp(code);
      }
    }
    move_keys_ = 0;
    for (int k : keys) move_keys_ += (k == kLeft || k == kRight || k == kUp || k == kDown);
  }

  // Runs `frames` frames of play (the player, then the bullets, as the game orders them)
  // and checks each against the spider's expected position after frame k (1-based),
  // its heading, and the shots: `shots` lists the frames of the leg on which a bullet
  // must leave, at `heading`.
  void Leg(const char* name, int frames, Point (*where)(int k), double heading,
           std::initializer_list<int> shots = {}) {
    if (HasFatalFailure()) return;  // the legs build on each other
    for (int k = 1; k <= frames; ++k) {
      SCOPED_TRACE(testing::Message() << name << ", frame " << k);
      const Point before{PlayerX, PlayerY};
      UpdatePlayer(ControlStep(), 1);
      StepBullets();
      walk_advances_ += move_keys_;

      const Point at = where(k);
      ASSERT_EQ(PlayerX, at.x);
      ASSERT_EQ(PlayerY, at.y);
      EXPECT_EQ(PlayerOldX, before.x);
      EXPECT_EQ(PlayerOldY, before.y);
      EXPECT_EQ(PlayerAngle, heading);
      // Every asked-for step advances the walk, taken, refused or undone at the rim.
      EXPECT_EQ(PlayerWalkDelay, walk_advances_ % 7);
      EXPECT_EQ(PlayerWalkStep, 1 + (walk_advances_ / 7) % 4);

      bool fires = false;
      for (int s : shots) fires = fires || s == k;
      if (fires) {
        const double rad = heading * 3.14159265358979323846 / 180;
        const double sx = std::sin(rad), cy = std::cos(rad);
        flying_.push_back({at.x + 15 * sx, at.y - 15 * cy, 10 * sx, -10 * cy});
      }
      // This frame's update moved every bullet once and dropped those off the play area.
      std::vector<ExpectedBullet> kept;
      for (ExpectedBullet b : flying_) {
        b.x += b.vx;
        b.y += b.vy;
        if (b.x >= 0 && b.x <= 1023 && b.y >= 0 && b.y <= 767) kept.push_back(b);
      }
      flying_ = kept;
      ASSERT_LE(BulletList.Count(), 4);
      ASSERT_EQ(static_cast<size_t>(BulletList.Count()), flying_.size());
      size_t i = 0;
      for (const PlayerBullets& b : BulletList) {
        EXPECT_NEAR(b.x, flying_[i].x, 1e-6) << "bullet " << i;
        EXPECT_NEAR(b.y, flying_[i].y, 1e-6) << "bullet " << i;
        EXPECT_NEAR(b.xspeed, flying_[i].vx, 1e-9) << "bullet " << i;
        EXPECT_NEAR(b.yspeed, flying_[i].vy, 1e-9) << "bullet " << i;
        ++i;
      }
    }
  }

 private:
  int move_keys_ = 0;
  int walk_advances_ = 0;
  std::vector<ExpectedBullet> flying_;
};

TEST_F(WalkScenario, RedStrandsTheRimAndShotsOnTheLevelThreeWeb) {
  // Level 3 has red strands on the fifth ring: x = 761 for y 341..430 on the right,
  // y = 211 and y = 559 for x 412..612, x = 263 on the left. From x = 502 the spider's x
  // stays 2 mod 4 and its y 0 mod 4, so no probe ever ends exactly on a strand.
  int red = 0;
  for (const Web& w : WebList) red += w.ColorIndex == kWebRed;
  ASSERT_EQ(red, 4);

  // Right along y = 384: at x = 754 the probe (754..762) crosses x = 761, so the spider
  // stops 7 pixels short of the strand and stays there.
  Hold({kRight});
  Leg(
      "right into the red", 70,
      [](int k) {
        return Point{std::fmin(502 + 4.0 * k, 754), 384};
      },
      180);

  // Right and up: the right step is refused while the probe at the spider's y meets the
  // strand (y 344 and below is still on it), the up step is taken; from y = 340 the
  // right step passes above the strand's end.
  Hold({kRight, kUp});
  Leg(
      "round the end of the red", 16,
      [](int k) {
        return Point{k <= 11 ? 754.0 : 754.0 + 4 * (k - 11), 384.0 - 4 * k};
      },
      180);

  // Up across the green strand (750, 228)-(811, 334) of the sixth ring, which meets
  // x = 774 near y = 270: green stops insects, never the spider. Then back down.
  Hold({kUp});
  Leg(
      "out across the green", 20,
      [](int k) {
        return Point{774, 320.0 - 4 * k};
      },
      180);
  Hold({kDown});
  Leg(
      "down outside the red", 36,
      [](int k) {
        return Point{774, 240.0 + 4 * k};
      },
      180);

  // Out to the rim: x = 930 is 418 from the centre, 934 would be 422 > 420 and is undone.
  Hold({kRight});
  Leg(
      "out to the rim", 45,
      [](int k) {
        return Point{std::fmin(774 + 4.0 * k, 930), 384};
      },
      180);

  // Into the rim diagonally: the right step leaves the ellipse, so the up step of the
  // same frame is undone with it. The spider does not slide.
  Hold({kRight, kUp});
  Leg(
      "diagonal into the rim", 5,
      [](int) {
        return Point{930, 384};
      },
      180);

  // Up alone along the rim: (418/420)^2 + (28/300)^2 < 1, but with 32 it is above 1.
  Hold({kUp});
  Leg(
      "up along the rim", 10,
      [](int k) {
        return Point{930, std::fmax(384 - 4.0 * k, 356)};
      },
      180);

  // Left, back in across the red strand at y = 356: steps toward the centre pass it.
  Hold({kLeft});
  Leg(
      "in across the red", 50,
      [](int k) {
        return Point{930.0 - 4 * k, 356};
      },
      180);

  // And out again from inside: stopped at 754 as before.
  Hold({kRight});
  Leg(
      "out against the red", 10,
      [](int k) {
        return Point{std::fmin(730 + 4.0 * k, 754), 356};
      },
      180);

  // Walking left with fire up held: a shot at once, then every 8th frame, each from the
  // spider's position after its step, (x, 341), flying up at 10 a frame. The fourth
  // shot (frame 25) fills the list; the first leaves the top on its 35th update.
  Hold({kLeft, kFireUp});
  Leg("walking and firing up", 30,
      [](int k) {
        return Point{754.0 - 4 * k, 356};
      },
      0, {1, 9, 17, 25});

  // Fire down, standing: the heading turns at once although no bullet can leave. The
  // timer stood at 8 while four flew; counting from 31, the up shots leave on frames 35,
  // 43, 51 and 59, the timer runs from frame 36 and frees a shot on 43, then every 8th.
  Hold({kFireDown});
  Leg("firing down while four fly", 30, [](int) { return Point{634, 356}; }, 180, {13, 21, 29});

  // Up and right fire at 45 degrees: from frame 60 three down shots fly, the timer runs
  // out on frame 67; the fourth then fills the list until the first down shot leaves
  // the bottom (frame 82, after this leg).
  Hold({kFireUp, kFireRight});
  Leg("firing diagonally", 20, [](int) { return Point{634, 356}; }, 45, {7});

  Hold({});
}

}  // namespace
