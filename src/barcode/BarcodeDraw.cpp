#include "barcode/Code128Encoder.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/LinearSymbolGeometry.h"
#include "barcode/TBarcode.h"
#include "surface/LinearLayoutPainter.h"
#include "surface/TCanvas.h"
#include "surface/TCanvasStateGuard.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace qbm {
namespace {

// The symbol's own frame (x along the bar sequence, y down the bars) turned by the barcode's angle
// and placed so that the turned bar area keeps its bounding box at (Left, Top).
class TTurnedFrame {
public:
    TTurnedFrame(double angleDegrees, int left, int top, int width, int height) {
        const double a = angleDegrees * std::numbers::pi / 180.0;
        m_s = std::sin(a);
        m_c = std::cos(a);
        int dx, dy;
        if (m_s >= 0 && m_c >= 0) {
            dx = 0;
            dy = Rnd(m_s * width);
        } else if (m_s >= 0) {
            dx = -Rnd(m_c * width);
            dy = Rnd(m_s * width - m_c * height);
        } else if (m_c >= 0) {
            dx = -Rnd(m_s * height);
            dy = 0;
        } else {
            dx = -Rnd(m_c * width) - Rnd(m_s * height);
            dy = -Rnd(m_c * height);
        }
        m_origin = {left + dx, top + dy};
    }

    TPoint Origin() const { return m_origin; }

    // Canvas point of (u, v) in the symbol's frame.
    TPoint At(int u, int v) const {
        return {m_origin.x + Rnd(m_c * u + m_s * v), m_origin.y + Rnd(-m_s * u + m_c * v)};
    }

private:
    double m_s = 0;
    double m_c = 1;
    TPoint m_origin;
};

bool InRange(int i, int from, int to) {
    return i >= from && i <= to;
}

// The digits of EAN-13 and UPC-A between the guards end above the text line so that the digits sit
// inside the symbol, as retail symbols print them.
bool IsShortenedElement(TBarcodeType typ, int i) {
    if (typ == bcCodeEAN13) return InRange(i, 5, 28) || InRange(i, 33, 56);
    if (typ == bcCodeUPC_A) return InRange(i, 9, 28) || InRange(i, 33, 52);
    return false;
}

// Index into GroupMarks recorded at an element, or -1.
int GroupMarkAt(TBarcodeType typ, int i) {
    const int ean[4] = {5, 28, 33, 56};
    const int upc[4] = {9, 28, 33, 52};
    const int* marks = typ == bcCodeEAN13 ? ean : typ == bcCodeUPC_A ? upc : nullptr;
    if (!marks) return -1;
    for (int k = 0; k < 4; ++k)
        if (marks[k] == i) return k;
    return -1;
}

// Characters [from, from + count) of a text, empty where the text is shorter.
std::string Part(const std::string& s, size_t from, size_t count) {
    return from < s.size() ? s.substr(from, count) : std::string();
}

} // namespace

void TBarcode::Draw(TCanvas& canvas) {
    const std::string pattern = BuildPattern();
    // One layout per thread, its buffers kept from symbol to symbol.
    thread_local TLinearLayout layout;
    const TCanvasStateGuard guard(canvas);
    LayOut(pattern, canvas, layout);
    GroupMarks = layout.groupMarks;
    PaintLinearBars(canvas, layout);
    PaintLinearTexts(canvas, layout);
}

void TBarcode::LayOut(const std::string& pattern, TCanvas& measure, TLinearLayout& out) const {
    const TCanvasStateGuard guard(measure);
    out.Clear();
    if (DrawsGeometry())
        LayOutSymbolBars(out);
    else
        LayOutBars(pattern, measure, out);
    // The extended caption belongs to the text step: without text there is no caption either.
    if (m_showText != bcoNone) LayOutTexts(measure, PatternWidth(pattern), out.groupMarks, out);
}

void TBarcode::PaintBars(const std::string& pattern, TCanvas& canvas) {
    TLinearLayout layout;
    LayOutBars(pattern, canvas, layout);
    GroupMarks = layout.groupMarks;
    PaintLinearBars(canvas, layout);
}

void TBarcode::PaintText(TCanvas& canvas, int width) {
    TLinearLayout layout;
    LayOutTexts(canvas, width, GroupMarks, layout);
    PaintLinearTexts(canvas, layout);
}

