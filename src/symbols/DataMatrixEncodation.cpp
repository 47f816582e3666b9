#include "symbols/DataMatrixEncodation.h"

#include <algorithm>
#include <array>
#include <limits>

namespace qbm {
namespace {

enum class TMode : uint8_t { Ascii, C40, Text, X12, Edifact, Base256 };

constexpr uint8_t kLatchC40 = 230;
constexpr uint8_t kLatchBase256 = 231;
constexpr uint8_t kFnc1 = 232;
constexpr uint8_t kUpperShift = 235;
constexpr uint8_t kLatchX12 = 238;
constexpr uint8_t kLatchText = 239;
constexpr uint8_t kLatchEdifact = 240;
constexpr uint8_t kEci = 241;
constexpr uint8_t kUnlatch = 254;
constexpr uint8_t kPad = 129;
constexpr uint8_t kEdifactUnlatch = 31;
constexpr int kNoFit = std::numeric_limits<int>::max();

bool IsDigit(uint16_t c) {
    return c >= '0' && c <= '9';
}
bool IsUpper(uint16_t c) {
    return c >= 'A' && c <= 'Z';
}
bool IsLower(uint16_t c) {
    return c >= 'a' && c <= 'z';
}
bool IsX12Terminator(uint16_t c) {
    return c == '\r' || c == '*' || c == '>';
}
bool IsX12(uint16_t c) {
    return IsX12Terminator(c) || c == ' ' || IsDigit(c) || IsUpper(c);
}
bool IsEdifact(uint16_t c) {
    return c >= 32 && c <= 94;
}

// The C40 or Text values of a character: shift 1 for controls, shift 2 for punctuation and FNC1,
// shift 3 for the other case's letters, and bytes beyond 127 behind shift 2 and upper shift.
void AppendTripletValues(TMode mode, uint16_t c, std::vector<uint8_t>& v) {
    if (mode == TMode::X12) {
        v.push_back(c == '\r'  ? 0
                    : c == '*' ? 1
                    : c == '>' ? 2
                    : c == ' ' ? 3
                    : IsDigit(c) ? static_cast<uint8_t>(c - '0' + 4)
                                 : static_cast<uint8_t>(c - 'A' + 14));
        return;
    }
    if (c == kDataMatrixFnc1) {
        v.insert(v.end(), {1, 27});
        return;
    }
    if (c >= 128) {
        v.insert(v.end(), {1, 30});
        c = static_cast<uint16_t>(c - 128);
    }
    const bool text = mode == TMode::Text;
    if (c == ' ')
        v.push_back(3);
    else if (IsDigit(c))
        v.push_back(static_cast<uint8_t>(c - '0' + 4));
    else if (text ? IsLower(c) : IsUpper(c))
        v.push_back(static_cast<uint8_t>(c - (text ? 'a' : 'A') + 14));
    else if (c < 32)
        v.insert(v.end(), {0, static_cast<uint8_t>(c)});
    else if (c <= 47)
        v.insert(v.end(), {1, static_cast<uint8_t>(c - 33)});
    else if (c <= 64)
        v.insert(v.end(), {1, static_cast<uint8_t>(c - 58 + 15)});
    else if (c <= 95 && !(text && IsUpper(c)))
        v.insert(v.end(), {1, static_cast<uint8_t>(c - 91 + 22)});
    else
        v.insert(v.end(), {2, static_cast<uint8_t>(c - 96 + (text && IsUpper(c) ? 32 : 0))});
}

class TEncoder {
public:
    TEncoder(std::span<const uint16_t> data, std::span<const int> capacities)
        : m_data(data), m_capacities(capacities) {
        m_out.reserve(static_cast<size_t>(capacities.back()));
    }

