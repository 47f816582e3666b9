#include "barcode/EanUpcEncoder.h"

#include "barcode/EBarcodeError.h"
#include "barcode/Encoders.h"
#include "barcode/TBarcode.h"
#include "util/Errors.h"
#include "util/IntConversion.h"

namespace qbm {
namespace {

// Digit patterns in the element alphabet: set A (odd parity) and set B (even parity) start with a
// gap, set C (right half) with a bar; set B is set C reversed.
constexpr const char* kSetA[10] = {"2605", "1615", "1516", "0805", "0526",
                                   "0625", "0508", "0706", "0607", "2506"};
constexpr const char* kSetB[10] = {"0517", "0616", "1606", "0535", "1705",
                                   "0715", "3505", "1525", "2515", "1507"};
constexpr const char* kSetC[10] = {"7150", "6160", "6061", "5350", "5071",
                                   "5170", "5053", "5251", "5152", "7051"};

// EAN-13: the set of digits 2 to 7, chosen by the first digit, which has no bars of its own.
constexpr const char* kEan13Parity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                          "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
// UPC-E: the parity of the six digits carries the check digit; the 5-digit supplement reuses
// letters 2 to 6 for its own check digit.
constexpr const char* kUpcEParity[10] = {"EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo",
                                         "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE"};

constexpr const char* kGuard = "505";
constexpr const char* kCentreGuard = "05050";
constexpr const char* kUpcEEndGuard = "050505";
constexpr const char* kSupplementStart = "506";
constexpr const char* kSupplementSeparator = "05";

int DigitAt(const std::string& s, size_t i) {
    return s[i] - '0';
}

// "505", the left digits in set A, "05050", the right digits in set C, "505".
std::string TwoHalves(const std::string& d, size_t leftFrom, size_t half, const char* leftParity) {
    std::string r = kGuard;
    for (size_t i = 0; i < half; ++i) {
        const int digit = DigitAt(d, leftFrom + i);
        r += leftParity && leftParity[i] == 'B' ? kSetB[digit] : kSetA[digit];
    }
    r += kCentreGuard;
    for (size_t i = leftFrom + half; i < d.size(); ++i) r += kSetC[DigitAt(d, i)];
    r += kGuard;
    return r;
}

// The six digits of a UPC-E under the parity row of its check digit; number system 1 swaps the
// meaning of the letters.
std::string UpcEPattern(const std::string& six, char checkDigit, bool numberSystemOne) {
    const char* row = kUpcEParity[checkDigit - '0'];
    std::string r = kGuard;
    for (size_t i = 0; i < 6; ++i) {
        const bool even = (row[i] == 'E') != numberSystemOne;
        r += even ? kSetB[DigitAt(six, i)] : kSetA[DigitAt(six, i)];
    }
    r += kUpcEEndGuard;
    return r;
}

std::string CheckDigitMessage(const std::string& digits, char expected) {
    return "The check digit of " + digits + " should be " + expected + ".";
}

// A value that holds its check digit, with Checksum off: the check digit must be the right one,
// or the symbol would not scan; one that does not is refused rather than drawn.
void RequireCheckDigit(const std::string& digits, char expected) {
    if (digits.back() != expected) throw EBarcodeError(CheckDigitMessage(digits, expected));
}

std::string LeftPadded(std::string_view text, size_t n) {
    return text.size() < n ? std::string(n - text.size(), '0') + std::string(text)
                           : std::string(text.substr(0, n));
}

} // namespace

std::string FixedLengthDigits(std::string_view text, size_t length, bool checksum, TCheckSumMethod method) {
    const auto withCheckDigit = [](const std::string& body) { return body + Modulo10CheckDigit(body); };
    if (checksum && method != csmNone) return withCheckDigit(LeftPadded(text, length - 1));
    // A value without its check digit gets one whatever Checksum says: without it no scanner reads
    // the symbol.
    if (text.size() < length) return withCheckDigit(LeftPadded(text, length - 1));
    const std::string digits(text.substr(0, length));
    RequireCheckDigit(digits, Modulo10CheckDigit(digits.substr(0, length - 1)));
    return digits;
}

std::string ExpandUpcE(const std::string& s) {
    if (s.size() != 7 || (s[0] != '0' && s[0] != '1')) throw EConvertError(InvalidIntegerMessage(""));
    const std::string t = s.substr(1);
    std::string manufacturer;
    std::string product;
    switch (t[5]) {
    case '0':
    case '1':
    case '2':
        manufacturer = t.substr(0, 2) + t[5] + "00";
        product = "00" + t.substr(2, 3);
        break;
    case '3':
        manufacturer = t.substr(0, 3) + "00";
        product = "000" + t.substr(3, 2);
        break;
    case '4':
        manufacturer = t.substr(0, 4) + "0";
        product = "0000" + t.substr(4, 1);
        break;
    default:
        manufacturer = t.substr(0, 5);
        product = "0000" + t.substr(5, 1);
        break;
    }
    return s.substr(0, 1) + manufacturer + product;
}

char SupplementCheckDigit(const std::string& digits) {
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 12 - weight;
    }
    return static_cast<char>('0' + sum % 10);
}

