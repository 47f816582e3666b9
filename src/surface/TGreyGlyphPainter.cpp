#include "surface/TGreyGlyphPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// GCC vectorises only the cheapest loops at this build's level unless asked; clang always does.
#if defined(__GNUC__) && !defined(__clang__)
#define QBM_VECTORISE __attribute__((optimize("tree-vectorize", "vect-cost-model=dynamic")))
#else
#define QBM_VECTORISE
#endif

namespace qbm {
namespace {

// Pixels laid over grey ones a chunk at a time: text areas are a few dozen pixels wide, too short
// for a loop of vector steps to start, so the area is widened to whole chunks instead.
constexpr int kChunk = 16;

// The glyphs' coverage laid over grey pixels in the text's grey: out = (text * a + grey * (255 - a))
// / 255, rounded exactly by shifts, so a clear pixel leaves the grey one as it was. Plain 16-bit
// arithmetic (no step exceeds 65,535) on a fixed number of pixels, which the compiler turns into a
// few wide vector steps; each processor takes its widest.
template <int N> inline void LayOverChunk(const QRgb* coverage, uchar* dst, uint16_t text) {
    for (int x = 0; x < N; ++x) {
        const auto a = static_cast<uint16_t>(coverage[x] >> 24);
        const auto v = static_cast<uint16_t>(text * a + dst[x] * (255 - a) + 128);
        dst[x] = static_cast<uchar>(static_cast<uint16_t>(v + (v >> 8)) >> 8);
    }
}

QBM_VECTORISE __attribute__((target_clones("avx2", "default"))) void LayOver(const QRgb* coverage, uchar* dst,
                                                                             int n, uint16_t text) {
    int x = 0;
    for (; x + kChunk <= n; x += kChunk) LayOverChunk<kChunk>(coverage + x, dst + x, text);
    // Only where the picture's right edge cuts the area.
    for (; x < n; ++x) LayOverChunk<1>(coverage + x, dst + x, text);
}

} // namespace

void TGreyGlyphPainter::Draw(QImage& grey, QPointF origin, const QGlyphRun& run, const QColor& colour) {
    // The glyphs' reach, a pixel wider on every side for the edge pixels antialiasing touches.
    const QRectF reach = run.boundingRect().translated(origin);
    const int width = static_cast<int>(std::ceil(reach.width())) + 3;
    const QRect area(static_cast<int>(std::floor(reach.left())) - 1,
                     static_cast<int>(std::floor(reach.top())) - 1, (width + kChunk - 1) / kChunk * kChunk,
                     static_cast<int>(std::ceil(reach.height())) + 3);
    const QRect shown = area.intersected(grey.rect());
    if (shown.isEmpty()) return;
    if (m_scratch.width() < area.width() || m_scratch.height() < area.height()) {
        m_painter.reset();
        m_scratch = QImage(std::max(m_scratch.width(), area.width()),
                           std::max(m_scratch.height(), area.height()), QImage::Format_ARGB32_Premultiplied);
        m_painter = std::make_unique<QPainter>(&m_scratch);
        m_pen = Qt::black;
        m_painter->setPen(m_pen);
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
    if (colour != m_pen) {
        m_pen = colour;
        m_painter->setPen(colour);
    }
    m_painter->drawGlyphRun(origin - QPointF(area.topLeft()), run);
    // The glyphs are drawn in the text's colour; only their coverage is laid over, in the text's grey
    // as the painter weighs colours.
    const auto text = static_cast<uint16_t>(qGray(colour.rgb()));
    const qsizetype greyStep = grey.bytesPerLine();
    const uchar* from = scratch + (shown.top() - area.top()) * scratchStep + (shown.left() - area.left()) * 4;
    uchar* to = grey.bits() + shown.top() * greyStep + shown.left();
    for (int y = 0; y < shown.height(); ++y, from += scratchStep, to += greyStep)
        LayOver(reinterpret_cast<const QRgb*>(from), to, shown.width(), text);
}

} // namespace qbm
