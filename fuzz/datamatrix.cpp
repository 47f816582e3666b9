// Random text, shape, size and GS1 mode through EncodeDataMatrix and its geometry: the symbol has a
// size of its shape (or the fixed one), the finder and timing patterns of every data region, and a
// second encoding gives the same modules.

#include "symbols/DataMatrixEncoder.h"
#include "symbols/DataMatrixSizes.h"
#include "symbols/ESymbolError.h"
#include "symbols/MatrixSymbolGeometry.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <string>

using qbm::fuzz::Check;

namespace {

// Solid left and bottom edges, alternating top and right edges, in every data region.
bool HasFinders(const qbm::TDataMatrixModules& m, const qbm::TDataMatrixSize& size) {
    const int height = m.rows / size.regionsDown, width = m.columns / size.regionsAcross;
    for (int top = 0; top < m.rows; top += height)
        for (int left = 0; left < m.columns; left += width) {
            for (int r = 0; r < height; ++r)
                if (!m.Dark(top + r, left) || m.Dark(top + r, left + width - 1) != (r % 2 == 1)) return false;
            for (int c = 0; c < width; ++c)
                if (!m.Dark(top + height - 1, left + c) || m.Dark(top, left + c) != (c % 2 == 0))
                    return false;
        }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader in(data, size);
    const auto shape = static_cast<qbm::TDataMatrixShape>(in.Range(0, 2));
    const uint8_t flags = in.Byte();
    const bool gs1 = flags & 1;
    int rows = 0, columns = 0;
    if (flags & 2) {
        // A size of the table, now and then one it does not have.
        const qbm::TDataMatrixSize fixed = qbm::DataMatrixSizeAt(in.Range(1, qbm::kDataMatrixSizeCount));
        rows = fixed.rows + (flags & 4 ? 1 : 0);
        columns = fixed.columns;
    }
    const std::string text = in.Rest(4000);
    try {
        const qbm::TDataMatrix symbol = qbm::EncodeDataMatrix(text, shape, rows, columns, gs1);
        Check(symbol.sizeIndex >= 1 && symbol.sizeIndex <= qbm::kDataMatrixSizeCount);
        const qbm::TDataMatrixSize& s = qbm::DataMatrixSizeAt(symbol.sizeIndex);
        const qbm::TDataMatrixModules& m = symbol.modules;
        Check(m.rows == s.rows && m.columns == s.columns);
        if (rows) Check(rows == s.rows && columns == s.columns);
        if (!rows && shape == qbm::TDataMatrixShape::Square) Check(s.rows == s.columns);
        if (!rows && shape == qbm::TDataMatrixShape::Rectangle) Check(s.rows < s.columns);
        Check(HasFinders(m, s));
        Check(qbm::EncodeDataMatrix(text, shape, rows, columns, gs1).modules == m);
        const qbm::TSymbolGeometry g = qbm::MatrixSymbolGeometry(m.bits, m.columns, 1);
        for (const qbm::TModuleRect& r : g.rects)
            Check(r.x >= 1 && r.y >= 1 && r.x + r.width <= g.width - 1 && r.y + r.height <= g.height - 1);
    } catch (const qbm::ESymbolError&) {
    }
    return 0;
}
