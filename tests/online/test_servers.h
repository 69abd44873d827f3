// Servers for the score library's tests, on loopback in the test's own process: one
// that answers what the test says and keeps every request, and one that takes
// connections and never answers.
#pragma once

#include <httplib.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FakeScoreServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
  explicit FakeScoreServer(Handler handler);
  ~FakeScoreServer();

  int Port() const { return port_; }
  std::string BaseUrl() const;
  // Every request's target, as it came, and its headers, in order.
  std::vector<std::string> Targets() const;
  std::vector<httplib::Headers> Headers() const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> targets_;
  std::vector<httplib::Headers> headers_;
};

// Listens, so connections are made, and never accepts or answers.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  std::string BaseUrl() const;

 private:
  int socket_ = -1;
  int port_ = 0;
};

// A loopback port that nothing listens on.
int ClosedPort();
