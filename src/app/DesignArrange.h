#pragma once
// The geometry of editing a label design: the area an object covers, snapping a moved or resized box
// to the grid, the label and the other objects, and aligning and distributing a selection. Pure
// functions of millimetres, so that the editor and its tests share them.

#include "design/TDesignObject.h"

#include <optional>
#include <vector>

namespace qbm {

// An upright area on the label in millimetres.
struct TBoxMm {
    double x = 0;
    double y = 0;
    double w = 0;
    double h = 0;
    double Right() const { return x + w; }
    double Bottom() const { return y + h; }
    double CentreX() const { return x + w / 2; }
    double CentreY() const { return y + h / 2; }
    friend bool operator==(const TBoxMm&, const TBoxMm&) = default;
};

// What the object covers on the label: its box, turned about its centre by a quarter turn when the
// object is turned that way. Users align what they see, not the box before rotation.
TBoxMm CoveredBox(const TDesignObject& object);
// The object resized so that it covers `box` (its own box turned back when the object is turned).
void SetCoveredBox(TDesignObject& object, const TBoxMm& box);

struct TSnapSettings {
    double gridMm = 1;
    bool toGrid = true;
    // The other objects' edges and centres, and the label's.
    bool toObjects = true;
    // How close an edge must come to a target to be pulled onto it.
    double toleranceMm = 1;
};

// A coordinate after snapping, and the target it met when that was an edge or centre (a guide line
// the view draws); no guide for the grid.
struct TSnapped {
    double value = 0;
    std::optional<double> guide;
};

// The nearest of `targets` within the tolerance wins; else the nearest grid line, when snapping to the
// grid; else the value stays.
TSnapped SnapCoordinate(double value, const std::vector<double>& targets, const TSnapSettings& settings);

// The edges and centres of the label and of the objects not being moved, one list per axis.
struct TSnapTargets {
    std::vector<double> xs;
    std::vector<double> ys;
};
TSnapTargets SnapTargetsOf(const std::vector<TBoxMm>& others, double labelWidthMm, double labelHeightMm);

// The move of `moving` by (dx, dy) after snapping: whichever of its left edge, centre and right edge
// (top, middle, bottom) comes nearest a target decides; without one, its left and top edges go to the
// grid.
struct TSnappedMove {
    double dx = 0;
    double dy = 0;
    std::optional<double> guideX;
    std::optional<double> guideY;
};
TSnappedMove SnapMove(const TBoxMm& moving, double dx, double dy, const TSnapTargets& targets,
                      const TSnapSettings& settings);

enum class TAlignEdge { Left, CentreX, Right, Top, CentreY, Bottom };

// Where each box goes when the selection is aligned: to the outermost edge among them, or to the
// centre of their common bounds. One box aligns to the label instead.
std::vector<TBoxMm> AlignBoxes(const std::vector<TBoxMm>& boxes, TAlignEdge edge, double labelWidthMm,
                               double labelHeightMm);

enum class TDistribution { Horizontal, Vertical };

// Equal gaps between neighbours: the first and last box (by position) stay, the others move between
// them. Fewer than three boxes stay where they are.
std::vector<TBoxMm> DistributeBoxes(const std::vector<TBoxMm>& boxes, TDistribution direction);

} // namespace qbm