std::string EncodeEAN8(const TLinearInput& in) {
    return TwoHalves(FixedLengthDigits(in.text, 8, in.checksum, in.method), 0, 4, nullptr);
}

std::string EncodeEAN13(const TLinearInput& in) {
    const std::string d = FixedLengthDigits(in.text, 13, in.checksum, in.method);
    return TwoHalves(d, 1, 6, kEan13Parity[DigitAt(d, 0)]);
}

std::string EncodeUPC_A(const TLinearInput& in) {
    return TwoHalves(FixedLengthDigits(in.text, 12, in.checksum, in.method), 0, 6, nullptr);
}

namespace {

// The check digit is made whatever Checksum says: a UPC-E without it cannot be read.
char UpcECheckDigit(const std::string& digits) {
    return Modulo10CheckDigit(ExpandUpcE(digits));
}

// Number system and the six digits of a UPC-E. The digits drawn are those that are expanded, so the
// parity always carries the check digit of the digits in the symbol. With Checksum off, a digit after
// them is the value's own check digit, which must be the one the parity will carry.
std::string UpcEDigits(const TLinearInput& in) {
    const bool one = in.typ == bcCodeUPC_E1;
    const std::string s = one ? "1" + PadOrTruncate(in.text, 6) : PadOrTruncate(in.text, 7);
    const size_t checkAt = one ? 6 : 7;
    if (!in.checksum && in.text.size() > checkAt) {
        const char expected = UpcECheckDigit(s);
        if (in.text[checkAt] != expected)
            throw EBarcodeError(CheckDigitMessage(std::string(in.text.substr(0, checkAt + 1)), expected));
    }
    return s;
}

} // namespace

std::string UpcEText(const TLinearInput& in) {
    const std::string s = UpcEDigits(in);
    return s + UpcECheckDigit(s);
}

std::string EncodeUPC_E0(const TLinearInput& in) {
    const std::string s = UpcEDigits(in);
    return UpcEPattern(s.substr(1), UpcECheckDigit(s), s[0] == '1');
}

std::string EncodeUPC_E1(const TLinearInput& in) {
    const std::string s = UpcEDigits(in);
    return UpcEPattern(s.substr(1), UpcECheckDigit(s), true);
}

std::string EncodeUPC_Supp2(const TLinearInput& in) {
    const std::string d = PadOrTruncate(in.text, 2);
    const int v = DigitAt(d, 0) * 10 + DigitAt(d, 1);
    std::string r = kSupplementStart;
    r += v % 4 >= 2 ? kSetB[DigitAt(d, 0)] : kSetA[DigitAt(d, 0)];
    r += kSupplementSeparator;
    r += v % 2 == 1 ? kSetB[DigitAt(d, 1)] : kSetA[DigitAt(d, 1)];
    return r;
}

std::string EncodeUPC_Supp5(const TLinearInput& in) {
    const std::string d = PadOrTruncate(in.text, 5);
    const char c = SupplementCheckDigit(d);
    // The check digit is never drawn: it only selects the parity of the five digits.
    const char* row = kUpcEParity[c - '0'];
    std::string r = kSupplementStart;
    for (size_t i = 0; i < 5; ++i) {
        if (i > 0) r += kSupplementSeparator;
        r += row[i + 1] == 'E' ? kSetB[DigitAt(d, i)] : kSetA[DigitAt(d, i)];
    }
    return r;
}

} // namespace qbm
