// silkguard-scores: the self-hostable score server for Silkguard.
//   silkguard-scores [--port 8642] [--bind 127.0.0.1] [--db scores.db]
//                    [--key KEY] [--versions silkguard=1.0,...] [--rate-limit 60]
// Port 0 takes any free port; the line "listening on ..." names it.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "quilo.h"
#include "score_service.h"
#include "score_text.h"

namespace {

constexpr const char* kUsage =
    "usage: silkguard-scores [--port N] [--bind ADDRESS] [--db FILE] [--key KEY]\n"
    "                        [--versions GAME=VERSION,...] [--rate-limit PER_MINUTE]\n"
    "  --port        port to listen on (8642; 0 takes a free one)\n"
    "  --bind        address to listen on (127.0.0.1; 0.0.0.0 for every interface)\n"
    "  --db          SQLite file of the scores (scores.db)\n"
    "  --key         signing key shared with the game (the game's own)\n"
    "  --versions    what the version check answers (silkguard=1.0)\n"
    "  --rate-limit  requests per address per minute, 0 for no limit (60)\n";

struct Options {
  int port = 8642;
  std::string bind = "127.0.0.1";
  std::string db = "scores.db";
  ServiceOptions service;
};

bool ReadOptions(int argc, char** argv, Options& o) {
  o.service.key = kScoreKey;
  o.service.versions = {{"silkguard", "1.0"}};
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (name == "--port") {
      const auto port = PlainDecimal(value, 0, 65535);
      if (!port && value != "0") return false;
      o.port = port ? static_cast<int>(*port) : 0;
    } else if (name == "--bind") {
      o.bind = value;
    } else if (name == "--db") {
      o.db = value;
    } else if (name == "--key") {
      o.service.key = value;
    } else if (name == "--versions") {
      auto list = ParseVersionList(value);
      if (!list) return false;
      o.service.versions = std::move(*list);
    } else if (name == "--rate-limit") {
      const auto limit = PlainDecimal(value, 0, 1'000'000);
      if (!limit && value != "0") return false;
      o.service.rate_limit = limit ? static_cast<int>(*limit) : 0;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ReadOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string error;
  auto store = ScoreStore::Open(options.db, 2 * options.service.max_skew_s, &error);
  if (!store) {
    std::fprintf(stderr, "silkguard-scores: %s: %s\n", options.db.c_str(), error.c_str());
    return 1;
  }
  ScoreService service(*store, options.service);

  // SIGTERM and SIGINT go to one thread that stops the server; every other thread,
  // the server's pool included, starts with them blocked.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  httplib::Server server;
  server.set_keep_alive_max_count(1000);
  // A sync's requests follow each other at once; an idle connection would only hold up
  // a stop.
  server.set_keep_alive_timeout(1);
  // Headers and body leave in separate writes; without this each answer waits for the
  // client's delayed acknowledgement (some 40 ms).
  server.set_tcp_nodelay(true);
  server.set_payload_max_length(4096);
  server.set_pre_routing_handler([&](const httplib::Request& req, httplib::Response& res) {
    ServiceRequest request{req.method,
                           req.target,
                           req.remote_addr,
                           req.get_header_value(quilo::kTimestampHeader),
                           req.get_header_value(quilo::kNonceHeader),
                           req.get_header_value(quilo::kSignatureHeader),
                           std::time(nullptr)};
    ServiceReply reply = service.Handle(request);
    res.status = reply.status;
    res.set_content(reply.body, "text/plain; charset=us-ascii");
    return httplib::Server::HandlerResponse::Handled;
  });
  server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
    // Refusals carry their reason, one line; queries are left out of the log.
    std::string reason;
    if (res.status != 200 && !res.body.empty())
      reason.append(" ").append(res.body, 0, res.body.find('\n'));
    std::fprintf(stderr, "%s %s %s %d%s\n", req.remote_addr.c_str(), req.method.c_str(),
                 req.target.substr(0, req.target.find('?')).c_str(), res.status, reason.c_str());
  });

  const int port = options.port == 0
                       ? server.bind_to_any_port(options.bind)
                       : (server.bind_to_port(options.bind, options.port) ? options.port : -1);
  if (port <= 0) {
    std::fprintf(stderr, "silkguard-scores: cannot listen on %s:%d\n", options.bind.c_str(),
                 options.port);
    return 1;
  }
  std::fprintf(stderr, "silkguard-scores: listening on http://%s:%d/scores (database %s)\n",
               options.bind.c_str(), port, options.db.c_str());

  std::atomic<bool> signalled = false;
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stop_signals, &signal);
    signalled = true;
    server.stop();
  });
  server.listen_after_bind();
  // Ended without a signal (the listening socket failed): wake the stopper to join it.
  const bool asked = signalled;
  if (!asked) pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  std::fprintf(stderr, "silkguard-scores: stopped\n");
  return asked ? 0 : 1;
}
