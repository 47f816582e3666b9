#include "surface/QtPainterCanvas.h"

#include "surface/CanvasShapes.h"
#include "surface/CanvasText.h"
#include "surface/GuiApplication.h"
#include "surface/PictureRectangles.h"
#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPolygon>

#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace qbm {

QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

TColor FromQRgb(QRgb rgb) {
    return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

namespace {

// Asking the font database is slow (it consults the font configuration every time), and a print
// run asks for the same few names on every label.
std::string ResolveFontFamilyUncached(const std::string& name) {
    const QString family = QString::fromLatin1(name.c_str());
    if (!name.empty() && QFontDatabase::hasFamily(family)) return name;
    static const struct {
        const char* stored;
        const char* substitute;
    } kSubstitutes[] = {
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Courier", "Liberation Mono"},
    };
    for (const auto& s : kSubstitutes)
        if (family.compare(QLatin1String(s.stored), Qt::CaseInsensitive) == 0 &&
            QFontDatabase::hasFamily(QLatin1String(s.substitute)))
            return s.substitute;
    // "MS Sans Serif", "Arial", "Tahoma" and other Windows sans faces: Arial's metrics.
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans"))) return "Liberation Sans";
    return "DejaVu Sans";
}

} // namespace

std::string ResolveFontFamily(const std::string& name) {
    EnsureGuiApplication();
    static std::mutex mutex;
    static std::map<std::string, std::string> resolved;
    {
        const std::lock_guard lock(mutex);
        const auto it = resolved.find(name);
        if (it != resolved.end()) return it->second;
    }
    std::string family = ResolveFontFamilyUncached(name);
    const std::lock_guard lock(mutex);
    if (resolved.size() > 256) resolved.clear(); // names come from files: keep the table small
    resolved.emplace(name, family);
    return family;
}

QFont ToQFont(const TFont& font) {
    EnsureGuiApplication();
    QFont f(QString::fromLatin1(ResolveFontFamily(font.Name()).c_str()));
    f.setStyleStrategy(QFont::PreferDefault);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (font.Height() < 0) {
        f.setPixelSize(-font.Height());
    } else if (font.Height() > 0) {
        // A positive height is the cell height: scale the character height to match it.
        f.setPixelSize(font.Height());
        const int cell = QFontMetrics(f).height();
        if (cell > 0)
            f.setPixelSize(
                std::max(1, static_cast<int>(std::lround(1.0 * font.Height() * font.Height() / cell))));
    } else {
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(8.0 * font.PixelsPerInch() / 72.0))));
    }
    f.setBold(font.Style() & fsBold);
    f.setItalic(font.Style() & fsItalic);
    f.setUnderline(font.Style() & fsUnderline);
    f.setStrikeOut(font.Style() & fsStrikeOut);
    return f;
}

QtPainterCanvas::QtPainterCanvas(QImage* image) : m_image(image) {
    if (image->dotsPerMeterX() > 0) {
        m_dpiX = static_cast<int>(std::lround(image->dotsPerMeterX() * 0.0254));
        m_dpiY = static_cast<int>(std::lround(image->dotsPerMeterY() * 0.0254));
    }
}

QtPainterCanvas::QtPainterCanvas(QPainter* painter, int dpiX, int dpiY)
    : m_external(painter), m_dpiX(dpiX), m_dpiY(dpiY) {
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Pictures on PDF pages (2D symbols) keep every module: never JPEG-compressed.
    painter->setRenderHint(QPainter::LosslessImageRendering, true);
}

QtPainterCanvas::~QtPainterCanvas() {
    try {
        Flush();
    } catch (...) { // a painter that fails now has failed its owner's end() as well
    }
    EndPainting();
}

void QtPainterCanvas::Flush() {
    if (!m_external) return;
    QPainter& p = *m_external;
    if (!m_pendingRects.empty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToQColor(m_pendingColor));
        p.drawRects(m_pendingRects.data(), static_cast<int>(m_pendingRects.size()));
        m_pendingRects.clear();
    }
    if (!m_pendingShapes.isEmpty()) {
        QPen pen(ToQColor(m_shapesColor));
        pen.setWidth(m_shapesPenWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
        p.setBrush(ToQColor(m_shapesColor));
        p.drawPath(m_pendingShapes);
        m_pendingShapes.clear();
        m_pendingShapes.setFillRule(Qt::WindingFill);
    }
}

