#include "barcode/EBarcodeError.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/Encoders.h"
#include "barcode/LinearSymbolGeometry.h"

namespace qbm {

std::string EncodeLinear(const TLinearInput& in) {
    if (in.typ < kBarcodeTypeCount && BCdata[in.typ].Num)
        for (const char c : in.text)
            if (c < '0' || c > '9') throw EBarcodeError("Barcode must be numeric");
    switch (in.typ) {
    case bcCode_2_5_interleaved:
        return EncodeCode_2_5_interleaved(in);
    case bcCode_2_5_industrial:
        return EncodeCode_2_5_industrial(in);
    case bcCode_2_5_matrix:
        return EncodeCode_2_5_matrix(in);
    case bcCode39:
        return EncodeCode39(in);
    case bcCode39Extended:
        return EncodeCode39Extended(in);
    case bcCode93:
        return EncodeCode93(in);
    case bcCode93Extended:
        return EncodeCode93Extended(in);
    case bcCodeMSI:
        return EncodeMSI(in);
    case bcCodePostNet:
        return EncodePostNet(in);
    case bcCodeCodabar:
        return EncodeCodabar(in);
    case bcCodeEAN8:
        return EncodeEAN8(in);
    case bcCodeEAN13:
        return EncodeEAN13(in);
    case bcCodeUPC_A:
        return EncodeUPC_A(in);
    case bcCodeUPC_E0:
        return EncodeUPC_E0(in);
    case bcCodeUPC_E1:
        return EncodeUPC_E1(in);
    case bcCodeUPC_Supp2:
        return EncodeUPC_Supp2(in);
    case bcCodeUPC_Supp5:
        return EncodeUPC_Supp5(in);
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
    case bcCode128Auto:
        return EncodeCode128(in);
    case bcCodeDataBar:
    case bcCodeDataBarStacked:
    case bcCodeDataBarLimited:
    case bcCodeDataBarExpanded:
    case bcCodeIMb:
        // No pattern: the symbol is drawn from its geometry. Encoding it is the check of the value,
        // with the encoder's message.
        EncodeLinearGeometry(in.typ, in.text);
        return {};
    }
    throw EBarcodeError("System error!");
}

std::optional<std::string> CompletedText(const TLinearInput& in) {
    switch (in.typ) {
    case bcCode_2_5_interleaved:
        // Digits go in pairs.
        if (in.text.size() % 2 != 0) return "0" + std::string(in.text);
        return std::nullopt;
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5: {
        const std::string d = PadOrTruncate(in.text, in.typ == bcCodeUPC_Supp2 ? 2 : 5);
        if (!in.checksum) return d;
        return d + SupplementCheckDigit(d);
    }
    default:
        return std::nullopt;
    }
}

std::string PadOrTruncate(std::string_view text, int n) {
    const int len = static_cast<int>(text.size());
    if (len < n) return std::string(n - len, '0') + std::string(text);
    return std::string(text.substr(0, n < 0 ? 0 : n));
}

char Modulo10CheckDigit(std::string_view digits) {
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string ApplyChecksum(std::string_view digits, TCheckSumMethod method) {
    std::string r(digits);
    if (method != csmNone) r += Modulo10CheckDigit(digits);
    return r;
}

std::string WidthsToPattern(std::string_view widths) {
    std::string r(widths);
    for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<char>(i % 2 == 0 ? r[i] + 4 : r[i] - 1);
    return r;
}

} // namespace qbm
