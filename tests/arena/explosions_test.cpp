// Debris squares and rings: flight, growth, drawing, the dragonfly chain and the kill.
#include "arena/explosions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

#include "arena/enemies.h"
#include "arena/level_state.h"
#include "arena/player.h"
#include "embedded_assets.h"
#include "platform/random.h"
#include "platform/resources.h"
#include "platform/trig.h"
#include "render/draw_log.h"
#include "render/glow.h"
#include "render/screen.h"
#include "render/tpoly.h"

namespace {

class ExplosionsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0)); }
  void SetUp() override {
    ExplosionList.Clear();
    EnemyList.Clear();
    NeonMode = 0;
    GlowAmount = 0;
    RecomputeGlowWidths();
    PlayerX = 900;  // out of every ring's reach unless a test moves it
    PlayerY = 700;
    PlayerHit = 0;
    SeedRandom(7);
    ClearDrawLog();
    EnableDrawLog(true);
  }
  void TearDown() override {
    EnableDrawLog(false);
    ExplosionList.Clear();
    EnemyList.Clear();
    NeonMode = 0;
    DotImage.reset();  // its texture must go before the GL context does
  }
  static std::vector<Explosions*> All() {
    std::vector<Explosions*> out;
    for (Explosions& e : ExplosionList) out.push_back(&e);
    return out;
  }
  static int Count(int type) {
    int n = 0;
    for (Explosions& e : ExplosionList) n += e.explosiontype == type ? 1 : 0;
    return n;
  }
  static std::vector<const DrawEntry*> Logged(DrawKind kind) {
    std::vector<const DrawEntry*> out;
    for (const DrawEntry& e : GetDrawLog())
      if (e.kind == kind) out.push_back(&e);
    return out;
  }
  static Enemies* AddInsect(double x, double y, int type) {
    Enemies e;
    e.x = static_cast<float>(x);
    e.y = static_cast<float>(y);
    e.EnemyType = type;
    return EnemyList.Add(e);
  }
  static void Advance(int frames) {
    for (int i = 0; i < frames; ++i) StepExplosions(1);
  }
};

TEST_F(ExplosionsTest, DebrisSquaresAreStaggeredZeroFourToSixAndEightToTwelve) {
  CreateExplosion(200, 300, 1, kExplosionDebris, 255, 255);
  const auto e = All();
  ASSERT_EQ(e.size(), 4u);  // top, bottom, left, right edges of a 20 x 20 square
  const double want[4][6] = {{190, 290, 210, 290, 0, -8},
                             {190, 310, 210, 310, 0, 8},
                             {190, 290, 190, 310, -8, 0},
                             {210, 290, 210, 310, 8, 0}};
  for (int i = 0; i < 4; ++i) {
    const double got[6] = {e[i]->x1, e[i]->y1, e[i]->x2, e[i]->y2, e[i]->xspeed, e[i]->yspeed};
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(got[k], want[i][k]) << i << " " << k;
  }

  std::set<int> second, third;
  for (int seed = 1; seed <= 60; ++seed) {
    ExplosionList.Clear();
    SeedRandom(seed);
    CreateExplosion(512, 384, 3, kExplosionDebris, 255, 255);
    const auto d = All();
    ASSERT_EQ(d.size(), 12u);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(d[i]->Delayed, 0);
      EXPECT_EQ(d[4 + i]->Delayed, d[4]->Delayed);
      EXPECT_EQ(d[8 + i]->Delayed, d[8]->Delayed);
    }
    second.insert(d[4]->Delayed);
    third.insert(d[8]->Delayed - d[4]->Delayed);
  }
  EXPECT_EQ(second, (std::set<int>{4, 5, 6}));
  EXPECT_EQ(third, (std::set<int>{4, 5, 6}));
}

TEST_F(ExplosionsTest, EveryDebrisLineGoesOnceItsFirstEndLeavesTheArea) {
  CreateExplosion(512, 384, 3, kExplosionDebris, 255, 255);
  const int last_delay = All()[8]->Delayed;
  // The top and bottom edges of the first square are out after 47 moves of 8.
  Advance(46);
  EXPECT_EQ(ExplosionList.Count(), 12u);
  StepExplosions(1);
  EXPECT_EQ(ExplosionList.Count(), 10u);
  int frame = 47;
  for (; !ExplosionList.Empty() && frame < 200; ++frame) {
    StepExplosions(1);
    for (Explosions& e : ExplosionList)
      EXPECT_TRUE(e.x1 >= 0 && e.y1 >= 0 && e.x1 <= 1024 && e.y1 <= 768);
  }
  // The side edges need 63 moves; the last square first moves on frame last_delay.
  EXPECT_EQ(frame, last_delay + 62);
}

