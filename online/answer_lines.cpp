#include "answer_lines.h"

#include <algorithm>

void AnswerSplitter::Feed(std::string_view bytes) {
  if (binary_) return;
  if (bytes.find('\0') != std::string_view::npos) {
    binary_ = true;
    return;
  }
  while (!bytes.empty()) {
    const std::size_t end = bytes.find(delimiter_);
    const std::string_view part = bytes.substr(0, end);
    if (!part.empty()) {
      // One byte beyond the kept ones is enough to drop a CR ending a full-length line.
      if (line_.size() <= kMaxLineBytes)
        line_.append(part.substr(0, kMaxLineBytes + 1 - line_.size()));
      line_length_ += part.size();
      last_was_cr_ = part.back() == '\r';
    }
    if (end == std::string_view::npos) return;
    EndLine();
    bytes.remove_prefix(end + 1);
  }
}

void AnswerSplitter::EndLine() {
  if (delimiter_ == '\n' && last_was_cr_ && line_length_ == line_.size()) line_.pop_back();
  if (line_.size() > kMaxLineBytes) line_.resize(kMaxLineBytes);
  if (lines_.size() < kMaxAnswerLines) lines_.push_back(std::move(line_));
  line_.clear();
  line_length_ = 0;
  last_was_cr_ = false;
}

std::optional<std::vector<std::string>> AnswerSplitter::Finish() {
  if (line_length_ > 0) EndLine();
  std::optional<std::vector<std::string>> result;
  if (!binary_) result = std::move(lines_);
  lines_.clear();
  line_.clear();
  line_length_ = 0;
  last_was_cr_ = false;
  binary_ = false;
  return result;
}

std::optional<std::vector<std::string>> SplitAnswer(std::string_view body, char delimiter) {
  AnswerSplitter splitter(delimiter);
  splitter.Feed(body);
  return splitter.Finish();
}
