#pragma once
// An object of a label design drawn upright in a box of its own and turned onto the page by a
// quarter turn: every operation maps its points and turns its text, so texts stay text and bars stay
// shapes on PDF and printers.

#include "surface/TCanvas.h"

namespace qbm {

class TTurnedCanvas : public TCanvas {
public:
    // The upright box is `width` x `height` device pixels; turned counter-clockwise by `degrees` (0,
    // 90, 180 or 270) it covers the box whose top-left corner is `at` on the page.
    TTurnedCanvas(TCanvas& page, TPoint at, int width, int height, int degrees);

    // Moves what is drawn next within the upright box.
    void Shift(TPoint by) { m_shift = by; }

    // A point between pixels (a box's corner, a text's corner), and a pixel (a polygon's corner).
    TPoint Map(TPoint p) const;
    TPoint MapPixel(TPoint p) const;
    TRect Map(const TRect& r) const;

    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void FillRects(std::span<const TRect> rects) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    void FloodFill(int, int, TColor) override {}
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    // Not clipped: a turned box cannot clip on every surface.
    void TextRectRight(const TRect& rect, const std::string& text) override;
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
    int ResolutionX() const override { return m_page.ResolutionX(); }
    int ResolutionY() const override { return m_page.ResolutionY(); }

private:
    TCanvas& Page();

    TCanvas& m_page;
    TPoint m_at;
    int m_width;
    int m_height;
    int m_degrees;
    TPoint m_shift{};
    std::vector<TPoint> m_mapped;
    std::vector<TRect> m_mappedRects;
};

} // namespace qbm
