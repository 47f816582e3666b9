#include "symbols/QrCodeSegments.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace qbm {
namespace {

constexpr int kModeBits = 4;
constexpr int kEciHeaderBits = 4 + 8; // ECI mode and a one-byte designator (0 to 127)

constexpr std::string_view kAlphanumeric = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:";

// The alphanumeric value of each byte, -1 where it has none.
constexpr std::array<int8_t, 256> kAlphanumericValue = [] {
    std::array<int8_t, 256> values{};
    values.fill(-1);
    for (size_t i = 0; i < kAlphanumeric.size(); ++i)
        values[static_cast<unsigned char>(kAlphanumeric[i])] = static_cast<int8_t>(i);
    return values;
}();

bool IsDigit(uint8_t b) {
    return b >= '0' && b <= '9';
}

// States of the search after a byte: inside a numeric segment with 0, 1 or 2 digits of an unfinished
// group of three, inside an alphanumeric one with 0 or 1 characters of an unfinished pair, or in a byte
// segment. Bits are counted as each character adds them (a numeric group 4 + 3 + 3, a pair 6 + 5), so
// a segment ending anywhere costs exactly its length in bits.
enum TState : uint8_t { kN0, kN1, kN2, kA0, kA1, kB, kStates };

TQrMode ModeOf(int state) {
    return state <= kN2 ? TQrMode::Numeric : state <= kA1 ? TQrMode::Alphanumeric : TQrMode::Byte;
}

class TBitWriter {
public:
    explicit TBitWriter(size_t bytes) { m_out.reserve(bytes); }
    // Up to 16 bits, the highest first.
    void Put(uint32_t value, int bits) {
        m_acc = (m_acc << bits) | (value & ((uint32_t{1} << bits) - 1));
        m_count += bits;
        while (m_count >= 8) {
            m_count -= 8;
            m_out.push_back(static_cast<uint8_t>(m_acc >> m_count));
        }
    }
    int Bits() const { return static_cast<int>(m_out.size()) * 8 + m_count; }
    std::vector<uint8_t> Take() { return std::move(m_out); }

private:
    std::vector<uint8_t> m_out;
    uint64_t m_acc = 0;
    int m_count = 0;
};

} // namespace

TQrSegmentation QrSegment(std::span<const uint8_t> bytes, int eci, int version) {
    const int header[3] = {kModeBits + QrCountBits(TQrMode::Numeric, version),
                           kModeBits + QrCountBits(TQrMode::Alphanumeric, version),
                           kModeBits + QrCountBits(TQrMode::Byte, version)};
    constexpr int kNone = std::numeric_limits<int>::max() / 2;
    const size_t n = bytes.size();
    // The cost of each state after each byte, and the state before it.
    std::array<int, kStates> cost;
    cost.fill(kNone);
    std::vector<std::array<uint8_t, kStates>> from(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        std::array<int, kStates> next;
        next.fill(kNone);
        auto& back = from[i];
        // The cheapest state to open a new segment of `mode` from: any state of another mode, or the
        // start.
        const auto open = [&](TQrMode mode, int& best) {
            int bestCost = i == 0 ? 0 : kNone;
            best = kStates;
            if (i == 0) return bestCost;
            for (int s = 0; s < kStates; ++s)
                if (ModeOf(s) != mode && cost[static_cast<size_t>(s)] < bestCost) {
                    bestCost = cost[static_cast<size_t>(s)];
                    best = s;
                }
            return bestCost;
        };
        // Among paths of equal length the one that keeps its segment wins (offered first): fewer,
        // longer segments, as libzint-made symbols have them.
        const auto offer = [&](int to, int c, int prev) {
            if (c < next[static_cast<size_t>(to)]) {
                next[static_cast<size_t>(to)] = c;
                back[static_cast<size_t>(to)] = static_cast<uint8_t>(prev);
            }
        };
        if (IsDigit(b)) {
            offer(kN1, cost[kN0] + 4, kN0);
            offer(kN2, cost[kN1] + 3, kN1);
            offer(kN0, cost[kN2] + 3, kN2);
            int prev;
            const int c = open(TQrMode::Numeric, prev);
            offer(kN1, c + header[0] + 4, prev);
        }
        if (kAlphanumericValue[b] >= 0) {
            offer(kA1, cost[kA0] + 6, kA0);
            offer(kA0, cost[kA1] + 5, kA1);
            int prev;
            const int c = open(TQrMode::Alphanumeric, prev);
            offer(kA1, c + header[1] + 6, prev);
        }
        offer(kB, cost[kB] + 8, kB);
        int prev;
        const int c = open(TQrMode::Byte, prev);
        offer(kB, c + header[2] + 8, prev);
        cost = next;
    }

    TQrSegmentation result;
    result.bits = eci ? kEciHeaderBits : 0;
    if (n == 0) return result;
    int state = 0;
    for (int s = 1; s < kStates; ++s)
        if (cost[static_cast<size_t>(s)] < cost[static_cast<size_t>(state)]) state = s;
    result.bits += cost[static_cast<size_t>(state)];
    // Walk back, closing a segment wherever the state before is of another mode (or the start).
    int end = static_cast<int>(n);
    for (int i = static_cast<int>(n) - 1; i >= 0; --i) {
        const int prev = from[static_cast<size_t>(i)][static_cast<size_t>(state)];
        if (prev == kStates || ModeOf(prev) != ModeOf(state)) {
            result.segments.push_back({ModeOf(state), i, end - i});
            end = i;
        }
        state = prev;
    }
    std::reverse(result.segments.begin(), result.segments.end());
    return result;
}

