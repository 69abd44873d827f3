#include "data/bullet_data.h"

// One closed outline, clockwise from the top point; one segment per line.
// clang-format off
const int BulletShapeData[kBulletSegments * 4] = {
    0, -10, 2, -3,
    2, -3, 9, -7,
    9, -7, 5, -1,
    5, -1, 11, 0,
    11, 0, 5, 2,
    5, 2, 9, 7,
    9, 7, 2, 4,
    2, 4, 0, 10,
    0, 10, -2, 4,
    -2, 4, -9, 7,
    -9, 7, -5, 2,
    -5, 2, -11, 0,
    -11, 0, -5, -1,
    -5, -1, -9, -7,
    -9, -7, -2, -4,
    -2, -4, 0, -10,
};
// clang-format on
