#pragma once
// Glyphs onto grey pictures. The painter blends text into grey bytes through its slowest, general
// path: glyphs drawn into a transparent 32-bit scratch picture (its fast path) and then laid onto the
// grey bytes cost less than half as much, and come out within a grey level or two of the painter's
// own.

#include <QColor>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include <memory>

namespace qbm {

class TGreyGlyphPainter {
public:
    // Draws `run` with its baseline origin at `origin` onto `grey` (Format_Grayscale8) in `colour`,
    // cut off at the picture's edges.
    void Draw(QImage& grey, QPointF origin, const QGlyphRun& run, const QColor& colour);

private:
    QImage m_scratch;
    // Kept open on the scratch picture: opening a painter costs as much as drawing a line of text.
    std::unique_ptr<QPainter> m_painter;
    // Its pen: setting one costs a pen built and compared, and texts keep their colour.
    QColor m_pen;
};

} // namespace qbm
