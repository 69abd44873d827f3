// The score server's answers, apart from HTTP: what each request gets, refusals
// included. Safe to call from several threads at once.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "score_store.h"

struct ServiceOptions {
  std::string key;
  // The games and versions the version check lists, in order.
  std::vector<std::pair<std::string, std::string>> versions;
  int rate_limit = 60;  // requests per address per minute; 0 for no limit
  std::int64_t max_skew_s = 300;
};

struct ServiceRequest {
  std::string method;
  std::string target;  // path and query exactly as they came
  std::string address;
  std::string timestamp;
  std::string nonce;
  std::string signature;
  std::int64_t now = 0;
};

struct ServiceReply {
  int status = 200;
  std::string body;
};

// Counts requests per address in windows of a minute.
class RateLimiter {
 public:
  explicit RateLimiter(int per_minute) : per_minute_(per_minute) {}
  bool Allow(const std::string& address, std::int64_t now);

 private:
  struct Window {
    std::int64_t start = 0;
    int count = 0;
  };
  int per_minute_;
  std::mutex mutex_;
  std::unordered_map<std::string, Window> windows_;
};

class ScoreService {
 public:
  ScoreService(ScoreStore& store, ServiceOptions options);
  ServiceReply Handle(const ServiceRequest& request);

 private:
  ServiceReply Scores(const ServiceRequest& request, const QueryParams& params);
  ServiceReply Versions(const ServiceRequest& request, const QueryParams& params);
  // Nothing when the request's nonce is fresh (and now spent), else the refusal.
  std::optional<ServiceReply> SpendNonce(const ServiceRequest& request);

  ScoreStore& store_;
  ServiceOptions options_;
  RateLimiter limiter_;
};

// "name=version,name=version"; nothing for a list that is empty or malformed.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseVersionList(
    std::string_view text);
