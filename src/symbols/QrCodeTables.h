#pragma once
// QR Code model 2 capacities and layout, versions 1 to 40: the error correction block structure, the
// alignment pattern centres and the character count field widths of ISO/IEC 18004.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qbm {

constexpr int kQrMinVersion = 1;
constexpr int kQrMaxVersion = 40;

// The four levels in the order of growing redundancy.
enum class TQrLevel : uint8_t { L, M, Q, H };

// How a version's codewords divide at one level: `blocks` blocks of `eccPerBlock` check codewords
// each; the first blocks hold one data codeword less than the last `longBlocks` when the data does
// not divide evenly.
struct TQrBlocks {
    int totalCodewords = 0;
    int dataCodewords = 0;
    int blocks = 0;
    int eccPerBlock = 0;
    int shortDataPerBlock = 0;
    int longBlocks = 0;
};

int QrSize(int version);
TQrBlocks QrBlockStructure(int version, TQrLevel level);
// Module centres shared by the rows and columns of alignment patterns; empty for version 1.
std::vector<int> QrAlignmentCentres(int version);

enum class TQrMode : uint8_t { Numeric, Alphanumeric, Byte };
// The width of the character count field: versions 1 to 9, 10 to 26 and 27 to 40 differ.
int QrCountBits(TQrMode mode, int version);
// 0, 1, 2 for the three ranges of versions with their own character count widths.
int QrVersionRange(int version);

} // namespace qbm
