#include "barcode2d/TStMaxiCodeBarcode.h"

#include "barcode2d/MaxiCodeErrorCorrection.h"
#include "barcode2d/MaxiCodeModuleMap.h"
#include "surface/TCanvas.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

// Module size factors: a module is about 0.88 mm wide (1.003937 / 29 inch) and 0.84 mm high.
constexpr double kAutoWidthPerDpi = 1.003937 / 29;
constexpr double kAutoHeightPerDpi = 0.959449 / 29;
// Rows of a hexagonal grid are sqrt(3)/2 of a module apart.
constexpr double kRowPitch = 0.8660254;
// Drawing modules smaller than this as hexagons gives no recognisable shape.
constexpr int kSmallestHexagon = 4;

// Nearest pixel, ties to even. Absurd sizes (a module of millions of pixels) are held inside the
// integer range so that they are cut off at the picture edge instead of wrapping around.
int Nearest(double v) {
    constexpr double kLimit = 1e8;   // room for the sums of drawing coordinates
    if (!(v > -kLimit)) v = -kLimit; // also catches NaN
    if (v > kLimit) v = kLimit;
    return Rnd(v);
}

// A pixel size scaled for a device, truncated, and held inside the integer range like Nearest.
int ScaledPixels(int pixels, double ratio) {
    const double v = std::trunc(pixels * ratio);
    return v > 1e8 ? 100000000 : v < -1e8 ? -100000000 : static_cast<int>(v);
}

} // namespace

TStMaxiCodeBarcode::TStMaxiCodeBarcode() {
    m_barWidth = 0;
    m_barHeight = 0;
    CalcModuleSize(ScreenDpiX(), ScreenDpiY());
    GenerateCodewords();
    SetBounds(121, 129);
}

template <typename T> void TStMaxiCodeBarcode::ChangeCarrierField(T& field, const T& value) {
    if (IsCarrierMode())
        ChangeProperty(field, value, TRefresh::Regenerate);
    else
        field = value;
}

void TStMaxiCodeBarcode::SetMode(TStMaxiCodeMode mode) {
    // An ordinal beyond mode 6 (a damaged template) has no symbol layout: it means the default mode.
    if (mode > cmMode6) mode = cmMode4;
    ChangeProperty(m_mode, mode, TRefresh::Regenerate);
}

void TStMaxiCodeBarcode::SetCarrierPostalCode(const std::string& postalCode) {
    ChangeCarrierField(m_postalCode, postalCode);
}

void TStMaxiCodeBarcode::SetCarrierCountryCode(int32_t country) {
    ChangeCarrierField(m_countryCode, country);
}

void TStMaxiCodeBarcode::SetCarrierServiceClass(int32_t serviceClass) {
    ChangeCarrierField(m_serviceClass, serviceClass);
}

void TStMaxiCodeBarcode::SetAutoScale(bool autoScale) {
    ChangeProperty(m_autoScale, autoScale, TRefresh::Render, [&] {
        if (autoScale) return;
        if (m_barWidth == 0 && m_horPixelsPerMM == 0)
            throw E2DBarcodeError("Horizontal size needs to be specified");
        if (m_barHeight == 0 && m_verPixelsPerMM == 0)
            throw E2DBarcodeError("Vertical size needs to be specified");
    });
}

void TStMaxiCodeBarcode::SetBarWidth(int pixels) {
    if (pixels == 0 && m_horPixelsPerMM == 0 && !m_autoScale)
        throw E2DBarcodeError("Horizontal size needs to be specified");
    // The module size is recomputed even for an unchanged value.
    if (pixels == m_barWidth)
        Refresh(TRefresh::Render);
    else
        TStCustom2DBarcode::SetBarWidth(pixels);
}

void TStMaxiCodeBarcode::SetBarHeight(int pixels) {
    if (pixels == 0 && m_verPixelsPerMM == 0 && !m_autoScale)
        throw E2DBarcodeError("Vertical size needs to be specified");
    if (pixels == m_barHeight)
        Refresh(TRefresh::Render);
    else
        TStCustom2DBarcode::SetBarHeight(pixels);
}

void TStMaxiCodeBarcode::SetHorPixelsPerMM(double pixelsPerMM) {
    ChangeProperty(m_horPixelsPerMM, pixelsPerMM, TRefresh::Render, [&] {
        if (pixelsPerMM == 0 && m_barWidth == 0 && !m_autoScale)
            throw E2DBarcodeError("Horizontal size needs to be specified");
    });
}

void TStMaxiCodeBarcode::SetVerPixelsPerMM(double pixelsPerMM) {
    ChangeProperty(m_verPixelsPerMM, pixelsPerMM, TRefresh::Render, [&] {
        if (pixelsPerMM == 0 && m_barHeight == 0 && !m_autoScale)
            throw E2DBarcodeError("Vertical size needs to be specified");
    });
}

void TStMaxiCodeBarcode::Refresh(TRefresh what) {
    CalcModuleSize(ScreenDpiX(), ScreenDpiY());
    TStCustom2DBarcode::Refresh(what);
}

void TStMaxiCodeBarcode::CalcModuleSize(int xDpi, int yDpi) {
    if (m_autoScale) {
        m_moduleWidth = xDpi * kAutoWidthPerDpi;
        m_moduleHeight = yDpi * kAutoHeightPerDpi;
    } else {
        m_moduleWidth = m_barWidth != 0 ? m_barWidth : m_horPixelsPerMM * 27 / 29;
        m_moduleHeight = m_barHeight != 0 ? m_barHeight : Nearest(m_verPixelsPerMM * 25) / 29.0;
    }
    m_rowStepTerm = -m_moduleHeight / 6;
    m_halfPitch = m_moduleWidth / 2;
}

