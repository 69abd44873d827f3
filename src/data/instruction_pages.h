// The instruction pages: the insect shape each page shows, then its text, the heading
// first, ended by a line "*".
#pragma once

inline constexpr int kInstructionPages = 12;
// At most ten lines of text, at most 35 characters each, and the end mark.
inline constexpr int kPageSlots = 11;
inline constexpr int kPageLineLength = 35;

struct InstructionPage {
  int shape;  // 1..10 on the enemy gallery's pages
  const char* lines[kPageSlots];
};

extern const InstructionPage InstructionPages[kInstructionPages];