    std::vector<uint8_t> Encode(int eci) {
        if (eci) AppendEci(eci);
        TMode mode = TMode::Ascii;
        while (m_pos < m_data.size()) {
            switch (mode) {
            case TMode::Ascii:
                mode = AsciiStep();
                break;
            case TMode::C40:
            case TMode::Text:
            case TMode::X12:
                mode = TripletRun(mode);
                break;
            case TMode::Edifact:
                mode = EdifactRun();
                break;
            case TMode::Base256:
                mode = Base256Run();
                break;
            }
            if (m_failed) return {};
        }
        const int capacity = Fit(Count());
        if (capacity == kNoFit) return {};
        Pad(capacity);
        return std::move(m_out);
    }

private:
    int Count() const { return static_cast<int>(m_out.size()); }
    // The data capacity of the smallest allowed size that holds `codewords`.
    int Fit(int codewords) const {
        const auto it = std::lower_bound(m_capacities.begin(), m_capacities.end(), codewords);
        return it == m_capacities.end() ? kNoFit : *it;
    }

    void AppendEci(int eci) {
        m_out.push_back(kEci);
        if (eci <= 126) {
            m_out.push_back(static_cast<uint8_t>(eci + 1));
        } else if (eci <= 16382) {
            m_out.push_back(static_cast<uint8_t>((eci - 127) / 254 + 128));
            m_out.push_back(static_cast<uint8_t>((eci - 127) % 254 + 1));
        } else {
            m_out.push_back(static_cast<uint8_t>((eci - 16383) / 64516 + 192));
            m_out.push_back(static_cast<uint8_t>((eci - 16383) / 254 % 254 + 1));
            m_out.push_back(static_cast<uint8_t>((eci - 16383) % 254 + 1));
        }
    }

    // ASCII codewords of data[from, to): digit pairs, FNC1, upper shift for bytes beyond 127.
    void AppendAscii(size_t from, size_t to, std::vector<uint8_t>& out) const {
        for (size_t p = from; p < to; ++p) {
            const uint16_t c = m_data[p];
            if (IsDigit(c) && p + 1 < to && IsDigit(m_data[p + 1])) {
                out.push_back(static_cast<uint8_t>(130 + (c - '0') * 10 + (m_data[p + 1] - '0')));
                ++p;
            } else if (c == kDataMatrixFnc1) {
                out.push_back(kFnc1);
            } else if (c >= 128) {
                out.push_back(kUpperShift);
                out.push_back(static_cast<uint8_t>(c - 128 + 1));
            } else {
                out.push_back(static_cast<uint8_t>(c + 1));
            }
        }
    }
    int AsciiLength(size_t from, size_t to) const {
        std::vector<uint8_t> scratch;
        AppendAscii(from, to, scratch);
        return static_cast<int>(scratch.size());
    }

    TMode AsciiStep() {
        const uint16_t c = m_data[m_pos];
        if (IsDigit(c) && m_pos + 1 < m_data.size() && IsDigit(m_data[m_pos + 1])) {
            AppendAscii(m_pos, m_pos + 2, m_out);
            m_pos += 2;
            return TMode::Ascii;
        }
        TMode next = LookAhead(m_pos, TMode::Ascii);
        // Base 256 cannot hold FNC1, and a run of no bytes would mean one to the symbol's end.
        if (next == TMode::Base256 && c == kDataMatrixFnc1) next = TMode::Ascii;
        switch (next) {
        case TMode::Ascii:
            AppendAscii(m_pos, m_pos + 1, m_out);
            ++m_pos;
            break;
        case TMode::C40:
            m_out.push_back(kLatchC40);
            break;
        case TMode::Text:
            m_out.push_back(kLatchText);
            break;
        case TMode::X12:
            m_out.push_back(kLatchX12);
            break;
        case TMode::Edifact:
            m_out.push_back(kLatchEdifact);
            break;
        case TMode::Base256:
            m_out.push_back(kLatchBase256);
            break;
        }
        return next;
    }

