#include "data/wave_table.h"

#include <cstddef>
#include <iterator>

namespace {

// Per level: the wave count, then per wave (one a line) its entry count followed by
// the types.
// clang-format off
constexpr int kLevel1[] = {
    2,
    12, 8, 3, 3, 3, 2, 2, 2, 2, 2, 1, 1, 1,
    9, 3, 3, 3, 1, 1, 1, 2, 2, 2,
};
constexpr int kLevel2[] = {
    2,
    11, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3,
    10, 1, 1, 1, 1, 2, 2, 3, 3, 3, 8,
};
constexpr int kLevel3[] = {
    2,
    10, 1, 1, 1, 1, 1, 1, 2, 3, 3, 8,
    8, 1, 1, 1, 2, 2, 2, 3, 3,
};
constexpr int kLevel5[] = {
    2,
    12, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 8,
    10, 1, 1, 2, 2, 2, 3, 3, 3, 3, 4,
};
constexpr int kLevel6[] = {
    2,
    12, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 8,
    10, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3,
};
constexpr int kLevel7[] = {
    2,
    11, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 8,
    9, 1, 2, 2, 2, 2, 3, 3, 3, 3,
};
constexpr int kLevel9[] = {
    2,
    11, 1, 1, 1, 2, 2, 3, 3, 3, 3, 5, 8,
    10, 1, 1, 2, 2, 2, 2, 3, 3, 5, 5,
};
constexpr int kLevel10[] = {
    2,
    12, 1, 1, 1, 1, 1, 2, 2, 3, 3, 5, 5, 8,
    7, 2, 2, 2, 3, 3, 3, 5,
};
constexpr int kLevel11[] = {
    2,
    10, 1, 1, 2, 2, 2, 2, 3, 5, 5, 8,
    8, 1, 1, 1, 2, 2, 3, 3, 5,
};
constexpr int kLevel13[] = {
    2,
    8, 5, 5, 5, 5, 5, 5, 5, 5,
    7, 3, 3, 3, 4, 5, 5, 5,
};
constexpr int kLevel14[] = {
    2,
    11, 1, 1, 2, 2, 2, 2, 3, 3, 3, 5, 8,
    8, 3, 3, 3, 3, 1, 2, 5, 5,
};
constexpr int kLevel15[] = {
    2,
    14, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 5, 8,
    8, 2, 2, 2, 3, 3, 3, 5, 5,
};
constexpr int kLevel17[] = {
    2,
    5, 2, 2, 2, 2, 5,
    9, 1, 1, 1, 1, 3, 3, 3, 3, 5,
};
constexpr int kLevel18[] = {
    2,
    8, 2, 2, 2, 2, 2, 2, 5, 5,
    8, 3, 3, 3, 3, 3, 6, 5, 5,
};
constexpr int kLevel19[] = {
    2,
    11, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 6,
    8, 1, 1, 1, 1, 1, 1, 6, 6,
};
constexpr int kLevel21[] = {
    2,
    11, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 6,
    10, 1, 1, 1, 2, 2, 3, 3, 3, 6, 8,
};
constexpr int kLevel22[] = {
    2,
    12, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 5, 6,
    6, 1, 1, 1, 1, 5, 5,
};
constexpr int kLevel23[] = {
    2,
    9, 1, 1, 1, 2, 2, 2, 2, 2, 6,
    9, 1, 1, 3, 3, 3, 6, 5, 5, 5,
};
constexpr int kLevel25[] = {
    2,
    11, 1, 1, 2, 2, 2, 2, 3, 3, 3, 5, 6,
    11, 1, 1, 2, 2, 2, 2, 3, 5, 5, 6, 6,
};
constexpr int kLevel26[] = {
    2,
    11, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 6,
    8, 1, 1, 1, 2, 2, 2, 5, 5,
};
constexpr int kLevel27[] = {
    2,
    8, 1, 1, 1, 1, 1, 2, 2, 2,
    9, 3, 3, 3, 3, 3, 3, 5, 5, 6,
};
constexpr int kLevel29[] = {
    2,
    9, 1, 1, 1, 1, 2, 2, 2, 2, 2,
    7, 3, 3, 3, 5, 5, 6, 6,
};
constexpr int kLevel30[] = {
    3,
    13, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 5, 8,
    11, 1, 1, 2, 2, 3, 3, 3, 5, 5, 6, 6,
    12, 2, 2, 2, 2, 2, 2, 3, 3, 5, 5, 5, 6,
};
constexpr int kLevel31[] = {
    3,
    12, 1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3,
    9, 3, 3, 3, 3, 5, 5, 5, 5, 4,
    8, 1, 2, 3, 5, 6, 6, 6, 6,
};
// clang-format on

struct StoredRow {
  const int* data;
  std::size_t size;
};

// Levels 1..31; bonus levels have no row.
// clang-format off
constexpr StoredRow kRows[kWaveTableLevels] = {
    {kLevel1, std::size(kLevel1)},
    {kLevel2, std::size(kLevel2)},
    {kLevel3, std::size(kLevel3)},
    {nullptr, 0},  // 4: bonus level
    {kLevel5, std::size(kLevel5)},
    {kLevel6, std::size(kLevel6)},
    {kLevel7, std::size(kLevel7)},
    {nullptr, 0},  // 8: bonus level
    {kLevel9, std::size(kLevel9)},
    {kLevel10, std::size(kLevel10)},
    {kLevel11, std::size(kLevel11)},
    {nullptr, 0},  // 12: bonus level
    {kLevel13, std::size(kLevel13)},
    {kLevel14, std::size(kLevel14)},
    {kLevel15, std::size(kLevel15)},
    {nullptr, 0},  // 16: bonus level
    {kLevel17, std::size(kLevel17)},
    {kLevel18, std::size(kLevel18)},
    {kLevel19, std::size(kLevel19)},
    {nullptr, 0},  // 20: bonus level
    {kLevel21, std::size(kLevel21)},
    {kLevel22, std::size(kLevel22)},
    {kLevel23, std::size(kLevel23)},
    {nullptr, 0},  // 24: bonus level
    {kLevel25, std::size(kLevel25)},
    {kLevel26, std::size(kLevel26)},
    {kLevel27, std::size(kLevel27)},
    {nullptr, 0},  // 28: bonus level
    {kLevel29, std::size(kLevel29)},
    {kLevel30, std::size(kLevel30)},
    {kLevel31, std::size(kLevel31)},
};
// clang-format on

}  // namespace

std::span<const int> WaveTableRow(int level) {
  if (level < 1 || level % 4 == 0) return {};
  if (level > kWaveTableLevels) level = kWaveTableLevels;
  const StoredRow& row = kRows[level - 1];
  if (row.data == nullptr) return {};
  return {row.data, row.size};
}
