#include "arena/bullets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "arena/effects.h"
#include "arena/enemies.h"
#include "arena/explosions.h"
#include "arena/hits.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "audio/sound.h"
#include "audio/sound_switches.h"
#include "embedded_assets.h"
#include "platform/random.h"
#include "platform/resources.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/vector_font.h"

namespace {

// An insect put straight into EnemyList where a bullet can reach it.
Enemies* Insect(int type, double x, double y) {
  Enemies e;
  e.EnemyType = type;
  e.x = static_cast<float>(x);
  e.y = static_cast<float>(y);
  e.Size = EnemySize(type);
  return EnemyList.Add(e);
}

std::uint32_t Argb(int r, int g, int b) {
  return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) |
         (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

class BulletsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0)); }
  static void TearDownTestSuite() { CloseDisplay(); }

  void SetUp() override {
    BulletList.Clear();
    EnemyList.Clear();
    ExplosionList.Clear();
    HurryOut = 0;
    Score = 0;
    FireTimer = 0;
    BulletColourStep = 0;
    SoundOn = 0;
    NeonMode = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    ScreenOffsetX = 0;
    ScreenOffsetY = 0;
    LoadBulletShape();
    SeedRandom(1);
    PlayerX = 500;
    PlayerY = 400;
    PlayerAngle = 0;
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    BulletList.Clear();
    EnemyList.Clear();
    ExplosionList.Clear();
    DotImage.reset();  // its texture must go before the GL context does
  }

  static PlayerBullets* Place(double x, double y, double xspeed = 0, double yspeed = 0) {
    PlayerBullets b;
    b.x = x;
    b.y = y;
    b.xspeed = xspeed;
    b.yspeed = yspeed;
    return BulletList.Add(b);
  }

  static std::vector<const DrawEntry*> Entries(DrawKind kind) {
    std::vector<const DrawEntry*> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(&e);
    return out;
  }
};

TEST_F(BulletsTest, FiresFifteenPixelsOutAlongTheHeadingAtTenPerUpdate) {
  FireBullet();
  ASSERT_EQ(BulletList.Count(), 1u);
  PlayerBullets& up = *BulletList.First();
  EXPECT_DOUBLE_EQ(up.x, 500);
  EXPECT_DOUBLE_EQ(up.y, 385);
  EXPECT_NEAR(up.xspeed, 0, 1e-12);
  EXPECT_DOUBLE_EQ(up.yspeed, -10);
  EXPECT_EQ(up.angle, 0);
  EXPECT_EQ(up.life, 0);
  EXPECT_GE(up.Frame, 0);
  EXPECT_LE(up.Frame, 3);

  StepBullets();
  EXPECT_NEAR(up.x, 500, 1e-9);
  EXPECT_DOUBLE_EQ(up.y, 375);
  EXPECT_EQ(up.life, 1);

  BulletList.Clear();
  FireTimer = 0;
  PlayerAngle = 225.7;  // a heading between the fire directions keeps its fraction
  FireBullet();
  ASSERT_EQ(BulletList.Count(), 1u);
  const PlayerBullets& diag = *BulletList.First();
  EXPECT_NEAR(diag.x, 500 + 15 * Sin(225.7), 1e-9);
  EXPECT_NEAR(diag.y, 400 - 15 * Cos(225.7), 1e-9);
  EXPECT_NEAR(diag.xspeed, 10 * Sin(225.7), 1e-9);
  EXPECT_NEAR(diag.yspeed, -10 * Cos(225.7), 1e-9);
  EXPECT_EQ(diag.angle, 225);
}

TEST_F(BulletsTest, HeldFireShootsEveryEighthFrameAndNeverAFifth) {
  PlayerY = 700;  // shots leave the top after 69 updates, long before they age out
  std::vector<int> shot_frames;
  std::size_t most = 0;
  for (int frame = 0; frame <= 120; ++frame) {
    const std::size_t before = BulletList.Count();
    FireBullet();
    if (BulletList.Count() > before) shot_frames.push_back(frame);
    most = std::max(most, BulletList.Count());
    // While four fly the timer must not run down behind the player's back.
    if (frame > 24 && frame < 69) {
      EXPECT_EQ(FireTimer, 8) << "frame " << frame;
    }
    StepBullets();
  }
  EXPECT_EQ(most, 4u);
  // The first shot leaves at frame 68; the next is not due at once but a full
  // interval after firing was possible again.
  EXPECT_EQ(shot_frames, (std::vector<int>{0, 8, 16, 24, 76, 84, 92, 100}));
}

