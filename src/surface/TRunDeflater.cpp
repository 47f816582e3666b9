#include "surface/TRunDeflater.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace qbm {
namespace {

// Deflate's longest copy and farthest reach (RFC 1951).
constexpr size_t kMaxCopy = 258;
constexpr size_t kWindow = 32768;

using TCode = TRunDeflater::TCode;

uint32_t Reversed(uint32_t code, int length) {
    uint32_t r = 0;
    for (int i = 0; i < length; ++i) r |= ((code >> i) & 1u) << (length - 1 - i);
    return r;
}

// Deflate's fixed literal/length code.
TCode FixedSymbol(int symbol) {
    if (symbol < 144) return {Reversed(0x30u + symbol, 8), 8};
    if (symbol < 256) return {Reversed(0x190u + (symbol - 144), 9), 9};
    if (symbol < 280) return {Reversed(static_cast<uint32_t>(symbol - 256), 7), 7};
    return {Reversed(0xC0u + (symbol - 280), 8), 8};
}

struct TTables {
    std::array<TCode, 256> literal{};
    std::array<TCode, kMaxCopy + 1> length{}; // 3 to 258
    TTables() {
        for (int b = 0; b < 256; ++b) literal[b] = FixedSymbol(b);
        static constexpr int kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                        31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static constexpr int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        for (int i = 0; i < 29; ++i) {
            const int last = i == 28 ? 258 : kBase[i + 1] - 1;
            for (int len = kBase[i]; len <= last; ++len) {
                const TCode sym = FixedSymbol(257 + i);
                length[len] = {sym.bits | static_cast<uint32_t>(len - kBase[i]) << sym.count,
                               sym.count + kExtra[i]};
            }
        }
    }
};

const TTables& Tables() {
    static const TTables tables;
    return tables;
}

// Distance codes are five bits long in the fixed code, followed by their extra bits.
TCode DistanceCode(uint32_t distance) {
    static constexpr uint32_t kBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                         33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    int code = 29;
    while (kBase[code] > distance) --code;
    const int extra = code < 4 ? 0 : code / 2 - 1;
    return {Reversed(static_cast<uint32_t>(code), 5) | (distance - kBase[code]) << 5, 5 + extra};
}

} // namespace

TRunDeflater::TRunDeflater(size_t rowBytes)
    : m_literals(Tables().literal.data()), m_lengths(Tables().length.data()), m_rowBytes(rowBytes),
      m_rowDistance(
          DistanceCode(rowBytes >= 3 && rowBytes <= kWindow ? static_cast<uint32_t>(rowBytes) : 1)) {
    m_out.reserve(65536);
    m_out += '\x78'; // deflate, 32 KiB window, no dictionary
    m_out += '\x01';
    Put(3, 3); // the only block, with fixed codes
}

inline void TRunDeflater::Put(uint64_t bits, int count) {
    m_bits |= bits << m_bitCount;
    m_bitCount += count;
    if (m_bitCount >= 32) {
        const char b[4] = {static_cast<char>(m_bits), static_cast<char>(m_bits >> 8),
                           static_cast<char>(m_bits >> 16), static_cast<char>(m_bits >> 24)};
        m_out.append(b, 4);
        m_bits >>= 32;
        m_bitCount -= 32;
    }
}

inline void TRunDeflater::Literal(uint8_t byte) {
    const TCode& c = m_literals[byte];
    Put(c.bits, c.count);
}

void TRunDeflater::Copy(size_t length, const TCode& distance) {
    const TCode* lengths = m_lengths;
    while (length > 0) {
        size_t piece = length;
        // A piece of fewer than 3 bytes cannot be copied: the last two pieces share what is left.
        if (piece > kMaxCopy) piece = length - kMaxCopy < 3 ? length - 3 : kMaxCopy;
        const TCode& len = lengths[piece];
        Put(len.bits | static_cast<uint64_t>(distance.bits) << len.count, len.count + distance.count);
        length -= piece;
    }
}

void TRunDeflater::AddRow(const uint8_t* row) {
    static const TCode kPrevious = DistanceCode(1);
    const size_t n = m_rowBytes;
    for (size_t i = 0; i < n;) {
        const uint8_t b = row[i];
        size_t j = i + 1;
        uint64_t eight = 0x0101010101010101u * b;
        for (uint64_t v; j + 8 <= n && (std::memcpy(&v, row + j, 8), v == eight);) j += 8;
        while (j < n && row[j] == b) ++j;
        Literal(b);
        const size_t rest = j - i - 1;
        if (rest >= 3)
            Copy(rest, kPrevious);
        else
            for (size_t k = 0; k < rest; ++k) Literal(b);
        i = j;
    }
    m_rowAdler = static_cast<uint32_t>(adler32(1, row, static_cast<uInt>(n)));
    m_adler = static_cast<uint32_t>(adler32_combine(m_adler, m_rowAdler, static_cast<z_off_t>(n)));
    if (row != m_last.data()) m_last.assign(row, row + n);
}

void TRunDeflater::RepeatRow() {
    if (m_last.size() != m_rowBytes) throw std::logic_error("no row to repeat");
    if (m_rowBytes < 3 || m_rowBytes > kWindow) {
        AddRow(m_last.data());
        return;
    }
    Copy(m_rowBytes, m_rowDistance);
    m_adler = static_cast<uint32_t>(adler32_combine(m_adler, m_rowAdler, static_cast<z_off_t>(m_rowBytes)));
}

std::string TRunDeflater::Finish() {
    Put(0, 7); // end of block
    while (m_bitCount > 0) {
        m_out += static_cast<char>(m_bits);
        m_bits >>= 8;
        m_bitCount = std::max(0, m_bitCount - 8);
    }
    for (const int shift : {24, 16, 8, 0}) m_out += static_cast<char>(m_adler >> shift);
    return std::move(m_out);
}

} // namespace qbm
