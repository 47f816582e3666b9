#include "symbols/DataMatrixLayout.h"

#include "symbols/DataMatrixSizes.h"

#include <mutex>

namespace qbm {
namespace {

// The codewords' place in the mapping matrix (the data regions side by side without their finders
// and timing patterns): eight-module "utah" shapes on diagonals, four corner shapes where a shape
// would leave the matrix, and shapes cut at an edge continued at the opposite one.
class TPlacement {
public:
    TPlacement(int rows, int columns)
        : m_rows(rows), m_columns(columns), m_cell(static_cast<size_t>(rows * columns), 0) {}

    // For every cell of the mapping matrix: 8 * codeword + bit + 1 (bit 0 the most significant), 0
    // where no codeword lies.
    std::vector<int> Place() {
        int codeword = 0, row = 4, column = 0;
        do {
            if (row == m_rows && column == 0) Corner1(codeword++);
            if (row == m_rows - 2 && column == 0 && m_columns % 4) Corner2(codeword++);
            if (row == m_rows - 2 && column == 0 && m_columns % 8 == 4) Corner3(codeword++);
            if (row == m_rows + 4 && column == 2 && !(m_columns % 8)) Corner4(codeword++);
            // Up and to the right, then down and to the left.
            do {
                if (row < m_rows && column >= 0 && !Taken(row, column)) Utah(row, column, codeword++);
                row -= 2;
                column += 2;
            } while (row >= 0 && column < m_columns);
            row += 1;
            column += 3;
            do {
                if (row >= 0 && column < m_columns && !Taken(row, column)) Utah(row, column, codeword++);
                row += 2;
                column -= 2;
            } while (row < m_rows && column >= 0);
            row += 3;
            column += 1;
        } while (row < m_rows || column < m_columns);
        return std::move(m_cell);
    }

private:
    bool Taken(int row, int column) const {
        return m_cell[static_cast<size_t>(row * m_columns + column)] != 0;
    }
    void Module(int row, int column, int codeword, int bit) {
        if (row < 0) {
            row += m_rows;
            column += 4 - ((m_rows + 4) % 8);
        }
        if (column < 0) {
            column += m_columns;
            row += 4 - ((m_columns + 4) % 8);
        }
        m_cell[static_cast<size_t>(row * m_columns + column)] = 8 * codeword + bit + 1;
    }
    // The shape whose last (least significant) module is (row, column).
    void Utah(int row, int column, int cw) {
        Module(row - 2, column - 2, cw, 0);
        Module(row - 2, column - 1, cw, 1);
        Module(row - 1, column - 2, cw, 2);
        Module(row - 1, column - 1, cw, 3);
        Module(row - 1, column, cw, 4);
        Module(row, column - 2, cw, 5);
        Module(row, column - 1, cw, 6);
        Module(row, column, cw, 7);
    }
    void Corner1(int cw) {
        const int r = m_rows, c = m_columns;
        Module(r - 1, 0, cw, 0);
        Module(r - 1, 1, cw, 1);
        Module(r - 1, 2, cw, 2);
        Module(0, c - 2, cw, 3);
        Module(0, c - 1, cw, 4);
        Module(1, c - 1, cw, 5);
        Module(2, c - 1, cw, 6);
        Module(3, c - 1, cw, 7);
    }
    void Corner2(int cw) {
        const int r = m_rows, c = m_columns;
        Module(r - 3, 0, cw, 0);
        Module(r - 2, 0, cw, 1);
        Module(r - 1, 0, cw, 2);
        Module(0, c - 4, cw, 3);
        Module(0, c - 3, cw, 4);
        Module(0, c - 2, cw, 5);
        Module(0, c - 1, cw, 6);
        Module(1, c - 1, cw, 7);
    }
    void Corner3(int cw) {
        const int r = m_rows, c = m_columns;
        Module(r - 3, 0, cw, 0);
        Module(r - 2, 0, cw, 1);
        Module(r - 1, 0, cw, 2);
        Module(0, c - 2, cw, 3);
        Module(0, c - 1, cw, 4);
        Module(1, c - 1, cw, 5);
        Module(2, c - 1, cw, 6);
        Module(3, c - 1, cw, 7);
    }
    void Corner4(int cw) {
        const int r = m_rows, c = m_columns;
        Module(r - 1, 0, cw, 0);
        Module(r - 1, c - 1, cw, 1);
        Module(0, c - 3, cw, 2);
        Module(0, c - 2, cw, 3);
        Module(0, c - 1, cw, 4);
        Module(1, c - 3, cw, 5);
        Module(1, c - 2, cw, 6);
        Module(1, c - 1, cw, 7);
    }

    int m_rows;
    int m_columns;
    std::vector<int> m_cell;
};

TDataMatrixLayout BuildLayout(const TDataMatrixSize& size) {
    const int regionRows = size.RegionRows(), regionColumns = size.RegionColumns();
    TDataMatrixLayout layout;
    TDataMatrixModules& f = layout.functions;
    f = TDataMatrixModules(size.rows, size.columns);
    for (int down = 0; down < size.regionsDown; ++down)
        for (int across = 0; across < size.regionsAcross; ++across) {
            const int top = down * (regionRows + 2), left = across * (regionColumns + 2);
            const int bottom = top + regionRows + 1, right = left + regionColumns + 1;
            for (int r = top; r <= bottom; ++r) {
                f.Set(r, left);                     // solid finder edge on the left
                if ((r - top) % 2) f.Set(r, right); // timing down the right
            }
            for (int c = left; c <= right; ++c) {
                f.Set(bottom, c);                       // solid finder edge at the bottom
                if ((c - left) % 2 == 0) f.Set(top, c); // timing along the top
            }
        }
    const int mapRows = size.regionsDown * regionRows, mapColumns = size.regionsAcross * regionColumns;
    // The mapping matrix's cell (r, c) in the symbol, past the finders and timing patterns before it.
    const auto symbolRow = [&](int r) { return r / regionRows * (regionRows + 2) + r % regionRows + 1; };
    const auto symbolColumn = [&](int c) {
        return c / regionColumns * (regionColumns + 2) + c % regionColumns + 1;
    };
    const std::vector<int> cells = TPlacement(mapRows, mapColumns).Place();
    const int totalCodewords = size.dataCodewords + size.eccCodewords;
    layout.path.resize(static_cast<size_t>(totalCodewords) * 8);
    for (int r = 0; r < mapRows; ++r)
        for (int c = 0; c < mapColumns; ++c) {
            const int cell = cells[static_cast<size_t>(r * mapColumns + c)];
            if (cell == 0) continue;
            layout.path[static_cast<size_t>(cell - 1)] = {static_cast<uint8_t>(symbolRow(r)),
                                                          static_cast<uint8_t>(symbolColumn(c))};
        }
    // Where the codewords leave the bottom-right 2 x 2 modules empty they are dark on the diagonal.
    if (cells.back() == 0) {
        f.Set(symbolRow(mapRows - 1), symbolColumn(mapColumns - 1));
        f.Set(symbolRow(mapRows - 2), symbolColumn(mapColumns - 2));
    }
    return layout;
}

} // namespace

const TDataMatrixLayout& DataMatrixLayout(int sizeIndex) {
    static TDataMatrixLayout layouts[kDataMatrixSizeCount];
    static std::once_flag built[kDataMatrixSizeCount];
    const auto i = static_cast<size_t>(sizeIndex - 1);
    std::call_once(built[i], [&] { layouts[i] = BuildLayout(DataMatrixSizeAt(sizeIndex)); });
    return layouts[i];
}

} // namespace qbm
