#include "surface/TPdfCanvas.h"

#include "surface/CanvasShapes.h"
#include "surface/CanvasText.h"
#include "surface/PdfPaths.h"
#include "surface/PictureRectangles.h"
#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"
#include "surface/TPdfFile.h"
#include "surface/TPdfType3Font.h"

#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

namespace qbm {

namespace {

void AppendColour(std::string& out, TColor c) {
    for (const int v : {RedOf(c), GreenOf(c), BlueOf(c)}) {
        AppendNumber(out, v / 255.0);
        out += ' ';
    }
}

void AppendInts(std::string& out, std::initializer_list<long long> values) {
    for (const long long v : values) {
        AppendInt(out, v);
        out += ' ';
    }
}

void AppendMatrix(std::string& out, const QTransform& t) {
    for (const double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}) {
        AppendNumber(out, v);
        out += ' ';
    }
}

// A literal string: the three characters the syntax uses are escaped, the rest are the bytes.
void AppendLiteral(std::string& out, std::string_view text) {
    out += '(';
    for (const char c : text) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    out += ')';
}

// UTF-16BE with its byte-order mark, in hexadecimal: a text string of any script.
void AppendUnicodeHex(std::string& out, const QString& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "<FEFF";
    for (const QChar ch : text)
        for (const int shift : {12, 8, 4, 0}) out += kHex[(ch.unicode() >> shift) & 0xF];
    out += '>';
}

// Most numbers of a symbol's rectangles on its module grid have one or two digits.
char* PutInt(char* p, int v) {
    if (static_cast<unsigned>(v) < 10) {
        *p = static_cast<char>('0' + v);
        return p + 1;
    }
    if (static_cast<unsigned>(v) < 100) {
        p[0] = static_cast<char>('0' + v / 10);
        p[1] = static_cast<char>('0' + v % 10);
        return p + 2;
    }
    return std::to_chars(p, p + 11, v).ptr;
}

bool IsRightAngle(int tenths) {
    return tenths == 0 || tenths == 900 || tenths == 1800 || tenths == 2700;
}

} // namespace

TPdfCanvas::TPdfCanvas(TPdfFile& file, int dpi, std::string pagePrologue)
    : m_file(file), m_dpi(dpi), m_prologue(std::move(pagePrologue)), m_content(m_prologue) {}

TPdfCanvas::~TPdfCanvas() = default;

std::string_view TPdfCanvas::PageContent() {
    EndBatch();
    return m_content;
}

void TPdfCanvas::ClearPage() {
    EndBatch();
    m_state = TState{};
    m_pagePictures.clear();
    m_content.assign(m_prologue); // keeps the buffer: every page of a run is about as long
}

std::string TPdfCanvas::PageResources() const {
    std::string dict = "<< /ProcSet [/PDF /Text /ImageB /ImageC] /Font <<";
    for (size_t i = 0; i < m_type3.size(); ++i)
        dict += " /F" + std::to_string(i) + ' ' + std::to_string(m_type3Ids[i]) + " 0 R";
    dict += " >> /XObject <<";
    for (const int id : m_pagePictures)
        dict += " /Im" + std::to_string(id) + ' ' + std::to_string(id) + " 0 R";
    dict += " >> >>";
    return dict;
}

void TPdfCanvas::WriteFonts() {
    for (size_t i = 0; i < m_type3.size(); ++i) m_type3[i]->Write(m_file, m_type3Ids[i]);
}

void TPdfCanvas::WriteBatchRects() {
    if (m_batchRects.empty()) return;
    int left = m_batchRects[0].left, top = m_batchRects[0].top;
    for (const TRect& r : m_batchRects) {
        left = std::min(left, r.left);
        top = std::min(top, r.top);
    }
    // The grid is the module: nearly every edge is a multiple of the one found so far, and a
    // remainder costs less than a gcd.
    const auto fold = [](int g, int v) { return g != 0 && v % g == 0 ? g : std::gcd(g, v); };
    int gx = 0, gy = 0;
    for (const TRect& r : m_batchRects) {
        gx = fold(fold(gx, r.left - left), r.Width());
        gy = fold(fold(gy, r.top - top), r.Height());
    }
    // A few rectangles are shorter on the page's own grid than with a grid of their own.
    constexpr size_t kGridFrom = 4;
    const bool grid = m_batchRects.size() >= kGridFrom;
    if (!grid) left = top = 0, gx = gy = 1;
    if (grid) {
        m_content += "q ";
        AppendInts(m_content, {gx, 0, 0, gy, left, top});
        m_content += "cm\n";
    }
    // A symbol has hundreds of rectangles: their lines are written straight into room made for the
    // longest ones, not appended number by number.
    constexpr size_t kLongestLine = 4 * 12 + 3;
    size_t at = m_content.size();
    m_content.resize(at + m_batchRects.size() * kLongestLine);
    char* p = m_content.data() + at;
    for (const TRect& r : m_batchRects) {
        for (const int v : {(r.left - left) / gx, (r.top - top) / gy, r.Width() / gx, r.Height() / gy}) {
            p = PutInt(p, v);
            *p++ = ' ';
        }
        std::memcpy(p, "re\n", 3);
        p += 3;
    }
    at = static_cast<size_t>(p - m_content.data());
    m_content.resize(at);
    m_content += grid ? "f Q\n" : "f\n";
    m_batchRects.clear();
}

