#include "design/TLabelDesign.h"

#include <algorithm>

namespace qbm {

namespace {

// The box an object covers once turned about its centre.
struct TBox {
    double left, top, right, bottom;
};

TBox CoveredBox(const TDesignObject& o) {
    const bool across = o.rotation == 90 || o.rotation == 270;
    const double w = across ? o.heightMm : o.widthMm;
    const double h = across ? o.widthMm : o.heightMm;
    const double cx = o.xMm + o.widthMm / 2;
    const double cy = o.yMm + o.heightMm / 2;
    return {cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
}

// Edges are compared to a hundredth of a millimetre: objects placed flush with an edge through
// decimal millimetres must not be reported.
constexpr double kTolerance = 0.01;

} // namespace

std::vector<std::string> DesignPlacementWarnings(const TLabelDesign& design, double labelWidthMm,
                                                 double labelHeightMm) {
    std::vector<std::string> warnings;
    for (size_t i = 0; i < design.objects.size(); ++i) {
        const TDesignObject& o = design.objects[i];
        const TBox box = CoveredBox(o);
        std::vector<const char*> edges;
        if (box.left < -kTolerance) edges.push_back("left");
        if (box.top < -kTolerance) edges.push_back("top");
        if (box.right > labelWidthMm + kTolerance) edges.push_back("right");
        if (box.bottom > labelHeightMm + kTolerance) edges.push_back("bottom");
        if (edges.empty()) continue;
        std::string text =
            "object " + std::to_string(i + 1) + " (" + DesignKindName(o.kind) + ") reaches past the label's ";
        for (size_t e = 0; e < edges.size(); ++e) {
            if (e > 0) text += e + 1 == edges.size() ? " and " : ", ";
            text += edges[e];
        }
        text += edges.size() == 1 ? " edge" : " edges";
        warnings.push_back(std::move(text));
    }
    return warnings;
}

} // namespace qbm
