#include "output/DesignBarcodePainter.h"

#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "design/DesignSymbology.h"
#include "design/TLabelDesign.h"
#include "output/LabelFit.h"
#include "surface/SymbolCanvasPainter.h"
#include "surface/TCanvas.h"
#include "surface/TTurnedCanvas.h"
#include "symbols/ZintSymbolEncoder.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>

namespace qbm {

namespace {

// The digits under the bars keep to the width the bars give them: at most ten modules high, about
// what the EAN and UPC groups leave room for, so that no digit runs into its neighbour.
constexpr int kTextModules = 10;

void Configure(TBarcode& bc, const TDesignObject& object, int dpi, const TLinearSizing& sizing) {
    bc.SetModul(sizing.modul);
    bc.SetHeight(sizing.barHeight);
    TFont font = bc.ShowTextFont();
    font.SetName(object.font);
    font.SetPixelsPerInch(dpi);
    font.SetHeight(-sizing.textPixels);
    bc.SetShowTextFont(font);
    bc.SetShowText(object.showText ? bcoCode : bcoNone);
}

bool Fits(const TLabelBox& box, int width, int height) {
    return box.whole.Width() <= width && box.whole.Height() <= height;
}

// The widest whole module that keeps the symbol, its digits and quiet zones inside the box, and the
// bar height that leaves the digits their room.
TLinearSizing SizeLinear(TBarcode& bc, const TDesignObject& object, int dpi, int width, int height,
                         TBoundsCanvas& bounds) {
    const auto measure = [&] { return LinearLabelBoxOf(bc, LayOutAtOrigin(bc, dpi, bounds)); };
    const int textPixels = std::max(1, Rnd(object.sizePt * dpi / 72.0));
    TLinearSizing sizing{bc.Text().size(), 1, height, 1};
    bc.SetShowText(bcoNone);
    bc.SetModul(1);
    bc.SetHeight(height);
    // The bars and quiet zones of one module give the widest module to try.
    TLabelBox box = measure();
    for (sizing.modul = std::max(1, width / std::max(1, box.whole.Width()));; --sizing.modul) {
        sizing.textPixels = std::min(textPixels, kTextModules * sizing.modul);
        Configure(bc, object, dpi, sizing);
        box = measure();
        if (box.whole.Width() <= width || sizing.modul == 1) break;
    }
    if (box.whole.Height() > height) sizing.barHeight = std::max(1, height - (box.whole.Height() - height));
    return sizing;
}

void DrawLinear(TTurnedCanvas& canvas, const TDesignObject& object, TBarcodeType type,
                const std::string& code, int width, int height, TLinearSizing& sizing,
                TBoundsCanvas& bounds) {
    const int dpi = canvas.ResolutionY();
    TBarcode bc;
    bc.SetTyp(type);
    bc.SetText(code);
    TPlacedBarcode placed;
    TLabelBox box;
    if (sizing.modul > 0 && sizing.codeLength == code.size()) {
        Configure(bc, object, dpi, sizing);
        placed = LayOutAtOrigin(bc, dpi, bounds);
        box = LinearLabelBoxOf(bc, placed);
    }
    if (sizing.modul == 0 || sizing.codeLength != code.size() || !Fits(box, width, height)) {
        sizing = SizeLinear(bc, object, dpi, width, height, bounds);
        Configure(bc, object, dpi, sizing);
        placed = LayOutAtOrigin(bc, dpi, bounds);
        box = LinearLabelBoxOf(bc, placed);
    }
    canvas.Shift({(width - box.whole.Width()) / 2 - box.whole.left,
                  (height - box.whole.Height()) / 2 - box.whole.top});
    PaintLayout(canvas, placed.layout);
    canvas.Shift({});
}

void DrawSymbol(TTurnedCanvas& canvas, const TDesignObject& object, TSymbology symbology,
                const std::string& code, int width, int height) {
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

void DrawDesignBarcode(TTurnedCanvas& canvas, const TDesignObject& object, const std::string& code, int width,
                       int height, TLinearSizing& sizing, TBoundsCanvas& bounds) {
    const std::optional<TDesignSymbology> symbology = DesignSymbologyByName(object.symbology);
    if (!symbology) throw EDesignError("unknown symbology \"" + object.symbology + "\"");
    if (const auto* type = std::get_if<TBarcodeType>(&*symbology))
        return DrawLinear(canvas, object, *type, code, width, height, sizing, bounds);
    if (const auto* symbol = std::get_if<TSymbology>(&*symbology))
        return DrawSymbol(canvas, object, *symbol, code, width, height);
    throw EDesignError("PDF417 and MaxiCode cannot be drawn in a label design yet");
}

} // namespace qbm
