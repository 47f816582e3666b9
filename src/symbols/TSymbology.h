#pragma once
// The symbologies beside our own engines' linear types, PDF417 and MaxiCode: QR Code and Data Matrix
// through our own encoders, the others through libzint.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qbm {

enum class TSymbology : uint8_t {
    QrCode,
    MicroQr,
    DataMatrix,
    Aztec,
    DataBar,
    DataBarStacked,
    DataBarLimited,
    DataBarExpanded,
    IntelligentMail,
};

inline constexpr int kSymbologyCount = 9;

// The name users see ("QR Code", "GS1 DataBar Limited").
std::string SymbologyName(TSymbology symbology);
// The value name of the linear ones beside the linear types ("bcCodeDataBar"); empty for 2D symbols.
std::string SymbologyValueName(TSymbology symbology);
std::optional<TSymbology> SymbologyByValueName(std::string_view valueName);
// Whether it is a matrix symbol (QR Code, Micro QR, Data Matrix, Aztec) rather than a row of bars.
bool IsMatrixSymbology(TSymbology symbology);

} // namespace qbm
