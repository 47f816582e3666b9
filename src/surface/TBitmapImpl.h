#pragma once
// What a TBitmap holds inside the Qt back end. Internal to the surface.

#include "surface/QtPainterCanvas.h"
#include "surface/TBitmap.h"

#include <QImage>

#include <memory>

namespace qbm {

struct TBitmap::Impl {
    QImage image;
    int dpi = 96;
    std::unique_ptr<QtPainterCanvas> canvas;

    // The image with any open painter closed, for direct pixel access.
    QImage& Image() {
        if (canvas) canvas->EndPainting();
        return image;
    }
};

} // namespace qbm
