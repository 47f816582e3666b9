#include "output/BarPatternReader.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace qbm {
namespace {

// Wide elements of the digits 0 to 9 in the 2 of 5 family, first element first.
constexpr std::array<const char*, 10> kTwoOfFive = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                                    "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};
// Full (F) and half (H) bars of the PostNet digits 0 to 9.
constexpr std::array<const char*, 10> kPostNet = {"FFHHH", "HHHFF", "HHFHF", "HHFFH", "HFHHF",
                                                  "HFHFH", "HFFHH", "FHHHF", "FHHFH", "FHFHH"};

constexpr int kDark = 128;
constexpr int kScanLines = 24;

// N or W for every element: wide is at least one and a half times the narrowest element, which
// leaves room for the rounding of the wide width at small modules.
std::string Classes(const std::vector<TBarRun>& runs) {
    int narrow = runs.front().width;
    for (const TBarRun& r : runs) narrow = std::min(narrow, r.width);
    std::string c;
    for (const TBarRun& r : runs) c += 2 * r.width >= 3 * narrow ? 'W' : 'N';
    return c;
}

char DigitOf(const std::array<const char*, 10>& table, const std::string& elements) {
    for (int d = 0; d < 10; ++d)
        if (elements == table[static_cast<size_t>(d)]) return static_cast<char>('0' + d);
    return 0;
}

// Start: wide bar, wide bar, narrow bar, all gaps narrow; five bars a digit; stop: wide, narrow, wide.
std::optional<std::string> DecodeIndustrial(const std::string& c) {
    if (c.size() < 11 || c.size() % 2 == 0) return std::nullopt;
    std::string bars, gaps;
    for (size_t i = 0; i < c.size(); ++i) (i % 2 == 0 ? bars : gaps) += c[i];
    if (gaps.find('W') != std::string::npos) return std::nullopt;
    if (bars.compare(0, 3, "WWN") != 0 || bars.compare(bars.size() - 3, 3, "WNW") != 0) return std::nullopt;
    const std::string data = bars.substr(3, bars.size() - 6);
    if (data.size() % 5 != 0) return std::nullopt;
    std::string text;
    for (size_t i = 0; i < data.size(); i += 5) {
        const char d = DigitOf(kTwoOfFive, data.substr(i, 5));
        if (!d) return std::nullopt;
        text += d;
    }
    return text;
}

// Start: wide bar and five narrow elements; a digit is five elements and a narrow gap; stop: wide
// bar and four narrow elements.
std::optional<std::string> DecodeMatrix(const std::string& c) {
    if (c.size() < 17 || (c.size() - 11) % 6 != 0) return std::nullopt;
    if (c.compare(0, 6, "WNNNNN") != 0 || c.compare(c.size() - 5, 5, "WNNNN") != 0) return std::nullopt;
    std::string text;
    for (size_t i = 6; i + 5 < c.size(); i += 6) {
        if (c[i + 5] != 'N') return std::nullopt;
        const char d = DigitOf(kTwoOfFive, c.substr(i, 5));
        if (!d) return std::nullopt;
        text += d;
    }
    return text;
}

// Start: wide bar, narrow gap; each bit a wide bar and narrow gap (1) or the reverse (0), four bits a
// digit, the last digit the check digit; stop: narrow bar, wide gap, narrow bar.
std::optional<std::string> DecodeMsi(const std::string& c) {
    if (c.size() < 13 || (c.size() - 5) % 8 != 0) return std::nullopt;
    if (c.compare(0, 2, "WN") != 0 || c.compare(c.size() - 3, 3, "NWN") != 0) return std::nullopt;
    std::string text;
    for (size_t i = 2; i + 3 < c.size(); i += 8) {
        int value = 0;
        for (size_t k = i; k < i + 8; k += 2) {
            if (c[k] == c[k + 1]) return std::nullopt;
            value = value * 2 + (c[k] == 'W');
        }
        if (value > 9) return std::nullopt;
        text += static_cast<char>('0' + value);
    }
    const std::string digits = text.substr(0, text.size() - 1);
    if (digits.empty() || LuhnCheckDigit(digits) != text.back()) return std::nullopt;
    return text;
}

// Frame bars (full) around five bars a digit, two of them full.
std::optional<std::string> DecodePostNet(const std::vector<TBarRun>& runs) {
    std::string heights;
    for (size_t i = 0; i < runs.size(); i += 2) heights += runs[i].shortBar ? 'H' : 'F';
    if (heights.size() < 7 || (heights.size() - 2) % 5 != 0) return std::nullopt;
    if (heights.front() != 'F' || heights.back() != 'F') return std::nullopt;
    std::string text;
    for (size_t i = 1; i + 1 < heights.size(); i += 5) {
        const char d = DigitOf(kPostNet, heights.substr(i, 5));
        if (!d) return std::nullopt;
        text += d;
    }
    return text;
}

// A grey picture seen turned by a quarter turn `turns` times.
class TTurnedGrey {
public:
    TTurnedGrey(const std::vector<uint8_t>& grey, int w, int h, int turns)
        : m_grey(grey), m_w(w), m_h(h), m_turns(turns) {}
    int Width() const { return m_turns % 2 ? m_h : m_w; }
    int Height() const { return m_turns % 2 ? m_w : m_h; }
    bool Dark(int x, int y) const {
        int sx = x, sy = y;
        switch (m_turns) {
        case 1:
            sx = y, sy = m_h - 1 - x;
            break;
        case 2:
            sx = m_w - 1 - x, sy = m_h - 1 - y;
            break;
        case 3:
            sx = m_w - 1 - y, sy = x;
            break;
        default:
            break;
        }
        return m_grey[static_cast<size_t>(sy) * m_w + sx] < kDark;
    }

private:
    const std::vector<uint8_t>& m_grey;
    int m_w, m_h, m_turns;
};

std::vector<TBarRun> RunsOfLine(const TTurnedGrey& g, int y) {
    std::vector<TBarRun> runs;
    for (int x = 0; x < g.Width(); ++x) {
        const bool dark = g.Dark(x, y);
        if (runs.empty() && !dark) continue;
        if (runs.empty() || runs.back().bar != dark) runs.push_back({0, dark, false});
        ++runs.back().width;
    }
    if (!runs.empty() && !runs.back().bar) runs.pop_back();
    return runs;
}

// Marks PostNet's half bars: they hang from the full bars' top edge and reach less than three
// quarters of their length. A line whose bars do not share their top edge is upside down or no
// PostNet symbol at all (turned half round, a PostNet symbol reads as another valid number).
bool MarkShortBars(const TTurnedGrey& g, int y, std::vector<TBarRun>& runs) {
    std::vector<std::pair<int, int>> extents;
    int x = 0, longest = 0;
    while (x < g.Width() && !g.Dark(x, y)) ++x; // runs start at the line's first dark pixel
    for (const TBarRun& r : runs) {
        if (r.bar) {
            const int cx = x + r.width / 2;
            int top = y, bottom = y;
            while (top > 0 && g.Dark(cx, top - 1)) --top;
            while (bottom + 1 < g.Height() && g.Dark(cx, bottom + 1)) ++bottom;
            extents.push_back({top, bottom});
            longest = std::max(longest, bottom - top + 1);
        }
        x += r.width;
    }
    size_t k = 0;
    for (TBarRun& r : runs) {
        if (!r.bar) continue;
        const auto [top, bottom] = extents[k++];
        if (std::abs(top - extents.front().first) > 1) return false;
        r.shortBar = 4 * (bottom - top + 1) < 3 * longest;
    }
    return true;
}

} // namespace

