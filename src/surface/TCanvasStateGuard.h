#pragma once
// Puts a canvas's font, pen and brush back however drawing ends: engines drawing onto a caller's
// canvas leave it as they found it.

#include "surface/TCanvas.h"

namespace qbm {

class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(TCanvas& canvas)
        : m_canvas(canvas), m_font(canvas.Font()), m_pen(canvas.Pen()), m_brush(canvas.Brush()) {}
    ~TCanvasStateGuard() {
        m_canvas.SetFont(m_font);
        m_canvas.SetPen(m_pen);
        m_canvas.SetBrush(m_brush);
    }
    TCanvasStateGuard(const TCanvasStateGuard&) = delete;
    TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

private:
    TCanvas& m_canvas;
    TFont m_font;
    TPen m_pen;
    TBrush m_brush;
};

} // namespace qbm
