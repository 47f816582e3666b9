#include "app/DesignArrange.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace qbm {

TBoxMm CoveredBox(const TDesignObject& o) {
    if (o.rotation != 90 && o.rotation != 270) return {o.xMm, o.yMm, o.widthMm, o.heightMm};
    const double cx = o.xMm + o.widthMm / 2, cy = o.yMm + o.heightMm / 2;
    return {cx - o.heightMm / 2, cy - o.widthMm / 2, o.heightMm, o.widthMm};
}

void SetCoveredBox(TDesignObject& o, const TBoxMm& box) {
    if (o.rotation != 90 && o.rotation != 270) {
        o.xMm = box.x;
        o.yMm = box.y;
        o.widthMm = box.w;
        o.heightMm = box.h;
        return;
    }
    o.widthMm = box.h;
    o.heightMm = box.w;
    o.xMm = box.CentreX() - o.widthMm / 2;
    o.yMm = box.CentreY() - o.heightMm / 2;
}

TSnapped SnapCoordinate(double value, const std::vector<double>& targets, const TSnapSettings& settings) {
    if (settings.toObjects) {
        std::optional<double> best;
        for (const double t : targets)
            if (std::abs(t - value) <= settings.toleranceMm &&
                (!best || std::abs(t - value) < std::abs(*best - value)))
                best = t;
        if (best) return {*best, best};
    }
    if (settings.toGrid && settings.gridMm > 0)
        return {std::round(value / settings.gridMm) * settings.gridMm, {}};
    return {value, {}};
}

TSnapTargets SnapTargetsOf(const std::vector<TBoxMm>& others, double labelWidthMm, double labelHeightMm) {
    TSnapTargets t;
    t.xs = {0, labelWidthMm / 2, labelWidthMm};
    t.ys = {0, labelHeightMm / 2, labelHeightMm};
    for (const TBoxMm& b : others) {
        t.xs.insert(t.xs.end(), {b.x, b.CentreX(), b.Right()});
        t.ys.insert(t.ys.end(), {b.y, b.CentreY(), b.Bottom()});
    }
    return t;
}

namespace {

// The shift that brings the nearest of a box's three lines (start, centre, end) onto a target, and
// the target; the start line's grid shift when no line is near one.
std::pair<double, std::optional<double>>
SnapAxis(double start, double size, const std::vector<double>& targets, const TSnapSettings& settings) {
    if (settings.toObjects) {
        std::optional<double> shift, guide;
        for (const double line : {start, start + size / 2, start + size})
            for (const double t : targets)
                if (std::abs(t - line) <= settings.toleranceMm &&
                    (!shift || std::abs(t - line) < std::abs(*shift))) {
                    shift = t - line;
                    guide = t;
                }
        if (shift) return {*shift, guide};
    }
    const TSnapSettings gridOnly{settings.gridMm, settings.toGrid, false, settings.toleranceMm};
    return {SnapCoordinate(start, {}, gridOnly).value - start, std::nullopt};
}

} // namespace

TSnappedMove SnapMove(const TBoxMm& moving, double dx, double dy, const TSnapTargets& targets,
                      const TSnapSettings& settings) {
    const auto [shiftX, guideX] = SnapAxis(moving.x + dx, moving.w, targets.xs, settings);
    const auto [shiftY, guideY] = SnapAxis(moving.y + dy, moving.h, targets.ys, settings);
    return {dx + shiftX, dy + shiftY, guideX, guideY};
}

std::vector<TBoxMm> AlignBoxes(const std::vector<TBoxMm>& boxes, TAlignEdge edge, double labelWidthMm,
                               double labelHeightMm) {
    if (boxes.empty()) return boxes;
    TBoxMm bounds{0, 0, labelWidthMm, labelHeightMm};
    if (boxes.size() > 1) {
        double left = boxes[0].x, top = boxes[0].y, right = boxes[0].Right(), bottom = boxes[0].Bottom();
        for (const TBoxMm& b : boxes) {
            left = std::min(left, b.x);
            top = std::min(top, b.y);
            right = std::max(right, b.Right());
            bottom = std::max(bottom, b.Bottom());
        }
        bounds = {left, top, right - left, bottom - top};
    }
    std::vector<TBoxMm> out = boxes;
    for (TBoxMm& b : out) switch (edge) {
        case TAlignEdge::Left:
            b.x = bounds.x;
            break;
        case TAlignEdge::CentreX:
            b.x = bounds.CentreX() - b.w / 2;
            break;
        case TAlignEdge::Right:
            b.x = bounds.Right() - b.w;
            break;
        case TAlignEdge::Top:
            b.y = bounds.y;
            break;
        case TAlignEdge::CentreY:
            b.y = bounds.CentreY() - b.h / 2;
            break;
        case TAlignEdge::Bottom:
            b.y = bounds.Bottom() - b.h;
            break;
        }
    return out;
}

std::vector<TBoxMm> DistributeBoxes(const std::vector<TBoxMm>& boxes, TDistribution direction) {
    if (boxes.size() < 3) return boxes;
    const bool across = direction == TDistribution::Horizontal;
    const auto start = [across](const TBoxMm& b) { return across ? b.x : b.y; };
    const auto size = [across](const TBoxMm& b) { return across ? b.w : b.h; };
    std::vector<size_t> order(boxes.size());
    std::iota(order.begin(), order.end(), 0);
    // Ties keep the selection's order, so that distributing twice changes nothing.
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return start(boxes[a]) < start(boxes[b]); });
    const TBoxMm& first = boxes[order.front()];
    const TBoxMm& last = boxes[order.back()];
    double sizes = 0;
    for (const TBoxMm& b : boxes) sizes += size(b);
    const double span = start(last) + size(last) - start(first);
    const double gap = (span - sizes) / static_cast<double>(boxes.size() - 1);
    std::vector<TBoxMm> out = boxes;
    double at = start(first);
    for (const size_t i : order) {
        (across ? out[i].x : out[i].y) = at;
        at += size(boxes[i]) + gap;
    }
    return out;
}

} // namespace qbm
