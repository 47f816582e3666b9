#include "design/DesignSymbology.h"

#include <algorithm>
#include <array>

namespace qbm {

namespace {

struct TNamed2D {
    const char* name;
    TDesignSymbology symbology;
};

const std::array<TNamed2D, 6> k2DNames{{
    {"pdf417", TEngine2D::Pdf417},
    {"maxicode", TEngine2D::MaxiCode},
    {"qrcode", TSymbology::QrCode},
    {"datamatrix", TSymbology::DataMatrix},
    {"aztec", TSymbology::Aztec},
    {"microqr", TSymbology::MicroQr},
}};

} // namespace

std::optional<TDesignSymbology> DesignSymbologyByName(std::string_view name) {
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        if (name == BarcodeTypeValueName(static_cast<TBarcodeType>(t))) return static_cast<TBarcodeType>(t);
    if (const std::optional<TSymbology> symbol = SymbologyByValueName(name)) return *symbol;
    for (const TNamed2D& named : k2DNames)
        if (name == named.name) return named.symbology;
    return std::nullopt;
}

std::vector<std::string> DesignSymbologyNames() {
    std::vector<std::string> names;
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        names.emplace_back(BarcodeTypeValueName(static_cast<TBarcodeType>(t)));
    // The linear symbols of the symbols' encoders follow the engine's types, each name once.
    for (int s = 0; s < kSymbologyCount; ++s) {
        const std::string valueName = SymbologyValueName(static_cast<TSymbology>(s));
        if (!valueName.empty() && std::find(names.begin(), names.end(), valueName) == names.end())
            names.push_back(valueName);
    }
    for (const TNamed2D& named : k2DNames) names.emplace_back(named.name);
    return names;
}

} // namespace qbm
