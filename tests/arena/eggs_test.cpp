// Eggs: laying values, growth and hatching, the spider's pushes and the growing bonus,
// and their drawing.
#include "arena/eggs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "arena/arena_world.h"
#include "arena/insect_shapes.h"
#include "arena/level_start.h"
#include "arena/player_moves.h"
#include "render/draw2d.h"
#include "render/draw_log.h"

namespace {

class EggsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(OpenDisplay(1024, 768, 0, 0, 0));
    LoadEnemyShapes();
    LoadColorTable();
    LoadWebLayouts();
  }
  void SetUp() override {
    ResetWorld();
    PlayerX = 900;
    PlayerY = 700;
  }
  void TearDown() override {
    EnableDrawLog(false);
    ClearDrawLog();
    ResetWorld();
  }
  static Eggs& Egg(int x, int y, int type) {
    CreateEgg(x, y, type);
    return *EggList.Last();
  }
};

TEST_F(EggsTest, RedEggsHatchSpoilersAndYellowOnesHornetsInTheirTime) {
  const Eggs& red = Egg(300, 300, kRedEgg);
  EXPECT_FLOAT_EQ(red.EggSize, 4);
  EXPECT_FLOAT_EQ(red.HatchSize, 12);
  EXPECT_EQ(static_cast<unsigned>(red.Color), 0xFFBD2600u);
  const Eggs& yellow = Egg(600, 400, kYellowEgg);
  EXPECT_FLOAT_EQ(yellow.HatchSize, 9);
  EXPECT_EQ(static_cast<unsigned>(yellow.Color), 0xFFC1C200u);

  // Frozen frames neither grow nor hatch them.
  for (int i = 0; i < 1000; ++i) StepEggs(0);
  EXPECT_EQ(EggList.Count(), 2u);

  int yellow_at = 0, red_at = 0;
  for (int frame = 1; frame <= 600 && red_at == 0; ++frame) {
    StepEggs(1);
    if (yellow_at == 0 && EggList.Count() == 1) yellow_at = frame;
    if (EggList.Empty()) red_at = frame;
  }
  EXPECT_EQ(yellow_at, 334);
  EXPECT_EQ(red_at, 534);
  ASSERT_EQ(EnemyList.Count(), 2u);
  const Enemies& hornet = *EnemyList.First();
  EXPECT_EQ(hornet.EnemyType, kHornet);
  EXPECT_FLOAT_EQ(hornet.x, 600);
  EXPECT_FLOAT_EQ(hornet.y, 398);  // hatched where its embryo lay, 2 above the centre
  EXPECT_EQ(hornet.GraceperiodForNotCheckingPerimeter, 60);
  const Enemies& spoiler = *EnemyList.Last();
  EXPECT_EQ(spoiler.EnemyType, kSpoiler);
  EXPECT_FLOAT_EQ(spoiler.y, 296);
}

TEST_F(EggsTest, TheSpiderPushesOnlyTheFirstEggUnderIt) {
  Eggs& first = Egg(520, 250, kRedEgg);
  Eggs& second = Egg(510, 250, kYellowEgg);
  PlayerX = 512;
  PlayerY = 240;
  FrameToggle = 1;
  PushEggs(4, 0);
  EXPECT_FLOAT_EQ(first.x, 524);
  EXPECT_FLOAT_EQ(second.x, 510);

  // A refused step still pushes: a red strand just above the spider stops it.
  Web red;
  red.x1 = 400;
  red.y1 = 236;
  red.x2 = 620;
  red.y2 = 236;
  red.ColorIndex = kWebRed;
  WebList.Add(red);
  MovePlayer(0, -4);
  EXPECT_DOUBLE_EQ(PlayerY, 240);
  EXPECT_FLOAT_EQ(first.y, 246);
}

TEST_F(EggsTest, EggsInTheCentreOrOffTheWebPayAGrowingBonus) {
  // Laid in the centre: the next step scores it on an even frame, wherever the spider.
  Egg(520, 390, kRedEgg);
  PlayerX = 200;
  PlayerY = 300;
  FrameToggle = 1;
  PushEggs(4, 0);
  EXPECT_EQ(EggList.Count(), 1u);
  FrameToggle = 0;
  PushEggs(4, 0);
  EXPECT_TRUE(EggList.Empty());
  EXPECT_EQ(Score, 500);
  std::string shown;
  for (const chars& c : CharList) shown += c.ch;
  EXPECT_EQ(shown, "500");
  EXPECT_EQ(CharList.First()->x, 520);

  // Pushed off the rim on an even frame, it pays on the next odd one.
  Eggs& rim = Egg(929, 384, kYellowEgg);
  PlayerX = 905;
  PlayerY = 384;
  FrameToggle = 0;
  PushEggs(4, 0);
  EXPECT_FLOAT_EQ(rim.x, 933);
  EXPECT_EQ(EggList.Count(), 1u);
  FrameToggle = 1;
  PlayerX = 200;  // the spider walks away; the egg still goes
  PushEggs(0, 4);
  EXPECT_TRUE(EggList.Empty());
  EXPECT_EQ(Score, 1500);

  // 500, 1000, 1500, 2000, 2500, then 2500 again; a new web starts over.
  FrameToggle = 0;
  const int expected[] = {1500, 2000, 2500, 2500};
  for (int pay : expected) {
    const int before = Score;
    Egg(512, 384, kRedEgg);
    PushEggs(4, 0);
    EXPECT_EQ(Score - before, pay);
  }
  BeginLevel(2);
  EXPECT_EQ(EggBonus, 500);
}

TEST_F(EggsTest, TheShellAndTheEmbryoGrowTogether) {
  ClearDrawLog();
  EnableDrawLog(true);
  Eggs& egg = Egg(400, 300, kYellowEgg);
  egg.EggSize = 5;
  DrawEggs();
  std::vector<DrawEntry> lines;
  for (const DrawEntry& e : GetDrawLog())
    if (e.kind == DrawKind::Line) lines.push_back(e);
  // A 12-sided shell, then the hornet embryo (frame 2) at half scale, 2 above.
  const int embryo = EnemyShapeLineCount(kHornet);
  ASSERT_EQ(lines.size(), static_cast<size_t>(12 + embryo));
  EXPECT_EQ(lines[0].argb & 0xFFFFFFu, 0xC0C040u);
  const EnemyShapeLine* art = EnemyShapeLines(kHornet, 0, 2);
  EXPECT_DOUBLE_EQ(lines[12].points[0].x, 400 + art[0].x1 * 0.5 + 0.5);
  EXPECT_DOUBLE_EQ(lines[12].points[0].y, 298 + art[0].y1 * 0.5 + 0.5);
  EXPECT_EQ(lines[12].argb & 0xFFFFFFu,
            static_cast<unsigned>(art[0].red << 16 | art[0].green << 8 | art[0].blue));
  // The shell's corners lie on its circumcircle: side 5 gives 5 / 2 / sin 15.
  const double rx = lines[0].points[0].x - 0.5 - 400, ry = lines[0].points[0].y - 0.5 - 300;
  EXPECT_NEAR(std::hypot(rx, ry), 2.5 / std::sin(15 * 3.14159265358979 / 180), 1e-9);
}

}  // namespace
