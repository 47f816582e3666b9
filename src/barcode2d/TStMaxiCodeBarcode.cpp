#include "barcode2d/TStMaxiCodeBarcode.h"

#include "barcode2d/MaxiCodeErrorCorrection.h"

#include <cmath>

namespace qbm {
namespace {

// A size in dots scaled for a device, truncated, and held inside the integer range like the
// rounding of the drawing's coordinates.
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
    const TMaxiCodeModuleSize size = MaxiCodeModuleSize(
        {m_autoScale, m_barWidth, m_barHeight, m_horPixelsPerMM, m_verPixelsPerMM}, xDpi, yDpi);
    m_moduleWidth = size.width;
    m_moduleHeight = size.height;
}

TMaxiCodeModuleSize TStMaxiCodeBarcode::PassModuleSize() const {
    const TPassDevice& device = PassDevice();
    if (!device.scaled) return {m_moduleWidth, m_moduleHeight};
    const TMaxiCodeSizing sizing{m_autoScale, ScaledPixels(m_barWidth, device.rx),
                                 ScaledPixels(m_barHeight, device.ry), m_horPixelsPerMM * device.rx,
                                 m_verPixelsPerMM * device.ry};
    return MaxiCodeModuleSize(sizing, device.xDpi, device.yDpi);
}

int TStMaxiCodeBarcode::CalcBarCodeWidth(int) {
    return MaxiCodeSymbolWidth(PassModuleSize());
}

int TStMaxiCodeBarcode::CalcBarCodeHeight(int) {
    return MaxiCodeSymbolHeight(PassModuleSize());
}

void TStMaxiCodeBarcode::GenerateCodewords() {
    m_encoder.Encode(
        {m_carrier.mode, m_carrier.postalCode, m_carrier.countryCode, m_carrier.serviceClass, m_code});
    CalcMaxiCodeErrorCorrection(m_encoder.Codewords(), m_carrier.mode == cmMode5);
}

void TStMaxiCodeBarcode::DrawBarcode() {
    const TRect& rect = BarCodeRect();
    const int quiet = QuietZone();
    PaintGeometry(MaxiCodeGeometry(m_encoder.Codewords(), PassModuleSize(), {rect.left, rect.top}, quiet),
                  {rect.left - quiet, rect.top - quiet}, 1);
}

} // namespace qbm
