#include "symbols/QrCodeEncoder.h"

#include "symbols/ESymbolError.h"
#include "symbols/QrCodeMask.h"
#include "symbols/QrCodeSegments.h"
#include "symbols/QrReedSolomon.h"
#include "symbols/SymbolPayload.h"

#include <array>
#include <bit>
#include <vector>

namespace qbm {
namespace {

TQrLevel LevelOf(TQrEcc ecc) {
    switch (ecc) {
    case TQrEcc::M:
        return TQrLevel::M;
    case TQrEcc::Q:
        return TQrLevel::Q;
    case TQrEcc::H:
        return TQrLevel::H;
    default:
        return TQrLevel::L;
    }
}

// Data and check codewords of each block, interleaved: the data codewords column by column across
// the blocks (the longer blocks' last ones at the end), then the check codewords likewise.
std::vector<uint8_t> Interleaved(const std::vector<uint8_t>& data, const TQrBlocks& b) {
    std::vector<uint8_t> ecc(static_cast<size_t>(b.blocks * b.eccPerBlock));
    std::vector<int> starts(static_cast<size_t>(b.blocks));
    int start = 0;
    for (int k = 0; k < b.blocks; ++k) {
        const int length = b.shortDataPerBlock + (k >= b.blocks - b.longBlocks ? 1 : 0);
        starts[static_cast<size_t>(k)] = start;
        QrReedSolomon(std::span(data).subspan(static_cast<size_t>(start), static_cast<size_t>(length)),
                      std::span(ecc).subspan(static_cast<size_t>(k * b.eccPerBlock),
                                             static_cast<size_t>(b.eccPerBlock)));
        start += length;
    }
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(b.totalCodewords));
    for (int i = 0; i <= b.shortDataPerBlock; ++i)
        for (int k = 0; k < b.blocks; ++k)
            if (i < b.shortDataPerBlock || k >= b.blocks - b.longBlocks)
                out.push_back(data[static_cast<size_t>(starts[static_cast<size_t>(k)] + i)]);
    for (int i = 0; i < b.eccPerBlock; ++i)
        for (int k = 0; k < b.blocks; ++k) out.push_back(ecc[static_cast<size_t>(k * b.eccPerBlock + i)]);
    return out;
}

} // namespace

TQrCode EncodeQrCode(std::string_view utf8, TQrEcc ecc, int version) {
    if (version < 0 || version > kQrMaxVersion) throw ESymbolError("QR Code version must be 1 to 40");
    const TSymbolPayload payload = SymbolPayload(utf8);
    const std::span<const uint8_t> bytes(payload.bytes);

    // One segmentation for each range of versions: their character count fields differ.
    std::array<TQrSegmentation, 3> segmentations;
    std::array<bool, 3> segmented{};
    const auto segmentation = [&](int v) -> const TQrSegmentation& {
        const auto range = static_cast<size_t>(QrVersionRange(v));
        if (!segmented[range]) {
            segmentations[range] = QrSegment(bytes, payload.eci, v);
            segmented[range] = true;
        }
        return segmentations[range];
    };
    const auto fits = [&](int v, TQrLevel level) {
        return segmentation(v).bits <= QrBlockStructure(v, level).dataCodewords * 8;
    };

    TQrCode code;
    code.level = LevelOf(ecc);
    if (version) {
        if (!fits(version, code.level)) throw ESymbolError("Input too long for selected symbol size");
        code.version = version;
    } else {
        for (int v = kQrMinVersion; v <= kQrMaxVersion && !code.version; ++v)
            if (fits(v, code.level)) code.version = v;
        if (!code.version) throw ESymbolError("Input too long for selected error correction level");
    }
    // Left to us, the level is the highest the version holds the text at.
    if (ecc == TQrEcc::Auto)
        for (const TQrLevel higher : {TQrLevel::M, TQrLevel::Q, TQrLevel::H})
            if (fits(code.version, higher)) code.level = higher;

    const TQrBlocks blocks = QrBlockStructure(code.version, code.level);
    const std::vector<uint8_t> codewords = Interleaved(
        QrDataCodewords(bytes, payload.eci, code.version, segmentation(code.version), blocks.dataCodewords),
        blocks);

    const TQrLayout& layout = QrLayout(code.version);
    code.modules = layout.functions;
    TQrMatrix columns = layout.functionColumns;
    // Remainder bits past the last codeword stay light.
    for (size_t k = 0; k < codewords.size(); ++k)
        for (unsigned byte = codewords[k]; byte; byte &= byte - 1) {
            const auto& [row, column] = layout.path[k * 8 + 7 - static_cast<size_t>(std::countr_zero(byte))];
            code.modules.Set(row, column, true);
            columns.Set(column, row, true);
        }
    code.mask = QrApplyBestMask(code.modules, columns, layout, code.level);
    return code;
}

} // namespace qbm
