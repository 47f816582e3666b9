#include "barcode/LinearSymbolGeometry.h"

#include "barcode/EBarcodeError.h"
#include "symbols/ESymbolError.h"
#include "symbols/Gs1ElementString.h"
#include "symbols/ZintSymbolEncoder.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>

namespace qbm {

std::optional<TSymbology> GeometrySymbology(TBarcodeType type) {
    switch (type) {
    case bcCodeDataBar:
        return TSymbology::DataBar;
    case bcCodeDataBarStacked:
        return TSymbology::DataBarStacked;
    case bcCodeDataBarLimited:
        return TSymbology::DataBarLimited;
    case bcCodeDataBarExpanded:
        return TSymbology::DataBarExpanded;
    case bcCodeIMb:
        return TSymbology::IntelligentMail;
    default:
        return std::nullopt;
    }
}

TSymbolGeometry EncodeLinearGeometry(TBarcodeType type, std::string_view text) {
    const std::optional<TSymbology> symbology = GeometrySymbology(type);
    if (!symbology) throw EBarcodeError("System error!");
    TSymbolSettings settings;
    settings.symbology = *symbology;
    // The text is always asked for: whether it is shown is the barcode's choice, where it goes the
    // encoder's.
    settings.showText = true;
    try {
        return EncodeSymbol(settings, Latin1ToUtf8(TrimmedView(text)));
    } catch (const ESymbolError& e) {
        // The engine's callers (editor, pre-print check, label drawing) report the engine's error type.
        throw EBarcodeError(e.what());
    }
}

TSymbolExtent SymbolExtent(const TSymbolGeometry& g) {
    TSymbolExtent e;
    // The encoder centres the symbol in its quiet zone.
    e.left = g.quietX;
    e.width = std::max(0.0, g.width - 2 * g.quietX);
    if (g.rects.empty()) return e;
    double top = g.rects.front().y, bottom = top;
    for (const TModuleRect& r : g.rects) {
        top = std::min(top, r.y);
        bottom = std::max(bottom, r.y + r.height);
    }
    e.top = top;
    e.height = bottom - top;
    return e;
}

TQuietZone GeometryQuietZone(const TSymbolGeometry& g) {
    // A hair above a whole module is the encoder's float arithmetic, not a module more.
    const int modules = static_cast<int>(std::ceil(g.quietX - 1e-6));
    return {modules, modules};
}

std::string GeometryText(TBarcodeType type, const TSymbolGeometry& g, std::string_view value) {
    std::string text;
    for (const TTextRun& run : g.texts) {
        if (!text.empty()) text += ' ';
        text += run.text;
    }
    if (!text.empty()) return text;
    const std::string_view v = TrimmedView(value);
    if (type == bcCodeDataBarStacked && !g.rects.empty()) {
        // The encoder took the value, so it is 13 or 14 digits, behind "(01)" or not.
        const std::string_view digits = v.substr(v.starts_with("(01)") ? 4 : 0, 13);
        return "(01)" + std::string(digits) + static_cast<char>('0' + Gs1CheckDigit(digits));
    }
    return std::string(v);
}

} // namespace qbm