void TPdfCanvas::EndBatch() {
    if (m_batch == TBatch::kRects)
        WriteBatchRects();
    else if (m_batch == TBatch::kShapes)
        m_content += "B\n";
    m_batch = TBatch::kNone;
}

void TPdfCanvas::SetFill(TColor c) {
    if (m_state.fill == c) return;
    m_state.fill = c;
    AppendColour(m_content, c);
    m_content += "rg\n";
}

void TPdfCanvas::SetStroke(TColor c) {
    if (m_state.stroke == c) return;
    m_state.stroke = c;
    AppendColour(m_content, c);
    m_content += "RG\n";
}

void TPdfCanvas::SetLineWidth(int width) {
    if (m_state.lineWidth == width) return;
    m_state.lineWidth = width;
    AppendInt(m_content, width);
    m_content += " w\n";
}

void TPdfCanvas::BeginRects(TColor color) {
    if (m_batch == TBatch::kRects && m_batchColor == color) return;
    EndBatch();
    SetFill(color);
    m_batch = TBatch::kRects;
    m_batchColor = color;
}

void TPdfCanvas::FillSolid(int left, int top, int right, int bottom, TColor color) {
    if (right <= left || bottom <= top) return;
    BeginRects(color);
    m_batchRects.push_back(TRect{left, top, right, bottom});
}

void TPdfCanvas::AppendPolygonPath(const std::vector<TPoint>& points) {
    AppendInts(m_content, {points[0].x, points[0].y});
    m_content += "m\n";
    for (size_t i = 1; i < points.size(); ++i) {
        AppendInts(m_content, {points[i].x, points[i].y});
        m_content += "l\n";
    }
    m_content += "h\n";
}

void TPdfCanvas::PaintPath() {
    const bool fill = Brush().style == TBrushStyle::bsSolid;
    const bool stroke = Pen().style == TPenStyle::psSolid;
    if (fill) SetFill(Brush().color);
    if (stroke) {
        SetStroke(Pen().color);
        SetLineWidth(std::max(1, Pen().width));
    }
    m_content += fill && stroke ? "B\n" : fill ? "f\n" : stroke ? "S\n" : "n\n";
}

void TPdfCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    const bool oneColour = Pen().style == TPenStyle::psSolid && Brush().style == TBrushStyle::bsSolid &&
                           Pen().color == Brush().color;
    // An axis-aligned rectangle is filled exactly, corners included, without relying on the outline.
    const std::optional<TRect> box = AxisAlignedBox(points);
    if (box && oneColour && Pen().width <= 1) {
        FillSolid(box->left, box->top, box->right, box->bottom, Brush().color);
        return;
    }
    const int penWidth = std::max(1, Pen().width);
    if (oneColour) {
        if (m_batch != TBatch::kShapes || m_batchColor != Pen().color || m_batchWidth != penWidth) {
            EndBatch();
            SetFill(Pen().color);
            SetStroke(Pen().color);
            SetLineWidth(penWidth);
            m_batch = TBatch::kShapes;
            m_batchColor = Pen().color;
            m_batchWidth = penWidth;
        }
        AppendPolygonPath(points);
        return;
    }
    EndBatch();
    AppendPolygonPath(points);
    PaintPath();
}

void TPdfCanvas::FillRect(const TRect& rect) {
    if (Brush().style == TBrushStyle::bsClear) return;
    FillSolid(rect.left, rect.top, rect.right, rect.bottom, Brush().color);
}