char LuhnCheckDigit(const std::string& digits) {
    int sum = 0;
    bool doubled = true;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, doubled = !doubled) {
        const int d = (*it - '0') * (doubled ? 2 : 1);
        sum += d / 10 + d % 10;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

bool HasBarPatternReader(TBarcodeType type) {
    return type == bcCodeMSI || type == bcCodePostNet || type == bcCode_2_5_industrial ||
           type == bcCode_2_5_matrix;
}

std::optional<std::string> DecodeBarRuns(TBarcodeType type, const std::vector<TBarRun>& runs) {
    if (runs.empty() || !runs.front().bar || !runs.back().bar) return std::nullopt;
    for (size_t i = 0; i < runs.size(); ++i)
        if (runs[i].bar != (i % 2 == 0) || runs[i].width < 1) return std::nullopt;
    switch (type) {
    case bcCode_2_5_industrial:
        return DecodeIndustrial(Classes(runs));
    case bcCode_2_5_matrix:
        return DecodeMatrix(Classes(runs));
    case bcCodeMSI:
        return DecodeMsi(Classes(runs));
    case bcCodePostNet:
        return DecodePostNet(runs);
    default:
        return std::nullopt;
    }
}

std::optional<std::string> ReadBarPattern(TBarcodeType type, const TGreyPicture& picture) {
    for (int turns = 0; turns < 4; ++turns) {
        const TTurnedGrey g(picture.pixels, picture.width, picture.height, turns);
        const int step = std::max(1, g.Height() / kScanLines);
        for (int y = step / 2; y < g.Height(); y += step) {
            std::vector<TBarRun> runs = RunsOfLine(g, y);
            if (runs.size() < 5) continue;
            if (type == bcCodePostNet && !MarkShortBars(g, y, runs)) continue;
            if (auto text = DecodeBarRuns(type, runs)) return text;
        }
    }
    return std::nullopt;
}

} // namespace qbm
