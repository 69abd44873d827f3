// The real silkguard-scores on loopback: what it stores and answers, and every way it
// refuses a request without touching the data.
#include <gtest/gtest.h>
#include <httplib.h>

#include <ctime>
#include <string>

#include "quilo.h"
#include "score_service.h"
#include "score_store.h"
#include "score_text.h"
#include "signature.h"
#include "support/score_server_process.h"
#include "support/work_folder.h"

namespace {

constexpr const char* kKey = "r7Tq2mXw9Lz4Kd0";

struct Reply {
  int status = 0;
  std::string body;
};

// A GET with the signature headers; each part can be spoilt on purpose.
struct Signed {
  std::string target;
  std::int64_t timestamp = std::time(nullptr);
  std::string nonce = FreshNonce();
  std::string key = kKey;
  bool sign = true;
};

Reply Get(int port, const Signed& s) {
  httplib::Client client("127.0.0.1", port);
  httplib::Headers headers;
  if (s.sign) {
    const std::size_t mark = s.target.find('?');
    const std::string path = s.target.substr(0, mark);
    const std::string query = mark == std::string::npos ? "" : s.target.substr(mark + 1);
    headers = {{quilo::kTimestampHeader, std::to_string(s.timestamp)},
               {quilo::kNonceHeader, s.nonce},
               {quilo::kSignatureHeader,
                RequestSignature(s.key, "GET", path, query, s.timestamp, s.nonce)}};
  }
  const auto result = client.Get(s.target, headers);
  if (!result) return {};
  return {result->status, result->body};
}

std::string Submission(const std::string& user, const std::string& level, const std::string& point,
                       const std::string& date = "07 Mar 2025") {
  return "/scores/silkguard_win.php?option=addscore&user=" + PercentEncode(user) +
         "&level=" + PercentEncode(level) + "&point=" + PercentEncode(point) +
         "&date=" + PercentEncode(date) + "&version=1.0&platform=windows";
}

const std::string kTopTen = "/scores/silkguard_win.php?option=getscore&nbscore=10";

std::int64_t StoredScores() {
  std::string error;
  auto store = ScoreStore::Open("scores.db", 600, &error);
  return store ? store->Count() : -1;
}

class ScoreServerTest : public ::testing::Test {
 protected:
  WorkFolder folder;
};

TEST_F(ScoreServerTest, StoresEverySubmissionAndAnswersTheTopTenBestFirstEarlierFirstOnTies) {
  ScoreServerProcess server;
  ASSERT_GT(server.Port(), 0) << server.Log();
  const struct {
    const char* name;
    const char* points;
  } entries[] = {{"ann", "300"}, {"bob", "900"},  {"cid", "300"}, {"ann", "300"},
                 {"dee", "50"},  {"eve", "1000"}, {"fay", "20"},  {"gus", "30"},
                 {"hal", "40"},  {"ivy", "60"},   {"jon", "70"},  {"kim", "10"}};
  for (const auto& e : entries)
    ASSERT_EQ(Get(server.Port(), {Submission(e.name, " 7 ( 1)", e.points)}).status, 200);
  const Reply top = Get(server.Port(), {kTopTen});
  ASSERT_EQ(top.status, 200);
  // The same name with the same score is a second row, not an overwrite; kim and fay
  // fall off the end.
  EXPECT_EQ(top.body,
            "eve\n 7 ( 1)\n1000\nbob\n 7 ( 1)\n900\nann\n 7 ( 1)\n300\ncid\n 7 ( 1)\n300\n"
            "ann\n 7 ( 1)\n300\njon\n 7 ( 1)\n70\nivy\n 7 ( 1)\n60\ndee\n 7 ( 1)\n50\n"
            "hal\n 7 ( 1)\n40\ngus\n 7 ( 1)\n30\n");
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(StoredScores(), 12);
}

// The five minutes either way, to the second, on the service's own clock.
TEST(ScoreServiceClock, TimestampsUpToFiveMinutesOffEitherWayAreTaken) {
  WorkFolder folder;
  std::string error;
  const auto store = ScoreStore::Open("scores.db", 600, &error);
  ASSERT_TRUE(store) << error;
  ServiceOptions options;
  options.key = kKey;
  options.rate_limit = 0;
  ScoreService service(*store, options);
  const std::string target = "/scores/silkguard_win.php?option=getscore";
  const std::int64_t now = 1'700'000'000;
  int n = 0;
  auto status = [&](std::int64_t timestamp) {
    ServiceRequest r;
    r.method = "GET";
    r.target = target;
    r.address = "127.0.0.1";
    r.timestamp = std::to_string(timestamp);
    r.nonce = "noncenumber" + std::to_string(100000 + ++n);
    r.signature = RequestSignature(kKey, "GET", "/scores/silkguard_win.php", "option=getscore",
                                   timestamp, r.nonce);
    r.now = now;
    return service.Handle(r).status;
  };
  EXPECT_EQ(status(now - 300), 200);
  EXPECT_EQ(status(now + 300), 200);
  EXPECT_EQ(status(now - 301), 401);
  EXPECT_EQ(status(now + 301), 401);
}

TEST_F(ScoreServerTest, RefusesBadSignaturesTimestampsAndNoncesAndStoresNothing) {
  ScoreServerProcess server;
  ASSERT_GT(server.Port(), 0) << server.Log();
  const int port = server.Port();
  const std::string ok = Submission("player1", "12 ( 5)", "4500");
  const std::int64_t now = std::time(nullptr);

  Signed unsigned_request{ok};
  unsigned_request.sign = false;
  EXPECT_EQ(Get(port, unsigned_request).status, 401);
  Signed wrong_key{ok};
  wrong_key.key = "not the key";
  EXPECT_EQ(Get(port, wrong_key).status, 401);
  // Far off either way (the exact five-minute edge is the service's own test, on a
  // clock of its own: a second ticking over must not decide this one).
  EXPECT_EQ(Get(port, {ok, now - 3600}).status, 401);
  EXPECT_EQ(Get(port, {ok, now + 3600}).status, 401);
  Signed short_nonce{ok};
  short_nonce.nonce = "abc";
  EXPECT_EQ(Get(port, short_nonce).status, 401);

  // A signature is for one request: the same headers on another query are refused.
  {
    Signed other{ok};
    httplib::Client client("127.0.0.1", port);
    const std::string signature =
        RequestSignature(kKey, "GET", "/scores/silkguard_win.php", ok.substr(ok.find('?') + 1),
                         other.timestamp, other.nonce);
    const auto forged = client.Get(Submission("player1", "12 ( 5)", "99999"),
                                   {{quilo::kTimestampHeader, std::to_string(other.timestamp)},
                                    {quilo::kNonceHeader, other.nonce},
                                    {quilo::kSignatureHeader, signature}});
    ASSERT_TRUE(forged);
    EXPECT_EQ(forged->status, 401);
  }

  // Well within five minutes is fine; a nonce works once.
  Signed first{ok, now - 60};
  EXPECT_EQ(Get(port, first).status, 200);
  EXPECT_EQ(Get(port, first).status, 409);
  Signed read_once{kTopTen};
  EXPECT_EQ(Get(port, read_once).status, 200);
  EXPECT_EQ(Get(port, read_once).status, 409);

  EXPECT_EQ(Get(port, {"/scores/other.php?option=getscore"}).status, 404);
  EXPECT_EQ(Get(port, {"/scores/silkguard_win.php?option=dropall"}).status, 400);
  EXPECT_EQ(Get(port, {"/scores/silkguard_win.php?option=getscore&nbscore=1000"}).status, 400);
  EXPECT_EQ(Get(port, {"/scores/silkguard_win.php?option=getscore&option=addscore"}).status, 400);
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(StoredScores(), 1);
  // One line per request, refusals with their reason.
  const std::string log = server.Log();
  EXPECT_NE(log.find("GET /scores/silkguard_win.php 409 refused: nonce seen before"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("GET /scores/silkguard_win.php 401 refused: timestamp out of range"),
            std::string::npos);
}

TEST_F(ScoreServerTest, RefusesImplausibleSubmissions) {
  ScoreServerProcess server;
  ASSERT_GT(server.Port(), 0) << server.Log();
  const int port = server.Port();
  const struct {
    const char* user;
    const char* level;
    const char* point;
    const char* date;
  } refused[] = {
      {"abcdefghijk", " 7 ( 1)", "100", "07 Mar 2025"},  // 11 characters
      {"", " 7 ( 1)", "100", "07 Mar 2025"},
      {"a&b", " 7 ( 1)", "100", "07 Mar 2025"},
      {"hi#", " 7 ( 1)", "100", "07 Mar 2025"},
      {"caf\xC3\xA9", " 7 ( 1)", "100", "07 Mar 2025"},
      {"ann", "7 (1)", "100", "07 Mar 2025"},    // not the game's spelling
      {"ann", " 7 (12)", "100", "07 Mar 2025"},  // started above the level reached
      {"ann", " 0 ( 0)", "100", "07 Mar 2025"},
      {"ann", "1000 ( 1)", "100", "07 Mar 2025"},
      {"ann", "x", "100", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "0", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "0100", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "-100", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "+100", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "1e3", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "100000000", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "99999999999999999999999", "07 Mar 2025"},
      {"ann", " 7 ( 1)", "100", "7 March 2025"},
      {"ann", " 7 ( 1)", "100", "32 Mar 2025"},
  };
  for (const auto& r : refused)
    EXPECT_EQ(Get(port, {Submission(r.user, r.level, r.point, r.date)}).status, 400)
        << r.user << "|" << r.level << "|" << r.point << "|" << r.date;
  EXPECT_EQ(Get(port, {"/scores/silkguard_win.php?option=addscore&user=ann&level=%207%20%28%201"
                       "%29&point=100&date=07%20Mar%202025&version=1.0"})
                .status,
            400);  // no platform
  // The bounds themselves are fine.
  EXPECT_EQ(Get(port, {Submission("Player 1 X", "999 (999)", "99999999", "31 Dec 2025")}).status,
            200);
  EXPECT_EQ(Get(port, {Submission("a", " 1 ( 1)", "1", "01 Jan 2025")}).status, 200);
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(StoredScores(), 2);
}

TEST_F(ScoreServerTest, AnAddressOverItsRateIsRefusedUntilTheMinuteIsOver) {
  ScoreServerProcess server({"--rate-limit", "5"});
  ASSERT_GT(server.Port(), 0) << server.Log();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Get(server.Port(), {kTopTen}).status, 200) << i;
  EXPECT_EQ(Get(server.Port(), {Submission("ann", " 7 ( 1)", "100")}).status, 429);
  EXPECT_EQ(Get(server.Port(), {kTopTen}).status, 429);
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(StoredScores(), 0);
}

TEST_F(ScoreServerTest, AnswersTheVersionListItWasGiven) {
  ScoreServerProcess server({"--versions", "other=2.0,silkguard=1.1"});
  ASSERT_GT(server.Port(), 0) << server.Log();
  const Reply reply = Get(server.Port(), {"/scores/VersionCheck.php?option=getversion&nbscore=30"});
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, "other\n2.0\nsilkguard\n1.1\n");
  // As many pairs as asked for, first first.
  EXPECT_EQ(Get(server.Port(), {"/scores/VersionCheck.php?option=getversion&nbscore=1"}).body,
            "other\n2.0\n");
  EXPECT_EQ(server.Stop(), 0);

