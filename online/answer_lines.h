// Splits a server's answer into lines as it arrives, keeping at most kMaxAnswerLines
// lines of at most kMaxLineBytes bytes each: however long the answer, memory stays
// bounded. Lines end at the delimiter; with LF, a CR before it (or at the very end)
// belongs to the line ending, so CR LF answers read the same. A last line without a
// delimiter counts; nothing after the last delimiter is no line. An answer holding a
// zero byte is not text and reads as nothing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kMaxAnswerLines = 1000;
inline constexpr std::size_t kMaxLineBytes = 1024;

class AnswerSplitter {
 public:
  explicit AnswerSplitter(char delimiter = '\n') : delimiter_(delimiter) {}

  void Feed(std::string_view bytes);
  // The lines, once the whole answer has been fed; nothing for an answer that is not
  // text. Leaves the splitter empty.
  std::optional<std::vector<std::string>> Finish();

 private:
  void EndLine();

  char delimiter_;
  std::vector<std::string> lines_;
  std::string line_;             // the current line's first bytes, one more than kept
  std::size_t line_length_ = 0;  // the current line's whole length so far
  bool last_was_cr_ = false;
  bool binary_ = false;
};

// The whole answer at once.
std::optional<std::vector<std::string>> SplitAnswer(std::string_view body, char delimiter = '\n');
