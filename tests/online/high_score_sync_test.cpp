// The whole sync as the player meets it, against the real server: fire on the
// high-score screen, the notice, then the server's top ten and the new-version message.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "persist/online.h"
#include "platform/clock.h"
#include "render/draw_log.h"
#include "screens/high_score_screen.h"
#include "screens/screen_fixture.h"
#include "screens/sync_notice.h"
#include "support/score_server_process.h"
#include "support/work_folder.h"

namespace {

constexpr std::uint32_t kNoticeGreen = 0xFF80FF40u;
constexpr std::uint32_t kUnavailableRed = 0xFFFF4040u;

class HighScoreSync : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    SetDelayHook([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    ServerMessage = kCreditLine;
  }
  void TearDown() override {
    SetDelayHook({});
    EnableDrawLog(false);
    unsetenv(kScoreServerVariable);
    ScreenTest::TearDown();
  }
  WorkFolder folder;
};

// The notice's lines in wire mode, by the row each begins on.
std::vector<int> NoticeRows() {
  std::vector<int> rows;
  for (const DrawEntry& e : GetDrawLog()) {
    if (e.kind != DrawKind::Line || e.argb != kNoticeGreen) continue;
    const int row = static_cast<int>(e.points[0].y / 21);
    if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

TEST_F(HighScoreSync, TheNoticeWritesItsTenLinesOfTextInGreenTwoRowsApart) {
  EnableDrawLog(true);
  ClearDrawLog();
  ShowSyncNotice();
  const std::vector<int> rows = NoticeRows();
  // Each line's glyphs rise from its row's baseline into the row above; rows 12 and 22
  // hold the empty lines.
  for (int row : {8, 10, 14, 16, 18, 20, 24, 26, 28, 30}) {
    EXPECT_NE(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
    EXPECT_NE(std::find(rows.begin(), rows.end(), row - 1), rows.end()) << row;
  }
  for (int row : {6, 11, 12, 21, 22, 31, 32})
    EXPECT_EQ(std::find(rows.begin(), rows.end(), row), rows.end()) << row;
  EXPECT_EQ(script.Frames(), 1);
}

TEST_F(HighScoreSync, FireShowsTheNoticeThenTheServersTopTenAndTheNewVersion) {
  ScoreServerProcess server({"--versions", "silkguard=1.1"});
  ASSERT_GT(server.Port(), 0) << server.Log();
  setenv(kScoreServerVariable, server.BaseUrl().c_str(), 1);
  OnlineInit(SG_QUILO_LIBRARY);
  ASSERT_TRUE(OnlineAvailable());

  PlayerName = "ann";
  ASSERT_TRUE(OnlineSync(300, 3, 1));

  PlayerName = "Player1";
  Score = 4500;
  Level = 7;
  StartLevel = 1;
  std::vector<int> notice_rows;
  script.At(1, [] {
    EnableDrawLog(true);
    ClearDrawLog();
  });
  script.At(2, [&] {
    notice_rows = NoticeRows();
    EnableDrawLog(false);
  });
  script.Press(4, kVkEscape);
  HighScoreScreen(1);
  EXPECT_EQ(notice_rows.size(), 20u);  // ten written lines, each over two rows
  EXPECT_EQ(HiName[0], "player1");
  EXPECT_EQ(HiLevel[0], " 7 ( 1)");
  EXPECT_EQ(HiScore[0], "4500");
  EXPECT_EQ(HiName[1], "ann");
  EXPECT_EQ(HiScore[1], "300");
  EXPECT_EQ(HiScore[2], "-");
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(ServerMessage, "  new version (v1.1) is available");

  // A second sync sends nothing new: the score was cleared.
  script.Restart();
  script.Press(2, KeyFireUp).Press(5, kVkEscape);
  HighScoreScreen(0);
  EXPECT_EQ(HiScore[0], "4500");
  EXPECT_EQ(HiScore[2], "-");
  EXPECT_EQ(server.Stop(), 0);
}

TEST_F(HighScoreSync, WithTheServerGoneTheTableStaysAndTheScreenSaysSo) {
  ScoreServerProcess server;
  ASSERT_GT(server.Port(), 0) << server.Log();
  setenv(kScoreServerVariable, server.BaseUrl().c_str(), 1);
  OnlineInit(SG_QUILO_LIBRARY);
  EXPECT_EQ(server.Stop(), 0);
  HiName[0] = "kept";
  HiScore[0] = "99";
  Score = 10;
  // The frame after the sync (and its notice): the red line under the title says the
  // scores could not be had; the frame before it has none.
  int red_before = -1, red_after = -1;
  auto red_lines = [] {
    int n = 0;
    for (const DrawEntry& e : GetDrawLog())
      n += e.kind == DrawKind::Line && e.argb == kUnavailableRed && e.points[0].y > 90 &&
           e.points[0].y < 130;
    return n;
  };
  EnableDrawLog(true);
  ClearDrawLog();
  script.At(1, [&] {
    red_before = red_lines();
    ClearDrawLog();
  });
  script.At(2, [] { ClearDrawLog(); });  // the sync notice
  script.At(3, [&] {
    red_after = red_lines();
    EnableDrawLog(false);
  });
  script.Press(3, kVkEscape);
  HighScoreScreen(1);
  EXPECT_EQ(red_before, 0);
  // "online scores are unavailable": 26 glyphs of a few strokes each.
  EXPECT_GT(red_after, 40);
  EXPECT_EQ(HiName[0], "kept");
  EXPECT_EQ(HiScore[0], "99");
  EXPECT_EQ(Score, 0);
  EXPECT_EQ(ServerMessage, kCreditLine);
}

}  // namespace
