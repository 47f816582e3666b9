#include "barcode/TBarcodeTypes.h"

namespace qbm {

// The name of type 12 is "Codebar" and the limit of type 18 is 10: stored templates and the
// validation of typed values depend on both as they are.
const TBCdata BCdata[kBarcodeTypeCount] = {
    {"2_5_interleaved", true, -1},
    {"2_5_industrial", true, -1},
    {"2_5_matrix", true, -1},
    {"Code39", false, -1},
    {"Code39 Extended", false, -1},
    {"Code128A", false, -1},
    {"Code128B", false, -1},
    {"Code128C", true, -1},
    {"Code93", false, -1},
    {"Code93 Extended", false, -1},
    {"MSI", true, -1},
    {"PostNet", true, -1},
    {"Codebar", false, -1},
    {"EAN8", true, 8},
    {"EAN13", true, 13},
    {"UPC_A", true, -1},
    {"UPC_E0", true, -1},
    {"UPC_E1", true, -1},
    {"UPC Supp2", true, 10},
    {"UPC Supp5", true, -1},
    {"EAN128A", false, -1},
    {"EAN128B", false, -1},
    {"EAN128C", true, -1},
    {"Code128Auto", false, -1},
    // A GTIN may come as "(01)" and 14 digits: the encoder checks these values, not the table.
    {"GS1 DataBar", false, -1},
    {"GS1 DataBar Stacked", false, -1},
    {"GS1 DataBar Limited", false, -1},
    {"GS1 DataBar Expanded", false, -1},
    {"Intelligent Mail", false, -1},
};

const char* BarcodeTypeValueName(TBarcodeType type) {
    static const char* const kNames[kBarcodeTypeCount] = {
        "bcCode_2_5_interleaved",
        "bcCode_2_5_industrial",
        "bcCode_2_5_matrix",
        "bcCode39",
        "bcCode39Extended",
        "bcCode128A",
        "bcCode128B",
        "bcCode128C",
        "bcCode93",
        "bcCode93Extended",
        "bcCodeMSI",
        "bcCodePostNet",
        "bcCodeCodabar",
        "bcCodeEAN8",
        "bcCodeEAN13",
        "bcCodeUPC_A",
        "bcCodeUPC_E0",
        "bcCodeUPC_E1",
        "bcCodeUPC_Supp2",
        "bcCodeUPC_Supp5",
        "bcCodeEAN128A",
        "bcCodeEAN128B",
        "bcCodeEAN128C",
        "bcCode128Auto",
        "bcCodeDataBar",
        "bcCodeDataBarStacked",
        "bcCodeDataBarLimited",
        "bcCodeDataBarExpanded",
        "bcCodeIMb",
    };
    return type < kBarcodeTypeCount ? kNames[type] : "";
}

std::string InvalidCodeText(TBarcodeType type) {
    const char* name = type < kBarcodeTypeCount ? BCdata[type].Name : "";
    return "Invild code data of " + std::string(name) + " format!";
}

} // namespace qbm