void TBarcode::LayOutBars(const std::string& pattern, TCanvas& measure, TLinearLayout& out) const {
    // Upright, the frame starts at (Left, Top) whatever the symbol's width, so the pattern is only
    // measured for turned symbols.
    const bool upright = m_angle == 0;
    const TTurnedFrame frame(m_angle, m_left, m_top, upright ? 0 : PatternWidth(pattern), m_height);
    out.upright = upright;
    out.barFont = m_showTextFont;
    measure.SetFont(m_showTextFont);
    const bool retail = m_typ == bcCodeEAN13 || m_typ == bcCodeUPC_A;
    const int shortenBy = retail ? Rnd(0.6 * measure.TextHeight("A")) : 0;
    const int shortBar = m_height * 2 / 5;
    const TPoint o = frame.Origin();
    int x = 0;
    for (size_t k = 0; k < pattern.size(); ++k) {
        const int i = static_cast<int>(k) + 1;
        const TElement el = ElementWidth(pattern[k]);
        const int w = el.width;
        if (retail) {
            // A group opens at its first element's left edge and closes at its last element's
            // right-most pixel.
            const int mark = GroupMarkAt(m_typ, i);
            if (mark >= 0) out.groupMarks[mark] = mark % 2 == 0 ? x : x + w - 1;
        }
        // Gaps are left as they are, so the symbol can be drawn over any background.
        if (el.kind != 0 && w > 0) {
            int end = el.kind == 2 ? shortBar : m_height;
            if (retail && IsShortenedElement(m_typ, i)) end -= shortenBy;
            if (upright) // the turn's rounding is the identity: integers suffice, once per bar
                out.bars.push_back({TPoint{o.x + x, o.y}, TPoint{o.x + x, o.y + end},
                                    TPoint{o.x + x + w - 1, o.y + end}, TPoint{o.x + x + w - 1, o.y}});
            else
                out.bars.push_back(
                    {frame.At(x, 0), frame.At(x, end), frame.At(x + w - 1, end), frame.At(x + w - 1, 0)});
        }
        x += w;
    }
}

void TBarcode::LayOutSymbolBars(TLinearLayout& out) const {
    // The symbol's modules are Modul dots wide; its bars, in rows or not all on one baseline, are
    // stretched together to the barcode's height, so that the tallest covers the rows a bar of the
    // pattern types covers (Top to Top + Height, both included). Every edge is rounded on its own:
    // neighbouring elements share their edges and no gap opens between rows.
    const TSymbolExtent extent = SymbolExtent(m_geometry);
    const bool upright = m_angle == 0;
    const TTurnedFrame frame(m_angle, m_left, m_top, upright ? 0 : PatternWidth({}), m_height);
    out.upright = upright;
    out.barFont = m_showTextFont;
    if (extent.height <= 0) return;
    const double sx = m_modul;
    const double sy = (m_height + 1) / extent.height;
    const TPoint o = frame.Origin();
    out.bars.reserve(m_geometry.rects.size());
    for (const TModuleRect& r : m_geometry.rects) {
        const int x0 = Rnd((r.x - extent.left) * sx);
        const int x1 = std::max(x0, Rnd((r.x - extent.left + r.width) * sx) - 1);
        const int y0 = Rnd((r.y - extent.top) * sy);
        const int y1 = std::max(y0, Rnd((r.y - extent.top + r.height) * sy) - 1);
        if (upright)
            out.bars.push_back({TPoint{o.x + x0, o.y + y0}, TPoint{o.x + x0, o.y + y1},
                                TPoint{o.x + x1, o.y + y1}, TPoint{o.x + x1, o.y + y0}});
        else
            out.bars.push_back({frame.At(x0, y0), frame.At(x0, y1), frame.At(x1, y1), frame.At(x1, y0)});
    }
}

