#pragma once
// A QR Code's data bits: the text's bytes cut into numeric, alphanumeric and byte segments so that the
// bit stream is as short as it can be, behind the ECI designator when the text has one.

#include "symbols/QrCodeTables.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qbm {

struct TQrSegment {
    TQrMode mode = TQrMode::Byte;
    int start = 0;
    int length = 0;
    friend bool operator==(const TQrSegment&, const TQrSegment&) = default;
};

struct TQrSegmentation {
    std::vector<TQrSegment> segments;
    // Mode indicators, character counts, data and the ECI header; no terminator.
    int bits = 0;
};

// The shortest segmentation for the versions of `version`'s range (their count fields are as wide).
// `eci` 0 writes no ECI header.
TQrSegmentation QrSegment(std::span<const uint8_t> bytes, int eci, int version);

// The data codewords: the segments, the terminator, the padding to `dataCodewords` bytes.
std::vector<uint8_t> QrDataCodewords(std::span<const uint8_t> bytes, int eci, int version,
                                     const TQrSegmentation& segmentation, int dataCodewords);

} // namespace qbm