std::vector<uint8_t> QrDataCodewords(std::span<const uint8_t> bytes, int eci, int version,
                                     const TQrSegmentation& segmentation, int dataCodewords) {
    TBitWriter out(static_cast<size_t>(dataCodewords));
    if (eci) {
        out.Put(0b0111, kModeBits);
        out.Put(static_cast<uint32_t>(eci), 8);
    }
    // No segment outgrows its count field: every version's capacity in each mode is below it.
    for (const TQrSegment& seg : segmentation.segments) {
        const auto data = bytes.subspan(static_cast<size_t>(seg.start), static_cast<size_t>(seg.length));
        switch (seg.mode) {
        case TQrMode::Numeric: {
            out.Put(0b0001, kModeBits);
            out.Put(static_cast<uint32_t>(seg.length), QrCountBits(seg.mode, version));
            size_t i = 0;
            for (; i + 3 <= data.size(); i += 3)
                out.Put(static_cast<uint32_t>((data[i] - '0') * 100 + (data[i + 1] - '0') * 10 + data[i + 2] -
                                              '0'),
                        10);
            if (data.size() - i == 2)
                out.Put(static_cast<uint32_t>((data[i] - '0') * 10 + data[i + 1] - '0'), 7);
            else if (data.size() - i == 1)
                out.Put(static_cast<uint32_t>(data[i] - '0'), 4);
            break;
        }
        case TQrMode::Alphanumeric: {
            out.Put(0b0010, kModeBits);
            out.Put(static_cast<uint32_t>(seg.length), QrCountBits(seg.mode, version));
            size_t i = 0;
            for (; i + 2 <= data.size(); i += 2)
                out.Put(
                    static_cast<uint32_t>(kAlphanumericValue[data[i]] * 45 + kAlphanumericValue[data[i + 1]]),
                    11);
            if (i < data.size()) out.Put(static_cast<uint32_t>(kAlphanumericValue[data[i]]), 6);
            break;
        }
        case TQrMode::Byte:
            out.Put(0b0100, kModeBits);
            out.Put(static_cast<uint32_t>(seg.length), QrCountBits(seg.mode, version));
            for (const uint8_t b : data) out.Put(b, 8);
            break;
        }
    }
    // Up to four zero bits end the data where room is left, then zeros to the byte, then the two
    // alternating pad codewords.
    const int capacity = dataCodewords * 8;
    out.Put(0, std::min(4, capacity - out.Bits()));
    if (out.Bits() % 8) out.Put(0, 8 - out.Bits() % 8);
    for (uint32_t pad = 0xEC; out.Bits() < capacity; pad ^= 0xEC ^ 0x11) out.Put(pad, 8);
    return out.Take();
}

} // namespace qbm
