#include "barcode2d/TStMaxiCodeBarcode.h"

#include "barcode2d/MaxiCodeErrorCorrection.h"
#include "barcode2d/MaxiCodeModuleMap.h"
#include "surface/TCanvas.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
    ChangeProperty(m_carrier.mode, mode, TRefresh::Regenerate);
}

void TStMaxiCodeBarcode::SetCarrier(const TMaxiCodeCarrier& carrier) {
    TMaxiCodeCarrier value = carrier;
    if (value.mode > cmMode6) value.mode = cmMode4;
    ChangeProperty(m_carrier, value, TRefresh::Regenerate);
}

void TStMaxiCodeBarcode::SetCarrierPostalCode(const std::string& postalCode) {
    ChangeCarrierField(m_carrier.postalCode, postalCode);
}

void TStMaxiCodeBarcode::SetCarrierCountryCode(int32_t country) {
    ChangeCarrierField(m_carrier.countryCode, country);
}

void TStMaxiCodeBarcode::SetCarrierServiceClass(int32_t serviceClass) {
    ChangeCarrierField(m_carrier.serviceClass, serviceClass);
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
    m_encoder.Encode(
        {m_carrier.mode, m_carrier.postalCode, m_carrier.countryCode, m_carrier.serviceClass, m_code});
    CalcMaxiCodeErrorCorrection(m_encoder.Codewords(), m_carrier.mode == cmMode5);
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
    m_rows = DirectPixels();
    m_grid = ModuleGrid();
    const TMaxiCodeEncoder::TBuffer& codewords = m_encoder.Codewords();
    double offset = 0; // odd rows start half a module further right
    for (int row = 0; row < kMaxiCodeRows; ++row) {
        const int y = Nearest(row * m_moduleHeight * kRowPitch);
        for (int column = 0; column < kMaxiCodeColumns; ++column) {
            const int v = MaxiCodeModuleAt(row, column);
            bool dark = v == -1;
            if (v >= 1) dark = (codewords[(v - 1) / 6] >> (5 - (v - 1) % 6)) & 1;
            if (dark) DrawHexagon(Nearest(offset + column * m_moduleWidth), y);
        }
        offset = m_halfPitch - offset;
    }
    DrawFinder();
    m_rows = nullptr;
}

TStMaxiCodeBarcode::TModuleGrid TStMaxiCodeBarcode::ModuleGrid() const {
    const double w = m_moduleWidth, h = m_moduleHeight;
    const double inset = (w + 1) / 8 + 1;
    TModuleGrid g{inset, Nearest(w - inset), Nearest(h - inset), true, false};
    // The gap between modules is only kept while the module inside it can still be drawn as a
    // hexagon. Modules of 4 to 5.5 pixels would otherwise shrink to a 3-pixel dot off the centre of
    // their cell, where scanners sample light; without the gap they touch, as the small ones do.
    if (w < kSmallestHexagon || g.d < kSmallestHexagon || g.c < kSmallestHexagon)
        g = TModuleGrid{0, Nearest(w), Nearest(h), false, false};
    g.ellipse = g.d < kSmallestHexagon || g.c < kSmallestHexagon;
    return g;
}

TStMaxiCodeBarcode::TModuleShape TStMaxiCodeBarcode::ModuleShape(int x, int y) const {
    const double left = x + BarCodeRect().left, top = y + BarCodeRect().top;
    const TModuleGrid& g = m_grid;
    if (!g.gap) return TModuleShape{Nearest(left), Nearest(top), g.d, g.c, g.ellipse};
    return TModuleShape{Nearest(left + g.inset), Nearest(top + g.inset), g.d, g.c, g.ellipse};
}

