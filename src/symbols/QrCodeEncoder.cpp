#include "symbols/QrCodeEncoder.h"

#include "symbols/ESymbolError.h"
#include "symbols/QrCodeMask.h"
#include "symbols/QrCodeSegments.h"
#include "symbols/QrReedSolomon.h"

#include <array>
#include <bit>
#include <vector>

namespace qbm {
namespace {

// Texts beyond ASCII are marked with their character set: readers guess at unmarked bytes (a Latin-1
// accent often comes back as a Japanese character). ECI 3 is Latin-1, a byte a character; ECI 26 is
// UTF-8, for everything beyond.
constexpr int kLatin1Eci = 3;
constexpr int kUtf8Eci = 26;

struct TPayload {
    std::vector<uint8_t> bytes;
    int eci = 0;
};

[[noreturn]] void InvalidUtf8() {
    throw ESymbolError("Invalid UTF-8 in input data");
}

// The length of the well-formed UTF-8 sequence at `i` (shortest form, no surrogates, at most
// U+10FFFF); throws otherwise.
size_t SequenceLength(std::string_view s, size_t i) {
    const auto at = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    const unsigned lead = at(i);
    const auto continuation = [&](size_t k, unsigned lo = 0x80, unsigned hi = 0xBF) {
        const unsigned b = at(k);
        if (k >= s.size() || b < lo || b > hi) InvalidUtf8();
    };
    if (lead < 0x80) return 1;
    if (lead < 0xC2) InvalidUtf8();
    if (lead < 0xE0) {
        continuation(i + 1);
        return 2;
    }
    if (lead < 0xF0) {
        continuation(i + 1, lead == 0xE0 ? 0xA0 : 0x80, lead == 0xED ? 0x9F : 0xBF);
        continuation(i + 2);
        return 3;
    }
    if (lead > 0xF4) InvalidUtf8();
    continuation(i + 1, lead == 0xF0 ? 0x90 : 0x80, lead == 0xF4 ? 0x8F : 0xBF);
    continuation(i + 2);
    continuation(i + 3);
    return 4;
}

TPayload Payload(std::string_view utf8) {
    TPayload p;
    bool beyondLatin1 = false, beyondAscii = false;
    for (size_t i = 0; i < utf8.size();) {
        const size_t n = SequenceLength(utf8, i);
        beyondAscii |= n > 1;
        beyondLatin1 |= n > 2 || static_cast<unsigned char>(utf8[i]) >= 0xC4;
        i += n;
    }
    if (beyondLatin1 || !beyondAscii) {
        p.bytes.assign(utf8.begin(), utf8.end());
        p.eci = beyondLatin1 ? kUtf8Eci : 0;
        return p;
    }
    p.eci = kLatin1Eci;
    p.bytes.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            p.bytes.push_back(b);
        } else {
            p.bytes.push_back(
                static_cast<uint8_t>((b & 0x1F) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
            ++i;
        }
    }
    return p;
}

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
    const TPayload payload = Payload(utf8);
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
