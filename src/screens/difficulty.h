// Difficulty selection before every game: where to start, and what the dragonfly pays.
#pragma once

#include <array>
#include <string_view>

#include "data/line_art.h"

// Row choice + 1 describes a choice: start wave, bonus and the difficulty word.
inline constexpr int kDifficultyRows = 9;
extern std::array<std::string_view, kDifficultyRows> DifficultyTable;
void LoadDifficultyTexts();

// The picture shown: the lines of one of the three pictures, loaded when the choice
// moves into another picture's group.
inline constexpr int kDifficultyPictureBuffer = 150;  // lines
extern std::array<LineArtRecord, kDifficultyPictureBuffer> DifficultyPicture;
extern int DifficultyPictureLines;
extern int DifficultyPictureShown;  // 1..3, 0 before the first load
void ClearDifficultyPicture();
void LoadDifficultyPicture(int picture);

// The screen's state: the choice 1..6 and the frames left to choose.
extern int DifficultyChoice;
extern int DifficultyCountdown;

// Lets the player choose for eleven seconds, then sets Level, StartLevel and
// DragonflyBonus.
void DifficultySelect();
