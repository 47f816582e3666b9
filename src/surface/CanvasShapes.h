#pragma once
// Shape rules the canvases share, so that a bitmap, a PDF page and a printer page agree pixel for
// pixel. Internal to the surface back ends.

#include "surface/Graphics.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

namespace qbm {

// The pixels of a four-cornered polygon with axis-parallel sides (every bar at 0, 90, 180, 270
// degrees), outline included, as a half-open box; nothing for any other polygon.
inline std::optional<TRect> AxisAlignedBox(const std::vector<TPoint>& points) {
    if (points.size() != 4) return std::nullopt;
    for (size_t i = 0; i < 4; ++i) {
        const TPoint a = points[i], b = points[(i + 1) % 4];
        if (a.x != b.x && a.y != b.y) return std::nullopt;
    }
    TRect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const TPoint& pt : points) {
        box.left = std::min(box.left, pt.x);
        box.right = std::max(box.right, pt.x);
        box.top = std::min(box.top, pt.y);
        box.bottom = std::max(box.bottom, pt.y);
    }
    ++box.right;
    ++box.bottom;
    return box;
}

// The box between two corners given in any order; nothing when it has no area.
inline std::optional<TRect> BoxBetween(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return std::nullopt;
    return TRect{left, top, right, bottom};
}

// The four sides of a box's outline drawn with a pen `width` pixels wide, inside the box.
inline std::array<TRect, 4> OutlineSides(const TRect& box, int width) {
    const int across = std::min(width, box.Width()), down = std::min(width, box.Height());
    return {TRect{box.left, box.top, box.right, box.top + down},
            TRect{box.left, box.bottom - down, box.right, box.bottom},
            TRect{box.left, box.top, box.left + across, box.bottom},
            TRect{box.right - across, box.top, box.right, box.bottom}};
}

// Visits the pixels of a line from `from` to `to` (Bresenham), the end point excluded.
template <class Visit> void ForEachLinePixel(TPoint from, TPoint to, Visit&& visit) {
    int x0 = from.x, y0 = from.y;
    const int adx = std::abs(to.x - x0), ady = -std::abs(to.y - y0);
    const int sx = x0 < to.x ? 1 : -1, sy = y0 < to.y ? 1 : -1;
    int err = adx + ady;
    while (!(x0 == to.x && y0 == to.y)) {
        visit(x0, y0);
        const int e2 = 2 * err;
        if (e2 >= ady) {
            err += ady;
            x0 += sx;
        }
        if (e2 <= adx) {
            err += adx;
            y0 += sy;
        }
    }
}

} // namespace qbm
