// The bytes of settings.dat: a head of 22 little-endian 32-bit integers, then text
// lines ended by CR LF, one byte per character. Reading and writing here are pure
// functions between bytes and values, so the reader can be fuzzed; the globals are
// filled and gathered by start-up.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kHighScoreRows = 10;
// The 22 integers of the head.
inline constexpr std::size_t kSettingsHeadBytes = 88;

// One row of the cached online top ten, as text; the defaults show an empty row.
struct HighScoreRow {
  std::string name = "..........";
  std::string score = "-";
  std::string level = "-";
  std::string spare = " ";
  bool operator==(const HighScoreRow&) const = default;
};

// Everything the file holds, in its order. The initial values are those of a first
// run, when there is no file.
struct SettingsValues {
  int FullScreen = 0;
  int NeonMode = 0;
  int BackgroundOn = 0;
  int PersonalBest = 0;
  int KeyMoveLeft = 37;
  int KeyMoveRight = 39;
  int KeyMoveUp = 38;
  int KeyMoveDown = 40;
  int KeyFireUp = 87;
  int KeyFireDown = 83;
  int KeyFireLeft = 65;
  int KeyFireRight = 68;
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  int ScreenOffsetX = 0;
  int ScreenOffsetY = 0;
  int SavedOffsetY = 0;
  int SoundOn = 1;
  int MusicOn = 1;
  int GlowAmount = 0;
  int ControlScheme = 0;
  int StickThreshold = 16;
  std::string PlayerName = "Player1";
  std::string SpareLine = " ";
  std::array<HighScoreRow, kHighScoreRows> rows;
  bool operator==(const SettingsValues&) const = default;
};

// The values of a file's bytes. Nothing when the bytes are too short to hold the
// head: a cut-off file counts as no file. Text lines past the end come back empty.
// Each byte of a line becomes one character (Latin-1, held as UTF-8).
std::optional<SettingsValues> ParseSettings(std::span<const unsigned char> bytes);

// The bytes of a file holding these values, the four closing note lines included.
// Each character is written as the low 8 bits of its code; those that would end or
// cut the line on reading (0, LF, CR) are left out.
std::vector<unsigned char> FormatSettings(const SettingsValues& values);

// A text as the file's one-byte characters: the low 8 bits of each character's code.
std::string EightBitText(std::string_view text);
// The file's one-byte characters as the game's text.
std::string TextFromEightBit(std::string_view bytes);
