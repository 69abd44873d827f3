#include "support/score_server_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

int WaitFor(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (std::chrono::steady_clock::now() > end) return -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

ScoreServerProcess::ScoreServerProcess(std::vector<std::string> extra, std::string db) {
  static int started = 0;
  log_path_ = "score-server-" + std::to_string(getpid()) + "-" + std::to_string(++started) + ".log";
  std::vector<std::string> args = {SG_SCORE_SERVER, "--port", "0", "--db", db};
  args.insert(args.end(), extra.begin(), extra.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // Only async-signal-safe calls between fork and exec: the test may run threads.
  const char* log_path = log_path_.c_str();
  pid_ = fork();
  if (pid_ == 0) {
    const int log = open(log_path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) dup2(log, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (pid_ < 0) return;

  // Sanitizer builds start slowly.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  const std::string mark = "listening on http://127.0.0.1:";
  while (std::chrono::steady_clock::now() < end) {
    const std::string log = Log();
    const std::size_t at = log.find(mark);
    if (at != std::string::npos && log.find('/', at + mark.size()) != std::string::npos) {
      port_ = std::stoi(log.substr(at + mark.size()));
      return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

ScoreServerProcess::~ScoreServerProcess() {
  if (pid_ > 0) Kill();
}

std::string ScoreServerProcess::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/scores";
}

int ScoreServerProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  const int status = WaitFor(pid_, std::chrono::seconds(10));
  if (status == -2) {
    Kill();
    return -1;
  }
  pid_ = -1;
  return status;
}

void ScoreServerProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  WaitFor(pid_, std::chrono::seconds(10));
  pid_ = -1;
}

std::string ScoreServerProcess::Log() const {
  std::ifstream in(log_path_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
