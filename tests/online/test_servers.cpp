#include "test_servers.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Binds a loopback socket to a free port; the port, or 0.
int BindLoopback(int socket) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return 0;
  return ntohs(address.sin_port);
}

}  // namespace

FakeScoreServer::FakeScoreServer(Handler handler) {
  server_.Get(".*", [this, handler](const httplib::Request& req, httplib::Response& res) {
    {
      std::lock_guard lock(mutex_);
      targets_.push_back(req.target);
      headers_.push_back(req.headers);
    }
    handler(req, res);
  });
  // Idle connections close soon, so stopping the server does not wait for them.
  server_.set_keep_alive_timeout(1);
  port_ = server_.bind_to_any_port("127.0.0.1");
  // Bound and listening already: requests wait in the backlog until the loop runs.
  thread_ = std::thread([this] { server_.listen_after_bind(); });
}

FakeScoreServer::~FakeScoreServer() {
  server_.stop();
  thread_.join();
}

std::string FakeScoreServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/scores";
}

std::vector<std::string> FakeScoreServer::Targets() const {
  std::lock_guard lock(mutex_);
  return targets_;
}

std::vector<httplib::Headers> FakeScoreServer::Headers() const {
  std::lock_guard lock(mutex_);
  return headers_;
}

SilentServer::SilentServer() {
  socket_ = socket(AF_INET, SOCK_STREAM, 0);
  port_ = BindLoopback(socket_);
  listen(socket_, 16);
}

SilentServer::~SilentServer() {
  close(socket_);
}

std::string SilentServer::BaseUrl() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/scores";
}

int ClosedPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  const int port = BindLoopback(s);
  close(s);
  return port;
}
