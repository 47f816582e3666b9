#pragma once
// Two-coloured pictures (2D symbols on a label) copied at their own size onto a device that keeps
// shapes, as rectangles instead of a picture when that is worth it. Internal to the surface back ends.

#include "surface/Graphics.h"

#include <QImage>

#include <functional>

namespace qbm {

// Calls `fill(left, top, right, bottom, colour)` for the background and then for each ink rectangle
// of the picture part, placed at `dest`; false, with nothing filled, when the part is scaled, leaves
// the picture, has other than two opaque colours, or would take too many rectangles.
bool CopyAsRectangles(const QImage& img, const TRect& dest, const TRect& sourceRect,
                      const std::function<void(int, int, int, int, TColor)>& fill);

} // namespace qbm
