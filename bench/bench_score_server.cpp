// The score server under load, on loopback: 10 000 signed submissions from 8 clients
// at once against a freshly started silkguard-scores, then a count of the stored rows
// (all must be there, none twice); reports submissions per second and the p50 and p99
// latency of one submission. Then a sync as the game makes it (score, top ten, version
// check) through the score library, timed from the notice to the filled table.
//   bench_score_server [submissions] [clients]
#include <httplib.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_stats.h"
#include "persist/online.h"
#include "persist/profile.h"
#include "quilo.h"
#include "score_text.h"
#include "signature.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Server {
  pid_t pid = -1;
  int port = 0;
};

// Starts the server on a free port with no rate limit, its log in `log`.
Server Start(const std::string& db, const std::string& log) {
  Server s;
  s.pid = fork();
  if (s.pid == 0) {
    if (!freopen(log.c_str(), "w", stderr)) _exit(127);
    execl(SG_SCORE_SERVER, SG_SCORE_SERVER, "--port", "0", "--db", db.c_str(), "--rate-limit", "0",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  const std::string mark = "listening on http://127.0.0.1:";
  for (int i = 0; i < 1000 && s.port == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::size_t at = all.find(mark);
    if (at != std::string::npos && all.find('/', at + mark.size()) != std::string::npos)
      s.port = std::stoi(all.substr(at + mark.size()));
  }
  return s;
}

int Stop(const Server& s) {
  kill(s.pid, SIGTERM);
  int status = 0;
  waitpid(s.pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string SubmissionTarget(int n) {
  return "/scores/silkguard_win.php?option=addscore&user=" +
         PercentEncode("bench" + std::to_string(n % 1000)) +
         "&level=" + PercentEncode(LevelText(1 + n % 30, 1)) + "&point=" + std::to_string(1 + n) +
         "&date=" + PercentEncode("07 Mar 2025") + "&version=1.0&platform=linux";
}

}  // namespace

int main(int argc, char** argv) {
  const int total = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int clients = argc > 2 ? std::atoi(argv[2]) : 8;
  const auto folder =
      std::filesystem::temp_directory_path() / ("silkguard-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string db = (folder / "scores.db").string();
  const Server server = Start(db, (folder / "server.log").string());
  if (server.port == 0) {
    std::fprintf(stderr, "bench_score_server: the server did not start\n");
    return 1;
  }

  std::atomic<int> next = 0;
  std::atomic<int> failed = 0;
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
  const auto start = Clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c) {
    threads.emplace_back([&, c] {
      httplib::Client client("127.0.0.1", server.port);
      client.set_keep_alive(true);
      client.set_tcp_nodelay(true);
      auto& mine = latencies[static_cast<std::size_t>(c)];
      for (int n; (n = next++) < total;) {
        const std::string target = SubmissionTarget(n);
        const std::size_t mark = target.find('?');
        const std::int64_t now = std::time(nullptr);
        const std::string nonce = FreshNonce();
        const httplib::Headers headers = {
            {quilo::kTimestampHeader, std::to_string(now)},
            {quilo::kNonceHeader, nonce},
            {quilo::kSignatureHeader, RequestSignature(kScoreKey, "GET", target.substr(0, mark),
                                                       target.substr(mark + 1), now, nonce)}};
        const auto sent = Clock::now();
        const auto result = client.Get(target, headers);
        mine.push_back(MsSince(sent));
        if (!result || result->status != 200) ++failed;
      }
    });
  }
  for (auto& t : threads) t.join();
  const double seconds = MsSince(start) / 1000.0;
  std::vector<double> all;
  for (const auto& l : latencies) all.insert(all.end(), l.begin(), l.end());

  // The sync as the game makes it, through the library, against the loaded server.
  setenv(kScoreServerVariable,
         ("http://127.0.0.1:" + std::to_string(server.port) + "/scores").c_str(), 1);
  OnlineInit(SG_QUILO_LIBRARY);
  PlayerName = "Player1";
  std::vector<double> syncs;
  bool synced = OnlineAvailable();
  for (int i = 0; i < 5 && synced; ++i) {
    const auto sync_start = Clock::now();
    synced = OnlineSync(123456 + i, 7, 1) && VersionCheck();
    syncs.push_back(MsSince(sync_start));
  }
  const int stopped = Stop(server);

  // Every submission has a score of its own, so a doubled row shows as a repeat.
  std::int64_t stored = -1;
  std::int64_t distinct = -1;
  sqlite3* file = nullptr;
  sqlite3_stmt* count = nullptr;
  if (sqlite3_open_v2(db.c_str(), &file, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(file, "SELECT COUNT(*), COUNT(DISTINCT score) FROM scores", -1, &count,
                         nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    stored = sqlite3_column_int64(count, 0);
    distinct = sqlite3_column_int64(count, 1);
  }
  sqlite3_finalize(count);
  sqlite3_close(file);
  std::filesystem::remove_all(folder);

  std::printf("submissions: %d from %d clients in %.2f s: %.0f per second\n", total, clients,
              seconds, total / seconds);
  std::printf("latency: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", Percentile(all, 0.5),
              Percentile(all, 0.99), Percentile(all, 1.0));
  std::printf(
      "refused or failed: %d; stored: %lld (distinct scores %lld, %d expected plus %zu "
      "from the syncs)\n",
      failed.load(), static_cast<long long>(stored), static_cast<long long>(distinct), total,
      syncs.size());
  if (synced)
    std::printf(
        "sync from the notice to the filled table (score, top ten, version check): "
        "p50 %.1f ms, max %.1f ms, of which 400 ms are the game's fixed pauses\n",
        Percentile(syncs, 0.5), Percentile(syncs, 1.0));
  else
    std::printf("sync: failed\n");
  std::printf("server exit status after SIGTERM: %d\n", stopped);
  const bool whole = failed == 0 && stored == total + static_cast<std::int64_t>(syncs.size()) &&
                     distinct == stored && synced && stopped == 0;
  std::printf("%s\n", whole ? "all stored, none lost or doubled" : "MISMATCH");
  return whole ? 0 : 1;
}
