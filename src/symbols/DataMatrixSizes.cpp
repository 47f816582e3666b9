#include "symbols/DataMatrixSizes.h"

namespace qbm {
namespace {

// ISO/IEC 16022, table 7: the square sizes, then the six rectangular ones.
constexpr TDataMatrixSize kSizes[kDataMatrixSizeCount] = {
    {10, 10, 1, 1, 3, 5, 1},        {12, 12, 1, 1, 5, 7, 1},        {14, 14, 1, 1, 8, 10, 1},
    {16, 16, 1, 1, 12, 12, 1},      {18, 18, 1, 1, 18, 14, 1},      {20, 20, 1, 1, 22, 18, 1},
    {22, 22, 1, 1, 30, 20, 1},      {24, 24, 1, 1, 36, 24, 1},      {26, 26, 1, 1, 44, 28, 1},
    {32, 32, 2, 2, 62, 36, 1},      {36, 36, 2, 2, 86, 42, 1},      {40, 40, 2, 2, 114, 48, 1},
    {44, 44, 2, 2, 144, 56, 1},     {48, 48, 2, 2, 174, 68, 1},     {52, 52, 2, 2, 204, 84, 2},
    {64, 64, 4, 4, 280, 112, 2},    {72, 72, 4, 4, 368, 144, 4},    {80, 80, 4, 4, 456, 192, 4},
    {88, 88, 4, 4, 576, 224, 4},    {96, 96, 4, 4, 696, 272, 4},    {104, 104, 4, 4, 816, 336, 6},
    {120, 120, 6, 6, 1050, 408, 6}, {132, 132, 6, 6, 1304, 496, 8}, {144, 144, 6, 6, 1558, 620, 10},
    {8, 18, 1, 1, 5, 7, 1},         {8, 32, 1, 2, 10, 11, 1},       {12, 26, 1, 1, 16, 14, 1},
    {12, 36, 1, 2, 22, 18, 1},      {16, 36, 1, 2, 32, 24, 1},      {16, 48, 1, 2, 49, 28, 1},
};

} // namespace

std::optional<int> DataMatrixSizeIndex(int rows, int columns) {
    for (int i = 0; i < kDataMatrixSizeCount; ++i)
        if (kSizes[i].rows == rows && kSizes[i].columns == columns) return i + 1;
    return std::nullopt;
}

const TDataMatrixSize& DataMatrixSizeAt(int index) {
    return kSizes[index - 1];
}

} // namespace qbm
