#include "surface/PictureRectangles.h"

#include "surface/TwoColourRectangles.h"

namespace qbm {

bool CopyAsRectangles(const QImage& img, const TRect& dest, const TRect& sourceRect,
                      const std::function<void(int, int, int, int, TColor)>& fill) {
    if (dest.Width() != sourceRect.Width() || dest.Height() != sourceRect.Height()) return false;
    if (sourceRect.left < 0 || sourceRect.top < 0 || sourceRect.right > img.width() ||
        sourceRect.bottom > img.height())
        return false;
    const QImage::Format f = img.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return false;
    // A picture costs up to a few bytes a pixel before compression, a rectangle some twenty bytes and
    // its share of the fill. Module rows (PDF417) take one rectangle per several hundred pixels;
    // hexagons and rings (MaxiCode) one per hundred, and there the picture is smaller.
    const size_t budget = static_cast<size_t>(sourceRect.Width()) * sourceRect.Height() / 128;
    const auto shapes =
        TwoColourRectangles(img.constScanLine(sourceRect.top) + 4 * sourceRect.left, img.bytesPerLine(),
                            sourceRect.Width(), sourceRect.Height(), budget);
    if (!shapes) return false;
    const auto colour = [](uint32_t v) { return RGBColor((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); };
    fill(dest.left, dest.top, dest.right, dest.bottom, colour(shapes->background));
    for (const TRect& r : shapes->inkRects)
        fill(dest.left + r.left, dest.top + r.top, dest.left + r.right, dest.top + r.bottom,
             colour(shapes->ink));
    return true;
}

} // namespace qbm
