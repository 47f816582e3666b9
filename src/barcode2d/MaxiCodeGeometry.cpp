#include "barcode2d/MaxiCodeGeometry.h"

#include "barcode2d/MaxiCodeModuleMap.h"
#include "util/Rounding.h"

namespace qbm {
namespace {

// Module size factors: a module is about 0.88 mm wide (1.003937 / 29 inch) and 0.84 mm high.
constexpr double kAutoWidthPerDpi = 1.003937 / 29;
constexpr double kAutoHeightPerDpi = 0.959449 / 29;
// Rows of a hexagonal grid are sqrt(3)/2 of a module apart.
constexpr double kRowPitch = 0.8660254;
// Drawing modules smaller than this as hexagons gives no recognisable shape.
constexpr int kSmallestHexagon = 4;

// What every module shares: the gap kept around it, its size, its shape.
struct TModuleGrid {
    double inset;
    int d, c;
    bool gap, ellipse;
};

TModuleGrid ModuleGrid(const TMaxiCodeModuleSize& size) {
    const double w = size.width, h = size.height;
    const double inset = (w + 1) / 8 + 1;
    TModuleGrid g{inset, MaxiCodeNearestDot(w - inset), MaxiCodeNearestDot(h - inset), true, false};
    // The gap between modules is only kept while the module inside it can still be drawn as a
    // hexagon. Modules of 4 to 5.5 dots would otherwise shrink to a 3-dot dot off the centre of
    // their cell, where scanners sample light; without the gap they touch, as the small ones do.
    if (w < kSmallestHexagon || g.d < kSmallestHexagon || g.c < kSmallestHexagon)
        g = TModuleGrid{0, MaxiCodeNearestDot(w), MaxiCodeNearestDot(h), false, false};
    g.ellipse = g.d < kSmallestHexagon || g.c < kSmallestHexagon;
    return g;
}

} // namespace

int MaxiCodeNearestDot(double v) {
    constexpr double kLimit = 1e8;   // room for the sums of drawing coordinates
    if (!(v > -kLimit)) v = -kLimit; // also catches NaN
    if (v > kLimit) v = kLimit;
    return Rnd(v);
}

TMaxiCodeModuleSize MaxiCodeModuleSize(const TMaxiCodeSizing& s, int xDpi, int yDpi) {
    if (s.autoScale) return {xDpi * kAutoWidthPerDpi, yDpi * kAutoHeightPerDpi};
    return {s.barWidth != 0 ? s.barWidth : s.horPixelsPerMM * 27 / 29,
            s.barHeight != 0 ? s.barHeight : MaxiCodeNearestDot(s.verPixelsPerMM * 25) / 29.0};
}

int MaxiCodeSymbolWidth(const TMaxiCodeModuleSize& size) {
    return MaxiCodeNearestDot(30 * size.width + size.width / 2);
}

int MaxiCodeSymbolHeight(const TMaxiCodeModuleSize& size) {
    return MaxiCodeNearestDot(33 * size.height + 33 * (-size.height / 6));
}

TSymbolGeometry MaxiCodeGeometry(const TMaxiCodeEncoder::TBuffer& codewords, const TMaxiCodeModuleSize& size,
                                 TPoint corner, int quietZone) {
    TSymbolGeometry g;
    g.quietX = g.quietY = quietZone;
    g.width = MaxiCodeSymbolWidth(size) + 2.0 * quietZone;
    g.height = MaxiCodeSymbolHeight(size) + 2.0 * quietZone;
    const double w = size.width, h = size.height;
    const TModuleGrid grid = ModuleGrid(size);
    // Where a module's box lands on the device: rounded there, then taken back to the geometry's
    // origin (a half dot rounds to even, so the same symbol a dot further on can come out otherwise).
    const auto onDevice = [&](int at, int from) {
        return grid.gap ? MaxiCodeNearestDot(at + from + grid.inset) - from : at;
    };
    g.dotHexagons.reserve(kMaxiCodeRows * kMaxiCodeColumns / 2);
    double offset = 0; // odd rows start half a module further right
    for (int row = 0; row < kMaxiCodeRows; ++row) {
        const int y = MaxiCodeNearestDot(row * h * kRowPitch);
        for (int column = 0; column < kMaxiCodeColumns; ++column) {
            const int v = MaxiCodeModuleAt(row, column);
            bool dark = v == -1;
            if (v >= 1) dark = (codewords[(v - 1) / 6] >> (5 - (v - 1) % 6)) & 1;
            if (!dark) continue;
            const int x = MaxiCodeNearestDot(offset + column * w);
            g.dotHexagons.push_back({onDevice(x, corner.x) + quietZone, onDevice(y, corner.y) + quietZone,
                                     grid.d, grid.c, grid.ellipse});
        }
        offset = w / 2 - offset;
    }
    g.dotRings.x = MaxiCodeNearestDot(14.5 * w + corner.x) - corner.x + quietZone;
    g.dotRings.y = MaxiCodeNearestDot(16.5 * h * kRowPitch) + quietZone;
    g.dotRings.penWidth = MaxiCodeNearestDot(w - h / 6);
    g.dotRings.radii = {{4 * MaxiCodeNearestDot(w), 4 * MaxiCodeNearestDot(h)},
                        {MaxiCodeNearestDot(2.5 * w), MaxiCodeNearestDot(2.5 * h)},
                        {MaxiCodeNearestDot(w), MaxiCodeNearestDot(h)}};
    return g;
}

} // namespace qbm
