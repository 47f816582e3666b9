#include "barcode/Code128Encoder.h"

#include "barcode/Code128Patterns.h"
#include "barcode/EBarcodeError.h"
#include "barcode/Encoders.h"

#include <array>
#include <vector>

namespace qbm {
namespace {

// Symbol values of the function characters. FNC4 shares its value with CODE A in set A and with
// CODE B in set B.
constexpr int kFnc3 = 96;
constexpr int kFnc2 = 97;
constexpr int kShift = 98;
constexpr int kCodeC = 99;
constexpr int kCodeB = 100;
constexpr int kCodeA = 101;
constexpr int kFnc1 = 102;

// Character marks in Code128Auto texts: NUL, and FNC1..FNC4.
constexpr int kNulMark = 128;
constexpr int kFnc1Mark = 193;
constexpr int kFnc2Mark = 194;
constexpr int kFnc3Mark = 195;
constexpr int kFnc4Mark = 196;

enum class TCodeSet { A, B, C };

int Code(char c) {
    return static_cast<unsigned char>(c);
}
bool IsDigit(int c) {
    return c >= '0' && c <= '9';
}

// Lookups of the fixed-set types: a character missing from the set is encoded as the blank.
int SetAValue(int c) {
    if (c == kNulMark) return 64;
    if (c < 32) return c + 64;
    if (c <= 95) return c - 32;
    return 0;
}

int SetBValue(int c) {
    return c >= 32 && c <= 127 ? c - 32 : 0;
}

int SetCValue(char a, char b) {
    if (!IsDigit(Code(a)) || !IsDigit(Code(b))) return 0;
    return (a - '0') * 10 + (b - '0');
}

// Latin-1 characters that have no symbol of their own; Code128Auto writes them as FNC4 followed by
// the character 128 below (extended ASCII).
bool IsExtended(int c) {
    return (c > kNulMark && c < kFnc1Mark) || c > kFnc4Mark;
}

// Which of sets A and B holds a character; an extended character goes with its base character.
TCodeSet ClassOf(int c) {
    if (IsExtended(c)) c -= 128;
    return (c >= 1 && c <= 31) || c == kNulMark ? TCodeSet::A : TCodeSet::B;
}

// The value of a character in set A or B. Characters of the other set get their value there; the
// caller puts a SHIFT before them.
int AutoValue(int c, TCodeSet set) {
    if (c >= 32 && c <= 95) return c - 32;
    switch (c) {
    case kFnc1Mark:
        return kFnc1;
    case kFnc2Mark:
        return kFnc2;
    case kFnc3Mark:
        return kFnc3;
    case kFnc4Mark:
        return set == TCodeSet::A ? kCodeA : kCodeB;
    case kNulMark:
        return 64;
    default:
        break;
    }
    if (c < 32) return c + 64;
    return c - 32;
}

bool FitsSet(int c, TCodeSet set) {
    if (set == TCodeSet::A) return c < 96 || c == kNulMark;
    return c >= 32 && c <= 127;
}

constexpr size_t kSymbolElements = 6;

// The bar pattern of every symbol value, bar first, made once from the width table: every symbol
// of every Code 128 barcode is looked up here.
const std::array<std::array<char, kSymbolElements>, kCode128SymbolCount>& SymbolPatterns() {
    static const auto patterns = [] {
        std::array<std::array<char, kSymbolElements>, kCode128SymbolCount> p;
        for (int v = 0; v < kCode128SymbolCount; ++v) {
            const std::string elements = WidthsToPattern(Code128Widths[v]);
            std::copy(elements.begin(), elements.end(), p[v].begin());
        }
        return p;
    }();
    return patterns;
}

std::string ValuesToPattern(const std::vector<int>& values) {
    static const std::string stop = WidthsToPattern(Code128Stop);
    const auto& patterns = SymbolPatterns();
    // The check symbol weights the start symbol and the first data symbol with 1, then 2, 3, ...
    int sum = values.front();
    for (size_t k = 1; k < values.size(); ++k) sum += static_cast<int>(k % 103) * values[k] % 103;
    std::string r;
    r.reserve((values.size() + 1) * kSymbolElements + stop.size());
    for (const int v : values) r.append(patterns[v].data(), kSymbolElements);
    r.append(patterns[sum % 103].data(), kSymbolElements);
    return r + stop;
}

std::string EncodeFixedSet(const TLinearInput& in) {
    const TBarcodeType typ = in.typ;
    const bool ean = typ == bcCodeEAN128A || typ == bcCodeEAN128B || typ == bcCodeEAN128C;
    std::vector<int> values;
    switch (typ) {
    case bcCode128A:
    case bcCodeEAN128A:
        values.push_back(kCode128StartA);
        break;
    case bcCode128B:
    case bcCodeEAN128B:
        values.push_back(kCode128StartB);
        break;
    default:
        values.push_back(kCode128StartC);
        break;
    }
    if (ean) values.push_back(kFnc1);

    const std::string_view text = in.text;
    if (typ == bcCode128C || typ == bcCodeEAN128C) {
        std::string d(text);
        if (typ == bcCode128C) {
            if (d.size() % 2 == 1) d = "0" + d;
        } else if (d.size() > 2) {
            // The serial shipping code and the trade item numbers carry a check digit of their own,
            // and scanners and databases reject them at any other length.
            if (!Ean128FixedLengthFits(d, in.method)) throw EBarcodeError(InvalidCodeText(typ));
            const std::string ai = d.substr(0, 2);
            if (ai == "00" || ai == "01" || ai == "02") d = ai + ApplyChecksum(d.substr(2, 100), in.method);
            if (d.size() % 2 == 1) d += "0";
        }
        for (size_t i = 0; i + 1 < d.size(); i += 2) values.push_back(SetCValue(d[i], d[i + 1]));
    } else {
        const bool setA = typ == bcCode128A || typ == bcCodeEAN128A;
        for (const char c : text) values.push_back(setA ? SetAValue(Code(c)) : SetBValue(Code(c)));
    }
    return ValuesToPattern(values);
}

std::string EncodeAuto(const TLinearInput& in) {
    const std::string d = ParseEscapes(std::string(in.text), true);
    const size_t n = d.size();
    // Past the end counts as a set B character and as no digit.
    const auto at = [&](size_t i) { return i < n ? Code(d[i]) : -1; };
    const auto classAt = [&](size_t i) { return i < n ? ClassOf(Code(d[i])) : TCodeSet::B; };
    const auto digitsFrom = [&](size_t i) {
        size_t k = 0;
        while (i + k < n && IsDigit(Code(d[i + k]))) ++k;
        return k;
    };

    TCodeSet set;
    if (n == 0)
        set = TCodeSet::A;
    else if ((n == 2 && digitsFrom(0) == 2) || digitsFrom(0) >= 4)
        set = TCodeSet::C;
    else
        set = ClassOf(Code(d[0]));

    std::vector<int> values;
    values.reserve(n + 8);
    values.push_back(set == TCodeSet::A   ? kCode128StartA
                     : set == TCodeSet::B ? kCode128StartB
                                          : kCode128StartC);
    const auto switchTo = [&](TCodeSet to) {
        values.push_back(to == TCodeSet::A ? kCodeA : to == TCodeSet::B ? kCodeB : kCodeC);
        set = to;
    };

    size_t i = 0;
    while (i < n) {
        const int c = at(i);
        if (set == TCodeSet::C) {
            if (c == kFnc1Mark) {
                values.push_back(kFnc1);
                ++i;
            } else if (IsDigit(c) && IsDigit(at(i + 1))) {
                values.push_back((c - '0') * 10 + (at(i + 1) - '0'));
                i += 2;
            } else {
                switchTo(ClassOf(c));
            }
            continue;
        }
        const TCodeSet other = set == TCodeSet::A ? TCodeSet::B : TCodeSet::A;
        const size_t k = digitsFrom(i);
        if (k >= 4) {
            // An odd run leaves its first digit in the current set so that set C gets pairs only.
            if (k % 2 == 1) {
                values.push_back(c - 32);
                ++i;
            }
            switchTo(TCodeSet::C);
        } else if (c == kFnc4Mark && IsExtended(at(i + 1))) {
            // A typed FNC4 before a high character: the character brings its own FNC4, and two in a
            // row would read as a latch that changes every following character.
            ++i;
        } else if (IsExtended(c)) {
            // FNC4 then the base character; a base character of the other set is reached by a
            // switch, never by SHIFT, so that FNC4 always stands right before its character.
            if (FitsSet(c - 128, set)) {
                values.push_back(set == TCodeSet::A ? kCodeA : kCodeB);
                values.push_back(AutoValue(c - 128, set));
                ++i;
            } else {
                switchTo(other);
            }
        } else if (!FitsSet(c, set) && c < kFnc1Mark) {
            if (classAt(i + 1) == other) {
                switchTo(other);
            } else {
                values.push_back(kShift);
                values.push_back(AutoValue(c, other));
                ++i;
            }
        } else {
            values.push_back(AutoValue(c, set));
            ++i;
        }
    }
    return ValuesToPattern(values);
}

} // namespace

std::string ParseEscapes(const std::string& text, bool convert) {
    std::string r;
    r.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= n) {
            // A backslash as the very last character stands for itself.
            r += c;
            ++i;
            continue;
        }
        const char next = text[i + 1];
        if (!IsDigit(Code(next))) {
            r += c;
            r += next;
            i += 2;
            continue;
        }
        int value = next - '0';
        size_t j = i + 2;
        if (j < n && IsDigit(Code(text[j]))) {
            value = value * 10 + (text[j] - '0');
            ++j;
            if (j < n && IsDigit(Code(text[j])) && value < 26 && value * 10 + (text[j] - '0') < 256) {
                value = value * 10 + (text[j] - '0');
                ++j;
            }
        }
        if (convert) r += static_cast<char>(value);
        i = j;
    }
    return r;
}

bool Ean128FixedLengthFits(std::string_view digits, TCheckSumMethod method) {
    if (digits.size() <= 2) return true;
    const std::string_view ai = digits.substr(0, 2);
    size_t length;
    if (ai == "00")
        length = 17;
    else if (ai == "01" || ai == "02")
        length = 13;
    else
        return true;
    if (method == csmNone) ++length;
    return digits.size() - 2 == length;
}

std::string EncodeCode128(const TLinearInput& in) {
    if (in.typ == bcCode128Auto) return EncodeAuto(in);
    return EncodeFixedSet(in);
}

} // namespace qbm
