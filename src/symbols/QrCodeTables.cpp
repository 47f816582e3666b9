#include "symbols/QrCodeTables.h"

#include <cstddef>

namespace qbm {
namespace {

// ISO/IEC 18004 table 9: check codewords in each block and number of blocks, L, M, Q, H by version.
constexpr int8_t kEccPerBlock[4][kQrMaxVersion] = {
    {7,  10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
};
constexpr int8_t kBlocks[4][kQrMaxVersion] = {
    {1, 1, 1, 1,  1,  2,  2,  2,  2,  4,  4,  4,  4,  4,  6,  6,  6,  6,  7,  8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {1,  1,  1,  2,  2,  4,  4,  4,  5,  5,  5,  8,  9,  9,  10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {1,  1,  2,  2,  4,  4,  6,  6,  8,  8,  8,  10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
    {1,  1,  2,  4,  4,  4,  5,  6,  8,  8,  11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
};

// Modules left for codewords once the finder, timing, alignment, format and version patterns are
// drawn.
int DataModules(int version) {
    int modules = (16 * version + 128) * version + 64;
    if (version >= 2) {
        const int align = version / 7 + 2;
        modules -= (25 * align - 10) * align - 55;
        if (version >= 7) modules -= 36;
    }
    return modules;
}

} // namespace

int QrSize(int version) {
    return 17 + 4 * version;
}

TQrBlocks QrBlockStructure(int version, TQrLevel level) {
    const int l = static_cast<int>(level);
    TQrBlocks b;
    b.totalCodewords = DataModules(version) / 8;
    b.blocks = kBlocks[l][version - 1];
    b.eccPerBlock = kEccPerBlock[l][version - 1];
    b.dataCodewords = b.totalCodewords - b.blocks * b.eccPerBlock;
    b.shortDataPerBlock = b.dataCodewords / b.blocks;
    b.longBlocks = b.dataCodewords % b.blocks;
    return b;
}

std::vector<int> QrAlignmentCentres(int version) {
    if (version == 1) return {};
    // Evenly spaced from the last row or column back towards the first, by an even step; the first
    // centre is always the timing pattern's row 6 (the standard's table E.1).
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres(static_cast<size_t>(count));
    centres[0] = 6;
    for (int i = count - 1, pos = QrSize(version) - 7; i >= 1; --i, pos -= step)
        centres[static_cast<size_t>(i)] = pos;
    return centres;
}

int QrVersionRange(int version) {
    return version <= 9 ? 0 : version <= 26 ? 1 : 2;
}

int QrCountBits(TQrMode mode, int version) {
    constexpr int8_t kBits[3][3] = {{10, 12, 14}, {9, 11, 13}, {8, 16, 16}};
    return kBits[static_cast<int>(mode)][QrVersionRange(version)];
}

} // namespace qbm
