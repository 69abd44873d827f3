#include "score_rules.h"

#include <algorithm>
#include <array>

namespace {

bool ValidName(std::string_view name) {
  return !name.empty() && name.size() <= kMaxNameLength &&
         std::all_of(name.begin(), name.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == ' ';
         });
}

bool ValidTag(std::string_view tag) {
  return !tag.empty() && tag.size() <= kMaxTagLength &&
         std::all_of(tag.begin(), tag.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '.' || c == '-' || c == '_';
         });
}

// "%d %b %Y": "07 Mar 2025".
bool ValidDate(std::string_view date) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (date.size() != 11 || date[2] != ' ' || date[6] != ' ') return false;
  const auto day =
      PlainDecimal(date.substr(0, 2)[0] == '0' ? date.substr(1, 1) : date.substr(0, 2), 1, 31);
  const auto year = PlainDecimal(date.substr(7), 1000, 9999);
  return day && year &&
         std::find(kMonths.begin(), kMonths.end(), date.substr(3, 3)) != kMonths.end();
}

std::optional<std::pair<int, int>> ReadLevel(std::string_view text) {
  // Levels of up to three digits: at most "999 (999)".
  const std::size_t open = text.find(" (");
  if (open == std::string_view::npos || text.size() > 9 || text.back() != ')') return std::nullopt;
  auto number = [](std::string_view part) {
    if (!part.empty() && part[0] == ' ') part.remove_prefix(1);
    return PlainDecimal(part, 1, kMaxLevel);
  };
  const auto level = number(text.substr(0, open));
  const auto start = number(text.substr(open + 2, text.size() - open - 3));
  if (!level || !start || *start > *level) return std::nullopt;
  // Only the game's own spelling, so one level has one text in the table.
  if (LevelText(static_cast<int>(*level), static_cast<int>(*start)) != text) return std::nullopt;
  return std::pair<int, int>(static_cast<int>(*level), static_cast<int>(*start));
}

}  // namespace

std::optional<std::int64_t> PlainDecimal(std::string_view text, std::int64_t low,
                                         std::int64_t high) {
  if (text.empty() || text.size() > 18 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::variant<Submission, std::string> ReadSubmission(const QueryParams& params) {
  auto field = [&](const char* name) -> const std::string* {
    const auto it = params.find(name);
    return it == params.end() ? nullptr : &it->second;
  };
  const std::string* user = field("user");
  const std::string* level = field("level");
  const std::string* point = field("point");
  const std::string* date = field("date");
  const std::string* version = field("version");
  const std::string* platform = field("platform");
  if (!user || !level || !point || !date || !version || !platform)
    return std::string("a field is missing");
  if (!ValidName(*user)) return std::string("bad name");
  if (!ReadLevel(*level)) return std::string("bad level");
  const auto score = PlainDecimal(*point, 1, kMaxScore);
  if (!score) return std::string("bad score");
  if (!ValidDate(*date)) return std::string("bad date");
  if (!ValidTag(*version) || !ValidTag(*platform)) return std::string("bad version or platform");
  return Submission{*user, *level, *score, *date, *version, *platform};
}
