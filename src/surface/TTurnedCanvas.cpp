#include "surface/TTurnedCanvas.h"

#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"

#include <QTransform>

#include <algorithm>

namespace qbm {

TTurnedCanvas::TTurnedCanvas(TCanvas& page, TPoint at, int width, int height, int degrees)
    : m_page(page), m_at(at), m_width(width), m_height(height), m_degrees(((degrees % 360) + 360) % 360) {}

TCanvas& TTurnedCanvas::Page() {
    m_page.SetFont(Font().Turned(m_degrees * 10));
    m_page.SetPen(Pen());
    m_page.SetBrush(Brush());
    return m_page;
}

// Counter-clockwise on the page, whose y runs down: a quarter turn takes the box's top edge to its
// left edge.
TPoint TTurnedCanvas::Map(TPoint p) const {
    p = {p.x + m_shift.x, p.y + m_shift.y};
    switch (m_degrees) {
    case 90:
        return {m_at.x + p.y, m_at.y + m_width - p.x};
    case 180:
        return {m_at.x + m_width - p.x, m_at.y + m_height - p.y};
    case 270:
        return {m_at.x + m_height - p.y, m_at.y + p.x};
    default:
        return {m_at.x + p.x, m_at.y + p.y};
    }
}

// Polygons and lines name pixels, not the edges between them: a pixel's far edge is one more.
TPoint TTurnedCanvas::MapPixel(TPoint p) const {
    const TPoint edge = Map(p);
    switch (m_degrees) {
    case 90:
        return {edge.x, edge.y - 1};
    case 180:
        return {edge.x - 1, edge.y - 1};
    case 270:
        return {edge.x - 1, edge.y};
    default:
        return edge;
    }
}

TRect TTurnedCanvas::Map(const TRect& r) const {
    const TPoint a = Map(TPoint{r.left, r.top}), b = Map(TPoint{r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void TTurnedCanvas::Polygon(const std::vector<TPoint>& points) {
    m_mapped.resize(points.size());
    std::transform(points.begin(), points.end(), m_mapped.begin(), [this](TPoint p) { return MapPixel(p); });
    Page().Polygon(m_mapped);
}

void TTurnedCanvas::FillRect(const TRect& rect) {
    Page().FillRect(Map(rect));
}

void TTurnedCanvas::FillRects(std::span<const TRect> rects) {
    m_mappedRects.resize(rects.size());
    std::transform(rects.begin(), rects.end(), m_mappedRects.begin(),
                   [this](const TRect& r) { return Map(r); });
    Page().FillRects(m_mappedRects);
}

void TTurnedCanvas::Rectangle(int left, int top, int right, int bottom) {
    const TRect r = Map(TRect{left, top, right, bottom});
    Page().Rectangle(r.left, r.top, r.right, r.bottom);
}

void TTurnedCanvas::Ellipse(int left, int top, int right, int bottom) {
    const TRect r = Map(TRect{left, top, right, bottom});
    Page().Ellipse(r.left, r.top, r.right, r.bottom);
}

void TTurnedCanvas::LineTo(int x, int y) {
    const TPoint from = MapPixel(PenPos()), to = MapPixel(TPoint{x, y});
    MoveTo(x, y);
    TCanvas& page = Page();
    page.MoveTo(from.x, from.y);
    page.LineTo(to.x, to.y);
}

void TTurnedCanvas::TextOut(int x, int y, const std::string& text) {
    // The text's corner is a point: mapped, with the font turned as far as the box.
    const TPoint at = Map(TPoint{x, y});
    Page().TextOut(at.x, at.y, text);
}

int TTurnedCanvas::TextWidth(const std::string& text) {
    m_page.SetFont(Font());
    return m_page.TextWidth(text);
}

int TTurnedCanvas::TextHeight(const std::string& text) {
    m_page.SetFont(Font());
    return m_page.TextHeight(text);
}

void TTurnedCanvas::TextRectRight(const TRect& rect, const std::string& text) {
    TextOut(rect.right - TextWidth(text), rect.top, text);
}

void TTurnedCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
    CopyRect(rect, bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()});
}

void TTurnedCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    if (m_degrees == 0) {
        Page().CopyRect(Map(dest), source, sourceRect);
        return;
    }
    // Qt turns clockwise for positive angles on a screen's downward y.
    const QImage part = source.Internal().Image().copy(sourceRect.left, sourceRect.top, sourceRect.Width(),
                                                       sourceRect.Height());
    TBitmap turned;
    turned.Internal().image = part.transformed(QTransform().rotate(-m_degrees));
    Page().CopyRect(Map(dest), turned, TRect{0, 0, turned.Width(), turned.Height()});
}

} // namespace qbm