    // The standard's look-ahead: the codewords each scheme would spend on the data from `start`, in
    // twelfths (a C40 value is a third of a codeword pair's two, an EDIFACT value three quarters of one).
    TMode LookAhead(size_t start, TMode current) const {
        enum { A, C, T, X, E, B, kModes };
        std::array<int, kModes> n{12, 12, 12, 12, 12, 15};
        if (current == TMode::Ascii)
            n[A] = 0;
        else
            n[static_cast<size_t>(current)] = 0;
        const auto up = [](int twelfths) { return (twelfths + 11) / 12; };
        const auto ceilTo = [&](int twelfths) { return up(twelfths) * 12; };
        for (size_t p = start;; ++p) {
            if (p == m_data.size()) {
                std::array<int, kModes> k{};
                for (size_t i = 0; i < kModes; ++i) k[i] = up(n[i]);
                const auto below = [&](int mode) {
                    for (int i = 0; i < kModes; ++i)
                        if (i != mode && k[static_cast<size_t>(i)] <= k[static_cast<size_t>(mode)]) return false;
                    return true;
                };
                if (k[A] <= std::min({k[C], k[T], k[X], k[E], k[B]})) return TMode::Ascii;
                if (below(B)) return TMode::Base256;
                if (below(E)) return TMode::Edifact;
                if (below(T)) return TMode::Text;
                if (below(X)) return TMode::X12;
                return TMode::C40;
            }
            const uint16_t c = m_data[p];
            const bool fnc1 = c == kDataMatrixFnc1, extended = !fnc1 && c >= 128;
            if (IsDigit(c))
                n[A] += 6;
            else
                n[A] = ceilTo(n[A]) + (extended ? 24 : 12);
            const bool c40Native = c == ' ' || IsDigit(c) || IsUpper(c);
            const bool textNative = c == ' ' || IsDigit(c) || IsLower(c);
            n[C] += c40Native ? 8 : extended ? 32 : 16;
            n[T] += textNative ? 8 : extended ? 32 : 16;
            n[X] += IsX12(c) ? 8 : extended ? 52 : 40;
            n[E] += IsEdifact(c) ? 9 : extended ? 51 : 39;
            n[B] += fnc1 ? 48 : 12;
            if (p - start + 1 < 4) continue;
            // From the fourth character on, a scheme a codeword ahead of the others is taken; the
            // counts stay fractional here.
            constexpr int kOne = 12;
            if (n[A] + kOne <= std::min({n[B], n[C], n[T], n[X], n[E]})) return TMode::Ascii;
            if (n[B] + kOne < n[A] || n[B] + kOne < std::min({n[C], n[T], n[X], n[E]})) return TMode::Base256;
            if (n[E] + kOne < std::min({n[A], n[B], n[C], n[T], n[X]})) return TMode::Edifact;
            if (n[T] + kOne < std::min({n[A], n[B], n[C], n[E], n[X]})) return TMode::Text;
            if (n[X] + kOne < std::min({n[A], n[B], n[C], n[E], n[T]})) return TMode::X12;
            if (n[C] + kOne < std::min({n[A], n[B], n[E], n[T]})) {
                if (n[C] < n[X]) return TMode::C40;
                if (n[C] == n[X]) {
                    // X12 where an X12 terminator comes before anything X12 cannot hold.
                    for (size_t q = p + 1; q < m_data.size() && IsX12(m_data[q]); ++q)
                        if (IsX12Terminator(m_data[q])) return TMode::X12;
                    return TMode::C40;
                }
            }
        }
    }

    void AppendTriplets(std::span<const uint8_t> values) {
        for (size_t i = 0; i + 2 < values.size(); i += 3) {
            const int v = 1600 * values[i] + 40 * values[i + 1] + values[i + 2] + 1;
            m_out.push_back(static_cast<uint8_t>(v >> 8));
            m_out.push_back(static_cast<uint8_t>(v & 0xFF));
        }
    }

