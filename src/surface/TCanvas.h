#pragma once
// The drawing surface every engine and the layout paint on: a bitmap, a printer page, a vector file.

#include "surface/Graphics.h"
#include "surface/TFont.h"
#include "surface/TPixelRows.h"

#include <span>
#include <string>
#include <vector>

namespace qbm {

class TBitmap;

class TCanvas {
public:
    virtual ~TCanvas() = default;

    TFont& Font() { return m_font; }
    TPen& Pen() { return m_pen; }
    TBrush& Brush() { return m_brush; }
    const TFont& Font() const { return m_font; }
    const TPen& Pen() const { return m_pen; }
    const TBrush& Brush() const { return m_brush; }
    void SetFont(const TFont& font) { m_font = font; }
    void SetPen(const TPen& pen) { m_pen = pen; }
    void SetBrush(const TBrush& brush) { m_brush = brush; }

    // Fills the closed polygon with the brush and outlines it with the pen; the outline's pixels
    // (corners and edges) belong to the shape.
    virtual void Polygon(const std::vector<TPoint>& points) = 0;
    // Fills left <= x < right, top <= y < bottom with the brush; nothing with a clear brush.
    virtual void FillRect(const TRect& rect) = 0;
    // FillRect for each in turn. Surfaces that gather shapes take a symbol's modules in one call
    // rather than one call a module.
    virtual void FillRects(std::span<const TRect> rects) {
        for (const TRect& r : rects) FillRect(r);
    }
    // Outline with the pen on the half-open box, inside with the brush.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    void MoveTo(int x, int y) { m_penPos = {x, y}; }
    // Line from the current point; the end point is not drawn and becomes the current point.
    virtual void LineTo(int x, int y) = 0;
    TPoint PenPos() const { return m_penPos; }
    // Fills the area around (x, y) bounded by `border` with the brush. Only bitmaps can do this;
    // other surfaces ignore it.
    virtual void FloodFill(int x, int y, TColor border) = 0;
    // Texts are UTF-8 in any script (bytes that are no UTF-8 are read as Latin-1). The text's cell has
    // its top-left corner at (x, y); a turned font turns the text about that point. With a clear brush
    // the background stays untouched.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    // The font's cell height.
    virtual int TextHeight(const std::string& text) = 0;
    // Single-line text aligned to the right edge of the rectangle and clipped to it.
    virtual void TextRectRight(const TRect& rect, const std::string& text) = 0;
    // Scales a bitmap into the rectangle (nearest neighbour: bars keep sharp edges).
    virtual void StretchDraw(const TRect& rect, const TBitmap& bitmap) = 0;
    // Copies pixels of a bitmap's canvas, scaling when the rectangles differ.
    virtual void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) = 0;

    // The pixel rows behind a bitmap's canvas, valid until the next call of another canvas operation;
    // nullptr on surfaces that keep shapes (PDF, SVG, printers). What an engine writes there must be
    // exactly what the same drawing through the shape operations gives.
    virtual const TPixelRows* PixelRows() { return nullptr; }

    // Pixels per inch of the device behind the canvas.
    virtual int ResolutionX() const = 0;
    virtual int ResolutionY() const = 0;

protected:
    TCanvas() = default;

private:
    TFont m_font;
    TPen m_pen;
    TBrush m_brush;
    TPoint m_penPos;
};

} // namespace qbm