TEST_F(ExplosionsTest, RingsGrowUntilPastTheirMaximumAndOnlyKindTwoIsDeadly) {
  CreateExplosion(100, 120, 5, kExplosionRing, 32, 1);
  CreateExplosion(300, 320, 1, kExplosionDeadlyRing, 20, 2);
  CreateExplosion(300, 320, 3, 3, 70, 1);  // unknown kinds make nothing
  const auto e = All();
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0]->explosiontype, 1);
  EXPECT_EQ(e[0]->Deadly, 0);
  EXPECT_EQ(e[1]->Deadly, 1);
  EXPECT_DOUBLE_EQ(e[0]->Size, 2);
  EXPECT_EQ(e[0]->Rings, 6);
  Advance(9);
  EXPECT_EQ(ExplosionList.Count(), 2u);  // the second ring at 20: equal is not past
  StepExplosions(1);
  EXPECT_EQ(ExplosionList.Count(), 1u);
  Advance(20);
  EXPECT_DOUBLE_EQ(e[0]->Size, 32);
  StepExplosions(1);
  EXPECT_TRUE(ExplosionList.Empty());
}

TEST_F(ExplosionsTest, GrenadeRingKillsASpiderAHundredPixelsAwayAtSizeThirtyFour) {
  PlayerX = 600.7;  // truncated: 100 pixels from the centre
  PlayerY = 400.2;
  CreateExplosion(500, 400, 1, kExplosionDeadlyRing, 70, 1);
  Explosions* ring = All()[0];
  Advance(31);
  EXPECT_EQ(PlayerHit, 0);  // size 33 reaches 99
  StepExplosions(1);
  EXPECT_EQ(PlayerHit, 1);
  EXPECT_DOUBLE_EQ(ring->Size, 34);
  // Three squares burst from the spider, once only; made during the walk, the first
  // already took its first step in it.
  ASSERT_EQ(Count(0), 12);
  EXPECT_DOUBLE_EQ(All()[1]->x1, 590);
  EXPECT_DOUBLE_EQ(All()[1]->y1, 382);
  Advance(5);
  EXPECT_EQ(Count(0), 12);
}

// Its last kill is at size 70, 210 pixels out; the frame it grows past that, it goes.
TEST_F(ExplosionsTest, AGrenadeRingReachesTwoHundredAndTenAndNoFurther) {
  for (const double distance : {209.0, 210.0, 212.0}) {
    SCOPED_TRACE(distance);
    ExplosionList.Clear();
    PlayerHit = 0;
    PlayerX = 300 + distance;
    PlayerY = 400;
    CreateExplosion(300, 400, 1, kExplosionDeadlyRing, 70, 1);
    Advance(69);  // size 71: grown past its end and gone
    EXPECT_EQ(Count(1), 0);
    EXPECT_EQ(PlayerHit, distance < 210 ? 1 : 0);  // within: closer than the reach
  }
}

TEST_F(ExplosionsTest, DrawOnlyFreezesEverythingButADeadlyRingStillKills) {
  CreateExplosion(512, 384, 1, kExplosionDebris, 255, 255);
  CreateExplosion(300, 300, 1, kExplosionRing, 32, 1);
  CreateExplosion(100, 300, 1, kExplosionDeadlyRing, 70, 1);
  AddInsect(315, 300, kDragonfly);
  StepExplosions(1);
  All()[4]->Size = 10;  // reach 30 covers the dragonfly, but a frozen ring spares it
  All()[5]->Size = 20;  // reach 60
  std::vector<Explosions> before;
  for (Explosions* e : All()) before.push_back(*e);
  PlayerX = 161;
  PlayerY = 300;
  for (int frame = 0; frame < 5; ++frame) {
    ClearDrawLog();
    StepExplosions(0);
    DrawExplosions();
    EXPECT_EQ(Logged(DrawKind::Line).size(), 4u + 20u + 20u);
  }
  EXPECT_EQ(PlayerHit, 0);
  const auto after = All();
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    EXPECT_DOUBLE_EQ(after[i]->y1, before[i].y1);
    EXPECT_DOUBLE_EQ(after[i]->Size, before[i].Size);
    EXPECT_EQ(after[i]->r, before[i].r);  // no flicker either
  }
  EXPECT_EQ(EnemyList.Count(), 1u);
  PlayerX = 159;
  StepExplosions(0);
  EXPECT_EQ(PlayerHit, 1);
  EXPECT_EQ(Count(0), 4 + 12);
}