    // C40, Text or X12 from the latch on: three values to two codewords, the look-ahead asked at
    // each codeword pair's end. The run is written when it ends, so that characters of an unfinished
    // pair can go back to ASCII.
    TMode TripletRun(TMode mode) {
        std::vector<uint8_t> values;
        // The number of values up to the end of each character of the run.
        std::vector<size_t> ends;
        const size_t first = m_pos;
        while (m_pos < m_data.size()) {
            const uint16_t c = m_data[m_pos];
            if (mode == TMode::X12 && !IsX12(c)) break;
            AppendTripletValues(mode, c, values);
            ends.push_back(values.size());
            ++m_pos;
            if (values.size() % 3 == 0 && m_pos < m_data.size() && LookAhead(m_pos, mode) != mode) break;
        }
        if (m_pos == m_data.size()) return EndTriplets(mode, values, ends, first);
        // Leaving before the end: the characters of an unfinished pair go to ASCII after the unlatch.
        while (values.size() % 3 != 0) {
            ends.pop_back();
            values.resize(ends.empty() ? 0 : ends.back());
            --m_pos;
        }
        AppendTriplets(values);
        m_out.push_back(kUnlatch);
        return TMode::Ascii;
    }

    // The end of the data in C40, Text or X12: the shortest of the ends the standard allows. A full
    // last pair needs no unlatch where it fills the symbol; two values left are padded with a shift
    // into a pair (C40, Text); the characters of an unfinished pair can also go to ASCII, without an
    // unlatch when they take the symbol's very last codeword.
    TMode EndTriplets(TMode mode, std::vector<uint8_t>& values, std::vector<size_t>& ends, size_t first) {
        const int before = Count();
        int bestCapacity = kNoFit;
        int choice = -1;
        const int rest = static_cast<int>(values.size() % 3);
        if (rest == 0 || (rest == 2 && mode != TMode::X12)) {
            const int pairs = before + static_cast<int>((values.size() + 2) / 3) * 2;
            bestCapacity = Fit(pairs);
            choice = 0;
        }
        // Characters back to the last full pair.
        size_t keep = ends.size();
        while (keep > 0 && ends[keep - 1] % 3 != 0) --keep;
        if (rest != 0) {
            const size_t keptValues = keep ? ends[keep - 1] : 0;
            const int pairs = before + static_cast<int>(keptValues / 3) * 2;
            const int ascii = AsciiLength(first + keep, m_data.size());
            const int implicit = Fit(pairs + ascii);
            const int capacity =
                ascii == 1 && implicit == pairs + 1 ? implicit : Fit(pairs + 1 + ascii);
            if (capacity <= bestCapacity) {
                bestCapacity = capacity;
                choice = 1;
            }
        }
        if (bestCapacity == kNoFit) {
            m_failed = true;
            return mode;
        }
        if (choice == 0) {
            while (values.size() % 3) values.push_back(0);
            AppendTriplets(values);
            if (Count() < bestCapacity) m_out.push_back(kUnlatch);
            return TMode::Ascii;
        }
        values.resize(keep ? ends[keep - 1] : 0);
        AppendTriplets(values);
        const int ascii = AsciiLength(first + keep, m_data.size());
        if (!(ascii == 1 && bestCapacity == Count() + 1)) m_out.push_back(kUnlatch);
        AppendAscii(first + keep, m_data.size(), m_out);
        return TMode::Ascii;
    }

    // Four six-bit values to three codewords; the unlatch value, where there is one, is among them.
    void AppendEdifact(std::span<const uint8_t> values) {
        for (size_t i = 0; i < values.size(); i += 4) {
            uint32_t bits = 0;
            const size_t n = std::min<size_t>(4, values.size() - i);
            for (size_t k = 0; k < 4; ++k) bits = bits << 6 | (k < n ? values[i + k] : 0u);
            const size_t bytes = (n * 6 + 7) / 8;
            for (size_t k = 0; k < bytes; ++k) m_out.push_back(static_cast<uint8_t>(bits >> (16 - 8 * k)));
        }
    }

