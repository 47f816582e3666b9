#pragma once
// A canvas that paints nothing and records the box of everything drawn on it, text cells included.

#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

namespace qbm {

class TBoundsCanvas : public TCanvas {
public:
    TBoundsCanvas();

    // Forgets what was drawn and takes the state of a new canvas, keeping the fonts it measured with:
    // a caller measuring label after label keeps one canvas.
    void Reset();

    // Inclusive pixel box of all drawing so far; empty() when nothing was drawn.
    bool Empty() const { return m_empty; }
    // Half-open box of all drawing so far (all zero when nothing was drawn).
    TRect Bounds() const;

    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    void FloodFill(int, int, TColor) override {}
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void TextRectRight(const TRect& rect, const std::string& text) override;
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
    int ResolutionX() const override { return m_resolution; }
    int ResolutionY() const override { return m_resolution; }
    void SetResolution(int dpi) { m_resolution = dpi; }

private:
    void Include(int x, int y);
    void IncludeBox(int left, int top, int right, int bottom); // half-open

    TBitmap m_metrics; // measures text in the same font machinery the real canvases use
    int m_resolution = 96;
    bool m_empty = true;
    int m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
};

} // namespace qbm
