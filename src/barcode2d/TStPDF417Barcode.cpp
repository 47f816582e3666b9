#include "barcode2d/TStPDF417Barcode.h"

#include "barcode2d/Pdf417ErrorCorrection.h"
#include "barcode2d/Pdf417Patterns.h"
#include "surface/TCanvas.h"

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

constexpr int kMaxColumns = 30;
constexpr int kMaxRows = 90;
constexpr int kMinRows = 3;
constexpr int kModulesPerUnit = 17;
constexpr const char* kStartPattern = "81111113";
constexpr const char* kStopPattern = "711311121";
// The compact form keeps only the first bar of the stop pattern.
constexpr const char* kTruncatedStopPattern = "1";

[[noreturn]] void TooLarge() {
    throw E2DBarcodeError("Code too large for barcode");
}

} // namespace

TStPDF417Barcode::TStPDF417Barcode() {
    SetBounds(273, 81);
    GenerateCodewords();
    Render(Width(), Height());
}

TStPDF417ECCLevels TStPDF417Barcode::ECCLevel() const {
    return static_cast<TStPDF417ECCLevels>(m_eccLevel + 1);
}

void TStPDF417Barcode::SetECCLevel(TStPDF417ECCLevels level) {
    // An ordinal beyond the last level (a damaged template) means the strongest level.
    const int stored = std::min<int>(level, ecLevel8) - 1;
    ChangeProperty(m_eccLevel, stored, TRefresh::Regenerate);
}

void TStPDF417Barcode::SetNumColumns(int columns) {
    ChangeProperty(m_numColumns, columns, TRefresh::Regenerate, [&] {
        if (columns < 0 || columns > kMaxColumns) throw E2DBarcodeError("Invalid Number of columns");
    });
}

void TStPDF417Barcode::SetNumRows(int rows) {
    ChangeProperty(m_numRows, rows, TRefresh::Regenerate, [&] {
        if (rows < 0 || rows > kMaxRows) throw E2DBarcodeError("Invalid number of rows");
    });
}

void TStPDF417Barcode::SetTruncated(bool truncated) {
    ChangeProperty(m_truncated, truncated, TRefresh::Render);
}

void TStPDF417Barcode::RequireRowHeightSource(int barHeight, int ratio, bool relative) const {
    if (barHeight == 0 && ratio == 0 && !relative)
        throw E2DBarcodeError("Either BarHeight or BarHeightToWidth is required");
}

void TStPDF417Barcode::SetBarWidth(int pixels) {
    if (pixels == m_barWidth) return;
    if (pixels < 1) throw E2DBarcodeError("Bar Width cannot be less than one");
    TStCustom2DBarcode::SetBarWidth(pixels);
}

void TStPDF417Barcode::SetBarHeight(int pixels) {
    if (pixels == m_barHeight) return;
    if (pixels < 1 && m_barHeightToWidth == 0 && !m_relativeBarHeight)
        throw E2DBarcodeError("Either BarHeight or BarHeightToWidth is required");
    if (pixels < 0) throw E2DBarcodeError("Bar Height cannot be less than one");
    TStCustom2DBarcode::SetBarHeight(pixels);
}

void TStPDF417Barcode::SetBarHeightToWidth(int ratio) {
    if (ratio == m_barHeightToWidth) return;
    if (ratio == 0) RequireRowHeightSource(m_barHeight, 0, m_relativeBarHeight);
    TStCustom2DBarcode::SetBarHeightToWidth(ratio);
}

void TStPDF417Barcode::SetRelativeBarHeight(bool relative) {
    if (relative == m_relativeBarHeight) return;
    RequireRowHeightSource(m_barHeight, m_barHeightToWidth, relative);
    TStCustom2DBarcode::SetRelativeBarHeight(relative);
}

int TStPDF417Barcode::EffectiveECCLevel() const {
    if (m_eccLevel >= 0) return m_eccLevel;
    const int count = m_codewords.count;
    if (count <= 40) return 2;
    if (count <= 160) return 3;
    if (count <= 320) return 4;
    return 5;
}

TPdf417Dimensions TStPDF417Barcode::CalcDimensions() const {
    const int count = m_codewords.count;
    const int k = CheckCodewordCount();
    if (m_numColumns > 0 && m_numRows > 0) return {m_numColumns, m_numRows};
    if (m_numRows > 0) {
        for (int c = 1; c <= kMaxColumns; ++c)
            if (c * m_numRows - k > count) return {c, m_numRows};
        return {kMaxColumns, m_numRows};
    }
    if (m_numColumns > 0) {
        for (int r = kMinRows; r <= kMaxRows; ++r)
            if (m_numColumns * r - k > count) return {m_numColumns, r};
        return {m_numColumns, kMaxRows};
    }
    // Rows grow at every step and columns follow while the data do not fit, which keeps the symbol
    // a little taller than wide until the columns run out.
    int c = 1;
    int r = kMinRows;
    while (c * r - k < count && !(r >= kMaxRows && c >= kMaxColumns)) {
        if (r < kMaxRows) ++r;
        if (c < kMaxColumns && c * r - k < count) ++c;
    }
    return {c, r};
}

void TStPDF417Barcode::GenerateCodewords() {
    m_codewords = EncodePdf417Data(m_code);
    const int k = CheckCodewordCount();
    const TPdf417Dimensions d = CalcDimensions();
    const int size = d.columns * d.rows;
    if (size < k) TooLarge();
    // The length descriptor counts itself, the data and the pads.
    m_codewords.values[0] = static_cast<uint16_t>(size - k);
    if (size < m_codewords.count + k) TooLarge();
    CalcPdf417ErrorCorrection(m_codewords.values.data(), size - k, k);
}

