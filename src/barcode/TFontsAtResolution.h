#pragma once
// A barcode's two fonts scaled to a device's resolution for one drawing and put back afterwards:
// templates keep point sizes for the screen's 96 dots per inch.

#include "barcode/TBarcode.h"
#include "util/Rounding.h"

namespace qbm {

class TFontsAtResolution {
public:
    TFontsAtResolution(TBarcode& barcode, int dpi)
        : m_barcode(barcode), m_code(barcode.ShowTextFont()), m_caption(barcode.ExtCapFont()) {
        m_barcode.SetShowTextFont(Scaled(m_code, dpi));
        m_barcode.SetExtCapFont(Scaled(m_caption, dpi));
    }
    ~TFontsAtResolution() {
        m_barcode.SetShowTextFont(m_code);
        m_barcode.SetExtCapFont(m_caption);
    }
    TFontsAtResolution(const TFontsAtResolution&) = delete;
    TFontsAtResolution& operator=(const TFontsAtResolution&) = delete;

    static TFont Scaled(const TFont& font, int dpi) {
        TFont scaled = font;
        scaled.SetSize(Rnd(static_cast<double>(font.Size()) * dpi / 96));
        return scaled;
    }

private:
    TBarcode& m_barcode;
    const TFont m_code;
    const TFont m_caption;
};

} // namespace qbm
