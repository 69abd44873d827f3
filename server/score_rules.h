// What the score server accepts in a score submission, and the texts it answers with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "query.h"
#include "score_text.h"

// Plausible bounds. Names are what the game's name entry can type (letters, digits,
// spaces), at most 10 of them. Levels from 1 to 999, the start level at most the level
// reached. Scores from 1 (a score of 0 is never sent) to 99 999 999, the most the
// high-score table shows.
inline constexpr std::size_t kMaxNameLength = 10;
inline constexpr int kMaxLevel = 999;
inline constexpr std::int64_t kMaxScore = 99'999'999;
inline constexpr std::size_t kMaxTagLength = 16;  // version and platform texts
inline constexpr int kDefaultRows = 10;
inline constexpr int kMaxRows = 100;

struct Submission {
  std::string name;
  std::string level;  // as the game sends it: " 7 ( 1)"
  std::int64_t score = 0;
  std::string date;
  std::string version;
  std::string platform;
};

// A number written as plain decimal digits, no sign, no zeros in front, within
// [low, high].
std::optional<std::int64_t> PlainDecimal(std::string_view text, std::int64_t low,
                                         std::int64_t high);

// The submission in a query, or why it is refused.
std::variant<Submission, std::string> ReadSubmission(const QueryParams& params);
