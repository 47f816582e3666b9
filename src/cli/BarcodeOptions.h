#pragma once
// Options shared by the commands that make a linear barcode: TYPE, TEXT, --checksum, --modul, --ratio.

#include "barcode/TBarcode.h"
#include "cli/CliCommand.h"
#include "util/IntConversion.h"

#include <string>

namespace qbm::cli {

// A TBarcodeType value name ("bcCode39") or its ordinal 0 to 28.
inline TBarcodeType ParseBarcodeType(const std::string& word) {
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        if (word == BarcodeTypeValueName(static_cast<TBarcodeType>(t))) return static_cast<TBarcodeType>(t);
    const auto n = TryStrToInt(word);
    if (n && *n >= 0 && *n < kBarcodeTypeCount) return static_cast<TBarcodeType>(*n);
    throw UsageError("unknown barcode type '" + word + "' (a value name such as bcCode39, or 0 to 28)");
}

// Sets type, text, check digit, module and ratio from the command line.
inline void ApplyBarcodeOptions(const Args& args, TBarcode& bc) {
    bc.SetTyp(ParseBarcodeType(args.Positional(0, "TYPE")));
    bc.SetText(args.Positional(1, "TEXT"));
    if (args.Positional().size() > 2) throw UsageError("too many arguments: '" + args.Positional()[2] + "'");
    bc.SetChecksum(args.Has("--checksum"));
    const int modul = args.Int("--modul", 1);
    if (modul < 1 || modul > 49) throw UsageError("--modul must be 1 to 49");
    bc.SetModul(modul);
    // Beyond these the module widths leave the 8-bit range the engine keeps them in.
    const double ratio = args.Double("--ratio", 2.0);
    if (!(ratio >= 0.5 && ratio <= 10.0)) throw UsageError("--ratio must be 0.5 to 10");
    bc.SetRatio(ratio);
}

// --checksum, --modul and --ratio.
inline Options BarcodeOptionTable() {
    return {{"--checksum", "", "add the optional check digit"},
            {"--modul", "N", "narrow element width in pixels, 1 to 49 (default 1)"},
            {"--ratio", "R", "wide-to-narrow ratio, 0.5 to 10 (default 2)"}};
}

inline const char* BarcodeTypeHelp() {
    return "TYPE is a type value name or its ordinal: bcCode_2_5_interleaved (0), bcCode_2_5_industrial,\n"
           "bcCode_2_5_matrix, bcCode39, bcCode39Extended, bcCode128A, bcCode128B, bcCode128C, bcCode93,\n"
           "bcCode93Extended, bcCodeMSI, bcCodePostNet, bcCodeCodabar, bcCodeEAN8, bcCodeEAN13, "
           "bcCodeUPC_A,\n"
           "bcCodeUPC_E0, bcCodeUPC_E1, bcCodeUPC_Supp2, bcCodeUPC_Supp5, bcCodeEAN128A, bcCodeEAN128B,\n"
           "bcCodeEAN128C, bcCode128Auto (23), bcCodeDataBar, bcCodeDataBarStacked, bcCodeDataBarLimited,\n"
           "bcCodeDataBarExpanded, bcCodeIMb (28). TEXT is taken byte for byte.";
}

} // namespace qbm::cli