    TMode EdifactRun() {
        std::vector<uint8_t> values;
        const size_t first = m_pos;
        while (m_pos < m_data.size() && IsEdifact(m_data[m_pos])) {
            values.push_back(static_cast<uint8_t>(m_data[m_pos] & 0x3F));
            ++m_pos;
            if (m_pos < m_data.size() && LookAhead(m_pos, TMode::Edifact) != TMode::Edifact) break;
        }
        if (m_pos == m_data.size()) return EndEdifact(values, first);
        values.push_back(kEdifactUnlatch);
        AppendEdifact(values);
        return TMode::Ascii;
    }

    // The end of the data in EDIFACT. With at most two codewords of the symbol left after the last
    // full group the reader is back in ASCII by itself: the last characters may go there without the
    // unlatch, and pads follow a full last group directly.
    TMode EndEdifact(std::vector<uint8_t>& values, size_t first) {
        const size_t rest = values.size() % 4;
        const int full = Count() + static_cast<int>(values.size() / 4) * 3;
        int bestCapacity = kNoFit;
        bool inAscii = false;
        if (rest == 0 && Fit(full) - full <= 2) {
            bestCapacity = Fit(full);
        } else {
            bestCapacity = Fit(full + static_cast<int>((rest + 1) * 6 + 7) / 8);
        }
        if (rest != 0) {
            const int ascii = AsciiLength(m_data.size() - rest, m_data.size());
            const int capacity = Fit(full + ascii);
            if (capacity != kNoFit && capacity - full <= 2 && capacity < bestCapacity) {
                bestCapacity = capacity;
                inAscii = true;
            }
        }
        static_cast<void>(first);
        if (bestCapacity == kNoFit) {
            m_failed = true;
            return TMode::Edifact;
        }
        if (inAscii) {
            values.resize(values.size() - rest);
            AppendEdifact(values);
            AppendAscii(m_data.size() - rest, m_data.size(), m_out);
        } else {
            if (!(rest == 0 && bestCapacity - full <= 2)) values.push_back(kEdifactUnlatch);
            AppendEdifact(values);
        }
        return TMode::Ascii;
    }

    // Bytes behind a length, every codeword randomised by its position so that runs of equal bytes
    // do not print as blocks.
    TMode Base256Run() {
        const size_t first = m_pos;
        while (m_pos < m_data.size() && m_data[m_pos] != kDataMatrixFnc1) {
            ++m_pos;
            if (m_pos < m_data.size() && LookAhead(m_pos, TMode::Base256) != TMode::Base256) break;
        }
        const size_t length = m_pos - first;
        const size_t start = m_out.size();
        if (length <= 249) {
            m_out.push_back(static_cast<uint8_t>(length));
        } else {
            m_out.push_back(static_cast<uint8_t>(length / 250 + 249));
            m_out.push_back(static_cast<uint8_t>(length % 250));
        }
        for (size_t p = first; p < m_pos; ++p) m_out.push_back(static_cast<uint8_t>(m_data[p]));
        for (size_t i = start; i < m_out.size(); ++i) {
            const int position = static_cast<int>(i) + 1;
            const int value = m_out[i] + (149 * position) % 255 + 1;
            m_out[i] = static_cast<uint8_t>(value <= 255 ? value : value - 256);
        }
        return TMode::Ascii;
    }

    // The first pad is 129 itself, the others randomised by their position: long pad runs would
    // otherwise print as regular patterns.
    void Pad(int capacity) {
        if (Count() < capacity) m_out.push_back(kPad);
        while (Count() < capacity) {
            const int position = Count() + 1;
            const int value = kPad + (149 * position) % 253 + 1;
            m_out.push_back(static_cast<uint8_t>(value <= 254 ? value : value - 254));
        }
    }

    std::span<const uint16_t> m_data;
    std::span<const int> m_capacities;
    std::vector<uint8_t> m_out;
    size_t m_pos = 0;
    bool m_failed = false;
};

} // namespace

std::vector<uint8_t> DataMatrixCodewords(std::span<const uint16_t> data, int eci, std::span<const int> capacities) {
    return TEncoder(data, capacities).Encode(eci);
}

} // namespace qbm
