#include "surface/TGreyGlyphPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qbm {
namespace {

// Premultiplied pixels laid over grey ones: what the glyph adds is its own grey, what shows through
// is the rest (a / 255 rounded exactly, as shifts). Written as plain 16-bit arithmetic on every
// pixel (no step exceeds 65,535) so that the compiler turns it into wide vector steps.
__attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic"))) void LayOver(const QRgb* src,
                                                                                    uchar* dst, int n) {
    for (int x = 0; x < n; ++x) {
        const uint32_t s = src[x];
        const auto r = static_cast<uint16_t>(s >> 16 & 0xFF), g = static_cast<uint16_t>(s >> 8 & 0xFF),
                   b = static_cast<uint16_t>(s & 0xFF), a = static_cast<uint16_t>(s >> 24);
        const auto grey = static_cast<uint16_t>(static_cast<uint16_t>(r * 11 + g * 16 + b * 5) >> 5);
        const auto shown = static_cast<uint16_t>(dst[x] * (255 - a) + 128);
        dst[x] = static_cast<uchar>(grey + (static_cast<uint16_t>(shown + (shown >> 8)) >> 8));
    }
}

} // namespace

void TGreyGlyphPainter::Draw(QImage& grey, QPointF origin, const QGlyphRun& run, const QColor& colour) {
    // The glyphs' reach, a pixel wider on every side for the edge pixels antialiasing touches.
    const QRectF reach = run.boundingRect().translated(origin);
    const QRect area(
        static_cast<int>(std::floor(reach.left())) - 1, static_cast<int>(std::floor(reach.top())) - 1,
        static_cast<int>(std::ceil(reach.width())) + 3, static_cast<int>(std::ceil(reach.height())) + 3);
    const QRect shown = area.intersected(grey.rect());
    if (shown.isEmpty()) return;
    if (m_scratch.width() < area.width() || m_scratch.height() < area.height()) {
        m_painter.reset();
        m_scratch = QImage(std::max(m_scratch.width(), area.width()),
                           std::max(m_scratch.height(), area.height()), QImage::Format_ARGB32_Premultiplied);
        m_painter = std::make_unique<QPainter>(&m_scratch);
    }
    // The painter draws straight into the scratch bytes, so they can be cleared and read while it is
    // open. Only the glyphs' area is cleared and read: whatever an earlier text left outside it is
    // cleared by the call whose area it is in, so no clip (a costly change of painter state) is
    // needed. Row addresses are worked out here: asking a picture for each row checks every time
    // whether it shares its bytes.
    uchar* const scratch = m_scratch.bits();
    const qsizetype scratchStep = m_scratch.bytesPerLine();
    for (int y = 0; y < area.height(); ++y)
        std::memset(scratch + y * scratchStep, 0, static_cast<size_t>(area.width()) * 4);
    m_painter->setPen(colour);
    m_painter->drawGlyphRun(origin - QPointF(area.topLeft()), run);
    const qsizetype greyStep = grey.bytesPerLine();
    const uchar* from = scratch + (shown.top() - area.top()) * scratchStep + (shown.left() - area.left()) * 4;
    uchar* to = grey.bits() + shown.top() * greyStep + shown.left();
    for (int y = 0; y < shown.height(); ++y, from += scratchStep, to += greyStep)
        LayOver(reinterpret_cast<const QRgb*>(from), to, shown.width());
}

} // namespace qbm
