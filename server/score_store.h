// The score server's storage: one SQLite file in WAL mode. Every accepted submission
// is a row of its own; each request's nonce is kept long enough to refuse it again.
// Every change is one transaction, so a server killed at any moment leaves the file
// whole with every submission it had answered.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "score_rules.h"

struct sqlite3;
struct sqlite3_stmt;

struct ScoreRow {
  std::string name;
  std::string level;
  std::int64_t score = 0;
};

class ScoreStore {
 public:
  enum class Outcome { kDone, kReplayed, kFailed };

  // Nothing, and *error says why, when the file cannot be opened or set up.
  // Nonces older than nonce_keep_s are forgotten.
  static std::unique_ptr<ScoreStore> Open(const std::string& path, std::int64_t nonce_keep_s,
                                          std::string* error);
  ~ScoreStore();
  ScoreStore(const ScoreStore&) = delete;
  ScoreStore& operator=(const ScoreStore&) = delete;

  // Marks the nonce used; kReplayed if it was used before.
  Outcome UseNonce(std::string_view nonce, std::int64_t now);
  // The nonce and the score together, or neither.
  Outcome Submit(std::string_view nonce, std::int64_t now, const Submission& entry,
                 std::string_view address);
  // The best `count` scores, ties to the earlier submission.
  std::optional<std::vector<ScoreRow>> Top(int count);
  std::int64_t Count();

 private:
  ScoreStore() = default;
  bool Exec(const char* sql);
  Outcome InsertNonce(std::string_view nonce, std::int64_t now);
  void ForgetOldNonces(std::int64_t now);

  std::mutex mutex_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_nonce_ = nullptr;
  sqlite3_stmt* insert_score_ = nullptr;
  sqlite3_stmt* top_ = nullptr;
  sqlite3_stmt* forget_ = nullptr;
  std::int64_t nonce_keep_s_ = 600;
  std::int64_t next_forget_ = 0;
};
