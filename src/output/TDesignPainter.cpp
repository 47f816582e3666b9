#include "output/TDesignPainter.h"

#include "barcode/TBoundsCanvas.h"
#include "output/DesignBarcodePainter.h"
#include "output/DesignTextLayout.h"
#include "surface/GuiApplication.h"
#include "surface/PictureDecoder.h"
#include "surface/TCanvas.h"
#include "surface/TTurnedCanvas.h"
#include "util/Rounding.h"

#include <cmath>
#include <numbers>

namespace qbm {

namespace {

bool Across(int rotation) {
    return rotation == 90 || rotation == 270;
}

// A rounded rectangle as a polygon: each corner a quarter circle of a few segments.
std::vector<TPoint> RoundedRect(int width, int height, int radius) {
    radius = std::min({radius, width / 2, height / 2});
    constexpr int kSteps = 8;
    std::vector<TPoint> points;
    const struct {
        int cx, cy;
        double from;
    } corners[] = {{width - radius, radius, -90},
                   {width - radius, height - radius, 0},
                   {radius, height - radius, 90},
                   {radius, radius, 180}};
    for (const auto& c : corners)
        for (int s = 0; s <= kSteps; ++s) {
            const double a = (c.from + 90.0 * s / kSteps) * std::numbers::pi / 180;
            points.push_back({c.cx + Rnd(radius * std::cos(a)), c.cy + Rnd(radius * std::sin(a))});
        }
    return points;
}

void SetOutline(TCanvas& canvas, const TDesignObject& o, int dpi) {
    const int width = MmToDots(o.lineMm, dpi);
    canvas.Pen() = TPen{o.color, std::max(1, width), width > 0 ? TPenStyle::psSolid : TPenStyle::psClear};
    canvas.Brush() = o.fill ? TBrush{*o.fill, TBrushStyle::bsSolid} : TBrush{clWhite, TBrushStyle::bsClear};
}

} // namespace

TDesignPainter::TDesignPainter(const TLabelDesign& design, int dpiX, int dpiY)
    : m_design(design), m_dpiX(dpiX), m_dpiY(dpiY) {
    m_pictures.resize(design.objects.size());
    m_sizings.resize(design.objects.size());
    EnsureGuiApplication();
    m_bounds = std::make_unique<TBoundsCanvas>();
    for (size_t i = 0; i < design.objects.size(); ++i) {
        const TDesignObject& o = design.objects[i];
        if (o.kind != TDesignKind::Image) continue;
        const TRect box = Box(i);
        m_pictures[i] = DecodePicture(o.picture.bytes, box.Width(), box.Height(), o.rotation,
                                      "of object " + std::to_string(i + 1));
    }
}

TDesignPainter::~TDesignPainter() = default;

TRect TDesignPainter::Box(size_t object) const {
    const TDesignObject& o = m_design.objects[object];
    const int left = MmToDots(o.xMm, m_dpiX), top = MmToDots(o.yMm, m_dpiY);
    return {left, top, left + MmToDots(o.widthMm, m_dpiX), top + MmToDots(o.heightMm, m_dpiY)};
}

void TDesignPainter::Draw(TCanvas& canvas, TPoint origin, const TMergeValues& values) const {
    for (size_t i = 0; i < m_design.objects.size(); ++i) {
        const TDesignObject& o = m_design.objects[i];
        const TRect box = Box(i);
        const int w = box.Width(), h = box.Height();
        // A turned object turns about its box's centre.
        const int coveredW = Across(o.rotation) ? h : w, coveredH = Across(o.rotation) ? w : h;
        const TPoint at{origin.x + box.left + (w - coveredW) / 2, origin.y + box.top + (h - coveredH) / 2};
        TTurnedCanvas turned(canvas, at, w, h, o.rotation);
        switch (o.kind) {
        case TDesignKind::Text: {
            const TDesignTextLayout layout =
                LayOutDesignText(turned, o, ExpandMergeText(o.value, values), w, h);
            DrawDesignText(turned, layout);
            break;
        }
        case TDesignKind::Barcode:
            DrawDesignBarcode(turned, o, ExpandMergeText(o.value, values), w, h, m_sizings[i], *m_bounds);
            break;
        case TDesignKind::Image: {
            const TBitmap& picture = *m_pictures[i];
            // Centred in the object's covered box, the aspect kept.
            const TRect to{at.x + (coveredW - picture.Width()) / 2, at.y + (coveredH - picture.Height()) / 2,
                           0, 0};
            canvas.StretchDraw({to.left, to.top, to.left + picture.Width(), to.top + picture.Height()},
                               picture);
            break;
        }
        case TDesignKind::Line: {
            const int width = MmToDots(o.lineMm, m_dpiY);
            if (width <= 0) break;
            turned.Pen() = TPen{o.color, width, TPenStyle::psSolid};
            turned.MoveTo(0, 0);
            turned.LineTo(w, h);
            break;
        }
        case TDesignKind::Rect:
            SetOutline(turned, o, m_dpiY);
            if (o.cornerRadiusMm > 0)
                turned.Polygon(RoundedRect(w, h, MmToDots(o.cornerRadiusMm, m_dpiY)));
            else
                turned.Rectangle(0, 0, w, h);
            break;
        case TDesignKind::Ellipse:
            SetOutline(turned, o, m_dpiY);
            turned.Ellipse(0, 0, w, h);
            break;
        }
    }
}

} // namespace qbm
