#include "surface/TOffsetCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace qbm {

TOffsetCanvas::TOffsetCanvas(TCanvas& page, TPoint offset, bool measureOnly)
    : m_page(page), m_offset(offset), m_measureOnly(measureOnly) {}

TCanvas& TOffsetCanvas::Page() {
    m_page.SetFont(Font());
    m_page.SetPen(Pen());
    m_page.SetBrush(Brush());
    return m_page;
}

void TOffsetCanvas::Cover(int left, int top, int right, int bottom, bool outlined) {
    // An outline's pen reaches half its width beyond it.
    const int pen = outlined ? (std::abs(Pen().width) + 1) / 2 : 0;
    const TRect r{std::min(left, right) - pen, std::min(top, bottom) - pen, std::max(left, right) + pen,
                  std::max(top, bottom) + pen};
    if (!m_coveredAny) {
        m_covered = r;
        m_coveredAny = true;
        return;
    }
    m_covered = TRect{std::min(m_covered.left, r.left), std::min(m_covered.top, r.top),
                      std::max(m_covered.right, r.right), std::max(m_covered.bottom, r.bottom)};
}

TRect TOffsetCanvas::Moved(const TRect& r) const {
    return TRect{r.left + m_offset.x, r.top + m_offset.y, r.right + m_offset.x, r.bottom + m_offset.y};
}

void TOffsetCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.empty()) return;
    int left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (const TPoint& p : points) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x + 1);
        bottom = std::max(bottom, p.y + 1);
    }
    Cover(left, top, right, bottom, true);
    if (m_measureOnly) return;
    m_moved.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        m_moved[i] = {points[i].x + m_offset.x, points[i].y + m_offset.y};
    Page().Polygon(m_moved);
}

void TOffsetCanvas::FillRect(const TRect& rect) {
    Cover(rect.left, rect.top, rect.right, rect.bottom, false);
    if (!m_measureOnly) Page().FillRect(Moved(rect));
}

void TOffsetCanvas::FillRects(std::span<const TRect> rects) {
    if (rects.empty()) return;
    int left = rects[0].left, top = rects[0].top, right = rects[0].right, bottom = rects[0].bottom;
    for (const TRect& r : rects) {
        left = std::min({left, r.left, r.right});
        top = std::min({top, r.top, r.bottom});
        right = std::max({right, r.left, r.right});
        bottom = std::max({bottom, r.top, r.bottom});
    }
    Cover(left, top, right, bottom, false);
    if (m_measureOnly) return;
    m_movedRects.resize(rects.size());
    for (size_t i = 0; i < rects.size(); ++i) m_movedRects[i] = Moved(rects[i]);
    Page().FillRects(m_movedRects);
}

void TOffsetCanvas::Rectangle(int left, int top, int right, int bottom) {
    Cover(left, top, right, bottom, true);
    if (!m_measureOnly)
        Page().Rectangle(left + m_offset.x, top + m_offset.y, right + m_offset.x, bottom + m_offset.y);
}

void TOffsetCanvas::Ellipse(int left, int top, int right, int bottom) {
    Cover(left, top, right, bottom, true);
    if (!m_measureOnly)
        Page().Ellipse(left + m_offset.x, top + m_offset.y, right + m_offset.x, bottom + m_offset.y);
}

void TOffsetCanvas::LineTo(int x, int y) {
    const TPoint from = PenPos();
    Cover(from.x, from.y, x + 1, y + 1, true);
    MoveTo(x, y);
    if (m_measureOnly) return;
    TCanvas& page = Page();
    page.MoveTo(from.x + m_offset.x, from.y + m_offset.y);
    page.LineTo(x + m_offset.x, y + m_offset.y);
}

void TOffsetCanvas::TextOut(int x, int y, const std::string& text) {
    // Text may be turned about its corner: its whole reach in every direction is counted.
    const int w = TextWidth(text), h = TextHeight(text);
    const int reach = Font().Orientation() != 0 ? std::max(w, h) : 0;
    Cover(x - reach, y - reach, x + std::max(w, reach), y + std::max(h, reach), false);
    if (!m_measureOnly) Page().TextOut(x + m_offset.x, y + m_offset.y, text);
}

int TOffsetCanvas::TextWidth(const std::string& text) {
    return Page().TextWidth(text);
}

int TOffsetCanvas::TextHeight(const std::string& text) {
    return Page().TextHeight(text);
}

void TOffsetCanvas::TextRectRight(const TRect& rect, const std::string& text) {
    Cover(rect.left, rect.top, rect.right, rect.bottom, false);
    if (!m_measureOnly) Page().TextRectRight(Moved(rect), text);
}

void TOffsetCanvas::StretchDraw(const TRect& rect, const TBitmap& bitmap) {
    Cover(rect.left, rect.top, rect.right, rect.bottom, false);
    if (!m_measureOnly) Page().StretchDraw(Moved(rect), bitmap);
}

void TOffsetCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    Cover(dest.left, dest.top, dest.right, dest.bottom, false);
    if (!m_measureOnly) Page().CopyRect(Moved(dest), source, sourceRect);
}

} // namespace qbm
