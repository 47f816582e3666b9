#pragma once
// The canvas of a PDF page, writing the page's operators itself: bars and modules as rectangles and
// paths on whole device pixels, texts in fonts made of their glyph outlines, pictures losslessly.
// A print run of thousands of labels spends its time drawing labels, not formatting them.
// Internal to the PDF printer.

#include "surface/TCanvas.h"
#include "surface/TGlyphTable.h"
#include "surface/TQtFontCache.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTransform;

namespace qbm {

class TPdfFile;
class TPdfType3Font;

class TPdfCanvas : public TCanvas {
public:
    // Every page's operators begin with `pagePrologue` (the page's coordinate system).
    TPdfCanvas(TPdfFile& file, int dpi, std::string pagePrologue);
    ~TPdfCanvas() override;

    // Two-coloured pictures copied at their own size (2D symbols on a label) go out as rectangles
    // when those are few enough; with false every picture stays a picture.
    void SetPicturesAsRectangles(bool rectangles) { m_picturesAsRectangles = rectangles; }
    // The page's operators so far, valid until the next drawing call.
    std::string_view PageContent();
    // Starts the next page, from the default graphics state.
    void ClearPage();
    // The resources the page's operators name: the fonts so far and the page's pictures.
    std::string PageResources() const;
    // Writes the fonts, once every page has been drawn.
    void WriteFonts();

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
    void TextRectRight(const TRect& rect, const std::string& text) override;
    void StretchDraw(const TRect& rect, const TBitmap& bitmap) override;
    void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) override;
    int ResolutionX() const override { return m_dpi; }
    int ResolutionY() const override { return m_dpi; }

private:
    // What the page's graphics state holds, so that a colour or width is written only on a change.
    struct TState {
        int64_t fill = -1; // -1: not known
        int64_t stroke = -1;
        int lineWidth = -1;
    };
    // Shapes of one kind and colour are written as one path and painted together: a barcode's bars
    // in one fill, a MaxiCode symbol's hexagons in one fill and stroke.
    enum class TBatch { kNone, kRects, kShapes };

    void EndBatch();
    void SetFill(TColor c);
    void SetStroke(TColor c);
    void SetLineWidth(int width);
    // Opens a batch of rectangles of the colour unless one is open.
    void BeginRects(TColor color);
    // Fills left <= x < right, top <= y < bottom whatever the brush says.
    void FillSolid(int left, int top, int right, int bottom, TColor color);
    void AppendPolygonPath(const std::vector<TPoint>& points);
    // Fills and outlines the path just written as the brush and the pen say.
    void PaintPath();
    // Draws a text with its cell's top-left corner at the origin of `place`.
    void DrawText(const QTransform& place, const std::string& text);
    bool DrawGlyphText(const QTransform& place, const std::string& text);
    // Text drawn as outlines is no text to a reader: it goes with them as one invisible character of
    // the text's width, marked with the text itself, so that the page stays searchable.
    void MarkActualText(const QTransform& place, const QString& text);
    TPdfType3Font& Type3Font(const std::shared_ptr<TGlyphTable>& table, int& index);
    int PictureObject(const QImage& img, const TRect& sourceRect);

    TPdfFile& m_file;
    int m_dpi;
    std::string m_prologue;
    std::string m_content;
    TState m_state;
    TBatch m_batch = TBatch::kNone;
    TColor m_batchColor = clBlack;
    int m_batchWidth = 1;
    // The rectangles of the open batch, written when it ends: on the grid their edges share (a
    // symbol's modules, a barcode's bar widths) they take a few digits each.
    std::vector<TRect> m_batchRects;
    void WriteBatchRects();
    bool m_picturesAsRectangles = true;
    TQtFontCache m_fonts;
    TGlyphTable::TLayout m_layout;
    std::vector<std::unique_ptr<TPdfType3Font>> m_type3;
    std::vector<int> m_type3Ids;
    // Pictures are named by their object numbers; the page's own are listed in its resources.
    std::vector<int> m_pagePictures;
    // The last pictures written, by their samples, so that a label picture printed on every label
    // is stored once. Compared by content: a bitmap redrawn in place for the next label is the same
    // bitmap with other pixels.
    // A picture not changed since it was written (a design's logo on every label) is known by Qt's
    // key for its pixels without comparing them again.
    struct TRecentPicture {
        std::string samples;
        std::string dict;
        int id;
        qint64 cacheKey = 0;
        TRect rect{};
    };
    std::vector<TRecentPicture> m_recent;
    size_t m_nextRecent = 0;
};

} // namespace qbm
