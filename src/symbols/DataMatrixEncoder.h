#pragma once
// Our Data Matrix ECC 200 encoder: UTF-8 text or a GS1 element string to modules.

#include "symbols/DataMatrixLayout.h"
#include "symbols/TSymbolSettings.h"

#include <string_view>

namespace qbm {

struct TDataMatrix {
    // The size's position in the standard's table (DataMatrixSizes.h).
    int sizeIndex = 0;
    TDataMatrixModules modules;
};

// The symbol for the text: bytes as SymbolPayload gives them (ECI 3 or 26 beyond ASCII), or with
// `gs1` the element string with FNC1 first and after every element of variable length but the last.
// `rows` x `columns` fixes the size; 0 x 0 takes the smallest of the shape's sizes (Auto: square or
// rectangular, the square one where both hold as much). Throws ESymbolError with the text users see:
// the size or the GS1 element at fault, or "Data Matrix: " and what the encoder could not do.
TDataMatrix EncodeDataMatrix(std::string_view text, TDataMatrixShape shape, int rows, int columns, bool gs1);

} // namespace qbm
