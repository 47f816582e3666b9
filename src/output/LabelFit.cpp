#include "output/LabelFit.h"

#include "barcode/BarcodeRender.h"
#include "barcode/QuietZones.h"
#include "barcode/TBarcode.h"
#include "surface/GuiApplication.h"
#include "templates/LabelLimits.h"
#include "util/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qbm {
namespace {

double DotsToMm(double dots, int dpi) {
    return dpi > 0 ? dots * 25.4 / dpi : 0;
}

std::string Mm(double mm) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", mm);
    return buffer;
}

// Puts the settings back whatever the measuring does.
struct TSizeRestorer {
    TBarcode& barcode;
    int modul, height;
    ~TSizeRestorer() {
        barcode.SetModul(modul);
        barcode.SetHeight(height);
    }
};

bool FitsCell(TBarcode& barcode, const TPage& page, const TCellGrid& grid) {
    const TRect box = LinearLabelBox(barcode, page.resY).whole;
    return box.Width() <= grid.pitchX && box.Height() <= grid.pitchY;
}

} // namespace

TLabelBox LinearLabelBox(TBarcode& barcode, int dpi) {
    RefuseCodeWiderThanAnyLabel(barcode.Text().size());
    EnsureGuiApplication();
    return LinearLabelBoxOf(barcode, LayOutAtOrigin(barcode, dpi));
}

TLabelBox LinearLabelBoxOf(const TBarcode& barcode, const TPlacedBarcode& placed) {
    const TQuietZone zone = barcode.QuietZone();
    const TRect bars{0, 0, barcode.PatternWidth(placed.pattern), barcode.Height()};
    const TRect ink = placed.empty ? bars : placed.ink;
    const TRect zones{-zone.left * barcode.Modul(), 0, bars.right + zone.right * barcode.Modul(),
                      bars.bottom};
    return {ink,
            {std::min(ink.left, zones.left), std::min(ink.top, zones.top), std::max(ink.right, zones.right),
             std::max(ink.bottom, zones.bottom)}};
}

TPoint LabelOffsetInCell(const TLabelBox& box, const TCellGrid& grid) {
    const auto place = [](double pitch, int inkFrom, int inkTo, int wholeFrom, int wholeTo) {
        const int centred = Rnd((pitch - (inkTo - inkFrom)) / 2.0) - inkFrom;
        const int least = -wholeFrom, most = static_cast<int>(std::floor(pitch)) - wholeTo;
        return least <= most ? std::clamp(centred, least, most) : centred;
    };
    return {place(grid.pitchX, box.ink.left, box.ink.right, box.whole.left, box.whole.right),
            place(grid.pitchY, box.ink.top, box.ink.bottom, box.whole.top, box.whole.bottom)};
}

TLabelFit CheckLabelFit(int labelWidth, int labelHeight, const TPage& page, const TCellGrid& grid,
                        bool linear) {
    TLabelFit fit;
    fit.labelWidthMm = DotsToMm(labelWidth, page.resX);
    fit.labelHeightMm = DotsToMm(labelHeight, page.resY);
    fit.cellWidthMm = DotsToMm(grid.pitchX, page.resX);
    fit.cellHeightMm = DotsToMm(grid.pitchY, page.resY);
    fit.tooWide = labelWidth > grid.pitchX;
    fit.tooHigh = labelHeight > grid.pitchY;
    fit.fits = !fit.tooWide && !fit.tooHigh;
    if (fit.fits) return fit;
    fit.message = "The labels are " + Mm(fit.labelWidthMm) + " x " + Mm(fit.labelHeightMm) +
                  " mm with their quiet zones; the cells are " + Mm(fit.cellWidthMm) + " x " +
                  Mm(fit.cellHeightMm) + " mm.";
    if (fit.tooHigh) {
        const int lower = static_cast<int>(std::ceil(fit.labelHeightMm - fit.cellHeightMm - 1e-9));
        fit.message += linear ? " Lower the bar height by " + std::to_string(std::max(1, lower)) +
                                    " mm or print fewer rows."
                              : " Choose a smaller module size or print fewer rows.";
    }
    if (fit.tooWide)
        fit.message += linear ? " Choose a narrower module width or print fewer columns."
                              : " Choose a smaller module size or print fewer columns.";
    return fit;
}

std::optional<TFittedLinearSize> FitLinearLabel(TBarcode& barcode, const TPage& page, const TCellGrid& grid) {
    const TSizeRestorer restore{barcode, barcode.Modul(), barcode.Height()};
    // The widest module whose label is not wider than the cell, with the bar at its least.
    const int leastHeight = std::max(1, MmToDots(1, page.resX));
    int modul = std::max(1, barcode.Modul());
    for (;; --modul) {
        if (modul < 1) return std::nullopt;
        barcode.SetModul(modul);
        barcode.SetHeight(leastHeight);
        if (LinearLabelBox(barcode, page.resY).whole.Width() <= grid.pitchX) break;
    }
    // The bar height counts in whole millimetres, as the template stores it; the text and caption
    // around the bars keep their size.
    const int ownMm = std::max(1, static_cast<int>(std::lround(DotsToMm(restore.height, page.resX))));
    const int around = LinearLabelBox(barcode, page.resY).whole.Height() - leastHeight;
    int heightMm =
        std::min(ownMm, static_cast<int>(std::floor(DotsToMm(grid.pitchY - around, page.resX) + 1e-9)));
    for (; heightMm >= 1; --heightMm) {
        barcode.SetHeight(MmToDots(heightMm, page.resX));
        if (FitsCell(barcode, page, grid))
            return TFittedLinearSize{modul, heightMm, MmToDots(heightMm, page.resX)};
    }
    return std::nullopt;
}

} // namespace qbm