void TStMaxiCodeBarcode::PaintModule(TCanvas& canvas, const TModuleShape& m) const {
    const int px = m.px, py = m.py, d = m.d, c = m.c;
    if (m.ellipse) {
        canvas.Ellipse(px, py, px + d, py + c);
        return;
    }
    // Pointed top and bottom, as the standard's modules stand.
    if (DrawingShapes()) {
        canvas.Polygon({{px + d / 2, py},
                        {px + d, py + c / 4},
                        {px + d, py + c - c / 4},
                        {px + d / 2, py + c},
                        {px, py + c - c / 4},
                        {px, py + c / 4}});
        return;
    }
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

namespace {

// A scratch colour that is neither of the given ones.
TColor OtherColour(TColor a, TColor b) {
    for (const TColor c : {TColor{0x030201}, TColor{0x060504}, TColor{0x090807}})
        if (c != a && c != b) return c;
    return 0x0C0B0A;
}

constexpr int kStampMargin = 2;
// Larger shapes are drawn as shapes: their pixels are few against their area anyway.
constexpr int kLargestStamp = 1024;

} // namespace

void TStMaxiCodeBarcode::DrawHexagon(int x, int y) {
    const TModuleShape m = ModuleShape(x, y);
    if (m_rows && std::max(m.d, m.c) + 2 * kStampMargin < kLargestStamp) {
        // Modules have a one-pixel outline: drawn at whole-pixel offsets they cover the same pixels
        // anywhere, so one stamp serves every module.
        const TColor colour = Color();
        const TRasterStamp& stamp = m_moduleStamps.Get(std::tuple(m.d, m.c, colour), [&] {
            TModuleShape at = m;
            at.px = at.py = kStampMargin;
            const int size = std::max(m.d, m.c) + 2 * kStampMargin + 1;
            return TRasterStamp::Record(size, size, OtherColour(colour, colour), [&](TCanvas& c) {
                c.SetPen(TPen{colour, 1, TPenStyle::psSolid});
                c.SetBrush(TBrush{colour, TBrushStyle::bsSolid});
                PaintModule(c, at);
            });
        });
        if (StampFits(stamp, m.px - kStampMargin, m.py - kStampMargin, !m.ellipse)) {
            stamp.Stamp(*m_rows, m.px - kStampMargin, m.py - kStampMargin);
            return;
        }
    }
    PaintModule(BitmapCanvas(), m);
}

bool TStMaxiCodeBarcode::StampFits(const TRasterStamp& stamp, int x, int y, bool needsClearArea) const {
    if (stamp.TouchesBorder()) return false;
    const TRect b = stamp.Bounds();
    if (x + b.left < 0 || y + b.top < 0 || x + b.right > m_rows->width || y + b.bottom > m_rows->height)
        return false;
    if (!needsClearArea) return true;
    // A flood fill stops at any pixel of the module colour: only where there is none yet inside the
    // outline (pixels outside it are never reached) does the module come out as it did on the
    // scratch picture.
    return !stamp.AnyPixelIs(*m_rows, x, y, TPixelRows::Value(Color()));
}

void TStMaxiCodeBarcode::PaintFinder(TCanvas& canvas, int cx, int cy, const TFinderGeometry& g) const {
    canvas.Brush().color = BackgroundColor();
    canvas.Pen().width = g.penWidth;
    for (const auto& r : g.radii) canvas.Ellipse(cx - r[0], cy - r[1], cx + r[0], cy + r[1]);
    canvas.Pen().width = 1;
    canvas.Brush().color = Color();
}

void TStMaxiCodeBarcode::DrawFinder() {
    TCanvas& canvas = BitmapCanvas();
    const double w = m_moduleWidth, h = m_moduleHeight;
    const int cx = Nearest(14.5 * w + BarCodeRect().left);
    const int cy = BarCodeRect().top + Nearest(16.5 * h * kRowPitch);
    const TFinderGeometry g{
        Nearest(w - h / 6),
        {{{4 * Nearest(w), 4 * Nearest(h)}, {Nearest(2.5 * w), Nearest(2.5 * h)}, {Nearest(w), Nearest(h)}}}};
    const int reach = std::max(std::abs(g.radii[0][0]), std::abs(g.radii[0][1])) + std::abs(g.penWidth) + 2;
    if (m_rows && cx + reach < std::min(m_rows->width, 4 * kLargestStamp) &&
        cy + reach < std::min(m_rows->height, 4 * kLargestStamp)) {
        const TColor colour = Color(), background = BackgroundColor();
        const TRasterStamp& stamp = m_finderStamps.Get(std::tuple(g, cx, cy, colour, background), [&] {
            return TRasterStamp::Record(cx + reach + 1, cy + reach + 1, OtherColour(colour, background),
                                        [&](TCanvas& c) {
                                            c.SetPen(TPen{colour, 1, TPenStyle::psSolid});
                                            c.SetBrush(TBrush{colour, TBrushStyle::bsSolid});
                                            PaintFinder(c, cx, cy, g);
                                        });
        });
        if (StampFits(stamp, 0, 0, false)) {
            stamp.Stamp(*m_rows, 0, 0);
            return;
        }
    }
    PaintFinder(canvas, cx, cy, g);
}

} // namespace qbm
