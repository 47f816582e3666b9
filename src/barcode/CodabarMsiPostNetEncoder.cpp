#include "barcode/Encoders.h"
#include "barcode/LinearSymbolTables.h"

namespace qbm {
namespace {

const char* FindCodabar(char c) {
    for (const TCodabarRow& row : CodabarTable)
        if (row.ch == c) return row.pattern;
    return nullptr;
}

// Four bits, most significant first: 1 is a wide bar and a narrow gap, 0 the reverse.
void AppendMsiDigit(std::string& r, int digit) {
    for (int bit = 3; bit >= 0; --bit) r += (digit >> bit) & 1 ? "60" : "51";
}

int DigitSum(const std::string& decimal) {
    int s = 0;
    for (const char c : decimal) s += c - '0';
    return s;
}

// Twice a decimal number, digit by digit, so that texts of any length get the MSI rule's value.
std::string Doubled(const std::string& decimal) {
    std::string r(decimal.size() + 1, '0');
    int carry = 0;
    for (size_t i = decimal.size(); i-- > 0;) {
        const int d = (decimal[i] - '0') * 2 + carry;
        r[i + 1] = static_cast<char>('0' + d % 10);
        carry = d / 10;
    }
    r[0] = static_cast<char>('0' + carry);
    return r;
}

char MsiCheckDigit(std::string_view digits) {
    // Digits in odd positions (from 1, left) form one number, those in even positions the other;
    // the number holding the last digit is doubled. Leading zeros change no digit sum.
    std::string odd, even;
    for (size_t i = 0; i < digits.size(); ++i) (i % 2 == 0 ? odd : even) += digits[i];
    const bool oddLength = digits.size() % 2 != 0;
    const int s =
        oddLength ? DigitSum(Doubled(odd)) + DigitSum(even) : DigitSum(Doubled(even)) + DigitSum(odd);
    return static_cast<char>('0' + (10 - s % 10) % 10);
}

} // namespace

std::string EncodeCodabar(const TLinearInput& in) {
    std::string r = FindCodabar('A');
    r.reserve((in.text.size() + 2) * 8);
    r += '0';
    for (const char c : in.text) {
        // A character Codabar cannot carry is skipped, so a typo never stops a label from printing.
        const char* pattern = FindCodabar(c);
        if (!pattern) continue;
        r += pattern;
        r += '0';
    }
    r += FindCodabar('B');
    return r;
}

std::string EncodeMSI(const TLinearInput& in) {
    const std::string_view text = in.text;
    std::string r = "60";
    r.reserve(2 + 8 * (text.size() + 1) + 3);
    for (const char c : text) AppendMsiDigit(r, c - '0');
    AppendMsiDigit(r, MsiCheckDigit(text) - '0');
    r += "515";
    return r;
}

std::string EncodePostNet(const TLinearInput& in) {
    // Full bars and the short bars hanging from the top edge, each followed by a wide gap.
    std::string r = "51";
    r.reserve(2 + in.text.size() * 10 + 1);
    for (const char c : in.text) {
        const char* bars = PostNetBars[c - '0'];
        for (int k = 0; k < 5; ++k) {
            r += bars[k] == '1' ? '5' : 'A';
            r += '1';
        }
    }
    r += '5';
    return r;
}

} // namespace qbm