void TPdfCanvas::FillRects(std::span<const TRect> rects) {
    if (Brush().style == TBrushStyle::bsClear || rects.empty()) return;
    BeginRects(Brush().color);
    for (const TRect& r : rects)
        if (r.right > r.left && r.bottom > r.top) m_batchRects.push_back(r);
}

void TPdfCanvas::Rectangle(int left, int top, int right, int bottom) {
    const std::optional<TRect> box = BoxBetween(left, top, right, bottom);
    if (!box) return;
    if (Brush().style == TBrushStyle::bsSolid)
        FillSolid(box->left, box->top, box->right, box->bottom, Brush().color);
    if (Pen().style != TPenStyle::psSolid) return;
    for (const TRect& side : OutlineSides(*box, std::max(1, Pen().width)))
        FillSolid(side.left, side.top, side.right, side.bottom, Pen().color);
}

void TPdfCanvas::Ellipse(int left, int top, int right, int bottom) {
    EndBatch();
    // The box's last pixel row and column are the ellipse's outer edge, as on a bitmap.
    const double rx = std::max(0, right - left - 1) / 2.0, ry = std::max(0, bottom - top - 1) / 2.0;
    QPainterPath path;
    path.addEllipse(QPointF(left + rx, top + ry), rx, ry);
    AppendPath(m_content, path);
    m_content += "h\n";
    PaintPath();
}

void TPdfCanvas::LineTo(int x, int y) {
    const TPoint from = PenPos();
    MoveTo(x, y);
    if (Pen().style == TPenStyle::psClear || (from.x == x && from.y == y)) return;
    const int w = std::max(1, Pen().width);
    if (from.x == x || from.y == y) {
        // The end point is not part of the line; the square ends cover half the pen past each point.
        EndBatch();
        SetStroke(Pen().color);
        SetLineWidth(w);
        const int dx = (x > from.x) - (x < from.x), dy = (y > from.y) - (y < from.y);
        AppendInts(m_content, {from.x, from.y});
        m_content += "m ";
        AppendInts(m_content, {x - dx, y - dy});
        m_content += "l S\n";
        return;
    }
    // Bresenham, end point excluded: each pixel a square of the pen's width.
    EndBatch();
    SetFill(Pen().color);
    ForEachLinePixel(from, TPoint{x, y}, [&](int px, int py) {
        for (const double v : {px - w / 2.0, py - w / 2.0, double(w), double(w)}) {
            AppendNumber(m_content, v);
            m_content += ' ';
        }
        m_content += "re\n";
    });
    m_content += "f\n";
}

TPdfType3Font& TPdfCanvas::Type3Font(const std::shared_ptr<TGlyphTable>& table, int& index) {
    for (size_t i = 0; i < m_type3.size(); ++i)
        if (&m_type3[i]->Table() == table.get()) {
            index = static_cast<int>(i);
            return *m_type3[i];
        }
    m_type3.push_back(std::make_unique<TPdfType3Font>(table));
    m_type3Ids.push_back(m_file.Reserve());
    index = static_cast<int>(m_type3.size() - 1);
    return *m_type3.back();
}

bool TPdfCanvas::DrawGlyphText(const QTransform& place, const std::string& text) {
    TQtFontCache::TEntry& e = m_fonts.Select(Font());
    if ((Font().Style() & (fsUnderline | fsStrikeOut)) || !IsRightAngle(Font().Orientation())) return false;
    TGlyphTable& table = e.Widths();
    if (!table.Layout(text, m_layout) || m_layout.glyphs.size() != text.size()) return false;
    if (text.empty()) return true;
    int index = 0;
    TPdfType3Font& font = Type3Font(e.widths, index);
    font.Use(text);
    SetFill(Font().Color());
    // Text space: pixels from the pen's start on the baseline, y up as glyph outlines have it.
    QTransform m = QTransform::fromScale(1, -1) * QTransform::fromTranslate(0, e.ascent) * place;
    m_content += "BT /F";
    AppendInt(m_content, index);
    m_content += " 1 Tf ";
    AppendMatrix(m_content, m);
    m_content += "Tm [";
    // Kerned pairs move the next glyph by the difference to the unkerned advance, in thousandths.
    size_t start = 0;
    int pen64 = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const int at64 = static_cast<int>(std::lround(m_layout.positions[i].x() * 64));
        if (at64 != pen64) {
            AppendLiteral(m_content, std::string_view(text).substr(start, i - start));
            AppendNumber(m_content, (pen64 - at64) * 1000.0 / 64);
            start = i;
        }
        pen64 = at64 + table.Advance(static_cast<unsigned char>(text[i]));
    }
    AppendLiteral(m_content, std::string_view(text).substr(start));
    m_content += "] TJ ET\n";
    return true;
}

