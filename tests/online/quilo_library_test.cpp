// The score library itself, loaded with dlopen and bound by its entry points' names as
// the game binds it: signing, the order of requests, answers cut into lines within
// their limits, and waits that always end.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "answer_check.h"
#include "quilo.h"
#include "signature.h"
#include "support/score_server_process.h"
#include "support/work_folder.h"
#include "test_servers.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kKey = "r7Tq2mXw9Lz4Kd0";

struct Quilo {
  void* library = dlopen(SG_QUILO_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  template <typename Fn>
  Fn Get(const char* name) {
    return reinterpret_cast<Fn>(library ? dlsym(library, name) : nullptr);
  }
  quilo::TextFn set_server = Get<quilo::TextFn>(quilo::kSetServer);
  quilo::TextFn set_delimiter = Get<quilo::TextFn>(quilo::kSetDelimiter);
  quilo::TextFn set_key = Get<quilo::TextFn>(quilo::kSetKey);
  quilo::TextFn set_key_send = Get<quilo::TextFn>(quilo::kSetKeySend);
  quilo::TextFn set_key_receive = Get<quilo::TextFn>(quilo::kSetKeyReceive);
  quilo::VoidFn update = Get<quilo::VoidFn>(quilo::kUpdate);
  quilo::SendFn send = Get<quilo::SendFn>(quilo::kSend);
  quilo::CountFn queue = Get<quilo::CountFn>(quilo::kQueueCount);
  quilo::VoidFn cancel = Get<quilo::VoidFn>(quilo::kCancel);
  quilo::ReceiveFn receive = Get<quilo::ReceiveFn>(quilo::kReceive);
  quilo::CountFn state = Get<quilo::CountFn>(quilo::kGetState);
  quilo::ResultFn result = Get<quilo::ResultFn>(quilo::kGetResult);
  quilo::CountFn lines = Get<quilo::CountFn>(quilo::kGetLineCount);

  // Drives the queue empty as the game does, with a real pause between steps; the
  // time it took.
  Clock::duration Drain() {
    const auto start = Clock::now();
    while (queue() != 0 && Clock::now() - start < std::chrono::seconds(30)) {
      update();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Clock::now() - start;
  }
  // The answer to one request.
  struct Answer {
    int state = -1;
    std::vector<std::string> lines;
  };
  Answer Ask(int command, const std::string& request) {
    send(command, request.c_str(), 1, 0);
    Drain();
    Answer answer;
    if (receive(command) == 0) return answer;
    answer.state = state();
    for (int i = 1; i <= lines(); ++i) answer.lines.emplace_back(result(i));
    return answer;
  }
};

class QuiloLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(q.library, nullptr) << dlerror();
    q.cancel();  // the library is the process's: forget what an earlier test left
    q.set_key(kKey);
    q.set_delimiter("");
  }
  Quilo q;
};

TEST_F(QuiloLibrary, ExportsEveryEntryPointByItsExactName) {
  for (const char* name :
       {quilo::kSetServer, quilo::kSetDelimiter, quilo::kSetKey, quilo::kSetKeySend,
        quilo::kSetKeyReceive, quilo::kUpdate, quilo::kSend, quilo::kQueueCount, quilo::kCancel,
        quilo::kReceive, quilo::kGetState, quilo::kGetResult, quilo::kGetLineCount})
    EXPECT_NE(dlsym(q.library, name), nullptr) << name;
  EXPECT_EQ(std::string(quilo::kSetKeySend), "QUILO_)SetKeySend");
}

TEST_F(QuiloLibrary, SignsEveryRequestAsSentAndEscapesWhatAUrlCannotCarry) {
  FakeScoreServer server([](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok\n", "text/plain");
  });
  q.set_server(server.BaseUrl().c_str());
  q.set_key_send("another key");  // the same as SetKey
  EXPECT_EQ(q.Ask(1, "a b.php?q=x y#z\"").state, quilo::kStateOk);
  q.set_key(kKey);
  EXPECT_EQ(q.Ask(1, "a b.php?q=x y#z\"").state, quilo::kStateOk);

  const auto targets = server.Targets();
  const auto headers = server.Headers();
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0], "/scores/a%20b.php?q=x%20y%23z%22");
  const char* keys[] = {"another key", kKey};
  for (int i = 0; i < 2; ++i) {
    const auto& h = headers[static_cast<std::size_t>(i)];
    const std::string nonce = h.find(quilo::kNonceHeader)->second;
    const std::int64_t timestamp = std::stoll(h.find(quilo::kTimestampHeader)->second);
    EXPECT_EQ(nonce.size(), 32u);
    EXPECT_LE(std::abs(timestamp - std::time(nullptr)), 5);
    EXPECT_EQ(
        h.find(quilo::kSignatureHeader)->second,
        RequestSignature(keys[i], "GET", "/scores/a%20b.php", "q=x%20y%23z%22", timestamp, nonce));
  }
  EXPECT_NE(headers[0].find(quilo::kNonceHeader)->second,
            headers[1].find(quilo::kNonceHeader)->second);
}

