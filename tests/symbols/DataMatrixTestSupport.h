#pragma once
// libzint's Data Matrix as the oracle for our encoder: the options EncodeSymbol gave it before we had
// our own encoder.

#include "symbols/DataMatrixLayout.h"
#include "symbols/DataMatrixSizes.h"
#include "symbols/Gs1ElementString.h"
#include "symbols/TSymbolSettings.h"

#include <zint.h>

#include <memory>
#include <string>
#include <string_view>

namespace qbm::test {

struct ZintDataMatrixOptions {
    TDataMatrixShape shape = TDataMatrixShape::Square;
    int rows = 0;
    int columns = 0;
    bool gs1 = false;
    // libzint's own look-ahead instead of its default search for the fewest codewords.
    bool fast = false;
};

inline TDataMatrixModules ZintDataMatrixAt(std::string_view text, const ZintDataMatrixOptions& o,
                                           int sizeIndex) {
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> s(ZBarcode_Create(), ZBarcode_Delete);
    s->symbology = BARCODE_DATAMATRIX;
    s->input_mode = (o.gs1 ? GS1_MODE : UNICODE_MODE) | (o.fast ? FAST_MODE : 0);
    s->option_2 = sizeIndex;
    s->option_3 = o.shape == TDataMatrixShape::Square && !sizeIndex ? DM_SQUARE : 0;
    std::string data(text);
    if (o.gs1) {
        data.clear();
        for (const TGs1Element& e : ParseGs1ElementString(text)) data += "[" + e.ai + "]" + e.data;
    } else {
        for (const char c : text) {
            const auto b = static_cast<unsigned char>(c);
            if (b >= 0xC4) {
                s->eci = 26;
                break;
            }
            if (b >= 0x80) s->eci = 3;
        }
    }
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size())) >= ZINT_ERROR)
        return {};
    TDataMatrixModules m(s->rows, s->width);
    for (int r = 0; r < s->rows; ++r)
        for (int c = 0; c < s->width; ++c)
            if ((s->encoded_data[r][c >> 3] >> (c & 7)) & 1) m.Set(r, c);
    return m;
}

// libzint's symbol for the text; no modules where it refuses the text. A rectangle is the smallest of
// the rectangular sizes that holds the text, as EncodeSymbol asked libzint for it.
inline TDataMatrixModules ZintDataMatrix(std::string_view text, const ZintDataMatrixOptions& o) {
    if (o.rows || o.columns)
        return ZintDataMatrixAt(text, o, DataMatrixSizeIndex(o.rows, o.columns).value_or(0));
    if (o.shape != TDataMatrixShape::Rectangle) return ZintDataMatrixAt(text, o, 0);
    for (int index = kFirstRectangularSize; index <= kDataMatrixSizeCount; ++index) {
        TDataMatrixModules m = ZintDataMatrixAt(text, o, index);
        if (m.rows) return m;
    }
    return {};
}

} // namespace qbm::test
