#include "data/grub_data.h"

// The S from its top right round to its bottom left, then the two bars.
// clang-format off
const int GrubShapeData[kGrubSegments * 4] = {
    7, -6, 5, -8,
    5, -8, -5, -8,
    -5, -8, -7, -6,
    -7, -6, -7, -2,
    -7, -2, -5, 0,
    -5, 0, 5, 0,
    5, 0, 7, 2,
    7, 2, 7, 6,
    7, 6, 5, 8,
    5, 8, -4, 8,
    -4, 8, -7, 5,
    -2, -11, -2, 11,
    2, -11, 2, 11,
};
// clang-format on
