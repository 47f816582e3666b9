#pragma once
// Draws the labels of a design: each object in turn, merge fields filled from the label's values,
// turned objects through a turned canvas so that text stays text and bars stay shapes.

#include "design/MergeText.h"
#include "design/TLabelDesign.h"
#include "output/DesignBarcodePainter.h"
#include "surface/Graphics.h"
#include "surface/TBitmap.h"

#include <memory>
#include <optional>
#include <vector>

namespace qbm {

class TBoundsCanvas;
class TCanvas;

class TDesignPainter {
public:
    // Pictures are drawn once, at the size they print at on a device of this resolution, and turned
    // as their objects are.
    TDesignPainter(const TLabelDesign& design, int dpiX, int dpiY);
    ~TDesignPainter();

    // One label with its top-left corner at `origin` of the canvas.
    void Draw(TCanvas& canvas, TPoint origin, const TMergeValues& values) const;

    // The objects' boxes on the device, from the label's corner, before they are turned.
    TRect Box(size_t object) const;

private:
    const TLabelDesign& m_design;
    int m_dpiX;
    int m_dpiY;
    std::vector<std::optional<TBitmap>> m_pictures;
    mutable std::vector<TLinearSizing> m_sizings;
    std::unique_ptr<TBoundsCanvas> m_bounds;
};

} // namespace qbm
