// The game's side of the online scores: what it sends, how it fills the table and the
// server message from the answers, and that it does without the library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "persist/online.h"
#include "persist/profile.h"
#include "platform/clock.h"
#include "query.h"
#include "score_text.h"
#include "test_servers.h"

namespace {

class GameSync : public ::testing::Test {
 protected:
  void SetUp() override {
    // The waits step on the virtual clock; a real millisecond each keeps them cool.
    UseVirtualClock();
    SetDelayHook([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    PlayerName = "Player1";
    ServerMessage = kCreditLine;
    FillDefaultHighScores();
    HiName[0] = "kept";
    HiScore[0] = "123";
    HiLevel[0] = " 3 ( 1)";
  }
  void TearDown() override {
    SetDelayHook({});
    UseRealClock();
    unsetenv(kScoreServerVariable);
  }
  // The real library, pointed at `url`.
  void Connect(const std::string& url) {
    setenv(kScoreServerVariable, url.c_str(), 1);
    OnlineInit(SG_QUILO_LIBRARY);
    ASSERT_TRUE(OnlineAvailable());
  }
  void ExpectTableKept() {
    EXPECT_EQ(HiName[0], "kept");
    EXPECT_EQ(HiScore[0], "123");
    EXPECT_EQ(HiLevel[0], " 3 ( 1)");
  }
};

// Answers the top ten with `top`, the version check with `versions`, and "ok" to
// submissions.
FakeScoreServer::Handler Answers(std::string top, std::string versions) {
  return [top, versions](const httplib::Request& req, httplib::Response& res) {
    if (req.path.ends_with("VersionCheck.php"))
      res.set_content(versions, "text/plain");
    else if (req.get_param_value("option") == "getscore")
      res.set_content(top, "text/plain");
    else
      res.set_content("ok\n", "text/plain");
  };
}

QueryParams QueryOf(const std::string& target) {
  return ParseQuery(target.substr(target.find('?') + 1)).value_or(QueryParams{});
}

TEST_F(GameSync, AScoreGoesOutUnderTheNameInLowerCaseWithItsLevelsAndTheDate) {
  FakeScoreServer server(Answers("", ""));
  Connect(server.BaseUrl());
  EXPECT_TRUE(OnlineSync(4500, 7, 1));
  const auto targets = server.Targets();
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0],
            "/scores/silkguard_win.php?option=addscore&user=player1&level=%207%20%28%201%29"
            "&point=4500&date=" +
                PercentEncode(ScoreDateText()) + "&version=1.0&platform=windows");
  EXPECT_EQ(targets[1], "/scores/silkguard_win.php?option=getscore&nbscore=10");
  EXPECT_EQ(QueryOf(targets[0]).at("date"), ScoreDateText());
  EXPECT_EQ(LevelText(12, 5), "12 ( 5)");
  OnlineSync(100, 12, 5);
  EXPECT_EQ(QueryOf(server.Targets()[2]).at("level"), "12 ( 5)");
}

TEST_F(GameSync, TheDateIsDayMonthAndYearInEnglish) {
  const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm date{};
  date.tm_year = 2026 - 1900;
  for (int m = 0; m < 12; ++m) {
    date.tm_mon = m;
    date.tm_mday = m == 2 ? 7 : 28;
    EXPECT_EQ(ScoreDateText(date), (m == 2 ? "07 " : "28 ") + std::string(months[m]) + " 2026");
  }
  date.tm_mon = 12;  // no such month: no text rather than a read past the table
  EXPECT_EQ(ScoreDateText(date), "");
}

TEST_F(GameSync, AScoreOfZeroIsNeverSentOnlyTheTopTenIsFetched) {
  FakeScoreServer server(Answers("", ""));
  Connect(server.BaseUrl());
  EXPECT_TRUE(OnlineSync(0, 3, 1));
  ASSERT_EQ(server.Targets().size(), 1u);
  EXPECT_EQ(QueryOf(server.Targets()[0]).at("option"), "getscore");
}

TEST_F(GameSync, ANameFromAnEditedFileCannotBreakOrForgeTheRequest) {
  FakeScoreServer server(Answers("", ""));
  Connect(server.BaseUrl());
  PlayerName = "A b&point=9#X%";
  OnlineSync(10, 1, 1);
  const QueryParams sent = QueryOf(server.Targets()[0]);
  EXPECT_EQ(sent.size(), 7u);
  EXPECT_EQ(sent.at("user"), "a b&point=9#x%");
  EXPECT_EQ(sent.at("point"), "10");
  EXPECT_EQ(PercentEncode("a b&#%~._-"), "a%20b%26%23%25~._-");
}

TEST_F(GameSync, TheTopTenFillsTheTableRowByRowAndNoMoreThanTenRows) {
  std::string top;
  for (int i = 1; i <= 11; ++i)
    top.append("p")
        .append(std::to_string(i))
        .append("\n")
        .append(std::to_string(i))
        .append(" ( 1)\n")
        .append(std::to_string(1000 - i))
        .append("\n");
  FakeScoreServer server(Answers(top, ""));
  Connect(server.BaseUrl());
  HiSpare[4] = "x";
  EXPECT_TRUE(OnlineSync(0, 1, 1));
  EXPECT_EQ(HiName[0], "p1");
  EXPECT_EQ(HiLevel[0], "1 ( 1)");
  EXPECT_EQ(HiScore[0], "999");
  EXPECT_EQ(HiName[9], "p10");
  EXPECT_EQ(HiScore[9], "990");
  EXPECT_EQ(HiSpare[4], " ");  // the rows start afresh
}

TEST_F(GameSync, AShortTopTenLeavesTheRestEmpty) {
  FakeScoreServer server(Answers("ann\n 7 ( 1)\n300\nbob\n 2 ( 1)", ""));
  Connect(server.BaseUrl());
  EXPECT_TRUE(OnlineSync(0, 1, 1));
  EXPECT_EQ(HiName[0], "ann");
  EXPECT_EQ(HiName[1], "bob");
  EXPECT_EQ(HiScore[1], "");  // a half group: its score is an empty line
  EXPECT_EQ(HiName[2], "..........");
  EXPECT_EQ(HiScore[2], "-");
}

TEST_F(GameSync, AFailedFetchKeepsTheTable) {
  FakeScoreServer refusing([](const httplib::Request&, httplib::Response& res) {
    res.status = 401;
    res.set_content("refused\n", "text/plain");
  });
  Connect(refusing.BaseUrl());
  EXPECT_FALSE(OnlineSync(500, 1, 1));
  ExpectTableKept();
  EXPECT_FALSE(VersionCheck());

  Connect("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/scores");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(OnlineSync(500, 1, 1));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  ExpectTableKept();
  EXPECT_EQ(ServerMessage, kCreditLine);
}

TEST_F(GameSync, OnlyANewerVersionOfThisGameChangesTheServerMessage) {
  {
    FakeScoreServer server(Answers("", "other\n3.0\nsilkguard\n1.0\n"));
    Connect(server.BaseUrl());
    EXPECT_TRUE(VersionCheck());
    EXPECT_EQ(ServerMessage, kCreditLine);
  }
  {
    FakeScoreServer server(Answers("", "silkguardx\n2.0\nother\nsilkguard\n"));
    Connect(server.BaseUrl());
    EXPECT_TRUE(VersionCheck());
    EXPECT_EQ(ServerMessage, kCreditLine);
  }
  {
    // Past a hundred pairs nothing counts.
    std::string list;
    for (int i = 0; i < 100; ++i) list += "other\n1.0\n";
    FakeScoreServer server(Answers("", list + "silkguard\n9.9\n"));
    Connect(server.BaseUrl());
    EXPECT_TRUE(VersionCheck());
    EXPECT_EQ(ServerMessage, kCreditLine);
  }
  {
    FakeScoreServer server(Answers("", "silkguard\n1.0\nother\n1.0\nsilkguard\r\n1.1\r\n"));
    Connect(server.BaseUrl());
    EXPECT_TRUE(VersionCheck());
    EXPECT_EQ(ServerMessage, "  new version (v1.1) is available");
    const auto targets = server.Targets();
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(targets[0], "/scores/VersionCheck.php?option=getversion&nbscore=30");
  }
}

TEST_F(GameSync, WithoutTheLibraryNothingIsCalledAndNothingChanges) {
  OnlineInit("/no/such/folder/libquilo.so");
  EXPECT_FALSE(OnlineAvailable());
  EXPECT_FALSE(OnlineSync(500, 1, 1));
  EXPECT_FALSE(VersionCheck());
  ExpectTableKept();
  EXPECT_EQ(ServerMessage, kCreditLine);

  // A library that lacks one entry point the game calls is not called at all.
  OnlineInit(SG_PARTIAL_QUILO);
  EXPECT_FALSE(OnlineAvailable());
  EXPECT_FALSE(OnlineSync(500, 1, 1));
  EXPECT_FALSE(VersionCheck());
  void* partial = dlopen(SG_PARTIAL_QUILO, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(partial, nullptr);
  EXPECT_EQ(*static_cast<int*>(dlsym(partial, "partial_quilo_calls")), 0);
  dlclose(partial);
  ExpectTableKept();
}

TEST_F(GameSync, TheServerIsChosenByTheEnvironmentOrIsTheLocalOne) {
  unsetenv(kScoreServerVariable);
  EXPECT_EQ(ScoreServerUrl(), "http://127.0.0.1:8642/scores");
  setenv(kScoreServerVariable, "https://scores.example.org/scores", 1);
  EXPECT_EQ(ScoreServerUrl(), "https://scores.example.org/scores");
  setenv(kScoreServerVariable, "", 1);
  EXPECT_EQ(ScoreServerUrl(), "http://127.0.0.1:8642/scores");
}

}  // namespace
