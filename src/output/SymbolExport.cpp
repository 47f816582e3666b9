#include "output/SymbolExport.h"

#include "surface/SymbolCanvasPainter.h"
#include "surface/SymbolRasterPainter.h"
#include "surface/TBitmap.h"
#include "surface/TVectorFile.h"
#include "util/Text.h"

namespace qbm {
namespace {

bool EndsWith(const std::string& path, const std::string& suffix) {
    return path.size() >= suffix.size() && LowerCase(path.substr(path.size() - suffix.size())) == suffix;
}

} // namespace

bool IsSymbolExportPath(const std::string& path) {
    for (const char* ext : {".png", ".bmp", ".jpg", ".jpeg", ".svg", ".pdf"})
        if (EndsWith(path, ext)) return true;
    return false;
}

void ExportSymbol(const TSymbolGeometry& geometry, const std::string& path, int dotsPerModule, int dpi) {
    const bool svg = EndsWith(path, ".svg");
    if (svg || EndsWith(path, ".pdf")) {
        TSymbolPlacement placement;
        placement.dotsPerModule = dotsPerModule;
        const TRect bounds = placement.Bounds(geometry);
        SaveVectorPicture(path, svg ? TVectorFormat::vfSvg : TVectorFormat::vfPdf, bounds.Width(),
                          bounds.Height(), dpi,
                          [&](TCanvas& canvas) { PaintSymbolShapes(canvas, geometry, placement); });
        return;
    }
    TBitmap picture = SymbolPicture(geometry, dotsPerModule);
    picture.SetResolution(dpi);
    picture.SaveToFile(path);
}

} // namespace qbm
