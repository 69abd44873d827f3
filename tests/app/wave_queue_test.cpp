// The wave queue: filling it from the level table, releasing its waves, and the wave
// control that paces the phases, adds extra insects and ends the level's waves.
#include "app/wave_queue.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "arena/enemies.h"
#include "arena/level_state.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/trig.h"

namespace {

using Types = std::vector<int>;
using TypeSet = std::set<int>;

class WaveQueueTest : public testing::Test {
 protected:
  void SetUp() override {
    UseVirtualClock(100000);
    EnemyList.Clear();
    EnemyQueList.Clear();
    Level = 1;
    HurryOut = 0;
    WavePhase = 1;
    LevelFrames = 0;
    DragonflyAppeared = 0;
    DragonflyCounter = 0;
    SeedRandom(3);
  }
  void TearDown() override {
    EnemyList.Clear();
    EnemyQueList.Clear();
    HurryOut = 0;
    UseRealClock();
  }
  static std::vector<EnemyQue> Queue() {
    std::vector<EnemyQue> out;
    for (const EnemyQue& q : EnemyQueList) out.push_back(q);
    return out;
  }
  static std::vector<Types> Waves() {
    std::vector<Types> out;
    for (const EnemyQue& q : EnemyQueList) {
      if (static_cast<int>(out.size()) < q.Wave) out.resize(q.Wave);
      out[q.Wave - 1].push_back(q.EnemyType);
    }
    return out;
  }
  static void Fill(int level) {
    Level = level;
    EnemyQueList.Clear();
    FillWaveQueue();
  }
  // Insects put straight into the list to set how many are alive.
  static void AddInsects(int n) {
    for (int i = 0; i < n; ++i) {
      Enemies e;
      e.EnemyType = kBeetle;
      e.x = 512;
      e.y = 384;
      e.xspeed = 0.125f;
      e.yspeed = -0.25f;
      EnemyList.Add(e);
    }
  }
  static int CountType(int type) {
    int n = 0;
    for (const Enemies& e : EnemyList) n += e.EnemyType == type ? 1 : 0;
    return n;
  }
};

const std::vector<Types> kLevel1 = {{8, 3, 3, 3, 2, 2, 2, 2, 2, 1, 1, 1},
                                    {3, 3, 3, 1, 1, 1, 2, 2, 2}};
const std::vector<Types> kLevel31 = {
    {1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3}, {3, 3, 3, 3, 5, 5, 5, 5, 4}, {1, 2, 3, 5, 6, 6, 6, 6}};

TEST_F(WaveQueueTest, QueuesTheLevelsRowAndLevelThirtyOnesAboveThirtyTwo) {
  Fill(1);
  EXPECT_EQ(Waves(), kLevel1);
  for (const EnemyQue& q : Queue()) EXPECT_EQ(q.DelayBeforeAppearing, 0);
  for (int level : {31, 33, 35, 38, 41, 99}) {
    Fill(level);
    EXPECT_EQ(Waves(), kLevel31) << level;
  }
  // Bonus levels (40 among them) have no row; nor has anything below level 1.
  for (int level : {4, 28, 32, 40, 0, -3}) {
    Fill(level);
    EXPECT_TRUE(EnemyQueList.Empty()) << level;
  }
}

TEST_F(WaveQueueTest, MosquitoesDriftByAtMostTenKeepingTheSignOfTheSum) {
  std::set<int> drifts;
  bool negative = false;
  for (int seed = 1; seed <= 3000; ++seed) {
    SeedRandom(seed);
    UseVirtualClock(100000 + 13 * seed);
    Fill(19);  // ten mosquitoes in a row, then hornets and rocket bugs
    const auto q = Queue();
    ASSERT_EQ(q.size(), 19u);
    EXPECT_TRUE(q[0].Angle >= 10 && q[0].Angle <= 350);
    for (std::size_t i = 1; i < q.size(); ++i) {
      const int prev = q[i - 1].Angle, now = q[i].Angle;
      if (q[i - 1].EnemyType != kMosquito) {
        EXPECT_TRUE(now >= 5 && now <= 355) << now;
        continue;
      }
      // 355 + 10 gives 5; 3 - 8 gives -5, the same direction as 355.
      int found = 99;
      for (int d = -10; d <= 10; ++d)
        if ((prev + d) % 360 == now) found = d;
      ASSERT_NE(found, 99) << prev << " -> " << now;
      drifts.insert(found);
      negative = negative || now < 0;
    }
  }
  EXPECT_EQ(drifts.size(), 21u);
  EXPECT_TRUE(negative);
}

TEST_F(WaveQueueTest, ReseedsFromTheClockAfterTheStartingHeading) {
  SeedRandom(11);
  Fill(1);
  const auto a = Queue();
  SeedRandom(12345);
  Fill(1);
  const auto b = Queue();
  // Level 1 starts with a bug slayer: only the first heading came before the reseed.
  for (std::size_t i = 1; i < a.size(); ++i) EXPECT_EQ(a[i].Angle, b[i].Angle) << i;
  UseVirtualClock(200000);
  Fill(1);
  int same = 0;
  for (std::size_t i = 1; i < a.size(); ++i) same += Queue()[i].Angle == a[i].Angle ? 1 : 0;
  EXPECT_LT(same, 10);
}

TEST_F(WaveQueueTest, RefillAfterTheDragonflyAppearedSubstitutesIt) {
  // Level 5 ends its second wave with a dragonfly; level 13 has one fourth in it.
  TypeSet early, late, seven, eight;
  for (int start = 0; start < 300; ++start) {
    UseVirtualClock(50000 + 7 * start);
    DragonflyAppeared = 1;
    Fill(5);
    early.insert(Waves()[1].back());
    Fill(13);
    late.insert(Waves()[1][3]);
    seven.insert(DragonflySubstitute(7));
    eight.insert(DragonflySubstitute(8));
  }
  EXPECT_EQ(early, (TypeSet{1, 2, 3}));
  EXPECT_EQ(late, (TypeSet{1, 2, 3, 5, 6}));
  EXPECT_EQ(seven, (TypeSet{1, 2, 3}));
  EXPECT_EQ(eight, (TypeSet{1, 2, 3, 5, 6}));
  DragonflyAppeared = 0;
  Fill(13);
  EXPECT_EQ(Waves()[1][3], kDragonfly);
}

TEST_F(WaveQueueTest, ExtraInsectTypesFollowTheLevel) {
  auto types = [](int level) {
    TypeSet s;
    for (int i = 0; i < 600; ++i) s.insert(ExtraInsectType(level));
    return s;
  };
  EXPECT_EQ(types(5), (TypeSet{1, 2, 3, 4}));
  EXPECT_EQ(types(6), (TypeSet{1, 2, 3, 4, 5}));
  EXPECT_EQ(types(11), (TypeSet{1, 2, 3, 4, 5}));
  EXPECT_EQ(types(12), (TypeSet{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(types(24), (TypeSet{1, 2, 3, 4, 5, 6}));  // our rule: the mix of 12 to 23
  DragonflyAppeared = 1;
  EXPECT_EQ(types(5), (TypeSet{1, 2, 3}));
  EXPECT_EQ(types(30), (TypeSet{1, 2, 3, 5, 6}));
}

TEST_F(WaveQueueTest, FillPutsThreeRimInsectsInAnEmptiedArenaAndReleasesByWave) {
  for (int level : {4, 1}) {
    AddInsects(5);
    Fill(level);
    ASSERT_EQ(EnemyList.Count(), 3u) << level;
    for (const Enemies& e : EnemyList) {
      EXPECT_TRUE(e.EnemyType >= 1 && e.EnemyType <= 3);
      const double nx = (e.x - 512) / 450, ny = (e.y - 384) / 330;
      EXPECT_NEAR(nx * nx + ny * ny, 1, 0.01);
    }
  }
  EnemyList.Clear();
  ReleaseWave(2);
  std::vector<EnemyQue> wave2;
  for (const EnemyQue& q : EnemyQueList)
    if (q.Wave == 2) wave2.push_back(q);
  ASSERT_EQ(EnemyList.Count(), 9u);
  std::size_t i = 0;
  for (const Enemies& e : EnemyList) {
    EXPECT_EQ(e.EnemyType, wave2[i].EnemyType);
    EXPECT_NEAR(e.x, 450 * Sin(wave2[i].Angle) + 512, 0.01);
    EXPECT_NEAR(e.y, -330 * Cos(wave2[i].Angle) + 384, 0.01);
    ++i;
  }
  EXPECT_EQ(EnemyQueList.Count(), 21u);  // released entries stay
  ReleaseWave(3);
  EXPECT_EQ(EnemyList.Count(), 9u);
}

TEST_F(WaveQueueTest, ABusyArenaWaitsSixHundredFramesForEachWave) {
  Fill(1);
  EnemyList.Clear();
  AddInsects(6);  // more than any draw of 1 to 3, and no room for extra insects
  for (int phase = 1; phase <= 3; ++phase) {
    LevelFrames = 600;
    for (int i = 0; i < 50; ++i) WaveControl();
    EXPECT_EQ(WavePhase, phase);
    LevelFrames = 600.5;
    WaveControl();
    EXPECT_EQ(WavePhase, phase + 1);
    EXPECT_DOUBLE_EQ(LevelFrames, 0);
  }
  EXPECT_EQ(HurryOut, 0);
}

TEST_F(WaveQueueTest, ClearingTheArenaBringsTheNextWaveAtOnce) {
  Fill(1);
  DragonflyAppeared = 1;
  EnemyList.Clear();
  AddInsects(1);  // one left is always few enough
  WaveControl();
  EXPECT_EQ(WavePhase, 2);  // wave 1 is alive now, so wave 2 waits
  EXPECT_GE(EnemyList.Count(), 12u);
  EnemyList.Clear();
  WaveControl();
  EXPECT_EQ(WavePhase, 3);
  EnemyList.Clear();
  WaveControl();  // no third wave: phase 4 and the send-off come in the same frame
  EXPECT_EQ(WavePhase, 4);
  EXPECT_EQ(HurryOut, 1);

  // With three alive a phase moves on only when the draw is a 3.
  int advanced = 0;
  for (int seed = 1; seed <= 300; ++seed) {
    SeedRandom(seed);
    EnemyList.Clear();
    AddInsects(3);
    WavePhase = 2;
    HurryOut = 0;
    WaveControl();
    advanced += WavePhase > 2 ? 1 : 0;
  }
  EXPECT_TRUE(advanced > 60 && advanced < 140) << advanced;
}

TEST_F(WaveQueueTest, PhaseFourSendsEveryInsectOffWithReachThousand) {
  WavePhase = 4;
  AddInsects(6);
  LevelFrames = 600.5;
  WaveControl();
  EXPECT_EQ(HurryOut, 1);
  EXPECT_DOUBLE_EQ(LevelFrames, 0);
  for (const Enemies& e : EnemyList) {
    EXPECT_EQ(e.HurryOutOfScreenMode, 1);
    EXPECT_EQ(e.TargetX, 637);  // 512 + 0.125 x 1000
    EXPECT_EQ(e.TargetY, 134);  // 384 - 0.25 x 1000
  }
  EnemyList.Clear();
  for (int i = 0; i < 2000; ++i) WaveControl();
  EXPECT_TRUE(EnemyList.Empty());  // no more insects of any kind
}

TEST_F(WaveQueueTest, ExtrasWhileFewerThanSixAliveAndOneRareDragonflyAboveLevelFour) {
  Level = 5;
  DragonflyAppeared = 1;  // no rare dragonfly; an extra type 4 becomes 1 to 3
  WavePhase = 4;          // waiting for its 600 frames
  AddInsects(4);
  int extras = 0;
  for (int i = 0; i < 10000; ++i) {
    WaveControl();
    if (EnemyList.Count() == 4) continue;
    ++extras;
    EXPECT_TRUE(EnemyList.Last()->EnemyType >= 1 && EnemyList.Last()->EnemyType <= 3);
    EnemyList.Remove(EnemyList.Last());
  }
  EXPECT_TRUE(extras > 60 && extras < 140) << extras;  // one chance in 100 per frame
  AddInsects(2);
  for (int i = 0; i < 3000; ++i) WaveControl();
  EXPECT_EQ(EnemyList.Count(), 6u);
  EXPECT_EQ(CountType(kDragonfly), 0);

  DragonflyAppeared = 0;
  DragonflyCounter = 4;
  Level = 4;
  for (int i = 0; i < 3000; ++i) WaveControl();
  EXPECT_EQ(EnemyList.Count(), 6u);
  Level = 5;
  for (int i = 0; i < 3000; ++i) WaveControl();
  EXPECT_EQ(CountType(kDragonfly), 1);
  EXPECT_EQ(EnemyList.Count(), 7u);
}

}  // namespace
