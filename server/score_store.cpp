#include "score_store.h"

#include <sqlite3.h>

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS scores ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT NOT NULL, level TEXT NOT NULL,"
    " score INTEGER NOT NULL, date TEXT NOT NULL, version TEXT NOT NULL,"
    " platform TEXT NOT NULL, address TEXT NOT NULL, received INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS scores_rank ON scores (score DESC, id);"
    "CREATE TABLE IF NOT EXISTS nonces (nonce TEXT PRIMARY KEY, seen INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS nonces_seen ON nonces (seen);";

// Resets a statement when the scope ends, whatever way it ends.
struct Reset {
  sqlite3_stmt* statement;
  ~Reset() {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
  }
};

void BindText(sqlite3_stmt* s, int index, std::string_view text) {
  sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::unique_ptr<ScoreStore> ScoreStore::Open(const std::string& path, std::int64_t nonce_keep_s,
                                             std::string* error) {
  std::unique_ptr<ScoreStore> store(new ScoreStore());
  store->nonce_keep_s_ = nonce_keep_s;
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + sqlite3_errmsg(store->db_);
    return nullptr;
  };
  if (sqlite3_open_v2(path.c_str(), &store->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK)
    return fail("cannot open the database");
  sqlite3_busy_timeout(store->db_, 5000);
  // WAL with NORMAL syncing keeps every committed transaction through a killed
  // process; only a lost machine may lose the last few.
  if (!store->Exec("PRAGMA journal_mode=WAL;") || !store->Exec("PRAGMA synchronous=NORMAL;") ||
      !store->Exec(kSchema))
    return fail("cannot set up the database");
  const struct {
    sqlite3_stmt** statement;
    const char* sql;
  } statements[] = {
      {&store->insert_nonce_, "INSERT INTO nonces (nonce, seen) VALUES (?1, ?2)"},
      {&store->insert_score_,
       "INSERT INTO scores (name, level, score, date, version, platform, address, received)"
       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"},
      {&store->top_, "SELECT name, level, score FROM scores ORDER BY score DESC, id LIMIT ?1"},
      {&store->forget_, "DELETE FROM nonces WHERE seen < ?1"},
  };
  for (const auto& s : statements)
    if (sqlite3_prepare_v2(store->db_, s.sql, -1, s.statement, nullptr) != SQLITE_OK)
      return fail("cannot prepare a statement");
  return store;
}

ScoreStore::~ScoreStore() {
  for (sqlite3_stmt* s : {insert_nonce_, insert_score_, top_, forget_}) sqlite3_finalize(s);
  sqlite3_close(db_);
}

bool ScoreStore::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

ScoreStore::Outcome ScoreStore::InsertNonce(std::string_view nonce, std::int64_t now) {
  Reset reset{insert_nonce_};
  BindText(insert_nonce_, 1, nonce);
  sqlite3_bind_int64(insert_nonce_, 2, now);
  const int rc = sqlite3_step(insert_nonce_);
  if (rc == SQLITE_DONE) return Outcome::kDone;
  return (rc & 0xFF) == SQLITE_CONSTRAINT ? Outcome::kReplayed : Outcome::kFailed;
}

void ScoreStore::ForgetOldNonces(std::int64_t now) {
  if (now < next_forget_) return;
  next_forget_ = now + 60;
  Reset reset{forget_};
  sqlite3_bind_int64(forget_, 1, now - nonce_keep_s_);
  sqlite3_step(forget_);
}

ScoreStore::Outcome ScoreStore::UseNonce(std::string_view nonce, std::int64_t now) {
  std::lock_guard lock(mutex_);
  ForgetOldNonces(now);
  return InsertNonce(nonce, now);
}

ScoreStore::Outcome ScoreStore::Submit(std::string_view nonce, std::int64_t now,
                                       const Submission& entry, std::string_view address) {
  std::lock_guard lock(mutex_);
  ForgetOldNonces(now);
  if (!Exec("BEGIN IMMEDIATE")) return Outcome::kFailed;
  Outcome outcome = InsertNonce(nonce, now);
  if (outcome == Outcome::kDone) {
    Reset reset{insert_score_};
    BindText(insert_score_, 1, entry.name);
    BindText(insert_score_, 2, entry.level);
    sqlite3_bind_int64(insert_score_, 3, entry.score);
    BindText(insert_score_, 4, entry.date);
    BindText(insert_score_, 5, entry.version);
    BindText(insert_score_, 6, entry.platform);
    BindText(insert_score_, 7, address);
    sqlite3_bind_int64(insert_score_, 8, now);
    if (sqlite3_step(insert_score_) != SQLITE_DONE) outcome = Outcome::kFailed;
  }
  if (outcome == Outcome::kDone && Exec("COMMIT")) return outcome;
  Exec("ROLLBACK");
  return outcome == Outcome::kDone ? Outcome::kFailed : outcome;
}

std::optional<std::vector<ScoreRow>> ScoreStore::Top(int count) {
  std::lock_guard lock(mutex_);
  Reset reset{top_};
  sqlite3_bind_int(top_, 1, count);
  std::vector<ScoreRow> rows;
  int rc;
  while ((rc = sqlite3_step(top_)) == SQLITE_ROW) {
    rows.push_back(ScoreRow{reinterpret_cast<const char*>(sqlite3_column_text(top_, 0)),
                            reinterpret_cast<const char*>(sqlite3_column_text(top_, 1)),
                            sqlite3_column_int64(top_, 2)});
  }
  if (rc != SQLITE_DONE) return std::nullopt;
  return rows;
}

std::int64_t ScoreStore::Count() {
  std::lock_guard lock(mutex_);
  sqlite3_stmt* s = nullptr;
  std::int64_t count = -1;
  if (sqlite3_prepare_v2(db_, "SELECT COUNT(*) FROM scores", -1, &s, nullptr) == SQLITE_OK &&
      sqlite3_step(s) == SQLITE_ROW)
    count = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  return count;
}