TEST_F(BulletsTest, ReleasingFireFreezesTheTimer) {
  FireBullet();
  for (int i = 0; i < 3; ++i) FireBullet();
  EXPECT_EQ(FireTimer, 5);
  EXPECT_EQ(BulletList.Count(), 1u);
  for (int i = 0; i < 50; ++i) StepBullets();  // fire released: frames pass
  EXPECT_EQ(FireTimer, 5);
  for (int i = 0; i < 4; ++i) FireBullet();
  EXPECT_EQ(BulletList.Count(), 0u);  // the first shot is gone by now
  FireBullet();
  EXPECT_EQ(BulletList.Count(), 1u);
  EXPECT_EQ(FireTimer, 8);
}

TEST_F(BulletsTest, EdgesOfThePlayAreaAreKept) {
  struct Case {
    double x, y;
    bool stays;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {1023, 300, true}, {1023.5, 300, false}, {0, 300, true},    {-0.5, 300, false},
      {500, 767, true},  {500, 767.5, false},  {500, 0, true},    {500, -0.1, false},
      {0, 0, true},      {1023, 767, true},    {nan, 300, false}, {500, nan, false},
  };
  for (const Case& c : cases) {
    BulletList.Clear();
    Place(c.x, c.y);
    StepBullets();
    EXPECT_EQ(BulletList.Count(), c.stays ? 1u : 0u) << c.x << ", " << c.y;
  }
  // The move comes first: a bullet stepping over the edge goes in the same update.
  BulletList.Clear();
  Place(1020, 300, 3.5, 0);
  StepBullets();
  EXPECT_EQ(BulletList.Count(), 0u);
}

TEST_F(BulletsTest, ABulletLivesOneHundredTwentyUpdates) {
  PlayerBullets* b = Place(500, 300);
  for (int i = 0; i < 120; ++i) StepBullets();
  ASSERT_TRUE(BulletList.Contains(b));
  EXPECT_EQ(b->life, 120);
  StepBullets();
  EXPECT_TRUE(BulletList.Empty());
}

TEST_F(BulletsTest, DrawingMovesAgesAndHitsNothing) {
  const Enemies* hornet = Insect(kHornet, 500, 290);
  PlayerBullets* b = Place(500, 300, 0, -10);
  b->life = 120;  // one more step would age it out
  for (int frame = 0; frame < 3; ++frame) {
    ClearDrawLog();
    DrawBullets();
    ASSERT_TRUE(BulletList.Contains(b));
    EXPECT_DOUBLE_EQ(b->y, 300);
    EXPECT_EQ(b->life, 120);
    EXPECT_EQ(Entries(DrawKind::Line).size(), 16u);
  }
  EXPECT_TRUE(EnemyList.Contains(hornet));
}

TEST_F(BulletsTest, SixShotsCycleTheColoursWithTheWireHuesOfTheSecondAndThirdSwapped) {
  std::vector<PlayerBullets> shots;
  for (int i = 0; i < 7; ++i) {
    FireBullet();
    shots.push_back(*BulletList.Last());
    BulletList.Clear();
    FireTimer = 0;
  }
  const std::uint32_t white = 0xFFFFFFFF, crimson = 0xFFBD0022, blue = 0xFF1654C5;
  const std::vector<std::uint32_t> expected_glow = {white,      crimson,    blue, 0xFFFEFE00,
                                                    0xFF31FEFF, 0xFFF921C3, white};
  std::vector<std::uint32_t> glow, wire;
  for (const PlayerBullets& s : shots) {
    glow.push_back(s.Color);
    wire.push_back(Argb(s.Rcol, s.Gcol, s.Bcol));
  }
  EXPECT_EQ(glow, expected_glow);
  EXPECT_EQ(wire, (std::vector<std::uint32_t>{white, blue, crimson, 0xFFFEFE00, 0xFF31FEFF,
                                              0xFFF921C3, white}));
  EXPECT_EQ(BulletColourStep, 1);

  // A step knocked out of range still gives a colour of the cycle.
  BulletColourStep = -7;
  FireBullet();
  EXPECT_NE(std::find(expected_glow.begin(), expected_glow.end(), BulletList.Last()->Color),
            expected_glow.end());
  EXPECT_GE(BulletColourStep, 0);
  EXPECT_LE(BulletColourStep, 5);
}

