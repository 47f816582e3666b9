#pragma once
// Enumerations of the linear engine. Their ordinals are stored in template files: never reorder.

#include <cstdint>
#include <string>

namespace qbm {

enum TBarcodeType : uint8_t {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
    bcCode128Auto,
    // Drawn from the symbol geometry of their encoder rather than from a bar pattern: their bars
    // are not all on one baseline (Intelligent Mail) or stand in rows (DataBar Stacked).
    bcCodeDataBar,
    bcCodeDataBarStacked,
    bcCodeDataBarLimited,
    bcCodeDataBarExpanded,
    bcCodeIMb,
};
constexpr int kBarcodeTypeCount = 29;

// What text accompanies the bars.
enum TBarcodeOption : uint8_t { bcoNone, bcoCode, bcoTyp, bcoBoth };

enum TShowTextPosition : uint8_t {
    stpTopLeft,
    stpTopRight,
    stpTopCenter,
    stpBottomLeft,
    stpBottomRight,
    stpBottomCenter
};

enum TCheckSumMethod : uint8_t { csmNone, csmModulo10 };

// One row of the symbology table.
struct TBCdata {
    const char* Name;
    bool Num;      // numeric only
    int8_t MaxLen; // -1: no limit; read only by the validation of typed values
};

// Indexed by TBarcodeType.
extern const TBCdata BCdata[kBarcodeTypeCount];

// "Invild code data of " + the symbology's name + " format!": a value the symbology cannot carry.
std::string InvalidCodeText(TBarcodeType type);

// The value name of a type ("bcCode39"), for tools and messages.
const char* BarcodeTypeValueName(TBarcodeType type);

} // namespace qbm
