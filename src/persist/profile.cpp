#include "persist/profile.h"

#include <cctype>

std::string PlayerName = "Player1";
int PersonalBest = 0;
std::string SpareLine = " ";
int SavedOffsetY = 0;

std::string HiName[kHighScoreRows];
std::string HiScore[kHighScoreRows];
std::string HiLevel[kHighScoreRows];
std::string HiSpare[kHighScoreRows];

void FillDefaultHighScores() {
  const HighScoreRow empty;
  for (int i = 0; i < kHighScoreRows; ++i) {
    HiName[i] = empty.name;
    HiScore[i] = empty.score;
    HiLevel[i] = empty.level;
    HiSpare[i] = empty.spare;
  }
}

bool IsUnsetPlayerName(const std::string& name) {
  constexpr char kUnset[] = "noname";
  if (name.size() != sizeof kUnset - 1) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != kUnset[i]) return false;
  return true;
}