bool QtPainterCanvas::HoldBackShape(const std::vector<TPoint>& points) {
    if (m_image || Pen().style != TPenStyle::psSolid || Brush().style != TBrushStyle::bsSolid ||
        Pen().color != Brush().color)
        return false;
    const int penWidth = std::max(1, Pen().width);
    if (!m_pendingRects.empty() ||
        (!m_pendingShapes.isEmpty() && (m_shapesColor != Pen().color || m_shapesPenWidth != penWidth)))
        Flush();
    m_shapesColor = Pen().color;
    m_shapesPenWidth = penWidth;
    m_pendingShapes.setFillRule(Qt::WindingFill);
    m_pendingShapes.moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) m_pendingShapes.lineTo(points[i].x, points[i].y);
    m_pendingShapes.closeSubpath();
    return true;
}

void QtPainterCanvas::EndPainting() {
    if (m_own) {
        m_own->end();
        m_own.reset();
    }
}

void QtPainterCanvas::SetResolution(int dpiX, int dpiY) {
    m_dpiX = dpiX;
    m_dpiY = dpiY;
}

QPainter& QtPainterCanvas::Painter() {
    if (m_external) {
        Flush(); // whatever comes next is drawn over the bars held back so far
        return *m_external;
    }
    if (!m_own) {
        m_own = std::make_unique<QPainter>(m_image);
        m_own->setRenderHint(QPainter::Antialiasing, false);
        m_own->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    return *m_own;
}

void QtPainterCanvas::ApplyPen(QPainter& p) const {
    if (Pen().style == TPenStyle::psClear) {
        p.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen().color));
    pen.setWidth(std::max(1, Pen().width));
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
}

void QtPainterCanvas::ApplyBrush(QPainter& p) const {
    if (Brush().style == TBrushStyle::bsClear)
        p.setBrush(Qt::NoBrush);
    else
        p.setBrush(ToQColor(Brush().color));
}

void QtPainterCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    // An axis-aligned rectangle is filled exactly, corners included, without relying on the outline.
    const std::optional<TRect> box = AxisAlignedBox(points);
    if (box && Pen().style == TPenStyle::psSolid && Pen().width <= 1 &&
        Brush().style == TBrushStyle::bsSolid && Pen().color == Brush().color) {
        FillSolid(box->left, box->top, box->right, box->bottom, Brush().color);
        return;
    }
    if (HoldBackShape(points)) return;
    QPainter& p = Painter();
    QPolygon poly;
    poly.reserve(static_cast<int>(points.size()));
    for (const TPoint& pt : points) poly << QPoint(pt.x, pt.y);
    ApplyBrush(p);
    ApplyPen(p);
    p.drawPolygon(poly, Qt::WindingFill);
}

void QtPainterCanvas::FillSolid(int left, int top, int right, int bottom, TColor color) {
    if (right <= left || bottom <= top) return;
    if (!m_image) {
        // Vector devices: held back and filled together with the rectangles of the same colour that
        // follow (pen-less, so the union is exactly the rectangles' pixels).
        if ((!m_pendingRects.empty() && color != m_pendingColor) || !m_pendingShapes.isEmpty()) Flush();
        m_pendingColor = color;
        m_pendingRects.emplace_back(left, top, right - left, bottom - top);
        return;
    }
    // Bitmaps: straight into the pixel rows, far cheaper than a painter call per bar.
    const TPixelRows& rows = *PixelRows();
    rows.Fill(left, top, right, bottom, rows.ValueOf(color));
}

QImage& QtPainterCanvas::RasterImage() {
    QImage& img = *m_image;
    const bool convert = img.format() != QImage::Format_RGB32 && img.format() != QImage::Format_ARGB32 &&
                         img.format() != QImage::Format_Grayscale8;
    // An open raster painter draws straight into the image's own bytes as each call is made, so bars
    // written directly and text drawn by the painter can take turns without closing it. Only a
    // conversion, or an image that shares its bytes and would be copied on writing, must close it.
    if (convert || !img.isDetached()) EndPainting();
    if (convert) img = img.convertToFormat(QImage::Format_RGB32);
    return img;
}

const TPixelRows* QtPainterCanvas::PixelRows() {
    if (!m_image) return nullptr;
    QImage& img = RasterImage();
    m_rows.bits = img.bits(); // detaches a shared image once, not once per row
    m_rows.stride = img.bytesPerLine();
    m_rows.width = img.width();
    m_rows.height = img.height();
    m_rows.depth = img.format() == QImage::Format_Grayscale8 ? 1 : 4;
    return &m_rows;
}