TEST_F(BulletsTest, WireModeDrawsTheStarInTheWireColourThenWhite) {
  ScreenOffsetX = 128;
  ScreenOffsetY = 64;
  PlayerBullets* b = Place(100, 200);
  b->Color = 0xFFBD0022;
  b->Rcol = 22;
  b->Gcol = 84;
  b->Bcol = 197;
  DrawBullets();
  const auto lines = Entries(DrawKind::Line);
  ASSERT_EQ(lines.size(), 16u);
  for (const DrawEntry* e : lines) EXPECT_EQ(e->argb, 0xFF1654C5u);
  ASSERT_EQ(lines[0]->points.size(), 2u);
  // Lines go through pixel centres, half a pixel in from the corner coordinates.
  EXPECT_DOUBLE_EQ(lines[0]->points[0].x, 228.5);  // top point (0, -10)
  EXPECT_DOUBLE_EQ(lines[0]->points[0].y, 254.5);
  EXPECT_DOUBLE_EQ(lines[3]->points[1].x, 239.5);  // right point (11, 0)
  EXPECT_DOUBLE_EQ(lines[3]->points[1].y, 264.5);
  EXPECT_DOUBLE_EQ(lines[15]->points[1].x, 228.5);  // the outline closes at the top
  EXPECT_DOUBLE_EQ(lines[15]->points[1].y, 254.5);
  const DrawState& s = CurrentDrawState();
  EXPECT_EQ(s.color_red, 255);
  EXPECT_EQ(s.color_green, 255);
  EXPECT_EQ(s.color_blue, 255);
}

TEST_F(BulletsTest, NeonModeDrawsTheStarAsGlowStripsInTheGlowColour) {
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  ASSERT_TRUE(DotImage);
  CenterImageHandle(DotImage);
  NeonMode = 1;
  PlayerBullets* b = Place(100, 200);
  b->Color = 0xFFBD0022;
  b->Rcol = 22;
  b->Gcol = 84;
  b->Bcol = 197;
  DrawBullets();
  const auto strips = Entries(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 16u);
  for (const DrawEntry* e : strips) {
    ASSERT_FALSE(e->points.empty());
    for (const DrawVertex& v : e->points) EXPECT_EQ(v.argb, 0xFFBD0022u);
  }
  // The strips lie around their segments: the first runs from (100, 190) to (102, 197).
  double cx = 0, cy = 0;
  for (const DrawVertex& v : strips[0]->points) {
    cx += v.x;
    cy += v.y;
  }
  EXPECT_NEAR(cx / strips[0]->points.size(), 101, 0.01);
  EXPECT_NEAR(cy / strips[0]->points.size(), 193.5, 0.01);
  EXPECT_TRUE(Entries(DrawKind::Line).empty());
}

TEST_F(BulletsTest, AGlanceTurnsTheBulletTwentyFiveToFiftyDegreesEitherWayAtTwelve) {
  for (int start : {0, 10, 350}) {
    for (int seed = 1; seed <= 30; ++seed) {
      PlayerBullets b;
      b.x = 500;
      b.y = 290;
      b.angle = start;
      b.yspeed = -10;
      // The turn is drawn first, then its side.
      SeedRandom(seed);
      int d = RandInt(25, 50);
      if (RandInt(1, 2) == 1) d = -d;
      const int expected = ((start + d) % 360 + 360) % 360;
      SeedRandom(seed);
      GlanceBullet(b);
      ASSERT_EQ(b.angle, expected) << start << " seed " << seed;
      ASSERT_GE(b.angle, 0);
      ASSERT_LE(b.angle, 359);
      EXPECT_NEAR(b.xspeed, 12 * Sin(expected), 1e-9);
      EXPECT_NEAR(b.yspeed, -12 * Cos(expected), 1e-9);
      EXPECT_DOUBLE_EQ(b.y, 290);  // a glance turns the bullet; it does not move it
    }
  }
}

TEST_F(BulletsTest, ReachIsMeasuredBetweenTruncatedPositions) {
  PlayerBullets b;
  b.x = 500.9;
  b.y = 300;
  EXPECT_TRUE(BulletTouchesGrub(b, 519, 300));
  EXPECT_FALSE(BulletTouchesGrub(b, 520, 300));
  EXPECT_TRUE(BulletReachesInsect(b, 529.99, 300, 1));
  EXPECT_FALSE(BulletReachesInsect(b, 530, 300, 1));
  EXPECT_TRUE(BulletReachesInsect(b, 559.5, 300, 5));  // grenade bugs are big
  EXPECT_FALSE(BulletReachesInsect(b, 560, 300, 5));
  EXPECT_FALSE(BulletReachesInsect(b, 559, 300, 4));
  b.x = -0.9;  // toward zero, not down
  EXPECT_TRUE(BulletTouchesGrub(b, 19, 300));
  EXPECT_FALSE(BulletReachesInsect(b, std::numeric_limits<double>::quiet_NaN(), 1e12, 5));
}

