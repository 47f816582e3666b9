#pragma once
// The encoders: pure functions from a code and its check-digit settings to the bar pattern, with no
// barcode object behind them. EncodeLinear picks one by type; TBarcode::BuildPattern and every check
// of a code before printing ask it.

#include "barcode/TBarcodeTypes.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace qbm {

struct TLinearInput {
    // Latin-1; trimmed already for the numeric types.
    std::string_view text;
    TBarcodeType typ = bcCodeEAN13;
    bool checksum = false;
    TCheckSumMethod method = csmModulo10;
};

struct TLinearCode {
    TLinearCode() = default;
    TLinearCode(std::string p, std::optional<std::string> completed = std::nullopt)
        : pattern(std::move(p)), completedText(std::move(completed)) {}

    std::string pattern;
    // The code as the symbol carries it, where the encoder completes the text it was given (the
    // leading zero of an odd 2 of 5 interleaved code, a supplement's check digit).
    std::optional<std::string> completedText;
};

// Throws EBarcodeError with the engine's messages ("Barcode must be numeric", ...).
TLinearCode EncodeLinear(const TLinearInput& in);

// 2 of 5
TLinearCode EncodeCode_2_5_interleaved(const TLinearInput& in);
TLinearCode EncodeCode_2_5_industrial(const TLinearInput& in);
TLinearCode EncodeCode_2_5_matrix(const TLinearInput& in);
// Code 39 and Code 93
TLinearCode EncodeCode39(const TLinearInput& in);
TLinearCode EncodeCode39Extended(const TLinearInput& in);
TLinearCode EncodeCode93(const TLinearInput& in);
TLinearCode EncodeCode93Extended(const TLinearInput& in);
// Codabar, MSI, PostNet
TLinearCode EncodeCodabar(const TLinearInput& in);
TLinearCode EncodeMSI(const TLinearInput& in);
TLinearCode EncodePostNet(const TLinearInput& in);
// Code 128 family: Code128A/B/C, EAN128A/B/C and Code128Auto share one entry.
TLinearCode EncodeCode128(const TLinearInput& in);
// EAN and UPC
TLinearCode EncodeEAN8(const TLinearInput& in);
TLinearCode EncodeEAN13(const TLinearInput& in);
TLinearCode EncodeUPC_A(const TLinearInput& in);
TLinearCode EncodeUPC_E0(const TLinearInput& in);
TLinearCode EncodeUPC_E1(const TLinearInput& in);
TLinearCode EncodeUPC_Supp2(const TLinearInput& in);
TLinearCode EncodeUPC_Supp5(const TLinearInput& in);

// Shared by the encoders and the text under the bars.
// The text left-padded with "0" to n characters, or its first n characters.
std::string PadOrTruncate(std::string_view text, int n);
// The digits followed by their modulo-10 check digit, or unchanged with csmNone.
std::string ApplyChecksum(std::string_view digits, TCheckSumMethod method);
// The modulo-10 check digit of a digit string: weights 3, 1, 3, ... from the rightmost digit.
char Modulo10CheckDigit(std::string_view digits);
// Element widths "1".."4", bar first, as pattern characters.
std::string WidthsToPattern(std::string_view widths);

} // namespace qbm
