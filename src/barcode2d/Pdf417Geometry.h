#pragma once
// A PDF417 symbol as a geometry value: its rows of bars from the codewords and the drawing sizes.

#include "surface/TSymbolGeometry.h"

#include <cstdint>
#include <span>

namespace qbm {

// What the drawing of a PDF417 symbol needs besides its codewords; sizes in device dots.
struct TPdf417Drawing {
    int columns = 0;
    int rows = 0;
    // The error correction level 0..8, which the row indicators carry.
    int eccLevel = 0;
    // Compact form: no right row indicator, a one-module stop bar.
    bool truncated = false;
    int moduleWidth = 1;
    int rowHeight = 1;
    int quietZone = 0;
};

// The 17-module pattern of codeword value v in the cluster of `row`; "Invalid Codeword" outside 0..928.
uint32_t Pdf417CodewordPattern(int row, int v);

// Symbol width in modules for a number of data columns, quiet zone not included.
int Pdf417ModuleColumns(int columns, bool truncated);

// The bars of the symbol in module units (a module is `moduleWidth` dots wide, so a row is
// rowHeight / moduleWidth modules high) as stacked rows, with the quiet zone on every side. `codewords` holds
// the columns x rows codewords in row order. Every codeword is checked even where rows have no height.
TSymbolGeometry Pdf417Geometry(std::span<const uint16_t> codewords, const TPdf417Drawing& drawing);

} // namespace qbm
