#pragma once
// QR Code, Data Matrix, Aztec and Micro QR as a 2D component beside PDF417 and MaxiCode: the same
// properties, caption, setter protocol and painting, its symbol a geometry from the symbology's encoder.

#include "barcode2d/TStCustom2DBarcode.h"
#include "surface/TSymbolGeometry.h"
#include "symbols/TSymbolSettings.h"

#include <string>
#include <string_view>

namespace qbm {

// The text a symbol holds for a Code: Code texts are UTF-8; bytes that are not (older Latin-1 texts)
// are taken as Latin-1.
std::string SymbolText(std::string_view code);

class TStSymbolBarcode : public TStCustom2DBarcode {
public:
    TStSymbolBarcode();

    const TSymbolSettings& Settings() const { return m_settings; }
    // E2DBarcodeError, with the encoder's message, when the Code cannot be drawn with the settings;
    // the previous settings stay.
    void SetSettings(const TSymbolSettings& settings);

    // The symbol of the current Code, quiet zone included, in modules.
    const TSymbolGeometry& Geometry() const { return m_geometry; }

    TPictureSize RenderToBitmap(TBitmap& target, int xDpi, int yDpi) override;

protected:
    int CalcBarCodeWidth(int width) override;
    int CalcBarCodeHeight(int height) override;
    void DrawBarcode() override;
    void GenerateCodewords() override;
    bool PrintsAsShapes() const override { return true; }

private:
    TSymbolSettings m_settings;
    TSymbolGeometry m_geometry;
};

} // namespace qbm
