#include "output/DesignBarcodePainter.h"

#include "barcode/TBarcode.h"
#include "design/DesignSymbology.h"
#include "design/TLabelDesign.h"
#include "output/LabelFit.h"
#include "surface/SymbolCanvasPainter.h"
#include "surface/TCanvas.h"
#include "symbols/ZintSymbolEncoder.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>

namespace qbm {

namespace {

// The digits under the bars keep to the width the bars give them: at most ten modules high, about
// what the EAN and UPC groups leave room for, so that no digit runs into its neighbour.
constexpr int kTextModules = 10;

void DrawLinear(TCanvas& canvas, const TDesignObject& object, TBarcodeType type, const std::string& code,
                int width, int height) {
    const int dpi = canvas.ResolutionY();
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(code);
    bc.SetHeight(height);
    bc.SetModul(1);
    bc.SetShowText(bcoNone);
    const int textPixels = std::max(1, Rnd(object.sizePt * dpi / 72.0));
    const auto setText = [&](int modul) {
        TFont font = bc.ShowTextFont();
        font.SetName(object.font);
        font.SetPixelsPerInch(dpi);
        font.SetHeight(-std::min(textPixels, kTextModules * modul));
        bc.SetShowTextFont(font);
        bc.SetShowText(object.showText ? bcoCode : bcoNone);
    };
    // The bars and quiet zones of one module give the widest module to try; the widest whole module
    // that keeps the symbol, its digits and quiet zones inside the box is drawn.
    TLabelBox box = LinearLabelBox(bc, dpi);
    int modul = std::max(1, width / std::max(1, box.whole.Width()));
    for (;; --modul) {
        bc.SetModul(modul);
        setText(modul);
        box = LinearLabelBox(bc, dpi);
        if (box.whole.Width() <= width || modul == 1) break;
    }
    // The digits take their share of the height; the bars the rest.
    if (box.whole.Height() > height) {
        bc.SetHeight(std::max(1, height - (box.whole.Height() - height)));
        box = LinearLabelBox(bc, dpi);
    }
    bc.SetLeft((width - box.whole.Width()) / 2 - box.whole.left);
    bc.SetTop((height - box.whole.Height()) / 2 - box.whole.top);
    bc.Draw(canvas);
}

void DrawSymbol(TCanvas& canvas, const TDesignObject& object, TSymbology symbology, const std::string& code,
                int width, int height) {
    TSymbolSettings settings;
    settings.symbology = symbology;
    settings.showText = object.showText;
    const TSymbolGeometry geometry = EncodeSymbol(settings, code);
    TSymbolPlacement placement;
    const double fits = std::min(width / geometry.width, height / geometry.height);
    // Whole dots a module where at least one fits: every module then prints alike.
    placement.dotsPerModule = fits >= 1 ? std::floor(fits) : fits;
    placement.fontName = object.font;
    placement.origin = {Rnd((width - geometry.width * placement.dotsPerModule) / 2),
                        Rnd((height - geometry.height * placement.dotsPerModule) / 2)};
    PaintSymbolShapes(canvas, geometry, placement);
}

} // namespace

void DrawDesignBarcode(TCanvas& canvas, const TDesignObject& object, const std::string& code, int width,
                       int height) {
    const std::optional<TDesignSymbology> symbology = DesignSymbologyByName(object.symbology);
    if (!symbology) throw EDesignError("unknown symbology \"" + object.symbology + "\"");
    if (const auto* type = std::get_if<TBarcodeType>(&*symbology))
        return DrawLinear(canvas, object, *type, code, width, height);
    if (const auto* symbol = std::get_if<TSymbology>(&*symbology))
        return DrawSymbol(canvas, object, *symbol, code, width, height);
    throw EDesignError("PDF417 and MaxiCode cannot be drawn in a label design yet");
}

} // namespace qbm
