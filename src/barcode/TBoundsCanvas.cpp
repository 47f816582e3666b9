#include "barcode/TBoundsCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qbm {

TBoundsCanvas::TBoundsCanvas() : m_metrics(1, 1) {}

void TBoundsCanvas::Reset() {
    SetFont(TFont());
    SetPen(TPen());
    SetBrush(TBrush());
    MoveTo(0, 0);
    m_resolution = 96;
    m_empty = true;
    m_minX = m_minY = m_maxX = m_maxY = 0;
}

TRect TBoundsCanvas::Bounds() const {
    if (m_empty) return {};
    return {m_minX, m_minY, m_maxX + 1, m_maxY + 1};
}

void TBoundsCanvas::Include(int x, int y) {
    if (m_empty) {
        m_minX = m_maxX = x;
        m_minY = m_maxY = y;
        m_empty = false;
        return;
    }
    m_minX = std::min(m_minX, x);
    m_maxX = std::max(m_maxX, x);
    m_minY = std::min(m_minY, y);
    m_maxY = std::max(m_maxY, y);
}

void TBoundsCanvas::IncludeBox(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    Include(left, top);
    Include(right - 1, bottom - 1);
}

void TBoundsCanvas::Polygon(const std::vector<TPoint>& points) {
    if (Pen().style == TPenStyle::psClear && Brush().style == TBrushStyle::bsClear) return;
    for (const TPoint& p : points) Include(p.x, p.y);
}

void TBoundsCanvas::FillRect(const TRect& rect) {
    if (Brush().style != TBrushStyle::bsClear) IncludeBox(rect.left, rect.top, rect.right, rect.bottom);
}

void TBoundsCanvas::Rectangle(int left, int top, int right, int bottom) {
    IncludeBox(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

void TBoundsCanvas::Ellipse(int left, int top, int right, int bottom) {
    Rectangle(left, top, right, bottom);
}

void TBoundsCanvas::LineTo(int x, int y) {
    const TPoint from = PenPos();
    MoveTo(x, y);
    if (Pen().style == TPenStyle::psClear) return;
    Include(from.x, from.y);
    Include(x, y);
}

void TBoundsCanvas::TextOut(int x, int y, const std::string& text) {
    if (text.empty()) return;
    const int w = TextWidth(text);
    const int h = TextHeight(text);
    // The cell turns counter-clockwise about its top-left corner with the font.
    const double a = Font().Orientation() / 10.0 * std::numbers::pi / 180.0;
    const double s = std::sin(a), c = std::cos(a);
    const double us[4] = {0, c * w, s * h, c * w + s * h};
    const double vs[4] = {0, -s * w, c * h, -s * w + c * h};
    const double minU = *std::min_element(us, us + 4), maxU = *std::max_element(us, us + 4);
    const double minV = *std::min_element(vs, vs + 4), maxV = *std::max_element(vs, vs + 4);
    IncludeBox(x + static_cast<int>(std::floor(minU)), y + static_cast<int>(std::floor(minV)),
               x + static_cast<int>(std::ceil(maxU)), y + static_cast<int>(std::ceil(maxV)));
}

int TBoundsCanvas::TextWidth(const std::string& text) {
    m_metrics.Canvas().SetFont(Font());
    return m_metrics.Canvas().TextWidth(text);
}

int TBoundsCanvas::TextHeight(const std::string& text) {
    m_metrics.Canvas().SetFont(Font());
    return m_metrics.Canvas().TextHeight(text);
}

void TBoundsCanvas::TextRectRight(const TRect& rect, const std::string&) {
    IncludeBox(rect.left, rect.top, rect.right, rect.bottom);
}

void TBoundsCanvas::StretchDraw(const TRect& rect, const TBitmap&) {
    IncludeBox(rect.left, rect.top, rect.right, rect.bottom);
}

void TBoundsCanvas::CopyRect(const TRect& dest, const TBitmap&, const TRect&) {
    IncludeBox(dest.left, dest.top, dest.right, dest.bottom);
}

} // namespace qbm
