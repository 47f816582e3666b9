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
// The latch into each scheme, in the order of TMode (ASCII has none of its own).
constexpr uint8_t kLatches[] = {0, kLatchC40, kLatchText, kLatchX12, kLatchEdifact, kLatchBase256};

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
        v.push_back(c == '\r'    ? 0
                    : c == '*'   ? 1
                    : c == '>'   ? 2
                    : c == ' '   ? 3
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

int TripletValueCount(TMode mode, uint16_t c) {
    if (mode == TMode::X12) return 1;
    if (c == kDataMatrixFnc1) return 2;
    int n = 0;
    if (c >= 128) {
        n = 2;
        c = static_cast<uint16_t>(c - 128);
    }
    const bool native = c == ' ' || IsDigit(c) || (mode == TMode::Text ? IsLower(c) : IsUpper(c));
    return n + (native ? 1 : 2);
}

// Costs in twelfths of a codeword: a C40, Text or X12 value is two thirds of one, an EDIFACT value
// three quarters.
constexpr int kCodeword = 12;
constexpr int kTripletValue = 8;
constexpr int kEdifactValue = 9;
constexpr int kInfinite = std::numeric_limits<int>::max() / 2;
constexpr int kModeCount = 6;
// A state of the search: the scheme, and in C40, Text, X12 and EDIFACT the values of an unfinished
// group of codewords.
constexpr int kStates = kModeCount * 4;

constexpr int State(TMode mode, int pending = 0) {
    return static_cast<int>(mode) * 4 + pending;
}
constexpr TMode ModeOf(int state) {
    return static_cast<TMode>(state / 4);
}

// What leaving EDIFACT costs with `pending` values spent: the unlatch value completes the group and
// the group is padded to whole codewords.
constexpr int EdifactExit(int pending) {
    return ((pending + 1) * 6 + 7) / 8 * kCodeword - pending * kEdifactValue;
}

enum class TStep : uint8_t { AsciiChar, AsciiPair, Latch, Unlatch, Value, Byte };

struct TLink {
    int32_t position = -1;
    uint8_t state = 0;
    TStep step = TStep::AsciiChar;
};

// How the data ends: in which state, and whether the last characters go to ASCII without an unlatch
// (the reader returns to ASCII by itself in the symbol's last codewords).
struct TEnding {
    int position = 0;
    int state = 0;
    bool asciiRest = false;
    int codewords = 0;
    int capacity = kNoFit;
};

// The fewest codewords for the data: a shortest path over (position, scheme, unfinished group) with
// the standard's ways of changing scheme and of ending the data. The standard's own look-ahead rule
// chooses schemes a few characters at a time and can cost a larger symbol; no ending here is longer.
class TEncoder {
public:
    TEncoder(std::span<const uint16_t> data, std::span<const int> capacities)
        : m_data(data), m_capacities(capacities) {}

    std::vector<uint8_t> Encode(int eci) {
        const int n = static_cast<int>(m_data.size());
        m_cost.assign(static_cast<size_t>(n + 1) * kStates, kInfinite);
        // Links and run lengths are read only where a path has written them.
        if (m_link.size() < m_cost.size()) m_link.resize(m_cost.size());
        if (m_run.size() < static_cast<size_t>(n + 1)) m_run.resize(static_cast<size_t>(n + 1));
        Link(0, State(TMode::Ascii)) = TLink{};
        std::vector<uint8_t> prefix;
        if (eci) AppendEci(eci, prefix);
        Cost(0, State(TMode::Ascii)) = static_cast<int>(prefix.size()) * kCodeword;
        for (int i = 0; i <= n; ++i) {
            Exits(i);
            if (i < n) Advance(i);
        }
        const TEnding end = BestEnding();
        if (end.capacity == kNoFit) return {};
        m_out = std::move(prefix);
        m_out.reserve(static_cast<size_t>(end.capacity));
        Replay(end);
        Pad(end.capacity);
        return std::move(m_out);
    }

private:
    int& Cost(int position, int state) {
        return m_cost[static_cast<size_t>(position) * kStates + static_cast<size_t>(state)];
    }
    TLink& Link(int position, int state) {
        return m_link[static_cast<size_t>(position) * kStates + static_cast<size_t>(state)];
    }
    void Relax(int fromPosition, int fromState, int toPosition, int toState, int cost, TStep step) {
        int& c = Cost(toPosition, toState);
        // Of equally short paths the later latch, the later unlatch from EDIFACT and ASCII from the
        // nearer position are kept: digits pair up from the left, and most symbols are module for
        // module the ones libzint printed before.
        const bool late = step == TStep::AsciiChar || step == TStep::AsciiPair || step == TStep::Latch ||
                          (step == TStep::Unlatch && ModeOf(fromState) == TMode::Edifact);
        if (cost > c || (cost == c && !late)) return;
        c = cost;
        Link(toPosition, toState) = {fromPosition, static_cast<uint8_t>(fromState), step};
        if (ModeOf(toState) == TMode::Base256)
            m_run[static_cast<size_t>(toPosition)] =
                step == TStep::Byte ? m_run[static_cast<size_t>(fromPosition)] + 1 : 0;
    }

    // Changes of scheme at a position: back to ASCII, then from ASCII to the others.
    void Exits(int i) {
        const int ascii = State(TMode::Ascii);
        for (const TMode m : {TMode::C40, TMode::Text, TMode::X12})
            if (Cost(i, State(m)) < kInfinite)
                Relax(i, State(m), i, ascii, Cost(i, State(m)) + kCodeword, TStep::Unlatch);
        for (int r = 0; r < 4; ++r)
            if (Cost(i, State(TMode::Edifact, r)) < kInfinite)
                Relax(i, State(TMode::Edifact, r), i, ascii,
                      Cost(i, State(TMode::Edifact, r)) + EdifactExit(r), TStep::Unlatch);
        if (Cost(i, State(TMode::Base256)) < kInfinite)
            Relax(i, State(TMode::Base256), i, ascii, Cost(i, State(TMode::Base256)), TStep::Unlatch);
        const int c = Cost(i, ascii);
        if (c >= kInfinite || i == static_cast<int>(m_data.size())) return;
        for (const TMode m : {TMode::C40, TMode::Text, TMode::X12, TMode::Edifact})
            Relax(i, ascii, i, State(m), c + kCodeword, TStep::Latch);
        // The latch and a length of one byte.
        if (m_data[static_cast<size_t>(i)] != kDataMatrixFnc1)
            Relax(i, ascii, i, State(TMode::Base256), c + 2 * kCodeword, TStep::Latch);
    }

    void Advance(int i) {
        const uint16_t c = m_data[static_cast<size_t>(i)];
        const int n = static_cast<int>(m_data.size());
        const int ascii = State(TMode::Ascii);
        if (const int cost = Cost(i, ascii); cost < kInfinite) {
            if (IsDigit(c) && i + 1 < n && IsDigit(m_data[static_cast<size_t>(i + 1)]))
                Relax(i, ascii, i + 2, ascii, cost + kCodeword, TStep::AsciiPair);
            const bool extended = c >= 128 && c != kDataMatrixFnc1;
            Relax(i, ascii, i + 1, ascii, cost + (extended ? 2 : 1) * kCodeword, TStep::AsciiChar);
        }
        for (const TMode m : {TMode::C40, TMode::Text, TMode::X12}) {
            if (m == TMode::X12 && !IsX12(c)) continue;
            const int values = TripletValueCount(m, c);
            for (int r = 0; r < 3; ++r)
                if (const int cost = Cost(i, State(m, r)); cost < kInfinite)
                    Relax(i, State(m, r), i + 1, State(m, (r + values) % 3), cost + values * kTripletValue,
                          TStep::Value);
        }
        if (IsEdifact(c))
            for (int r = 0; r < 4; ++r)
                if (const int cost = Cost(i, State(TMode::Edifact, r)); cost < kInfinite)
                    Relax(i, State(TMode::Edifact, r), i + 1, State(TMode::Edifact, (r + 1) % 4),
                          cost + kEdifactValue, TStep::Value);
        if (const int cost = Cost(i, State(TMode::Base256)); cost < kInfinite && c != kDataMatrixFnc1) {
            // From 250 bytes on the length takes two codewords.
            const int longer = m_run[static_cast<size_t>(i)] == 249 ? kCodeword : 0;
            Relax(i, State(TMode::Base256), i + 1, State(TMode::Base256), cost + kCodeword + longer,
                  TStep::Byte);
        }
    }

    void Consider(TEnding& best, TEnding candidate) const {
        candidate.capacity = Fit(candidate.codewords);
        if (candidate.capacity < best.capacity ||
            (candidate.capacity == best.capacity && candidate.codewords < best.codewords))
            best = candidate;
    }

    TEnding BestEnding() {
        const int n = static_cast<int>(m_data.size());
        TEnding best;
        best.codewords = kInfinite;
        for (int state = 0; state < kStates; ++state) {
            const int cost = Cost(n, state);
            if (cost >= kInfinite) continue;
            const TMode mode = ModeOf(state);
            const int pending = state % 4;
            int extra = 0;
            if (mode == TMode::Edifact)
                extra = pending ? EdifactExit(pending) : 0;
            else if (pending == 2 && (mode == TMode::C40 || mode == TMode::Text))
                extra = kTripletValue; // a shift value pads the last group
            else if (pending)
                continue;
            Consider(best, {n, state, false, (cost + extra) / kCodeword});
        }
        // The last one or two characters in ASCII without an unlatch: in C40, Text and X12 where they
        // take the symbol's very last codeword, in EDIFACT where at most two codewords remain.
        for (int k = std::max(0, n - 4); k < n; ++k) {
            const int rest = AsciiLength(k, n);
            if (rest > 2) continue;
            for (const TMode m : {TMode::C40, TMode::Text, TMode::X12, TMode::Edifact}) {
                const int cost = Cost(k, State(m));
                if (cost >= kInfinite) continue;
                const int before = cost / kCodeword;
                const int capacity = Fit(before + rest);
                const bool allowed =
                    m == TMode::Edifact ? capacity - before <= 2 : rest == 1 && capacity == before + 1;
                if (allowed) Consider(best, {k, State(m), true, before + rest});
            }
        }
        return best;
    }

    void Replay(const TEnding& end) {
        struct TStepAt {
            int to;
            int toState;
            TLink link;
        };
        std::vector<TStepAt> steps;
        for (int position = end.position, state = end.state; Link(position, state).position >= 0;) {
            const TLink link = Link(position, state);
            steps.push_back({position, state, link});
            position = link.position;
            state = link.state;
        }
        std::reverse(steps.begin(), steps.end());
        std::vector<uint8_t> values;
        size_t runStart = 0;
        for (const TStepAt& s : steps) {
            const auto from = static_cast<size_t>(s.link.position);
            const TMode fromMode = ModeOf(s.link.state);
            switch (s.link.step) {
            case TStep::AsciiChar:
            case TStep::AsciiPair:
                AppendAscii(from, static_cast<size_t>(s.to), m_out);
                break;
            case TStep::Latch:
                m_out.push_back(kLatches[static_cast<size_t>(ModeOf(s.toState))]);
                runStart = from;
                break;
            case TStep::Unlatch:
                if (fromMode == TMode::Edifact) {
                    values.push_back(kEdifactUnlatch);
                    AppendEdifact(values);
                    values.clear();
                } else if (fromMode == TMode::Base256) {
                    AppendBase256(runStart, from);
                } else {
                    m_out.push_back(kUnlatch);
                }
                break;
            case TStep::Value:
                AppendValue(fromMode, m_data[from], values);
                break;
            case TStep::Byte:
                break;
            }
        }
        const TMode mode = ModeOf(end.state);
        const int capacity = end.capacity;
        if (end.asciiRest) {
            AppendAscii(static_cast<size_t>(end.position), m_data.size(), m_out);
        } else if (mode == TMode::Base256) {
            AppendBase256(runStart, m_data.size());
        } else if (mode == TMode::Edifact) {
            // With at most two codewords left after a whole group the reader is back in ASCII by itself.
            if (!values.empty() || capacity - Count() > 2) {
                values.push_back(kEdifactUnlatch);
                AppendEdifact(values);
            }
        } else if (mode != TMode::Ascii) {
            if (!values.empty()) {
                values.push_back(0);
                AppendTriplets(values);
            }
            if (Count() < capacity) m_out.push_back(kUnlatch);
        }
    }

    void AppendValue(TMode mode, uint16_t c, std::vector<uint8_t>& values) {
        if (mode == TMode::Edifact) {
            values.push_back(static_cast<uint8_t>(c & 0x3F));
            if (values.size() == 4) {
                AppendEdifact(values);
                values.clear();
            }
            return;
        }
        AppendTripletValues(mode, c, values);
        const size_t whole = values.size() / 3 * 3;
        AppendTriplets(std::span(values).first(whole));
        values.erase(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(whole));
    }

    int Count() const { return static_cast<int>(m_out.size()); }
    // The data capacity of the smallest allowed size that holds `codewords`.
    int Fit(int codewords) const {
        const auto it = std::lower_bound(m_capacities.begin(), m_capacities.end(), codewords);
        return it == m_capacities.end() ? kNoFit : *it;
    }

    static void AppendEci(int eci, std::vector<uint8_t>& out) {
        out.push_back(kEci);
        if (eci <= 126) {
            out.push_back(static_cast<uint8_t>(eci + 1));
        } else if (eci <= 16382) {
            out.push_back(static_cast<uint8_t>((eci - 127) / 254 + 128));
            out.push_back(static_cast<uint8_t>((eci - 127) % 254 + 1));
        } else {
            out.push_back(static_cast<uint8_t>((eci - 16383) / 64516 + 192));
            out.push_back(static_cast<uint8_t>((eci - 16383) / 254 % 254 + 1));
            out.push_back(static_cast<uint8_t>((eci - 16383) % 254 + 1));
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
    int AsciiLength(int from, int to) const {
        int n = 0;
        for (int p = from; p < to; ++p) {
            const uint16_t c = m_data[static_cast<size_t>(p)];
            if (IsDigit(c) && p + 1 < to && IsDigit(m_data[static_cast<size_t>(p + 1)])) ++p;
            n += c >= 128 && c != kDataMatrixFnc1 ? 2 : 1;
        }
        return n;
    }

    void AppendTriplets(std::span<const uint8_t> values) {
        for (size_t i = 0; i + 2 < values.size(); i += 3) {
            const int v = 1600 * values[i] + 40 * values[i + 1] + values[i + 2] + 1;
            m_out.push_back(static_cast<uint8_t>(v >> 8));
            m_out.push_back(static_cast<uint8_t>(v & 0xFF));
        }
    }

    // Four six-bit values to three codewords; a shorter last group is padded with zero bits.
    void AppendEdifact(std::span<const uint8_t> values) {
        uint32_t bits = 0;
        for (size_t k = 0; k < 4; ++k) bits = bits << 6 | (k < values.size() ? values[k] : 0u);
        const size_t bytes = (values.size() * 6 + 7) / 8;
        for (size_t k = 0; k < bytes; ++k) m_out.push_back(static_cast<uint8_t>(bits >> (16 - 8 * k)));
    }

    // The bytes behind their length, every codeword randomised by its position so that runs of equal
    // bytes do not print as blocks.
    void AppendBase256(size_t from, size_t to) {
        const size_t length = to - from;
        const size_t start = m_out.size();
        if (length <= 249) {
            m_out.push_back(static_cast<uint8_t>(length));
        } else {
            m_out.push_back(static_cast<uint8_t>(length / 250 + 249));
            m_out.push_back(static_cast<uint8_t>(length % 250));
        }
        for (size_t p = from; p < to; ++p) m_out.push_back(static_cast<uint8_t>(m_data[p]));
        for (size_t i = start; i < m_out.size(); ++i) {
            const int position = static_cast<int>(i) + 1;
            const int value = m_out[i] + (149 * position) % 255 + 1;
            m_out[i] = static_cast<uint8_t>(value <= 255 ? value : value - 256);
        }
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
    // The search's tables, kept for the thread's next symbol: a label run encodes one after another.
    struct TTables {
        std::vector<int> cost;
        std::vector<TLink> link;
        std::vector<int> run;
    };
    static TTables& Tables() {
        thread_local TTables tables;
        return tables;
    }
    std::vector<int>& m_cost = Tables().cost;
    std::vector<TLink>& m_link = Tables().link;
    std::vector<int>& m_run = Tables().run;
    std::vector<uint8_t> m_out;
};

} // namespace

std::vector<uint8_t> DataMatrixCodewords(std::span<const uint16_t> data, int eci,
                                         std::span<const int> capacities) {
    return TEncoder(data, capacities).Encode(eci);
}

} // namespace qbm
