#pragma once
// How large the page preview shows the paper: fitted to the view (the whole page, or its width), or
// a chosen share of its real size, stepped up and down as a viewer does.

#include "output/TPageLayout.h"

namespace qbm {

enum class TZoomMode { zmFitPage, zmFitWidth, zmFixed };

class TPreviewZoom {
public:
    // Screen pixels an inch at 100 %.
    static constexpr double kScreenPixelsPerInch = 96;
    static constexpr double kStep = 1.25;
    static constexpr double kMinFactor = 0.1;
    static constexpr double kMaxFactor = 6;

    TZoomMode Mode() const { return m_mode; }
    void FitPage() { m_mode = TZoomMode::zmFitPage; }
    void FitWidth() { m_mode = TZoomMode::zmFitWidth; }
    // 100 %: the paper at its real size.
    void ActualSize() { SetFactor(1); }
    // Steps from the size shown last (a fitted one too); a wheel gives fractions of a step.
    void ZoomIn() { ZoomBy(1); }
    void ZoomOut() { ZoomBy(-1); }
    void ZoomBy(double steps);

    // Screen pixels an inch of paper for a view of the given size (without the space round the
    // page); remembered as the size shown.
    double PixelsPerInch(const TPage& page, int viewWidth, int viewHeight);
    // The size shown last as a share of the real size: 0.75 reads "75 %".
    double ShownFactor() const { return m_shown; }

private:
    void SetFactor(double factor);

    TZoomMode m_mode = TZoomMode::zmFitPage;
    double m_factor = 1;
    double m_shown = 1;
};

} // namespace qbm
