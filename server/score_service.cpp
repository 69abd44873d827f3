#include "score_service.h"

#include <algorithm>

#include "signature.h"

namespace {

constexpr std::string_view kScoresPath = "/scores/silkguard_win.php";
constexpr std::string_view kVersionPath = "/scores/VersionCheck.php";

ServiceReply Refuse(int status, std::string_view why) {
  return {status, "refused: " + std::string(why) + "\n"};
}

bool ValidNonce(std::string_view nonce) {
  return nonce.size() >= 16 && nonce.size() <= 64 &&
         std::all_of(nonce.begin(), nonce.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
         });
}

// How many rows or pairs a read asks for: "nbscore", 10 when it is not given.
std::optional<int> RowsAsked(const QueryParams& params) {
  const auto it = params.find("nbscore");
  if (it == params.end()) return kDefaultRows;
  const auto rows = PlainDecimal(it->second, 1, kMaxRows);
  if (!rows) return std::nullopt;
  return static_cast<int>(*rows);
}

}  // namespace

bool RateLimiter::Allow(const std::string& address, std::int64_t now) {
  if (per_minute_ <= 0) return true;
  std::lock_guard lock(mutex_);
  // Forget finished windows now and then, so many addresses cannot grow the map.
  if (windows_.size() > 10000)
    std::erase_if(windows_, [now](const auto& w) { return now - w.second.start >= 60; });
  Window& w = windows_[address];
  if (now - w.start >= 60) w = Window{now, 0};
  return ++w.count <= per_minute_;
}

ScoreService::ScoreService(ScoreStore& store, ServiceOptions options)
    : store_(store), options_(std::move(options)), limiter_(options_.rate_limit) {}

ServiceReply ScoreService::Handle(const ServiceRequest& r) {
  if (!limiter_.Allow(r.address, r.now)) return Refuse(429, "too many requests");
  if (r.method != "GET") return Refuse(405, "only GET");
  const std::size_t mark = r.target.find('?');
  const std::string_view path = std::string_view(r.target).substr(0, mark);
  const std::string_view query =
      mark == std::string::npos ? std::string_view() : std::string_view(r.target).substr(mark + 1);
  if (path != kScoresPath && path != kVersionPath) return Refuse(404, "no such page");

  if (r.timestamp.empty() || r.nonce.empty() || r.signature.empty())
    return Refuse(401, "not signed");
  const auto timestamp = PlainDecimal(r.timestamp, 0, INT64_MAX / 2);
  if (!timestamp || *timestamp < r.now - options_.max_skew_s ||
      *timestamp > r.now + options_.max_skew_s)
    return Refuse(401, "timestamp out of range");
  if (!ValidNonce(r.nonce)) return Refuse(401, "bad nonce");
  const std::string expected =
      RequestSignature(options_.key, r.method, path, query, *timestamp, r.nonce);
  if (expected.empty() || !SameSignature(expected, r.signature))
    return Refuse(401, "bad signature");

  const auto params = ParseQuery(query);
  if (!params) return Refuse(400, "bad query");
  return path == kScoresPath ? Scores(r, *params) : Versions(r, *params);
}

ServiceReply ScoreService::Scores(const ServiceRequest& r, const QueryParams& params) {
  const auto option = params.find("option");
  if (option != params.end() && option->second == "addscore") {
    auto read = ReadSubmission(params);
    if (const auto* why = std::get_if<std::string>(&read)) return Refuse(400, *why);
    switch (store_.Submit(r.nonce, r.now, std::get<Submission>(read), r.address)) {
      case ScoreStore::Outcome::kDone:
        return {200, "ok\n"};
      case ScoreStore::Outcome::kReplayed:
        return Refuse(409, "nonce seen before");
      case ScoreStore::Outcome::kFailed:
        return {500, "cannot store the score\n"};
    }
  }
  if (option != params.end() && option->second == "getscore") {
    const auto rows = RowsAsked(params);
    if (!rows) return Refuse(400, "bad nbscore");
    if (auto refused = SpendNonce(r)) return *refused;
    const auto top = store_.Top(*rows);
    if (!top) return {500, "cannot read the scores\n"};
    std::string body;
    for (const ScoreRow& row : *top)
      body += row.name + "\n" + row.level + "\n" + std::to_string(row.score) + "\n";
    return {200, body};
  }
  return Refuse(400, "unknown option");
}

// A read stores nothing, but its nonce still counts, so it cannot be replayed either.
std::optional<ServiceReply> ScoreService::SpendNonce(const ServiceRequest& r) {
  switch (store_.UseNonce(r.nonce, r.now)) {
    case ScoreStore::Outcome::kDone:
      return std::nullopt;
    case ScoreStore::Outcome::kReplayed:
      return Refuse(409, "nonce seen before");
    case ScoreStore::Outcome::kFailed:
      break;
  }
  return ServiceReply{500, "cannot check the nonce\n"};
}

ServiceReply ScoreService::Versions(const ServiceRequest& r, const QueryParams& params) {
  const auto option = params.find("option");
  if (option == params.end() || option->second != "getversion")
    return Refuse(400, "unknown option");
  const auto rows = RowsAsked(params);
  if (!rows) return Refuse(400, "bad nbscore");
  if (auto refused = SpendNonce(r)) return *refused;
  std::string body;
  const std::size_t pairs = std::min(options_.versions.size(), static_cast<std::size_t>(*rows));
  for (std::size_t i = 0; i < pairs; ++i)
    body += options_.versions[i].first + "\n" + options_.versions[i].second + "\n";
  return {200, body};
}

std::optional<std::vector<std::pair<std::string, std::string>>> ParseVersionList(
    std::string_view text) {
  std::vector<std::pair<std::string, std::string>> list;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos || eq == 0 || eq + 1 == item.size() ||
        item.find_first_of("\r\n") != std::string_view::npos)
      return std::nullopt;
    list.emplace_back(std::string(item.substr(0, eq)), std::string(item.substr(eq + 1)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  if (list.empty()) return std::nullopt;
  return list;
}
