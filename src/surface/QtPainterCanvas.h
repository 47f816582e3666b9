#pragma once
// The canvas realised with QPainter: on an image (bitmaps, raster pages) or on any paint device
// whose painter someone else owns (PDF, SVG, system printer). Internal to the surface back ends.

#include "surface/TCanvas.h"
#include "surface/TGlyphTable.h"
#include "surface/TGreyGlyphPainter.h"
#include "surface/TQtFontCache.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qbm {

class QtPainterCanvas : public TCanvas {
public:
    // Paints on an image, opening a painter when needed.
    explicit QtPainterCanvas(QImage* image);
    // Paints through an open painter owned by the caller, at the given device resolution.
    QtPainterCanvas(QPainter* painter, int dpiX, int dpiY);
    ~QtPainterCanvas() override;

    // Raster only: closes the painter so the image can be read or changed directly.
    void EndPainting();
    // Vector devices: hands the bars still held back to the painter. Owners call it before they turn
    // the page or end the painter; every drawing call through the canvas does it by itself.
    void Flush();
    void SetResolution(int dpiX, int dpiY);
    // Vector devices: two-coloured pictures copied at their own size (2D symbols on a label) go out
    // as rectangles when those are few enough; with false every picture stays a picture.
    void SetPicturesAsRectangles(bool rectangles) { m_picturesAsRectangles = rectangles; }
    // With true every text goes through the text shaper, as the glyph tables' results are checked
    // against.
    void SetShapeAllText(bool shape) { m_shapeAllText = shape; }

    void Polygon(const std::vector<TPoint>& points) override;
    void FillRect(const TRect& rect) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void LineTo(int x, int y) override;
    void FloodFill(int x, int y, TColor border) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void TextRectRight(const TRect& rect, const std::string& text) override;
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
    const TPixelRows* PixelRows() override;
    int ResolutionX() const override { return m_dpiX; }
    int ResolutionY() const override { return m_dpiY; }

private:
    QPainter& Painter();
    // Fills left <= x < right, top <= y < bottom whatever the brush says.
    void FillSolid(int left, int top, int right, int bottom, TColor color);
    void ApplyPen(QPainter& p) const;
    void ApplyBrush(QPainter& p) const;
    TQtFontCache::TEntry& CurrentFont() { return m_fonts.Select(Font()); }
    // Draws the text from its glyph table; false when the shaper has to lay it out.
    // Latin-1 text through the glyph table; `width` is the text's width for a solid background.
    bool GlyphTextOut(QPainter& p, int x, int y, const std::string& latin1, int width);
    // The image in a 32-bit format, its painter closed.
    QImage& RasterImage();
    // Paints the picture part as rectangles on a vector device; false when it is not worth it.
    bool CopyAsRectangles(const TRect& dest, const QImage& img, const TRect& sourceRect);
    // Holds back a polygon on a vector device when it can join others; false when it is drawn now.
    bool HoldBackShape(const std::vector<TPoint>& points);

    QImage* m_image = nullptr;
    QPainter* m_external = nullptr;
    std::unique_ptr<QPainter> m_own;
    int m_dpiX = 96;
    int m_dpiY = 96;
    TPixelRows m_rows;
    // Solid rectangles of one colour not yet given to a vector device: a barcode's bars go out as one
    // fill of many rectangles instead of a fill (and a brush written to the file) per bar.
    std::vector<QRect> m_pendingRects;
    TColor m_pendingColor = clBlack;
    // Likewise solid shapes outlined in their own colour (MaxiCode's hexagons): one path for a symbol
    // instead of a path, a pen and a brush per module. Shapes of one colour may overlap in any order.
    QPainterPath m_pendingShapes;
    TColor m_shapesColor = clBlack;
    int m_shapesPenWidth = 1;
    bool m_picturesAsRectangles = true;
    bool m_shapeAllText = false;
    TQtFontCache m_fonts;
    TGlyphTable::TLayout m_layout;
    QGlyphRun m_run;
    TGreyGlyphPainter m_greyGlyphs;
};

QColor ToQColor(TColor c);
TColor FromQRgb(QRgb rgb);
// The Qt font for a surface font; negative heights are character heights in device pixels.
QFont ToQFont(const TFont& font);

} // namespace qbm
