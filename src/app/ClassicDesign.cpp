#include "app/ClassicDesign.h"

#include "app/ProjectPrinting.h"
#include "app/TLabelSetup.h"
#include "output/LabelFit.h"
#include "project/TLabelProject.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <algorithm>
#include <array>

namespace qbm {

namespace {

// The classic label's barcode without the document's own: the box measure lays the symbol out, which
// the document's barcode must not see.
void CopyBarcode(const TBarcode& from, TBarcode& to) {
    to.Assign(from);
    to.SetShowTextFont(from.ShowTextFont());
    to.SetExtCapFont(from.ExtCapFont());
    to.SetShowTextPosition(from.ShowTextPosition());
    to.ExtCaption = from.ExtCaption;
    to.ExtCaptionPosition = from.ExtCaptionPosition;
    to.SetLeft(0);
    to.SetTop(0);
    to.SetAngle(0);
}

struct TDotsToMm {
    int dpiX;
    int dpiY;
    double X(double dots) const { return dots * 25.4 / dpiX; }
    double Y(double dots) const { return dots * 25.4 / dpiY; }
};

TLabelDesign LinearDesign(const TLabelSetup& setup, const TPage& page, const TCellGrid& grid) {
    TBarcode barcode;
    CopyBarcode(setup.bcdMain, barcode);
    const TDotsToMm mm{page.resX, page.resY};
    TLabelBox box;
    int barsWidth = 0;
    try {
        box = LinearLabelBox(barcode, page.resX);
        barsWidth = barcode.Width();
    } catch (const std::exception&) {
        // The code the label shows cannot be drawn: the design still gets its barcode, as large as a
        // classic label of a short code, for the user to size.
        barsWidth = std::min(static_cast<int>(grid.pitchX), MmToDots(40, page.resX));
        box.ink = {0, 0, barsWidth, barcode.Height()};
        box.whole = box.ink;
    }
    const TPoint at = LabelOffsetInCell(box, grid);
    // The bars and the digits under them are the barcode object; what the classic label draws above
    // the bars (the caption) becomes its own object.
    // The design's barcode fits its symbol and quiet zones into its box, with the widest whole module
    // that fits: the box is the classic label's with its quiet zones, and half a dot more each side,
    // so that rounding millimetres to dots never costs the symbol its module.
    const int left = std::min({0, box.ink.left, box.whole.left}) - 1;
    const int right = std::max({barsWidth, box.ink.right, box.whole.right}) + 1;
    const int bottom = std::max(barcode.Height(), box.ink.bottom);

    TLabelDesign design;
    TDesignObject code;
    code.kind = TDesignKind::Barcode;
    code.value = "{Code}";
    code.symbology = BarcodeTypeValueName(barcode.Typ());
    code.showText =
        barcode.ShowText() != bcoNone || barcode.Typ() == bcCodeEAN13 || barcode.Typ() == bcCodeUPC_A;
    code.xMm = mm.X(at.x + left);
    code.yMm = mm.Y(at.y);
    code.widthMm = mm.X(right - left);
    code.heightMm = mm.Y(bottom);
    design.objects.push_back(code);

    if (!Trim(barcode.ExtCaption).empty()) {
        const TFont& font = barcode.ExtCapFont();
        TDesignObject caption;
        caption.kind = TDesignKind::Text;
        caption.value = "{Caption}";
        caption.font = font.Name();
        caption.sizePt = font.Size() > 0 ? font.Size() : 10;
        caption.bold = (font.Style() & fsBold) != 0;
        caption.italic = (font.Style() & fsItalic) != 0;
        caption.color = font.Color();
        static constexpr std::array<TDesignAlign, 3> kAligns{TDesignAlign::Left, TDesignAlign::Right,
                                                             TDesignAlign::Center};
        caption.align = kAligns[std::min<size_t>(barcode.ExtCaptionPosition, 2)];
        // The caption stands on the bars: from the top of what the label draws down to them, at least
        // a line of its font high.
        const double lineMm = caption.sizePt * 25.4 / 72 * 1.2;
        const double top = std::min(mm.Y(at.y + box.ink.top), code.yMm - lineMm);
        // Aligned over the bars, as the classic label aligns it (the digits beside EAN and UPC bars
        // do not count).
        caption.xMm = mm.X(at.x);
        caption.yMm = top;
        caption.widthMm = mm.X(barsWidth);
        caption.heightMm = code.yMm - top;
        design.objects.push_back(caption);
    }
    return design;
}

TLabelDesign Design2D(const TLabelProject& project, const TLabelSetup& setup, const TPage& page,
                      const TCellGrid& grid) {
    const TDotsToMm mm{page.resX, page.resY};
    const int w = setup.label.Bitmap.Width(), h = setup.label.Bitmap.Height();
    TDesignObject code;
    code.kind = TDesignKind::Barcode;
    code.value = "{Code}";
    code.symbology = Format2DSymbologyName(project.Format2D());
    code.showText = false;
    code.widthMm = mm.X(w > 0 ? w : grid.pitchX / 2);
    code.heightMm = mm.Y(h > 0 ? h : grid.pitchY / 2);
    // The 2D label sits in the middle of its cell.
    code.xMm = (mm.X(grid.pitchX) - code.widthMm) / 2;
    code.yMm = (mm.Y(grid.pitchY) - code.heightMm) / 2;
    return TLabelDesign{{code}};
}

} // namespace

const char* Format2DSymbologyName(int format2D) {
    static constexpr std::array<const char*, 6> kNames{"pdf417",     "maxicode", "qrcode",
                                                       "datamatrix", "aztec",    "microqr"};
    return kNames[static_cast<size_t>(std::clamp(format2D, 0, 5))];
}

TLabelDesign ClassicLabelDesign(const TLabelProject& project, const TLabelSetup& setup, const TPage& page) {
    const TCellGrid grid = PrinterCellGrid(page, LayoutOf(project));
    return project.Kind() == TBarcodeKind::bkLinear ? LinearDesign(setup, page, grid)
                                                    : Design2D(project, setup, page, grid);
}

} // namespace qbm
