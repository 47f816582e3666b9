#pragma once
// A bitmap's canvas seen as a device that keeps shapes: every operation goes to the bitmap, but its
// pixel rows are not offered, so engines draw the way they draw on printers and vector files.
// Pictures drawn through it are the reference for the engines' direct pixel writing.

#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"
#include "surface/TCanvas.h"

#include <string>
#include <vector>

namespace qbm::test {

class TShapesOnlyCanvas : public TCanvas {
public:
    explicit TShapesOnlyCanvas(TBitmap& bitmap) : m_target(bitmap.Canvas()) {}

    void Polygon(const std::vector<TPoint>& points) override { Sync().Polygon(points); }
    void FillRect(const TRect& rect) override { Sync().FillRect(rect); }
    void Rectangle(int l, int t, int r, int b) override { Sync().Rectangle(l, t, r, b); }
    void Ellipse(int l, int t, int r, int b) override { Sync().Ellipse(l, t, r, b); }
    void LineTo(int x, int y) override {
        Sync().MoveTo(PenPos().x, PenPos().y);
        m_target.LineTo(x, y);
        MoveTo(x, y);
    }
    void FloodFill(int x, int y, TColor border) override { Sync().FloodFill(x, y, border); }
    void TextOut(int x, int y, const std::string& text) override { Sync().TextOut(x, y, text); }
    int TextWidth(const std::string& text) override { return Sync().TextWidth(text); }
    int TextHeight(const std::string& text) override { return Sync().TextHeight(text); }
    void TextRectRight(const TRect& rect, const std::string& text) override {
        Sync().TextRectRight(rect, text);
    }
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override { Sync().StretchDraw(rect, bitmap); }
    void CopyRect(const TRect& d, const TBitmap& s, const TRect& r) override { Sync().CopyRect(d, s, r); }
    int ResolutionX() const override { return m_target.ResolutionX(); }
    int ResolutionY() const override { return m_target.ResolutionY(); }

private:
    TCanvas& Sync() {
        m_target.SetFont(Font());
        m_target.SetPen(Pen());
        m_target.SetBrush(Brush());
        return m_target;
    }
    TCanvas& m_target;
};

// The first pixel where two pictures differ, as "(x, y)", or empty when they are the same.
inline std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return "size " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " against " +
               std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    if (a.Internal().Image() == b.Internal().Image()) return {};
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return {};
}

} // namespace qbm::test
