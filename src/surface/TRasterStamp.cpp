#include "surface/TRasterStamp.h"

#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include <algorithm>

namespace qbm {

TRasterStamp TRasterStamp::Record(int width, int height, TColor scratchBackground,
                                  const std::function<void(TCanvas&)>& paint) {
    TBitmap scratch(width, height);
    TCanvas& canvas = scratch.Canvas();
    canvas.SetBrush(TBrush{scratchBackground, TBrushStyle::bsSolid});
    canvas.FillRect(TRect{0, 0, width, height});
    paint(canvas);
    const TPixelRows& rows = *canvas.PixelRows();
    const uint32_t background = TPixelRows::Value(scratchBackground);
    TRasterStamp stamp;
    stamp.m_bounds = TRect{width, height, 0, 0};
    for (int y = 0; y < rows.height; ++y) {
        const uint32_t* row = rows.Row(y);
        for (int x = 0; x < rows.width;) {
            if (row[x] == background) {
                ++x;
                continue;
            }
            const uint32_t value = row[x];
            const int left = x;
            while (x < rows.width && row[x] == value) ++x;
            stamp.m_runs.push_back({y, left, x, value});
            stamp.m_bounds.left = std::min(stamp.m_bounds.left, left);
            stamp.m_bounds.right = std::max(stamp.m_bounds.right, x);
            stamp.m_bounds.top = std::min(stamp.m_bounds.top, y);
            stamp.m_bounds.bottom = std::max(stamp.m_bounds.bottom, y + 1);
            if (left == 0 || x == rows.width || y == 0 || y == rows.height - 1) stamp.m_touchesBorder = true;
        }
    }
    if (stamp.m_runs.empty()) stamp.m_bounds = TRect{};
    return stamp;
}

void TRasterStamp::Stamp(const TPixelRows& rows, int x, int y) const {
    for (const TRun& run : m_runs) {
        const int py = y + run.y;
        if (py < 0 || py >= rows.height) continue;
        const int left = std::max(0, x + run.left), right = std::min(rows.width, x + run.right);
        if (left < right) TPixelRows::FillRun(rows.Row(py) + left, right - left, run.value);
    }
}

bool TRasterStamp::AnyPixelIs(const TPixelRows& rows, int x, int y, uint32_t value) const {
    for (const TRun& run : m_runs) {
        const int py = y + run.y;
        if (py < 0 || py >= rows.height) continue;
        const uint32_t* row = rows.Row(py);
        const int left = std::max(0, x + run.left), right = std::min(rows.width, x + run.right);
        for (int px = left; px < right; ++px)
            if (row[px] == value) return true;
    }
    return false;
}

} // namespace qbm
