#include "output/ScanExpectation.h"

#include "barcode/Code128Encoder.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/LinearSymbolGeometry.h"
#include "barcode/TBarcode.h"
#include "output/BarPatternReader.h"
#include "symbols/Gs1ElementString.h"
#include "util/Text.h"

#include <algorithm>
#include <cctype>

namespace qbm {
namespace {

// Code 128 stands for NUL in the product's texts; scanners hand on a real NUL.
std::string WithNulMarks(std::string s) {
    std::replace(s.begin(), s.end(), '\x80', '\0');
    return s;
}

// A value one digit short gets its check digit, with Checksum or without. Any other length is read
// as given: a value padded with zeros, or whose check digit the symbol replaced, reads as another
// number than the one the datasheet holds, and the run says so.
std::string FixedLength(const std::string& v, size_t length) {
    return v.size() + 1 == length ? v + Modulo10CheckDigit(v) : v;
}

std::string Gs1Numeric(const TBarcode& settings, const std::string& v) {
    std::string d = v;
    if (d.size() > 2) {
        const std::string ai = d.substr(0, 2);
        if ((ai == "00" || ai == "01" || ai == "02") && settings.CheckSumMethod() != csmNone)
            d += Modulo10CheckDigit(d.substr(2));
    }
    if (d.size() % 2 != 0) d += '0';
    return d;
}

std::string UpcE(const TBarcode& settings, const std::string& v) {
    TLinearInput in = settings.EncoderInput();
    in.text = v;
    try {
        return UpcEText(in);
    } catch (const std::exception&) {
        return v;
    }
}

// An EAN-13 starting with 0 in its UPC-A form.
std::string AsUpcA(const std::string& s) {
    return s.size() == 13 && s[0] == '0' ? s.substr(1) : s;
}

// GS1 DataBar as the reader hands it on: the GTIN alone, with its check digit, for DataBar; the element
// string in its printed form, identifiers in parentheses, for Expanded. A value the encoder would refuse
// is expected as it is (it is never drawn).
std::string DataBarReading(TBarcodeType type, const std::string& v) {
    try {
        if (type != bcCodeDataBarExpanded) {
            const std::string digits = v.starts_with("(01)") ? v.substr(4) : v;
            return digits.size() == 13 ? digits + static_cast<char>('0' + Gs1CheckDigit(digits)) : digits;
        }
        std::string out;
        for (const TGs1Element& e : ParseGs1ElementString(v)) out += "(" + e.ai + ")" + e.data;
        return out;
    } catch (const std::exception&) {
        return v;
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

} // namespace

std::string ExpectedLinearReading(const TBarcode& settings, const std::string& value) {
    const TBarcodeType type = settings.Typ();
    const std::string v =
        (type < kBarcodeTypeCount && BCdata[type].Num) || IsGeometryType(type) ? Trim(value) : value;
    switch (type) {
    case bcCode_2_5_interleaved:
        return v.size() % 2 != 0 ? "0" + v : v;
    case bcCode39Extended:
    case bcCode128A:
    case bcCode128B:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
        return WithNulMarks(v);
    case bcCode128C:
        return v.size() % 2 != 0 ? "0" + v : v;
    case bcCode128Auto:
        return WithNulMarks(ParseEscapes(v, true));
    case bcCodeEAN128C:
        return Gs1Numeric(settings, v);
    case bcCodeEAN8:
        return FixedLength(v, 8);
    case bcCodeEAN13:
        return FixedLength(v, 13);
    case bcCodeUPC_A:
        return FixedLength(v, 12);
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
        return UpcE(settings, v);
    case bcCodeMSI:
        return v.empty() ? v : v + LuhnCheckDigit(v);
    case bcCodeDataBar:
    case bcCodeDataBarStacked:
    case bcCodeDataBarExpanded:
        return DataBarReading(type, v);
    default:
        return v;
    }
}

bool ReadingMatches(TBarcodeType type, const std::string& expected, const std::string& read) {
    if (expected == read) return true;
    if (type == bcCodeEAN13 || type == bcCodeUPC_A) return AsUpcA(expected) == AsUpcA(read);
    return false;
}

std::optional<std::string> Expected2DReading(const std::string& code) {
    std::string r;
    for (size_t i = 0; i < code.size(); ++i) {
        if (code[i] != '\\' || i + 1 >= code.size()) {
            r += code[i];
            continue;
        }
        const char e = code[i + 1];
        if (std::isdigit(static_cast<unsigned char>(e))) {
            size_t n = 0;
            int v = 0;
            while (n < 3 && i + 1 + n < code.size() &&
                   std::isdigit(static_cast<unsigned char>(code[i + 1 + n])))
                v = v * 10 + (code[i + 1 + n++] - '0');
            r += static_cast<char>(v);
            i += n;
        } else if ((e == 'x' || e == 'X') && i + 3 < code.size() && HexValue(code[i + 2]) >= 0 &&
                   HexValue(code[i + 3]) >= 0) {
            r += static_cast<char>(HexValue(code[i + 2]) * 16 + HexValue(code[i + 3]));
            i += 3;
        } else if (e == '\\') {
            r += '\\';
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(e))) {
            return std::nullopt;
        } else {
            r += '\\';
        }
    }
    return r;
}

} // namespace qbm