int TStMaxiCodeBarcode::CalcBarCodeWidth(int) {
    return Nearest(30 * m_moduleWidth + m_halfPitch);
}

int TStMaxiCodeBarcode::CalcBarCodeHeight(int) {
    return Nearest(33 * m_moduleHeight + 33 * m_rowStepTerm);
}

void TStMaxiCodeBarcode::GenerateCodewords() {
    m_encoder.Encode({m_mode, m_postalCode, m_countryCode, m_serviceClass, m_code});
    CalcMaxiCodeErrorCorrection(m_encoder.Codewords(), m_mode == cmMode5);
}

TPictureSize TStMaxiCodeBarcode::RenderToBitmap(TBitmap& target, int xDpi, int yDpi) {
    const int barWidth = m_barWidth, barHeight = m_barHeight;
    const double horPixelsPerMM = m_horPixelsPerMM, verPixelsPerMM = m_verPixelsPerMM;
    return RenderToBitmapScaled(
        target, xDpi, yDpi,
        [&](double rx, double ry) {
            m_barWidth = ScaledPixels(barWidth, rx);
            m_barHeight = ScaledPixels(barHeight, ry);
            m_horPixelsPerMM = horPixelsPerMM * rx;
            m_verPixelsPerMM = verPixelsPerMM * ry;
            CalcModuleSize(xDpi, yDpi);
        },
        [&] {
            m_barWidth = barWidth;
            m_barHeight = barHeight;
            m_horPixelsPerMM = horPixelsPerMM;
            m_verPixelsPerMM = verPixelsPerMM;
            CalcModuleSize(ScreenDpiX(), ScreenDpiY());
        });
}

void TStMaxiCodeBarcode::DrawBarcode() {
    TCanvas& canvas = BitmapCanvas();
    canvas.Brush().color = Color();
    canvas.Pen().width = 1;
    const TMaxiCodeEncoder::TBuffer& codewords = m_encoder.Codewords();
    double offset = 0; // odd rows start half a module further right
    for (int row = 0; row < kMaxiCodeRows; ++row) {
        const int y = Nearest(row * m_moduleHeight * kRowPitch);
        for (int column = 0; column < kMaxiCodeColumns; ++column) {
            const int x = Nearest(offset + column * m_moduleWidth);
            const int v = MaxiCodeModuleAt(row, column);
            bool dark = v == -1;
            if (v >= 1) dark = (codewords[(v - 1) / 6] >> (5 - (v - 1) % 6)) & 1;
            if (dark) DrawHexagon(x, y);
        }
        offset = m_halfPitch - offset;
    }
    DrawFinder();
}

void TStMaxiCodeBarcode::DrawHexagon(int x, int y) {
    TCanvas& canvas = BitmapCanvas();
    const double w = m_moduleWidth, h = m_moduleHeight;
    const double inset = (w + 1) / 8 + 1;
    const double left = x + BarCodeRect().left, top = y + BarCodeRect().top;
    int px = Nearest(left + inset), py = Nearest(top + inset);
    int d = Nearest(w - inset), c = Nearest(h - inset);
    // The gap between modules is only kept while the module inside it can still be drawn as a
    // hexagon. Modules of 4 to 5.5 pixels would otherwise shrink to a 3-pixel dot off the centre of
    // their cell, where scanners sample light; without the gap they touch, as the small ones do.
    if (w < kSmallestHexagon || d < kSmallestHexagon || c < kSmallestHexagon) {
        px = Nearest(left);
        py = Nearest(top);
        d = Nearest(w);
        c = Nearest(h);
    }
    if (d < kSmallestHexagon || c < kSmallestHexagon) {
        canvas.Ellipse(px, py, px + d, py + c);
        return;
    }
    // Pointed top and bottom, as the standard's modules stand.
    canvas.MoveTo(px + d / 2, py);
    canvas.LineTo(px + d, py + c / 4);
    canvas.LineTo(px + d, py + c - c / 4);
    canvas.LineTo(px + d / 2, py + c);
    canvas.LineTo(px, py + c - c / 4);
    canvas.LineTo(px, py + c / 4);
    canvas.LineTo(px + d / 2, py);
    // Only the background and the module colour are in the picture while modules are drawn, so
    // filling up to the module colour fills exactly the background inside the outline.
    canvas.FloodFill(px + d / 2, py + c / 2, Color());
}

void TStMaxiCodeBarcode::DrawFinder() {
    TCanvas& canvas = BitmapCanvas();
    const double w = m_moduleWidth, h = m_moduleHeight;
    const int cx = Nearest(14.5 * w + BarCodeRect().left);
    const int cy = BarCodeRect().top + Nearest(16.5 * h * kRowPitch);
    canvas.Brush().color = BackgroundColor();
    canvas.Pen().width = Nearest(w - h / 6);
    const int radii[3][2] = {
        {4 * Nearest(w), 4 * Nearest(h)}, {Nearest(2.5 * w), Nearest(2.5 * h)}, {Nearest(w), Nearest(h)}};
    for (const auto& r : radii) canvas.Ellipse(cx - r[0], cy - r[1], cx + r[0], cy + r[1]);
    canvas.Pen().width = 1;
    canvas.Brush().color = Color();
}

} // namespace qbm