  ScoreServerProcess plain;
  EXPECT_EQ(Get(plain.Port(), {"/scores/VersionCheck.php?option=getversion&nbscore=30"}).body,
            "silkguard\n1.0\n");
}

TEST_F(ScoreServerTest, EveryAnsweredSubmissionSurvivesAKill) {
  {
    ScoreServerProcess server;
    ASSERT_GT(server.Port(), 0) << server.Log();
    for (int i = 1; i <= 40; ++i)
      ASSERT_EQ(Get(server.Port(), {Submission("ann", " 7 ( 1)", std::to_string(i))}).status, 200);
    server.Kill();
  }
  EXPECT_EQ(StoredScores(), 40);
  ScoreServerProcess again;
  ASSERT_GT(again.Port(), 0) << again.Log();
  const Reply top = Get(again.Port(), {"/scores/silkguard_win.php?option=getscore&nbscore=1"});
  EXPECT_EQ(top.body, "ann\n 7 ( 1)\n40\n");
  EXPECT_EQ(again.Stop(), 0);
}

TEST_F(ScoreServerTest, BadCommandLinesAndUnusableDatabasesEndWithAMessage) {
  ScoreServerProcess bad_option({"--colour", "red"});
  EXPECT_EQ(bad_option.Port(), 0);
  EXPECT_NE(bad_option.Log().find("usage: silkguard-scores"), std::string::npos);
  ScoreServerProcess bad_versions({"--versions", "silkguard"});
  EXPECT_EQ(bad_versions.Port(), 0);
  ScoreServerProcess no_folder({}, "no/such/folder/scores.db");
  EXPECT_EQ(no_folder.Port(), 0);
  EXPECT_NE(no_folder.Log().find("cannot open the database"), std::string::npos) << no_folder.Log();
}

}  // namespace