TEST_F(BulletsTest, OneBulletHitsEveryInsectItReachesAndIsGone) {
  const Enemies* hornet = Insect(kHornet, 500, 290);
  const Enemies* beetle = Insect(kBeetle, 510, 295);
  const Enemies* mosquito = Insect(kMosquito, 500, 200);
  PlayerBullets* b = Place(500, 300, 0, -10);
  StepBullets();
  EXPECT_FALSE(EnemyList.Contains(hornet));
  EXPECT_FALSE(EnemyList.Contains(beetle));
  EXPECT_TRUE(EnemyList.Contains(mosquito));
  EXPECT_FALSE(BulletList.Contains(b));
  ClearDrawLog();
  StepBullets();
  EXPECT_TRUE(GetDrawLog().empty());
}

TEST_F(BulletsTest, RemovalsDuringTheWalkLeaveTheOtherBulletsFlying) {
  Insect(kHornet, 500, 290);
  PlayerBullets* leaving = Place(1020, 100, 10, 0);
  PlayerBullets* hitting = Place(500, 300, 0, -10);
  PlayerBullets* ageing = Place(100, 100);
  ageing->life = 120;
  PlayerBullets* flying = Place(700, 500, 0, -10);
  StepBullets();
  EXPECT_FALSE(BulletList.Contains(leaving));
  EXPECT_FALSE(BulletList.Contains(hitting));
  EXPECT_FALSE(BulletList.Contains(ageing));
  ASSERT_TRUE(BulletList.Contains(flying));
  EXPECT_DOUBLE_EQ(flying->y, 490);
  EXPECT_EQ(flying->life, 1);
}

TEST_F(BulletsTest, BadHeadingGivesABulletThatIsDroppedAtOnce) {
  PlayerAngle = std::numeric_limits<double>::quiet_NaN();
  FireBullet();
  ASSERT_EQ(BulletList.Count(), 1u);
  StepBullets();
  EXPECT_TRUE(BulletList.Empty());
}

// Sounds are checked on a bank without a device, which plays on paper.
class BulletSoundsTest : public BulletsTest {
 protected:
  void SetUp() override {
    BulletsTest::SetUp();
    SetEffectSinks({&PlayEffectIfOn, &SpawnFloatingText});
    Sound::AppExit();
    static const unsigned char kBytes[] = {1};
    for (const char* name : {"res\\bullet-test\\shot.ogg", "res\\bullet-test\\BlipSND.ogg",
                             "res\\bullet-test\\Crunch1.ogg"}) {
      RegisterResource(name, kBytes, sizeof kBytes);
      ASSERT_EQ(Sound::Load(name, 1), 1);
    }
  }
  void TearDown() override {
    Sound::AppExit();
    BulletsTest::TearDown();
  }
  static bool Played(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Sound& s : SoundList())
      if (s.FX == name) return s.isplay == 1;
    return false;
  }
};

TEST_F(BulletSoundsTest, EffectsPlayOnlyWhenSwitchedOn) {
  // A rocket bug only takes the knock: no explosion plays its own crunch over the hit's.
  const Enemies* rocket_bug = Insect(kRocketBug, 500, 150);

  FireBullet();
  PlayerBullets glancing;
  GlanceBullet(glancing);
  Place(500, 160, 0, -10);
  StepBullets();
  EXPECT_EQ(rocket_bug->PushFrames, 2);
  EXPECT_FALSE(Played("shot"));
  EXPECT_FALSE(Played("BlipSND"));
  EXPECT_FALSE(Played("Crunch1"));

  SoundOn = 1;
  BulletList.Clear();
  FireTimer = 2;
  FireBullet();  // the timer still holds this one back
  EXPECT_FALSE(Played("shot"));
  FireBullet();
  EXPECT_TRUE(Played("shot"));
  GlanceBullet(glancing);
  EXPECT_TRUE(Played("BlipSND"));
  EXPECT_FALSE(Played("Crunch1"));
  Place(500, 160, 0, -10);
  StepBullets();
  EXPECT_TRUE(Played("Crunch1"));
}

}  // namespace
