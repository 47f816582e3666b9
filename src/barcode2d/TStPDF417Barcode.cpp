#include "barcode2d/TStPDF417Barcode.h"

#include "barcode2d/Pdf417ErrorCorrection.h"
#include "barcode2d/Pdf417Geometry.h"

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

constexpr int kMaxColumns = 30;
constexpr int kMaxRows = 90;
constexpr int kMinRows = 3;

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
    return Pdf417CodewordPattern(row, v);
}

int TStPDF417Barcode::DeviceBarWidth() const {
    const TPassDevice& device = PassDevice();
    // A module never shrinks to nothing on a coarse device.
    return device.scaled ? std::max(1, static_cast<int>(std::trunc(m_barWidth * device.rx))) : m_barWidth;
}

int TStPDF417Barcode::RowHeight() const {
    // An explicit row height stays in dots whatever the device.
    return m_barHeightToWidth != 0 ? m_barHeightToWidth * DeviceBarWidth() : m_barHeight;
}

int TStPDF417Barcode::CalcBarCodeWidth(int) {
    return DeviceBarWidth() * Pdf417ModuleColumns(CalcDimensions().columns, m_truncated);
}

int TStPDF417Barcode::CalcBarCodeHeight(int height) {
    if (m_relativeBarHeight) return height;
    return RowHeight() * CalcDimensions().rows;
}

void TStPDF417Barcode::DrawBarcode() {
    const int k = CheckCodewordCount();
    const TPdf417Dimensions d = CalcDimensions();
    if (d.columns * d.rows < k) TooLarge();
    m_codewords.values[0] = static_cast<uint16_t>(d.columns * d.rows - k);

    const TRect& rect = BarCodeRect();
    TPdf417Drawing drawing;
    drawing.columns = d.columns;
    drawing.rows = d.rows;
    drawing.eccLevel = EffectiveECCLevel();
    drawing.truncated = m_truncated;
    drawing.moduleWidth = DeviceBarWidth();
    drawing.rowHeight = (rect.bottom - rect.top) / d.rows;
    drawing.quietZone = QuietZone();
    const std::span<const uint16_t> codewords(m_codewords.values.data(),
                                              static_cast<size_t>(d.columns) * d.rows);
    PaintGeometry(Pdf417Geometry(codewords, drawing),
                  {rect.left - drawing.quietZone, rect.top - drawing.quietZone}, drawing.moduleWidth);
}

} // namespace qbm
