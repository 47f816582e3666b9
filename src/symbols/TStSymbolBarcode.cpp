#include "symbols/TStSymbolBarcode.h"

#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "symbols/ESymbolError.h"
#include "symbols/ZintSymbolEncoder.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || (n == 2 && c < 0xC2) || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

} // namespace

std::string SymbolText(std::string_view code) {
    return IsUtf8(code) ? std::string(code) : Latin1ToUtf8(code);
}

TStSymbolBarcode::TStSymbolBarcode() {
    // A module of two screen pixels, as the other 2D symbols; the symbol carries its own quiet zone.
    m_barWidth = 2;
    SetQuietZone(0);
}

void TStSymbolBarcode::SetSettings(const TSymbolSettings& settings) {
    ChangeProperty(m_settings, settings, TRefresh::Regenerate);
}

void TStSymbolBarcode::GenerateCodewords() {
    if (m_code.empty()) {
        // Nothing to show yet: an empty picture, as a new component has.
        m_geometry = {};
        return;
    }
    try {
        m_geometry = EncodeSymbol(m_settings, SymbolText(m_code));
    } catch (const ESymbolError& e) {
        throw E2DBarcodeError(e.what());
    }
}

int TStSymbolBarcode::CalcBarCodeWidth(int) {
    return static_cast<int>(std::lround(m_geometry.width * std::max(1, m_barWidth)));
}

int TStSymbolBarcode::CalcBarCodeHeight(int) {
    return static_cast<int>(std::lround(m_geometry.height * std::max(1, m_barWidth)));
}

void TStSymbolBarcode::DrawBarcode() {
    TSymbolPlacement placement;
    placement.origin = {BarCodeRect().left, BarCodeRect().top};
    placement.dotsPerModule = std::max(1, m_barWidth);
    placement.ink = Color();
    placement.paper = BackgroundColor();
    // The picture has the background colour already.
    placement.fillPaper = false;
    if (DirectPixels())
        PaintSymbolPixels(BitmapCanvas(), m_geometry, placement);
    else
        PaintSymbolShapes(BitmapCanvas(), m_geometry, placement);
}

TPictureSize TStSymbolBarcode::RenderToBitmap(TBitmap& target, int xDpi, int yDpi) {
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