void QtPainterCanvas::FillRect(const TRect& rect) {
    if (Brush().style == TBrushStyle::bsClear) return;
    FillSolid(rect.left, rect.top, rect.right, rect.bottom, Brush().color);
}

void QtPainterCanvas::Rectangle(int left, int top, int right, int bottom) {
    const std::optional<TRect> box = BoxBetween(left, top, right, bottom);
    if (!box) return;
    QPainter& p = Painter();
    const auto fill = [&p](const TRect& r, TColor c) {
        p.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), ToQColor(c));
    };
    if (Brush().style == TBrushStyle::bsSolid) fill(*box, Brush().color);
    if (Pen().style == TPenStyle::psSolid)
        for (const TRect& side : OutlineSides(*box, std::max(1, Pen().width))) fill(side, Pen().color);
}

void QtPainterCanvas::Ellipse(int left, int top, int right, int bottom) {
    QPainter& p = Painter();
    ApplyPen(p);
    ApplyBrush(p);
    p.drawEllipse(QRect(left, top, std::max(0, right - left - 1), std::max(0, bottom - top - 1)));
}

void QtPainterCanvas::LineTo(int x, int y) {
    const TPoint from = PenPos();
    MoveTo(x, y);
    if (Pen().style == TPenStyle::psClear || (from.x == x && from.y == y)) return;
    QPainter& p = Painter();
    ApplyPen(p);
    if (from.x == x || from.y == y) {
        // The end point is not part of the line.
        const int dx = (x > from.x) - (x < from.x), dy = (y > from.y) - (y < from.y);
        p.drawLine(from.x, from.y, x - dx, y - dy);
        return;
    }
    // Bresenham, end point excluded.
    std::vector<QPoint> pts;
    ForEachLinePixel(from, TPoint{x, y}, [&](int px, int py) { pts.emplace_back(px, py); });
    p.drawPoints(pts.data(), static_cast<int>(pts.size()));
}

void QtPainterCanvas::FloodFill(int x, int y, TColor border) {
    if (!m_image || Brush().style == TBrushStyle::bsClear) return;
    QImage& img = RasterImage();
    const int w = img.width(), h = img.height();
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    const QRgb borderRgb = ToQColor(border).rgb() & 0xFFFFFF;
    const QRgb fill = ToQColor(Brush().color).rgb();
    uchar* const bits = img.bits();
    const qsizetype stride = img.bytesPerLine();
    auto row = [&](int py) { return reinterpret_cast<QRgb*>(bits + py * stride); };
    auto isBorder = [&](const QRgb* line, int px) { return (line[px] & 0xFFFFFF) == borderRgb; };
    if (isBorder(row(y), x)) return;
    // Filled pixels must not be entered twice. When the fill has the border's colour (the usual case:
    // a black outline filled black) a filled pixel is a border pixel, so no extra bookkeeping is needed.
    const bool fillIsBorder = (fill & 0xFFFFFF) == borderRgb;
    std::vector<uint8_t> seen;
    if (!fillIsBorder) seen.assign(static_cast<size_t>(w) * h, 0);
    auto open = [&](const QRgb* line, int px, int py) {
        return !isBorder(line, px) && (fillIsBorder || !seen[static_cast<size_t>(py) * w + px]);
    };
    // Scanline fill: each popped seed fills its whole run, then seeds the rows above and below.
    std::vector<std::pair<int, int>> stack{{x, y}};
    while (!stack.empty()) {
        const auto [sx, sy] = stack.back();
        stack.pop_back();
        QRgb* line = row(sy);
        if (!open(line, sx, sy)) continue;
        int left = sx, right = sx;
        while (left > 0 && open(line, left - 1, sy)) --left;
        while (right + 1 < w && open(line, right + 1, sy)) ++right;
        for (int px = left; px <= right; ++px) {
            line[px] = fill;
            if (!fillIsBorder) seen[static_cast<size_t>(sy) * w + px] = 1;
        }
        for (const int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= h) continue;
            const QRgb* next = row(ny);
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                const bool o = open(next, px, ny);
                if (o && !inRun) stack.emplace_back(px, ny);
                inRun = o;
            }
        }
    }
}

