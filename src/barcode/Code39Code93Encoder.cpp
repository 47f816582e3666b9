#include "barcode/Encoders.h"
#include "barcode/LinearSymbolTables.h"
#include "barcode/TBarcode.h"

#include <vector>

namespace qbm {
namespace {

const TCode39Row* FindCode39(char c) {
    for (const TCode39Row& row : Code39Table)
        if (row.ch == c) return &row;
    return nullptr;
}

const TCode39Row& Code39Start() {
    return *FindCode39('*');
}

// Value of a character in the Code 93 check sums, -1 when Code 93 cannot carry it.
int Code93Value(char c) {
    for (int v = 0; v < kCode93RowCount; ++v)
        if (Code93Table[v].ch == c) return v;
    return -1;
}

// The Code 93 Full ASCII sequence of a code 0..127: the Code 39 one with Code 93's own shift
// characters in place of "$", "%", "/" and "+".
std::string Code93ExtendedMap(int code) {
    std::string s = Code39ExtendedMap(code);
    if (s.size() == 2) {
        switch (s[0]) {
        case '$':
            s[0] = '[';
            break;
        case '%':
            s[0] = ']';
            break;
        case '/':
            s[0] = '{';
            break;
        case '+':
            s[0] = '}';
            break;
        }
    }
    return s;
}

// Runs an encoder on a substitute text and puts the caller's text back, also when it throws.
template <typename Encoder>
std::string EncodeWithTextReplaced(TBarcode& bc, const std::string& replacement, Encoder encode) {
    const std::string saved = bc.Text();
    bc.StoreText(replacement);
    try {
        std::string r = encode(bc);
        bc.StoreText(saved);
        return r;
    } catch (...) {
        bc.StoreText(saved);
        throw;
    }
}

} // namespace

std::string EncodeCode39(TBarcode& bc) {
    std::string r = Code39Start().pattern;
    r += '0';
    int sum = 0;
    for (const char c : bc.Text()) {
        // "*" is the start/stop character: inside the data it would end the symbol early for every
        // reader, so it is skipped like any other character Code 39 cannot carry.
        const TCode39Row* row = c == '*' ? nullptr : FindCode39(c);
        if (!row) continue;
        r += row->pattern;
        r += '0';
        sum += row->checkValue;
    }
    if (bc.Checksum()) {
        const int value = sum % 43;
        for (const TCode39Row& row : Code39Table)
            if (row.checkValue == value) {
                r += row.pattern;
                r += '0';
                break;
            }
    }
    r += Code39Start().pattern;
    return r;
}

std::string EncodeCode39Extended(TBarcode& bc) {
    std::string mapped;
    for (const char ch : bc.Text()) {
        const auto code = static_cast<unsigned char>(ch);
        // Code 128 is the product's NUL marker; the other codes above 127 have no Full ASCII form.
        if (code == 128)
            mapped += Code39ExtendedMap(0);
        else if (code < 128)
            mapped += Code39ExtendedMap(code);
    }
    return EncodeWithTextReplaced(bc, mapped, EncodeCode39);
}

std::string EncodeCode93(TBarcode& bc) {
    const std::string& text = bc.Text();
    std::string widths = "111141";
    widths.reserve(6 * (text.size() + 4) + 1);
    std::vector<int> values;
    values.reserve(text.size() + 1);
    for (const char c : text) {
        const int v = Code93Value(c);
        if (v < 0) throw EBarcodeError("Code93 bad Data !");
        values.push_back(v);
        widths += Code93Table[v].widths;
    }
    // C weights run 1..20 and K weights 2..15 then 1..15 from the last character; C itself
    // enters K with weight 1.
    long long cSum = 0, kSum = 0;
    const size_t n = values.size();
    for (size_t i = 0; i < n; ++i) {
        const long long j = static_cast<long long>(n - i);
        cSum += values[i] * ((j - 1) % 20 + 1);
        kSum += values[i] * (j % 15 + 1);
    }
    const int c = static_cast<int>(cSum % 47);
    const int k = static_cast<int>((cSum + kSum) % 47);
    widths += Code93Table[c].widths;
    widths += Code93Table[k].widths;
    widths += "1111411";
    return TBarcode::WidthsToPattern(widths);
}

std::string EncodeCode93Extended(TBarcode& bc) {
    std::string mapped;
    for (const char ch : bc.Text()) {
        const auto code = static_cast<unsigned char>(ch);
        // The NUL marker 128 is carried as NUL here too, so no symbology loses it.
        if (code == 128)
            mapped += Code93ExtendedMap(0);
        else if (code < 128)
            mapped += Code93ExtendedMap(code);
    }
    return EncodeWithTextReplaced(bc, mapped, EncodeCode93);
}

} // namespace qbm
