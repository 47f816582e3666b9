#pragma once
// The linear types drawn from their encoder's symbol geometry rather than from a bar pattern (GS1
// DataBar, Intelligent Mail): which they are, their symbol, and the white space it needs beside it.

#include "barcode/QuietZones.h"
#include "barcode/TBarcodeTypes.h"
#include "surface/TSymbolGeometry.h"
#include "symbols/TSymbology.h"

#include <optional>
#include <string>
#include <string_view>

namespace qbm {

// The symbology that draws the type; nullopt for the types of the bar-pattern engine.
std::optional<TSymbology> GeometrySymbology(TBarcodeType type);
inline bool IsGeometryType(TBarcodeType type) {
    return GeometrySymbology(type).has_value();
}

// The symbol of the value (Latin-1, as the engine's texts are), blanks around it ignored, with its
// human-readable text. EBarcodeError with the encoder's message when the type cannot carry the value.
TSymbolGeometry EncodeLinearGeometry(TBarcodeType type, std::string_view text);

// The symbol without its quiet zone, in modules: from the left edge of its first module (DataBar
// starts with a light one) to the right edge of its last, and from the top of its highest bar to the
// bottom of its lowest.
struct TSymbolExtent {
    double left = 0;
    double width = 0;
    double top = 0;
    double height = 0;
};
TSymbolExtent SymbolExtent(const TSymbolGeometry& g);

// The quiet zone the encoder gives the symbol, in whole modules (rounded up).
TQuietZone GeometryQuietZone(const TSymbolGeometry& g);

// The symbol's human-readable text as the encoder sets it ("(01)09501101530003"), its lines joined by
// a blank; DataBar Stacked, whose encoder prints none, the same as DataBar; Intelligent Mail, which has
// no interpretation of its own, the value as it is given.
std::string GeometryText(TBarcodeType type, const TSymbolGeometry& g, std::string_view value);

} // namespace qbm