TEST_F(QuiloLibrary, RunsRequestsInOrderAndHandsEachAnswerToItsCommand) {
  WorkFolder folder;
  ScoreServerProcess server;
  ASSERT_GT(server.Port(), 0) << server.Log();
  q.set_server((server.BaseUrl() + "/").c_str());  // a trailing slash is fine
  q.send(1,
         "silkguard_win.php?option=addscore&user=player1&level=%207%20%28%201%29&point=4500"
         "&date=07%20Mar%202025&version=1.0&platform=windows",
         1, 0);
  q.send(2, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
  EXPECT_EQ(q.queue(), 2);
  q.Drain();
  EXPECT_EQ(q.state(), quilo::kStateNone);  // nothing received yet
  ASSERT_EQ(q.receive(2), 1);
  EXPECT_EQ(q.state(), quilo::kStateOk);
  ASSERT_EQ(q.lines(), 3);  // the submission was stored first
  EXPECT_STREQ(q.result(1), "player1");
  EXPECT_STREQ(q.result(2), " 7 ( 1)");
  EXPECT_STREQ(q.result(3), "4500");
  EXPECT_STREQ(q.result(0), "");
  EXPECT_STREQ(q.result(4), "");
  EXPECT_EQ(q.receive(2), 0);
  ASSERT_EQ(q.receive(1), 1);
  EXPECT_EQ(q.state(), quilo::kStateOk);
  ASSERT_EQ(q.lines(), 1);
  EXPECT_STREQ(q.result(1), "ok");

  // A refusal is a failure with the server's status.
  q.set_key("wrong");
  EXPECT_EQ(q.Ask(2, "silkguard_win.php?option=getscore&nbscore=10").state, quilo::kStateHttpError);
  EXPECT_EQ(server.Stop(), 0);
}

TEST_F(QuiloLibrary, AnswersAreCutIntoAtMostAThousandLinesOfAtMost1024Bytes) {
  const std::string huge(5000, 'x');
  std::string many;
  for (int i = 1; i <= 1500; ++i) many += std::to_string(i) + "\r\n";
  FakeScoreServer server([&](const httplib::Request& req, httplib::Response& res) {
    const std::string page = req.path.substr(req.path.rfind('/') + 1);
    if (page == "crlf") res.set_content("a\r\n\r\nb\r\n", "text/plain");
    if (page == "empty") res.set_content("", "text/plain");
    if (page == "bare") res.set_content("no newline", "text/plain");
    if (page == "huge") res.set_content(huge + "\r\nz", "text/plain");
    if (page == "many") res.set_content(many, "text/plain");
    if (page == "binary") res.set_content(std::string("a\0b\n", 4), "text/plain");
    if (page == "error") {
      res.status = 500;
      res.set_content("a\nb\n", "text/plain");
    }
  });
  q.set_server(server.BaseUrl().c_str());
  using Lines = std::vector<std::string>;
  auto crlf = q.Ask(2, "crlf");
  EXPECT_EQ(crlf.state, quilo::kStateOk);
  EXPECT_EQ(crlf.lines, (Lines{"a", "", "b"}));
  auto empty = q.Ask(2, "empty");
  EXPECT_EQ(empty.state, quilo::kStateOk);
  EXPECT_TRUE(empty.lines.empty());
  EXPECT_EQ(q.Ask(2, "bare").lines, Lines{"no newline"});
  EXPECT_EQ(q.Ask(2, "huge").lines, (Lines{std::string(1024, 'x'), "z"}));
  auto cut = q.Ask(2, "many");
  ASSERT_EQ(cut.lines.size(), 1000u);
  EXPECT_EQ(cut.lines.front(), "1");
  EXPECT_EQ(cut.lines.back(), "1000");
  auto binary = q.Ask(2, "binary");
  EXPECT_EQ(binary.state, quilo::kStateBadAnswer);
  EXPECT_TRUE(binary.lines.empty());
  auto error = q.Ask(2, "error");
  EXPECT_EQ(error.state, quilo::kStateHttpError);
  EXPECT_TRUE(error.lines.empty());

  q.set_delimiter(";");
  EXPECT_EQ(q.Ask(2, "bare").lines, Lines{"no newline"});
  EXPECT_EQ(q.Ask(2, "crlf").lines, (Lines{"a\r\n\r\nb\r\n"}));
}

TEST_F(QuiloLibrary, ARefusedConnectionEndsTheWaitAtOnce) {
  q.set_server(("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/scores").c_str());
  q.send(1, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
  q.send(2, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
  EXPECT_LT(q.Drain(), std::chrono::seconds(2));
  ASSERT_EQ(q.receive(1), 1);
  EXPECT_EQ(q.state(), quilo::kStateNoConnection);
  ASSERT_EQ(q.receive(2), 1);
  EXPECT_EQ(q.state(), quilo::kStateNoConnection);
}

TEST_F(QuiloLibrary, HttpsIsSpokenAndAServerWithoutTlsIsNoConnection) {
  FakeScoreServer plain([](const httplib::Request&, httplib::Response& res) {
    res.set_content("ok\n", "text/plain");
  });
  q.set_server(("https://127.0.0.1:" + std::to_string(plain.Port()) + "/scores").c_str());
  q.send(2, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
  EXPECT_EQ(q.queue(), 1);  // an https URL is taken
  EXPECT_LT(q.Drain(), std::chrono::seconds(2));
  ASSERT_EQ(q.receive(2), 1);
  EXPECT_EQ(q.state(), quilo::kStateNoConnection);
  EXPECT_TRUE(plain.Targets().empty());
}

TEST_F(QuiloLibrary, AServerThatNeverAnswersIsGivenUpWithinTheTimeOut) {
  SilentServer server;
  q.set_server(server.BaseUrl().c_str());
  q.send(2, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
  const auto waited = q.Drain();
  EXPECT_GE(waited, std::chrono::milliseconds(quilo::kTotalTimeoutMs - 500));
  EXPECT_LT(waited, std::chrono::milliseconds(quilo::kTotalTimeoutMs + 3000));
  ASSERT_EQ(q.receive(2), 1);
  EXPECT_EQ(q.state(), quilo::kStateTimedOut);
}

TEST_F(QuiloLibrary, CancelAbandonsEveryRequestAndUnreadAnswer) {
  SilentServer server;
  q.set_server(server.BaseUrl().c_str());
  q.send(1, "a.php", 1, 0);
  q.send(2, "b.php", 1, 0);
  q.update();
  q.cancel();
  EXPECT_EQ(q.queue(), 0);
  EXPECT_EQ(q.receive(1), 0);
  EXPECT_EQ(q.receive(2), 0);
  EXPECT_EQ(q.state(), quilo::kStateNone);
}

TEST_F(QuiloLibrary, ARequestWithoutAUsableServerFailsAtOnce) {
  for (const char* server : {"", "ftp://127.0.0.1/scores", "not a url at all"}) {
    q.set_server(server);
    q.send(2, "silkguard_win.php?option=getscore&nbscore=10", 1, 0);
    EXPECT_EQ(q.queue(), 0) << server;
    ASSERT_EQ(q.receive(2), 1) << server;
    EXPECT_EQ(q.state(), quilo::kStateBadRequest) << server;
  }
  q.send(2, nullptr, 1, 0);
  ASSERT_EQ(q.receive(2), 1);
  EXPECT_EQ(q.state(), quilo::kStateBadRequest);
}

TEST(AnswerCorpus, SeedAnswersKeepThePromisesOfTheFuzzTarget) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(SG_ANSWER_CORPUS)) {
    const auto bytes = ReadBytes(entry.path().string());
    const std::string body(bytes.begin(), bytes.end());
    EXPECT_TRUE(AnswerSplitKeepsItsPromises(body)) << entry.path();
    for (std::size_t n = 0; n < body.size(); n += 1 + n / 64)
      ASSERT_TRUE(AnswerSplitKeepsItsPromises(body.substr(0, n))) << entry.path() << " " << n;
    ++files;
  }
  EXPECT_GE(files, 8);
}

}  // namespace
