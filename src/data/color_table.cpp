#include "data/color_table.h"

const ColorTableEntry ColorTableData[kColorTableDataRows] = {
    {0xFFFF0000u, 255, 0, 0},     {0xFF800000u, 128, 0, 0},     {0xFF00FF00u, 0, 255, 0},
    {0xFF008000u, 0, 128, 0},     {0xFF00FFFFu, 0, 255, 255},   {0xFF008080u, 0, 128, 128},
    {0xFF0000FFu, 0, 0, 255},     {0xFF8080FFu, 128, 128, 255}, {0xFFFF00FFu, 255, 0, 255},
    {0xFF800080u, 128, 255, 128}, {0xFFFDE51Fu, 253, 229, 31},  {0xFF969717u, 150, 151, 23},
    {0xFFFFFFFFu, 255, 255, 255}, {0xFFA99999u, 170, 170, 170}, {0xFF044E35u, 4, 78, 53},
    {0xFFEB8DD6u, 235, 141, 214},
};