TEST_F(ExplosionsTest, RingCatchesDragonfliesAndTheirRingsCatchMore) {
  CreateExplosion(300, 300, 1, kExplosionRing, 32, 1);
  Enemies* a = AddInsect(320, 300, kDragonfly);    // 20 from the first ring
  Enemies* b = AddInsect(360.5, 300, kDragonfly);  // 40 from a, 60 from the first ring
  Enemies* hornet = AddInsect(305, 300, kHornet);  // rings take dragonflies only
  Advance(4);                                      // size 6 reaches 18
  EXPECT_TRUE(EnemyList.Contains(a));
  StepExplosions(1);  // size 7 reaches 21
  EXPECT_FALSE(EnemyList.Contains(a));
  ASSERT_EQ(Count(1), 2);
  Explosions* second = All()[1];
  EXPECT_DOUBLE_EQ(second->x1, 320);
  EXPECT_DOUBLE_EQ(second->MaxRingSize, 70);
  EXPECT_EQ(second->Deadly, 0);
  EXPECT_DOUBLE_EQ(second->Size, 3);  // advanced in the walk that made it
  // It needs size 14 (reach 42) for b, eleven frames on; the first ring needs 21.
  Advance(10);
  EXPECT_TRUE(EnemyList.Contains(b));
  StepExplosions(1);
  EXPECT_FALSE(EnemyList.Contains(b));
  ASSERT_EQ(Count(1), 3);
  EXPECT_DOUBLE_EQ(All()[2]->x1, 360);
  EXPECT_TRUE(EnemyList.Contains(hornet));
}

TEST_F(ExplosionsTest, WireRingIsAMagentaTwentyGonAndLeavesWhite) {
  CreateExplosion(400, 300, 1, kExplosionRing, 32, 1);
  All()[0]->Size = 10;
  DrawExplosions();
  const auto edges = Logged(DrawKind::Line);
  ASSERT_EQ(edges.size(), 20u);
  for (const DrawEntry* e : edges) EXPECT_EQ(e->argb, 0xFFFF00FFu);
  // Side 10, circumradius 5 / sin 9, first vertex straight up.
  EXPECT_NEAR(edges[0]->points[0].x, 400.5, 0.01);
  EXPECT_NEAR(edges[0]->points[0].y, 300.5 - 5 / Sin(9), 0.01);
  EXPECT_EQ(CurrentDrawState().color_green, 255);
}

TEST_F(ExplosionsTest, NeonDebrisIsOneBatchOfWideFlickeringStrips) {
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  ASSERT_TRUE(DotImage);
  CenterImageHandle(DotImage);
  NeonMode = 1;
  GlowAmount = 1;
  RecomputeGlowWidths();  // GlowWidth24 = 27, unlike any other width
  CreateExplosion(512, 384, 3, kExplosionDebris, 255, 255);
  StepExplosions(1);
  ClearDrawLog();
  const long binds = TPoly::BindCount();
  StepExplosions(1);
  DrawExplosions();
  EXPECT_EQ(TPoly::BindCount() - binds, 1);  // one batch binds the texture once
  const auto strips = Logged(DrawKind::Strip);
  ASSERT_EQ(strips.size(), 12u);
  const auto e = All();
  for (std::size_t i = 0; i < strips.size(); ++i) {
    EXPECT_EQ(strips[i]->points[0].argb, static_cast<std::uint32_t>(e[i]->color));
    EXPECT_GE(strips[i]->points[0].argb, 0xFF808080u);
  }
  // The top edge is horizontal, so its strip spans twice GlowWidth24 from top to bottom.
  double lo = 1e9, hi = -1e9;
  for (const DrawVertex& v : strips[0]->points) {
    lo = std::min(lo, v.y);
    hi = std::max(hi, v.y);
  }
  EXPECT_NEAR(hi - lo, 2 * 27, 0.01);
}

TEST_F(ExplosionsTest, TheFlickerLeavesTheGameGeneratorAsTheWireGameLeftIt) {
  RegisterEmbeddedResources();
  DotImage = LoadImage("IncBin::res\\dot.png", -1);
  ASSERT_TRUE(DotImage);
  CenterImageHandle(DotImage);
  // The same burst, advanced the same number of frames, in each mode: the game's next
  // number must not depend on which mode drew it.
  int next[2] = {};
  std::set<std::uint32_t> glows;
  for (int neon = 0; neon < 2; ++neon) {
    ExplosionList.Clear();
    NeonMode = neon;
    SeedRandom(11);
    CreateExplosion(512, 384, 3, kExplosionDebris, 255, 255);
    for (int frame = 0; frame < 5; ++frame) StepExplosions(1);
    StepExplosions(0);  // a frozen frame draws nothing new
    DrawExplosions();
    next[neon] = RandInt(1, 1000000);
    for (const Explosions* e : All()) glows.insert(static_cast<std::uint32_t>(e->color));
  }
  EXPECT_EQ(next[0], next[1]);
  // The wire colours come from the game's numbers, right after the three delays.
  ExplosionList.Clear();
  SeedRandom(11);
  CreateExplosion(512, 384, 3, kExplosionDebris, 255, 255);
  StepExplosions(1);
  const Explosions* first = All().front();
  SeedRandom(11);
  RandInt(4, 6);
  RandInt(4, 6);
  RandInt(4, 6);
  EXPECT_EQ(first->r, RandInt(32, 255));
  EXPECT_EQ(first->g, RandInt(32, 255));
  EXPECT_EQ(first->b, RandInt(32, 255));
  // The neon flicker still flickers, within the bright greys.
  EXPECT_GE(glows.size(), 10u);
  for (std::uint32_t g : glows) EXPECT_GE(g, 0xFF808080u);
}

}  // namespace
