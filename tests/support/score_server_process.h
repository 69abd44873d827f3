// The real silkguard-scores, started by a test on a free loopback port with its
// database and log in the current folder, and stopped again.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ScoreServerProcess {
 public:
  // Starts the server with --port 0, --db `db` and the extra arguments, and waits until
  // it says where it listens. Port() is 0 when it did not start.
  explicit ScoreServerProcess(std::vector<std::string> extra = {}, std::string db = "scores.db");
  ~ScoreServerProcess();
  ScoreServerProcess(const ScoreServerProcess&) = delete;
  ScoreServerProcess& operator=(const ScoreServerProcess&) = delete;

  int Port() const { return port_; }
  std::string BaseUrl() const;  // http://127.0.0.1:PORT/scores
  // SIGTERM, then the exit status (-1 if it did not end normally within 10 s).
  int Stop();
  // SIGKILL, as a crash or a power cut of the process would.
  void Kill();
  // What it wrote to stderr so far.
  std::string Log() const;

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string log_path_;
};
