#include "symbols/DataMatrixSizes.h"

namespace qbm {
namespace {

// ISO/IEC 16022, table 7: the square sizes, then the six rectangular ones.
constexpr TDataMatrixSize kSizes[kDataMatrixSizeCount] = {
    {10, 10}, {12, 12}, {14, 14}, {16, 16}, {18, 18},   {20, 20},   {22, 22},   {24, 24},
    {26, 26}, {32, 32}, {36, 36}, {40, 40}, {44, 44},   {48, 48},   {52, 52},   {64, 64},
    {72, 72}, {80, 80}, {88, 88}, {96, 96}, {104, 104}, {120, 120}, {132, 132}, {144, 144},
    {8, 18},  {8, 32},  {12, 26}, {12, 36}, {16, 36},   {16, 48},
};

} // namespace

std::optional<int> DataMatrixSizeIndex(int rows, int columns) {
    for (int i = 0; i < kDataMatrixSizeCount; ++i)
        if (kSizes[i].rows == rows && kSizes[i].columns == columns) return i + 1;
    return std::nullopt;
}

TDataMatrixSize DataMatrixSizeAt(int index) {
    return kSizes[index - 1];
}

} // namespace qbm