std::vector<int> TStPDF417Barcode::SymbolCodewords() const {
    const TPdf417Dimensions d = CalcDimensions();
    const int size = std::min(d.columns * d.rows, kPdf417BufferSize);
    return std::vector<int>(m_codewords.values.begin(), m_codewords.values.begin() + size);
}

uint32_t TStPDF417Barcode::CodewordPattern(int row, int v) {
    if (v < 0 || v > 928) throw E2DBarcodeError("Invalid Codeword");
    return kPdf417Patterns[row % 3][v];
}

int TStPDF417Barcode::RowHeight() const {
    return m_barHeightToWidth != 0 ? m_barHeightToWidth * m_barWidth : m_barHeight;
}

int TStPDF417Barcode::CalcBarCodeWidth(int) {
    const int columns = CalcDimensions().columns;
    return m_barWidth * (kModulesPerUnit * columns + (m_truncated ? 35 : 69));
}

int TStPDF417Barcode::CalcBarCodeHeight(int height) {
    if (m_relativeBarHeight) return height;
    return RowHeight() * CalcDimensions().rows;
}

void TStPDF417Barcode::FillModules(int left, int top, int right, int bottom) {
    if (m_rows)
        m_rows->Fill(left, top, right, bottom, m_dark);
    else
        BitmapCanvas().FillRect(TRect{left, top, right, bottom});
}

void TStPDF417Barcode::DrawPattern(uint32_t pattern, int x0, int y0, int y1) {
    // Runs of dark modules become one rectangle each: the same pixels as module by module.
    int b = 16;
    while (b >= 0) {
        if (!(pattern & (1u << b))) {
            --b;
            continue;
        }
        const int start = b;
        while (b >= 0 && (pattern & (1u << b))) --b;
        FillModules(x0 + (16 - start) * m_barWidth, y0, x0 + (16 - b) * m_barWidth, y1);
    }
}

void TStPDF417Barcode::DrawWidths(const char* widths, int x0, int y0, int y1) {
    int x = x0;
    bool dark = true;
    for (const char* p = widths; *p; ++p) {
        const int w = (*p - '0') * m_barWidth;
        if (dark) FillModules(x, y0, x + w, y1);
        x += w;
        dark = !dark;
    }
}

void TStPDF417Barcode::DrawBarcode() {
    const int level = EffectiveECCLevel();
    const int k = CheckCodewordCount();
    const TPdf417Dimensions d = CalcDimensions();
    if (d.columns * d.rows < k) TooLarge();
    m_codewords.values[0] = static_cast<uint16_t>(d.columns * d.rows - k);

    const TRect& rect = BarCodeRect();
    const int h = (rect.bottom - rect.top) / d.rows;
    const int unit = kModulesPerUnit * m_barWidth;
    // On a bitmap every pixel row of a symbol row is the same: the first visible one is drawn and
    // copied to the others (the whole picture has the background colour before modules are drawn).
    m_rows = DirectPixels();
    m_dark = TPixelRows::Value(Color());
    const int rowRight =
        rect.left + unit * (d.columns + 2) + (m_truncated ? m_barWidth : unit + 18 * m_barWidth);
    for (int r = 0; r < d.rows; ++r) {
        int y0 = rect.top + r * h;
        int y1 = y0 + h;
        int copyUntil = y1;
        if (m_rows) {
            y0 = std::max(y0, 0);
            copyUntil = std::min(y1, m_rows->height);
            // A row outside the picture draws nothing, but its codewords are still checked.
            y1 = y0 < copyUntil ? y0 + 1 : y0;
        }
        const int base = 30 * (r / 3);
        int left = 0;
        int right = 0;
        switch (r % 3) {
        case 0:
            left = base + (d.rows - 1) / 3;
            right = base + d.columns - 1;
            break;
        case 1:
            left = base + (d.rows - 1) % 3 + 3 * level;
            right = base + (d.rows - 1) / 3;
            break;
        case 2:
            left = base + d.columns - 1;
            right = base + (d.rows - 1) % 3 + 3 * level;
            break;
        }
        int x = rect.left;
        DrawWidths(kStartPattern, x, y0, y1);
        x += unit;
        DrawPattern(CodewordPattern(r, left), x, y0, y1);
        x += unit;
        for (int j = 0; j < d.columns; ++j, x += unit)
            DrawPattern(CodewordPattern(r, m_codewords.values[r * d.columns + j]), x, y0, y1);
        if (m_truncated) {
            DrawWidths(kTruncatedStopPattern, x, y0, y1);
        } else {
            DrawPattern(CodewordPattern(r, right), x, y0, y1);
            DrawWidths(kStopPattern, x + unit, y0, y1);
        }
        if (m_rows) {
            const int left = std::max(rect.left, 0), right = std::min(rowRight, m_rows->width);
            for (int y = y1; left < right && y < copyUntil; ++y)
                std::copy(m_rows->Row(y0) + left, m_rows->Row(y0) + right, m_rows->Row(y) + left);
        }
    }
    m_rows = nullptr;
}

TPictureSize TStPDF417Barcode::RenderToBitmap(TBitmap& target, int xDpi, int yDpi) {
    const int savedBarWidth = m_barWidth;
    return RenderToBitmapScaled(
        target, xDpi, yDpi,
        [&](double rx, double) {
            // A module never shrinks to nothing on a coarse device.
            m_barWidth = std::max(1, static_cast<int>(std::trunc(m_barWidth * rx)));
        },
        [&] { m_barWidth = savedBarWidth; });
}

} // namespace qbm