void TBarcode::LayOutTexts(TCanvas& canvas, int width, const std::array<int, 4>& marks,
                           TLinearLayout& out) const {

    std::string shown;
    switch (m_typ) {
    case bcCodeEAN8:
    case bcCodeEAN13:
    case bcCodeUPC_A:
        shown = FixedLengthDigits(m_text,
                                  m_typ == bcCodeEAN8    ? 8
                                  : m_typ == bcCodeEAN13 ? 13
                                                         : 12,
                                  m_checksum, m_checkSumMethod);
        break;
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
        shown = UpcEText(EncoderInput());
        break;
    case bcCode128C:
        shown = m_text.size() % 2 != 0 ? "0" + m_text : m_text;
        break;
    case bcCode128Auto:
        shown = ParseEscapes(m_text, false);
        break;
    case bcCodeEAN128C:
        shown = m_text;
        if (m_text.size() > 2) {
            const std::string ai = m_text.substr(0, 2);
            if (ai == "00" || ai == "01" || ai == "02") shown = ai + ApplyChecksum(m_text.substr(2, 100));
            if (shown.size() % 2 != 0) shown += '0';
        }
        break;
    case bcCodeDataBar:
    case bcCodeDataBarStacked:
    case bcCodeDataBarLimited:
    case bcCodeDataBarExpanded:
    case bcCodeIMb:
        // The symbology's own interpretation: "(01)" and the GTIN with its check digit.
        shown = GeometryText(m_typ, m_geometry, m_text);
        break;
    default:
        shown = m_text;
        break;
    }
    // Control characters and the NUL marker have no glyph of their own.
    for (char& ch : shown)
        if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) == 128) ch = ' ';
    // The code is Latin-1, as the symbologies encode it; the canvas takes UTF-8. The caption is UTF-8
    // already: it is for people, in any script.
    shown = Latin1ToUtf8(shown);

    canvas.SetFont(m_showTextFont.Turned(Rnd(m_angle * 10)));
    const TFont codeFont = canvas.Font();
    const TColor pen = codeFont.Color();

    int textX = 0;
    switch (m_showTextPosition) {
    case stpTopRight:
    case stpBottomRight:
        textX = width - canvas.TextWidth(shown);
        break;
    case stpTopCenter:
    case stpBottomCenter:
        textX = (width - canvas.TextWidth(shown)) / 2;
        break;
    default:
        break;
    }

    const bool hasCaption = !Trim(ExtCaption).empty();
    int captionX = 0;
    if (hasCaption) {
        const TFont textFont = canvas.Font();
        canvas.SetFont(m_extCapFont);
        const int cw = canvas.TextWidth(ExtCaption);
        canvas.SetFont(textFont);
        switch (ExtCaptionPosition) {
        case 0:
            captionX = m_left;
            break;
        case 1:
            captionX = m_left + width - cw;
            break;
        case 2:
            captionX = m_left + (width - cw) / 2;
            break;
        default:
            break;
        }
    }

    const int fh = canvas.Font().Height();
    const TTurnedFrame frame(m_angle, m_left, m_top, width, m_height);
    if (m_typ == bcCodeEAN13 || m_typ == bcCodeUPC_A) {
        const bool ean = m_typ == bcCodeEAN13;
        const size_t groupDigits = ean ? 6 : 5;
        const int wA = canvas.TextWidth("A");
        const int y = m_height - Rnd(canvas.TextHeight("A") / 2.0);
        const int wGroup = canvas.TextWidth(ean ? "123456" : "12345");
        const auto put = [&](int u, const std::string& s) {
            if (s.empty()) return;
            out.texts.push_back({codeFont, pen, frame.At(u, y), s});
        };
        const auto groupX = [&](int start, int end) {
            return std::max(start, start + Rnd((end - start - wGroup) / 2.0));
        };
        put(-wA - 2, Part(shown, 0, 1));
        put(groupX(marks[0], marks[1]), Part(shown, 1, groupDigits));
        put(groupX(marks[2], marks[3]), Part(shown, 1 + groupDigits, groupDigits));
        if (!ean) put(width + 2, Part(shown, 11, 1));
    } else {
        if (m_showText == bcoCode || m_showText == bcoBoth) {
            out.texts.push_back({codeFont, pen, frame.At(textX, m_height + Rnd(std::abs(fh / 5.0))), shown});
        }
        // The type name is not turned with the symbol: it stays at the box's top-left corner,
        // above the symbol for the usual negative font heights.
        if (m_showText == bcoTyp || m_showText == bcoBoth)
            out.texts.push_back({codeFont, pen, {m_left, m_top + Rnd(2.5 * fh)}, TypeName()});
    }

    if (hasCaption)
        out.texts.push_back(
            {m_extCapFont, pen, {captionX, m_top + Rnd(1.5 * m_extCapFont.Height())}, ExtCaption});
}

} // namespace qbm
