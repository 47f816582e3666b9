#pragma once
// A symbol's own picture coordinates laid onto a page that keeps shapes: every operation goes to the
// page moved by the symbol's position, so a symbol is drawn on PDF, SVG and printers as the shapes
// it is made of instead of as a picture of them. In measuring mode nothing is drawn; the box that
// the drawing would cover is only recorded, so a caller can tell whether the shapes stay inside the
// picture area (a picture would cut them off there).

#include "surface/TCanvas.h"

namespace qbm {

class TOffsetCanvas : public TCanvas {
public:
    TOffsetCanvas(TCanvas& page, TPoint offset, bool measureOnly);

    // What the drawing covered so far, in the symbol's coordinates (empty when nothing was drawn).
    const TRect& Covered() const { return m_covered; }

    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void FillRects(std::span<const TRect> rects) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    // Surfaces that keep shapes cannot flood pixels: ignored, as the page itself would.
    void FloodFill(int, int, TColor) override {}
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void TextRectRight(const TRect& rect, const std::string& text) override;
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
    int ResolutionX() const override { return m_page.ResolutionX(); }
    int ResolutionY() const override { return m_page.ResolutionY(); }

private:
    TCanvas& Page();
    void Cover(int left, int top, int right, int bottom, bool outlined);
    TRect Moved(const TRect& r) const;

    TCanvas& m_page;
    TPoint m_offset;
    bool m_measureOnly;
    TRect m_covered{};
    bool m_coveredAny = false;
    std::vector<TPoint> m_moved; // the shape being passed on, kept for the next one
    std::vector<TRect> m_movedRects;
};

} // namespace qbm
