#include "surface/TScaledPagePrinter.h"

#include "surface/QtPainterCanvas.h"
#include "surface/TBitmap.h"
#include "surface/TBitmapImpl.h"
#include "util/Errors.h"

#include <QPainter>

namespace qbm {

struct TScaledPagePrinter::State {
    QPainter painter;
    std::unique_ptr<QtPainterCanvas> canvas;
};

TScaledPagePrinter::TScaledPagePrinter(TBitmap& picture, int pageWidth, int pageHeight, int dpiX, int dpiY)
    : m_picture(picture), m_pageWidth(pageWidth), m_pageHeight(pageHeight), m_dpiX(dpiX), m_dpiY(dpiY) {}

TScaledPagePrinter::~TScaledPagePrinter() {
    EndDoc();
}

TPrinterOrientation TScaledPagePrinter::Orientation() const {
    return m_pageWidth > m_pageHeight ? TPrinterOrientation::poLandscape : TPrinterOrientation::poPortrait;
}

void TScaledPagePrinter::BeginDoc() {
    if (m_state) throw EInOutError("A print job is already running");
    if (m_pageWidth <= 0 || m_pageHeight <= 0 || m_picture.Width() <= 0 || m_picture.Height() <= 0)
        throw EInOutError("The preview page has no size");
    auto state = std::make_unique<State>();
    QImage& image = m_picture.Internal().Image();
    if (!state->painter.begin(&image)) throw EInOutError("The preview page cannot be drawn");
    // The canvas sees printer pixels; the painter turns them into picture pixels. Shapes keep hard
    // edges on whole picture pixels, as a printer puts them on its dots: bars stay black and white
    // and read as bars (blended edges turn a two-pixel space between bars into grey that a reader,
    // or an eye, takes for a bar). Text is smoothed as on the screen.
    state->painter.scale(static_cast<double>(m_picture.Width()) / m_pageWidth,
                         static_cast<double>(m_picture.Height()) / m_pageHeight);
    state->canvas = std::make_unique<QtPainterCanvas>(&state->painter, m_dpiX, m_dpiY);
    state->painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    state->painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_state = std::move(state);
}

void TScaledPagePrinter::EndDoc() {
    if (!m_state) return;
    m_state->canvas.reset(); // hands the shapes it held back to the painter
    m_state->painter.end();
    m_state.reset();
}

bool TScaledPagePrinter::Printing() const {
    return m_state != nullptr;
}

TCanvas& TScaledPagePrinter::Canvas() {
    if (!m_state) throw EInOutError("No print job is running");
    return *m_state->canvas;
}

} // namespace qbm