void TPdfCanvas::DrawText(const QTransform& place, const std::string& text) {
    EndBatch();
    TQtFontCache::TEntry& e = m_fonts.Select(Font());
    if (Brush().style == TBrushStyle::bsSolid) {
        const QPolygonF cell = place.map(QRectF(0, 0, TextWidth(text), e.height));
        SetFill(Brush().color);
        for (int i = 0; i < 4; ++i) {
            AppendNumber(m_content, cell[i].x());
            m_content += ' ';
            AppendNumber(m_content, cell[i].y());
            m_content += i == 0 ? " m\n" : " l\n";
        }
        m_content += "h f\n";
    }
    const auto codes = CanvasSingleBytes(text);
    if (codes && DrawGlyphText(place, *codes)) return;
    // Texts only the shaper can lay out (a character from another font or script, lines under or
    // through the text, a turn other than a right angle) go out as outlines.
    const QString shaped = CanvasQString(text);
    QPainterPath path;
    path.addText(0, e.ascent, e.qfont, shaped);
    if (path.isEmpty()) return;
    SetFill(Font().Color());
    AppendPath(m_content, path, place);
    m_content += "f\n";
    MarkActualText(place, shaped);
}

void TPdfCanvas::MarkActualText(const QTransform& place, const QString& text) {
    TQtFontCache::TEntry& e = m_fonts.Select(Font());
    TGlyphTable& table = e.Widths();
    // Any character of the font will do; it is never seen.
    char stand = 0;
    for (const char c : {'x', 'o', '0', '-'})
        if (table.Layout(std::string_view(&c, 1), m_layout) &&
            table.Advance(static_cast<unsigned char>(c)) > 0) {
            stand = c;
            break;
        }
    const double width = e.metrics.horizontalAdvance(text);
    if (!stand || width <= 0) return;
    int index = 0;
    Type3Font(e.widths, index).Use(std::string_view(&stand, 1));
    const double stretch = width * 64.0 / table.Advance(static_cast<unsigned char>(stand));
    const QTransform m = QTransform::fromScale(stretch, -1) * QTransform::fromTranslate(0, e.ascent) * place;
    m_content += "/Span << /ActualText ";
    AppendUnicodeHex(m_content, text);
    m_content += " >> BDC BT 3 Tr /F";
    AppendInt(m_content, index);
    m_content += " 1 Tf ";
    AppendMatrix(m_content, m);
    m_content += "Tm ";
    AppendLiteral(m_content, std::string_view(&stand, 1));
    m_content += " Tj 0 Tr ET EMC\n";
}

void TPdfCanvas::TextOut(int x, int y, const std::string& text) {
    QTransform place = QTransform::fromTranslate(x, y);
    if (Font().Orientation() != 0) place.rotate(-Font().Orientation() / 10.0);
    DrawText(place, text);
}

int TPdfCanvas::TextWidth(const std::string& text) {
    return m_fonts.TextWidth(Font(), text, false);
}

int TPdfCanvas::TextHeight(const std::string&) {
    return m_fonts.Select(Font()).height;
}

void TPdfCanvas::TextRectRight(const TRect& rect, const std::string& text) {
    EndBatch();
    if (Brush().style == TBrushStyle::bsSolid)
        FillSolid(rect.left, rect.top, rect.right, rect.bottom, Brush().color);
    EndBatch();
    const TState outside = m_state;
    m_content += "q ";
    AppendInts(m_content, {rect.left, rect.top, rect.Width(), rect.Height()});
    m_content += "re W n\n";
    // Right-aligned two pixels inside the right edge, centred in the height.
    const int height = m_fonts.Select(Font()).height;
    const TBrush brush = Brush();
    Brush().style = TBrushStyle::bsClear;
    DrawText(QTransform::fromTranslate(rect.right - 2 - TextWidth(text),
                                       rect.top + (rect.Height() - height) / 2.0),
             text);
    Brush() = brush;
    m_content += "Q\n";
    m_state = outside;
}

