#pragma once
// The MaxiCode component: structured carrier or free-text messages in a fixed grid of hexagonal
// modules around a bull's-eye finder, sized from the device resolution or from explicit sizes.

#include "barcode2d/MaxiCodeGeometry.h"
#include "barcode2d/TMaxiCodeCarrier.h"
#include "barcode2d/TMaxiCodeEncoder.h"
#include "barcode2d/TStCustom2DBarcode.h"
#include "barcode2d/TStMaxiCodeMode.h"

#include <cstdint>
#include <string>

namespace qbm {

class TStMaxiCodeBarcode : public TStCustom2DBarcode {
public:
    TStMaxiCodeBarcode();

    TStMaxiCodeMode Mode() const { return m_carrier.mode; }
    void SetMode(TStMaxiCodeMode mode);
    // The carrier fields are encoded only in the structured carrier modes 2 and 3; in the other modes
    // a new value is only stored. Values beyond the carrier limits are refused there (TMaxiCodeCarrier).
    const std::string& CarrierPostalCode() const { return m_carrier.postalCode; }
    void SetCarrierPostalCode(const std::string& postalCode);
    int32_t CarrierCountryCode() const { return m_carrier.countryCode; }
    void SetCarrierCountryCode(int32_t country);
    int32_t CarrierServiceClass() const { return m_carrier.serviceClass; }
    void SetCarrierServiceClass(int32_t serviceClass);
    // Mode and carrier fields in one step: a set of values that is valid together is taken even when
    // setting them one by one would pass through a refused mix (mode 2 before its new postal code).
    const TMaxiCodeCarrier& Carrier() const { return m_carrier; }
    void SetCarrier(const TMaxiCodeCarrier& carrier);

    // Module size from the device resolution (about 0.88 x 0.84 mm on any device).
    bool AutoScale() const { return m_autoScale; }
    void SetAutoScale(bool autoScale);
    // Without AutoScale: module width and height in pixels, 0 = take them from the pixels per mm.
    void SetBarWidth(int pixels) override;
    void SetBarHeight(int pixels) override;
    double HorPixelsPerMM() const { return m_horPixelsPerMM; }
    void SetHorPixelsPerMM(double pixelsPerMM);
    double VerPixelsPerMM() const { return m_verPixelsPerMM; }
    void SetVerPixelsPerMM(double pixelsPerMM);

    // The 144 symbol codewords (index 144 is spare), check codewords included.
    const TMaxiCodeEncoder::TBuffer& Codewords() const { return m_encoder.Codewords(); }

    // Horizontal pitch and height of a module in pixels, for the resolution last computed.
    double ModuleWidth() const { return m_moduleWidth; }
    double ModuleHeight() const { return m_moduleHeight; }
    void CalcModuleSize(int xDpi, int yDpi);

protected:
    int CalcBarCodeWidth(int width) override;
    int CalcBarCodeHeight(int height) override;
    void DrawBarcode() override;
    void GenerateCodewords() override;
    void Refresh(TRefresh what) override;
    bool PrintsAsShapes() const override { return true; }

private:
    // The module size for the device being drawn for: the screen's as last computed, or one from
    // the size properties scaled for the device.
    TMaxiCodeModuleSize PassModuleSize() const;
    bool IsCarrierMode() const { return m_carrier.mode == cmMode2 || m_carrier.mode == cmMode3; }
    template <typename T> void ChangeCarrierField(T& field, const T& value);

    TMaxiCodeCarrier m_carrier;
    bool m_autoScale = true;
    double m_horPixelsPerMM = 4.0;
    double m_verPixelsPerMM = 4.0;

    double m_moduleWidth = 0;
    double m_moduleHeight = 0;

    TMaxiCodeEncoder m_encoder;
};

} // namespace qbm