bool QtPainterCanvas::GlyphTextOut(QPainter& p, int x, int y, const std::string& text, int width) {
    const int turn = Font().Orientation();
    // Right angles map every pen position exactly; at other angles the shaper's own rounding of the
    // turned positions decides which pixel a glyph starts on. Lines under or through the text are
    // measured by the shaper as well.
    if (m_shapeAllText || (turn != 0 && turn != 900 && turn != 1800 && turn != 2700) ||
        (Font().Style() & (fsUnderline | fsStrikeOut)))
        return false;
    // A PDF page keeps glyphs as text a reader can find; other vector devices (SVG) write text only
    // when they are given its characters, and would be left with outlines.
    const QPaintEngine* engine = p.paintEngine();
    if (!engine || (engine->type() != QPaintEngine::Raster && engine->type() != QPaintEngine::Pdf))
        return false;
    TQtFontCache::TEntry& e = CurrentFont();
    if (!e.drawing) {
        p.setFont(e.qfont);
        const QFont deviceFont = p.font();
        e.drawing = TGlyphTable::Shared(deviceFont);
    }
    if (!e.drawing->Layout(text, m_layout)) return false;
    if (turn != 0) {
        p.save();
        p.translate(x, y);
        p.rotate(-turn / 10.0);
        x = 0;
        y = 0;
    }
    if (Brush().style == TBrushStyle::bsSolid)
        p.fillRect(QRect(x, y, width, e.height), ToQColor(Brush().color));
    if (!m_layout.glyphs.empty()) {
        m_run.setRawFont(e.drawing->RawFont());
        m_run.setRawData(m_layout.glyphs.data(), m_layout.positions.data(),
                         static_cast<int>(m_layout.glyphs.size()));
        if (turn == 0 && m_image && m_image->format() == QImage::Format_Grayscale8) {
            m_greyGlyphs.Draw(*m_image, QPointF(x, y + e.ascent), m_run, ToQColor(Font().Color()));
        } else {
            p.setPen(ToQColor(Font().Color()));
            p.drawGlyphRun(QPointF(x, y + e.ascent), m_run);
        }
    }
    if (turn != 0) p.restore();
    return true;
}

void QtPainterCanvas::TextOut(int x, int y, const std::string& text) {
    const TQtFontCache::TEntry& e = CurrentFont();
    const QFont& f = e.qfont;
    QPainter& p = Painter();
    const auto codes = CanvasSingleBytes(text);
    if (codes && GlyphTextOut(p, x, y, *codes, Brush().style == TBrushStyle::bsSolid ? TextWidth(text) : 0))
        return;
    const QFontMetrics& fm = e.metrics;
    const QString s = CanvasQString(text);
    p.setFont(f);
    if (Font().Orientation() != 0) {
        p.save();
        p.translate(x, y);
        p.rotate(-Font().Orientation() / 10.0);
        x = 0;
        y = 0;
    }
    if (Brush().style == TBrushStyle::bsSolid)
        p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), ToQColor(Brush().color));
    p.setPen(ToQColor(Font().Color()));
    p.drawText(x, y + fm.ascent(), s);
    if (Font().Orientation() != 0) p.restore();
}

int QtPainterCanvas::TextWidth(const std::string& text) {
    return m_fonts.TextWidth(Font(), text, m_shapeAllText);
}

int QtPainterCanvas::TextHeight(const std::string&) {
    return CurrentFont().height;
}

void QtPainterCanvas::TextRectRight(const TRect& rect, const std::string& text) {
    const QFont& f = CurrentFont().qfont;
    QPainter& p = Painter();
    p.save();
    p.setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
    if (Brush().style == TBrushStyle::bsSolid)
        p.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(Brush().color));
    p.setFont(f);
    p.setPen(ToQColor(Font().Color()));
    p.drawText(QRect(rect.left, rect.top, rect.Width() - 2, rect.Height()), Qt::AlignRight | Qt::AlignVCenter,
               CanvasQString(text));
    p.restore();
}

bool QtPainterCanvas::CopyAsRectangles(const TRect& dest, const QImage& img, const TRect& sourceRect) {
    if (m_image || !m_picturesAsRectangles) return false;
    return qbm::CopyAsRectangles(img, dest, sourceRect,
                                 [this](int l, int t, int r, int b, TColor c) { FillSolid(l, t, r, b, c); });
}

void QtPainterCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
    CopyRect(rect, bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()});
}

void QtPainterCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    if (dest.Width() <= 0 || dest.Height() <= 0) return;
    const QImage& img = source.Internal().Image();
    if (m_image == &img) return; // copying a canvas onto itself is not something the product does
    if (CopyAsRectangles(dest, img, sourceRect)) return;
    QPainter& p = Painter();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRect(dest.left, dest.top, dest.Width(), dest.Height()), img,
                QRect(sourceRect.left, sourceRect.top, sourceRect.Width(), sourceRect.Height()));
}

} // namespace qbm
