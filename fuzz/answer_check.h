// What the score library's answer splitter promises for any bytes, checked by its fuzz
// target and by the replay of the seed files in the tests: a body with a zero byte is
// no text; otherwise at most 1000 lines of at most 1024 bytes, one per line ending,
// CR LF read as LF, the same lines however the body is cut into pieces on arrival, and
// short lines kept byte for byte.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "answer_lines.h"

inline bool AnswerSplitKeepsItsPromises(std::string_view body) {
  const auto whole = SplitAnswer(body);
  if (whole.has_value() != (body.find('\0') == std::string_view::npos)) return false;

  AnswerSplitter pieces;
  for (std::size_t at = 0, i = 0; at < body.size(); ++i) {
    const std::size_t length = 1 + static_cast<unsigned char>(body[i % body.size()]) % 17;
    pieces.Feed(body.substr(at, length));
    at += length;
  }
  if (pieces.Finish() != whole) return false;
  if (!whole) return true;

  if (whole->size() > kMaxAnswerLines) return false;
  for (const std::string& line : *whole)
    if (line.size() > kMaxLineBytes || line.find('\n') != std::string::npos) return false;
  std::size_t endings = static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n'));
  if (!body.empty() && body.back() != '\n') ++endings;
  if (whole->size() != std::min(endings, kMaxAnswerLines)) return false;

  // Without CRs and long lines nothing is changed: the lines joined again are the body.
  if (body.find('\r') == std::string_view::npos && endings <= kMaxAnswerLines &&
      std::all_of(whole->begin(), whole->end(),
                  [](const std::string& line) { return line.size() < kMaxLineBytes; })) {
    std::string joined;
    for (const std::string& line : *whole) joined += line + "\n";
    if (!body.empty() && body.back() != '\n') joined.pop_back();
    if (joined != body) return false;
  }
  return true;
}