int TPdfCanvas::PictureObject(const QImage& img, const TRect& sourceRect) {
    constexpr size_t kRecent = 8;
    constexpr size_t kRecentBytes = 4 << 20; // a label picture at printer resolution fits well
    for (const TRecentPicture& r : m_recent)
        if (r.cacheKey == img.cacheKey() && r.rect == sourceRect) return r.id;
    const int w = sourceRect.Width(), h = sourceRect.Height();
    // Black and white pictures (every symbol) take a bit a pixel, grey ones a byte, others three.
    bool grey = true, blackAndWhite = true;
    for (int y = 0; y < h && grey; ++y) {
        const auto* line =
            reinterpret_cast<const QRgb*>(img.constScanLine(sourceRect.top + y)) + sourceRect.left;
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x] & 0xFFFFFF;
            grey = grey && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
            blackAndWhite = blackAndWhite && (p == 0 || p == 0xFFFFFF);
        }
    }
    const size_t rowBytes = blackAndWhite ? (w + 7) / 8 : static_cast<size_t>(w) * (grey ? 1 : 3);
    std::string samples(rowBytes * h, '\0');
    for (int y = 0; y < h; ++y) {
        const auto* line =
            reinterpret_cast<const QRgb*>(img.constScanLine(sourceRect.top + y)) + sourceRect.left;
        auto* out = reinterpret_cast<unsigned char*>(samples.data()) + rowBytes * y;
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            if (blackAndWhite) {
                if (p & 0xFFFFFF) out[x >> 3] |= static_cast<unsigned char>(0x80 >> (x & 7));
            } else if (grey) {
                out[x] = static_cast<unsigned char>(qBlue(p));
            } else {
                out[3 * x] = static_cast<unsigned char>(qRed(p));
                out[3 * x + 1] = static_cast<unsigned char>(qGreen(p));
                out[3 * x + 2] = static_cast<unsigned char>(qBlue(p));
            }
        }
    }
    const std::string dict = " /Type /XObject /Subtype /Image /Width " + std::to_string(w) + " /Height " +
                             std::to_string(h) + " /ColorSpace " + (grey ? "/DeviceGray" : "/DeviceRGB") +
                             " /BitsPerComponent " + (blackAndWhite ? "1" : "8");
    for (TRecentPicture& r : m_recent)
        if (r.dict == dict && r.samples == samples) {
            r.cacheKey = img.cacheKey();
            r.rect = sourceRect;
            return r.id;
        }
    const int id = m_file.Reserve();
    m_file.Stream(id, dict, samples);
    if (samples.size() > kRecentBytes) return id;
    TRecentPicture entry{std::move(samples), dict, id, img.cacheKey(), sourceRect};
    if (m_recent.size() < kRecent) {
        m_recent.push_back(std::move(entry));
    } else {
        m_recent[m_nextRecent] = std::move(entry);
        m_nextRecent = (m_nextRecent + 1) % kRecent;
    }
    return id;
}

void TPdfCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
    CopyRect(rect, bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()});
}

void TPdfCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    if (dest.Width() <= 0 || dest.Height() <= 0) return;
    QImage img = source.Internal().Image();
    const TRect inside{std::max(0, sourceRect.left), std::max(0, sourceRect.top),
                       std::min(img.width(), sourceRect.right), std::min(img.height(), sourceRect.bottom)};
    if (inside.Width() <= 0 || inside.Height() <= 0) return;
    if (img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32)
        img = img.convertToFormat(QImage::Format_RGB32);
    if (m_picturesAsRectangles &&
        CopyAsRectangles(img, dest, sourceRect,
                         [this](int l, int t, int r, int b, TColor c) { FillSolid(l, t, r, b, c); }))
        return;
    EndBatch();
    // The part of the source inside the picture keeps its share of the destination.
    const double sx = 1.0 * dest.Width() / sourceRect.Width(), sy = 1.0 * dest.Height() / sourceRect.Height();
    const double left = dest.left + (inside.left - sourceRect.left) * sx,
                 top = dest.top + (inside.top - sourceRect.top) * sy;
    const int id = PictureObject(img, inside);
    if (std::find(m_pagePictures.begin(), m_pagePictures.end(), id) == m_pagePictures.end())
        m_pagePictures.push_back(id);
    m_content += "q ";
    AppendMatrix(m_content, QTransform(inside.Width() * sx, 0, 0, -inside.Height() * sy, left,
                                       top + inside.Height() * sy));
    m_content += "cm /Im";
    AppendInt(m_content, id);
    m_content += " Do Q\n";
}

} // namespace qbm
