#pragma once
// Matrix symbols (QR Code, Data Matrix) from rows of module bits to the geometry every painter draws.

#include "surface/TSymbolGeometry.h"
#include "symbols/QrCodeMatrix.h"

#include <span>

namespace qbm {

// The modules (bit j of word j / 64 of a row, 1 dark) of `columns` modules a row, with `quiet`
// modules of quiet zone on every side: as rows, and as rectangles, each row's dark runs stacked on
// equal runs above them.
TSymbolGeometry MatrixSymbolGeometry(std::span<const TQrRow> rows, int columns, int quiet);

} // namespace qbm
