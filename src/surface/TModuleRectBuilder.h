#pragma once
// The dark modules of a matrix symbol as rectangles, built row by row from each row's dark runs.

#include "surface/TSymbolGeometry.h"

#include <cstdint>
#include <vector>

namespace qbm {

// A run that covers exactly the columns of a run in the row above lengthens that run's rectangle
// instead of starting one: finder patterns, solid borders and stacked runs of the data take one
// rectangle where they took one a row. The rectangles cover exactly the dark modules, no module
// twice, so every painter draws the same symbol with fewer operations.
class TModuleRectBuilder {
public:
    // Rectangles are added to `out`, moved by `quiet` modules on both axes.
    TModuleRectBuilder(std::vector<TModuleRect>& out, int columns, int quiet);

    // Columns start <= c < end of the current row are dark; runs of a row come left to right.
    void AddRun(int start, int end);
    // The following runs belong to the next row.
    void NextRow() { ++m_row; }

private:
    std::vector<TModuleRect>& m_out;
    int m_quiet;
    int m_row = 0;
    // By start column: the last rectangle begun there (its index + 1, 0 for none) and the row after
    // its bottom one, so that a run lengthens it only in the very next row.
    struct TOpen {
        uint32_t index = 0;
        int endRow = -1;
        int width = 0;
    };
    std::vector<TOpen> m_open;
};

} // namespace qbm
