// Grubsteaks: where they drop, how they age and are collected, their claims, the
// glancing bullets and their drawing.
#include "arena/grubs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arena/arena_world.h"
#include "arena/hits.h"
#include "platform/trig.h"
#include "render/draw2d.h"
#include "render/draw_log.h"

namespace {

class GrubsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    LoadGrubShape();
    LoadColorTable();
  }
  void SetUp() override {
    ResetWorld();
    PlayerX = 900;  // out of reach unless a test brings the spider over
    PlayerY = 700;
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    ResetWorld();
  }
  static Grubs& Grub(int x, int y) {
    CreateGrub(x, y);
    return *GrubList.Last();
  }
  static std::string FloatingText() {
    std::string text;
    for (const chars& c : CharList) text += c.ch;
    return text;
  }
};

TEST_F(GrubsTest, OnlyInsectsShotOnTheWebDropOne) {
  Enemies& inside = Insect(kMosquito, 500.7f, 300.2f);
  HitEnemy(&inside, nullptr);
  ASSERT_EQ(GrubList.Count(), 1u);
  const Grubs& g = *GrubList.First();
  EXPECT_EQ(g.X, 500);
  EXPECT_EQ(g.Y, 300);
  EXPECT_EQ(g.Color, 3);
  EXPECT_EQ(g.Timer, 180);
  EXPECT_EQ(g.TargetID, 0);
  // Shot beyond the play ellipse: debris, but nothing to pick up.
  Enemies& outside = Insect(kHornet, 935, 384);
  HitEnemy(&outside, nullptr);
  EXPECT_EQ(GrubList.Count(), 1u);
  // Insects of other kinds leave none.
  Enemies& dragonfly = Insect(kDragonfly, 400, 400);
  HitEnemy(&dragonfly, nullptr);
  EXPECT_EQ(GrubList.Count(), 1u);
}

TEST_F(GrubsTest, ValueFallsEveryThreeSecondsAndIsGoneAfterTwelve) {
  Grubs& g = Grub(500, 400);
  const int tiers[] = {3, 2, 1, 0};
  for (int tier = 0; tier < 4; ++tier) {
    for (int frame = 1; frame < 180; ++frame) {
      StepGrubs(1);
      ASSERT_EQ(g.Color, tiers[tier]) << "tier " << tier << " frame " << frame;
    }
    StepGrubs(1);
    if (tier < 3) {
      EXPECT_EQ(g.Color, tiers[tier] - 1);
    }
  }
  EXPECT_TRUE(GrubList.Empty());  // the 720th advancing frame
}

TEST_F(GrubsTest, CollectedBeforeAgeingAndAlsoInFrozenFrames) {
  Grubs& g = Grub(500, 400);
  for (int i = 0; i < 179; ++i) StepGrubs(1);
  ASSERT_EQ(g.Timer, 1);
  // Frozen frames do not age it.
  for (int i = 0; i < 50; ++i) StepGrubs(0);
  EXPECT_EQ(g.Timer, 1);
  EXPECT_EQ(g.Color, 3);
  // Touched on the frame its 500 runs out: it still pays 500.
  PlayerX = 500 + 31.9;
  PlayerY = 400;
  StepGrubs(1);
  EXPECT_EQ(Score, 500);
  EXPECT_TRUE(GrubList.Empty());
  EXPECT_EQ(FloatingText(), "500");
  const chars& first = *CharList.First();
  EXPECT_EQ(first.x, 500 - 28);
  EXPECT_EQ(first.y, 400 + 28);
  EXPECT_EQ(first.color, 0xFFFFFFFFu);

  // A frozen frame collects too, at the value the sign shows; 32 away is not touching.
  CharList.Clear();
  Grubs& old = Grub(300, 300);
  old.Color = 0;
  PlayerX = 332;
  PlayerY = 300;
  StepGrubs(0);
  EXPECT_EQ(GrubList.Count(), 1u);
  PlayerX = 331;
  StepGrubs(0);
  EXPECT_EQ(Score, 550);
  EXPECT_EQ(FloatingText(), "50");
  EXPECT_EQ(CharList.First()->color, 0xFF1A54FFu);
}

TEST_F(GrubsTest, AClaimLastsExactlyAsLongAsItsInsect) {
  Grubs& g = Grub(500, 400);
  Enemies& hornet = Insect(kHornet, 300, 300);
  g.TargetID = hornet.TargetID = 4242;
  for (int i = 0; i < 30; ++i) StepGrubs(1);
  EXPECT_EQ(g.TargetID, 4242);
  EXPECT_EQ(ClaimedGrub(4242), &g);
  EnemyList.Remove(&hornet);  // shot
  EXPECT_EQ(g.TargetID, 4242);
  StepGrubs(0);  // the next pass frees it, frozen or not
  EXPECT_EQ(g.TargetID, 0);
  EXPECT_EQ(ClaimedGrub(4242), nullptr);
  EXPECT_EQ(ClaimedGrub(0), nullptr);  // an unclaimed sign is nobody's
}

TEST_F(GrubsTest, ABulletGlancesOffEveryGrubsteakInReach) {
  LoadBulletShape();
  Grub(500, 290);
  Grub(505, 285);
  Grub(520, 290);  // 20 away: out of reach
  PlayerBullets b;
  b.x = 500;
  b.y = 300;
  b.yspeed = -10;
  PlayerBullets* bullet = BulletList.Add(b);
  // Two glances, each a turn of 25 to 50 drawn first and then its side.
  SeedRandom(3);
  int total = 0;
  for (int i = 0; i < 2; ++i) {
    int d = RandInt(25, 50);
    if (RandInt(1, 2) == 1) d = -d;
    total += d;
  }
  SeedRandom(3);
  StepBullets();
  ASSERT_TRUE(BulletList.Contains(bullet));
  EXPECT_EQ(bullet->angle, ((total % 360) + 360) % 360);
  EXPECT_NEAR(bullet->xspeed, 12 * Sin(bullet->angle), 1e-9);
  EXPECT_EQ(GrubList.Count(), 3u);  // glancing takes nothing away
}

TEST_F(GrubsTest, SignsShowTheirValueAndAMarkedOneFlashes) {
  ClearDrawLog();
  EnableDrawLog(true);
  Grub(200, 300);
  Grubs& aged = Grub(400, 300);
  aged.Color = 1;
  Grubs& marked = Grub(600, 300);
  marked.Flashing = 1;
  marked.ColorIndex = 6;
  DrawGrubs();
  std::vector<DrawEntry> lines;
  for (const DrawEntry& e : GetDrawLog())
    if (e.kind == DrawKind::Line) lines.push_back(e);
  ASSERT_EQ(lines.size(), 3u * 13u);
  EXPECT_EQ(lines[0].argb, 0xFFFFFFFFu);
  EXPECT_EQ(lines[13].argb, 0xFF40FF40u);
  EXPECT_EQ(lines[26].argb & 0xFFFFFFu, 0x0000FFu);  // ColorTable row 6
  // The sign is centred on its position: its two bars cross the middle.
  EXPECT_DOUBLE_EQ(lines[11].points[0].x, 200 - 2 + 0.5);
  EXPECT_DOUBLE_EQ(lines[11].points[0].y, 300 - 11 + 0.5);
  EXPECT_EQ(CurrentDrawState().color_green, 255);  // white again afterwards
}

}  // namespace
