#include "barcode/EBarcodeError.h"
#include "barcode/Encoders.h"
#include "barcode/LinearSymbolTables.h"

#include <array>
#include <string_view>

namespace qbm {
namespace {

constexpr size_t kCode39Elements = 9;
constexpr size_t kCode93Elements = 6;
constexpr int kCode39Values = 43;

using TCharIndex = std::array<int8_t, 256>;

unsigned char Code(char c) {
    return static_cast<unsigned char>(c);
}

// Row of every character in a symbology table, -1 for characters it cannot carry. Every character of
// every symbol is looked up, so the tables are searched once, not per character.
template <typename Row, size_t N> TCharIndex RowsByCharacter(const Row (&table)[N]) {
    TCharIndex rows;
    rows.fill(-1);
    for (size_t i = N; i-- > 0;) rows[Code(table[i].ch)] = static_cast<int8_t>(i);
    return rows;
}

const TCharIndex& Code39Rows() {
    static const TCharIndex rows = RowsByCharacter(Code39Table);
    return rows;
}

// The check character of each modulo-43 value. The start/stop character "*" counts 0 too, but the
// character of value 0 is "0": the first row with the value wins.
const std::array<int8_t, kCode39Values>& Code39RowsByValue() {
    static const auto rows = [] {
        std::array<int8_t, kCode39Values> r;
        for (int i = kCode39RowCount; i-- > 0;)
            if (Code39Table[i].checkValue < kCode39Values)
                r[Code39Table[i].checkValue] = static_cast<int8_t>(i);
        return r;
    }();
    return rows;
}

// Code 93 character values double as table rows.
const TCharIndex& Code93Values() {
    static const TCharIndex values = RowsByCharacter(Code93Table);
    return values;
}

// The bar pattern of each Code 93 character: six elements, bar first.
const std::array<std::array<char, kCode93Elements>, kCode93RowCount>& Code93Patterns() {
    static const auto patterns = [] {
        std::array<std::array<char, kCode93Elements>, kCode93RowCount> p;
        for (int v = 0; v < kCode93RowCount; ++v) {
            const std::string elements = WidthsToPattern(Code93Table[v].widths);
            std::copy(elements.begin(), elements.end(), p[v].begin());
        }
        return p;
    }();
    return patterns;
}

// The Full ASCII form of a text: each code 0..127 becomes its one or two characters, with the shift
// characters a symbology uses in place of Code 39's "$", "%", "/" and "+". The product's NUL marker
// 128 is carried as NUL, so no symbology loses it; the other codes above 127 have no Full ASCII form.
std::string FullAscii(std::string_view text, std::string_view shifts) {
    std::string mapped;
    mapped.reserve(2 * text.size());
    for (const char ch : text) {
        const unsigned char code = Code(ch);
        if (code > 128) continue;
        const char* chars = Code39ExtendedMap(code == 128 ? 0 : code);
        if (chars[1] != '\0') {
            mapped += shifts[std::string_view("$%/+").find(chars[0])];
            mapped += chars[1];
        } else {
            mapped += chars[0];
        }
    }
    return mapped;
}

std::string Code39Symbol(std::string_view text, bool checksum) {
    const TCharIndex& rows = Code39Rows();
    const TCode39Row& start = Code39Table[rows[Code('*')]];
    std::string r;
    r.reserve((text.size() + 3) * (kCode39Elements + 1));
    const auto append = [&r](const TCode39Row& row) {
        r.append(row.pattern, kCode39Elements);
        r += '0';
    };
    append(start);
    int sum = 0;
    for (const char c : text) {
        // "*" is the start/stop character: inside the data it would end the symbol early for every
        // reader, so it is skipped like any other character Code 39 cannot carry.
        const int row = c == '*' ? -1 : rows[Code(c)];
        if (row < 0) continue;
        append(Code39Table[row]);
        sum += Code39Table[row].checkValue;
    }
    if (checksum) append(Code39Table[Code39RowsByValue()[sum % kCode39Values]]);
    r.append(start.pattern, kCode39Elements);
    return r;
}

std::string Code93Symbol(std::string_view text) {
    static const std::string start = WidthsToPattern("111141");
    static const std::string stop = WidthsToPattern("1111411");
    const TCharIndex& values = Code93Values();
    const auto& patterns = Code93Patterns();
    std::string r = start;
    r.reserve(start.size() + (text.size() + 2) * kCode93Elements + stop.size());
    // C weights run 1..20 and K weights 2..15 then 1..15 from the last character; C itself enters K
    // with weight 1.
    long long cSum = 0, kSum = 0;
    for (size_t i = 0, n = text.size(); i < n; ++i) {
        const int v = values[Code(text[i])];
        if (v < 0) throw EBarcodeError("Code93 bad Data !");
        const long long j = static_cast<long long>(n - i);
        cSum += v * ((j - 1) % 20 + 1);
        kSum += v * (j % 15 + 1);
        r.append(patterns[v].data(), kCode93Elements);
    }
    const int c = static_cast<int>(cSum % 47);
    const int k = static_cast<int>((cSum + kSum) % 47);
    r.append(patterns[c].data(), kCode93Elements);
    r.append(patterns[k].data(), kCode93Elements);
    return r + stop;
}

} // namespace

std::string EncodeCode39(const TLinearInput& in) {
    return Code39Symbol(in.text, in.checksum);
}

std::string EncodeCode39Extended(const TLinearInput& in) {
    return Code39Symbol(FullAscii(in.text, "$%/+"), in.checksum);
}

std::string EncodeCode93(const TLinearInput& in) {
    return Code93Symbol(in.text);
}

std::string EncodeCode93Extended(const TLinearInput& in) {
    // Code 93 has shift characters of its own, written "[", "]", "{", "}" in its table.
    return Code93Symbol(FullAscii(in.text, "[]{}"));
}

} // namespace qbm
