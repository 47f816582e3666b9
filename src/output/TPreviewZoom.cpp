#include "output/TPreviewZoom.h"

#include "output/TPreview.h"

#include <algorithm>
#include <cmath>

namespace qbm {

void TPreviewZoom::SetFactor(double factor) {
    m_mode = TZoomMode::zmFixed;
    m_factor = std::clamp(factor, kMinFactor, kMaxFactor);
    m_shown = m_factor;
}

void TPreviewZoom::ZoomBy(double steps) {
    // Whole steps land on the usual figures (100, 125, 156 ... and 80, 64 ...) from 100 %.
    const double factor = m_shown * std::pow(kStep, steps);
    SetFactor(std::abs(factor - 1) < 0.01 ? 1 : factor);
}

double TPreviewZoom::PixelsPerInch(const TPage& page, int viewWidth, int viewHeight) {
    double ppi = m_factor * kScreenPixelsPerInch;
    if (m_mode == TZoomMode::zmFitPage)
        ppi = FitPagePixelsPerInch(page, viewWidth, viewHeight);
    else if (m_mode == TZoomMode::zmFitWidth)
        ppi = FitWidthPixelsPerInch(page, viewWidth);
    ppi = std::clamp(ppi, kMinFactor * kScreenPixelsPerInch, kMaxFactor * kScreenPixelsPerInch);
    m_shown = ppi / kScreenPixelsPerInch;
    return ppi;
}

} // namespace qbm
