#pragma once
// The encoders: pure functions from a code and its check-digit settings to the bar pattern, with no
// barcode object behind them. EncodeLinear picks one by type; TBarcode::BuildPattern and every check
// of a code before printing ask it.

#include "barcode/TBarcodeTypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace qbm {

struct TLinearInput {
    // Latin-1; trimmed already for the numeric types.
    std::string_view text;
    TBarcodeType typ = bcCodeEAN13;
    bool checksum = false;
    TCheckSumMethod method = csmModulo10;
};

// The pattern of the code. Throws EBarcodeError with the engine's messages ("Barcode must be numeric",
// ...).
std::string EncodeLinear(const TLinearInput& in);
// The code as the symbol carries it, where the encoder completes the text it is given (the leading
// zero of an odd 2 of 5 interleaved code, a supplement's digits and check digit); nullopt where the
// symbol carries the text as given. Encoding the completed text gives the same pattern.
std::optional<std::string> CompletedText(const TLinearInput& in);

// 2 of 5
std::string EncodeCode_2_5_interleaved(const TLinearInput& in);
std::string EncodeCode_2_5_industrial(const TLinearInput& in);
std::string EncodeCode_2_5_matrix(const TLinearInput& in);
// Code 39 and Code 93
std::string EncodeCode39(const TLinearInput& in);
std::string EncodeCode39Extended(const TLinearInput& in);
std::string EncodeCode93(const TLinearInput& in);
std::string EncodeCode93Extended(const TLinearInput& in);
// Codabar, MSI, PostNet
std::string EncodeCodabar(const TLinearInput& in);
std::string EncodeMSI(const TLinearInput& in);
std::string EncodePostNet(const TLinearInput& in);
// Code 128 family: Code128A/B/C, EAN128A/B/C and Code128Auto share one entry.
std::string EncodeCode128(const TLinearInput& in);
// EAN and UPC
std::string EncodeEAN8(const TLinearInput& in);
std::string EncodeEAN13(const TLinearInput& in);
std::string EncodeUPC_A(const TLinearInput& in);
std::string EncodeUPC_E0(const TLinearInput& in);
std::string EncodeUPC_E1(const TLinearInput& in);
std::string EncodeUPC_Supp2(const TLinearInput& in);
std::string EncodeUPC_Supp5(const TLinearInput& in);

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
