#include "surface/TSystemPrinter.h"

#include "surface/GuiApplication.h"
#include "surface/QtPainterCanvas.h"
#include "util/Errors.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace qbm {

struct TSystemPrinter::State {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<QtPainterCanvas> canvas;
};

TSystemPrinter::TSystemPrinter(const std::string& printerName) : m_state(std::make_unique<State>()) {
    EnsureGuiApplication();
    m_state->printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printerName.empty()) m_state->printer->setPrinterName(QString::fromLocal8Bit(printerName.c_str()));
}

TSystemPrinter::~TSystemPrinter() {
    if (Printing()) Abort();
}

std::vector<std::string> TSystemPrinter::InstalledPrinters() {
    EnsureGuiApplication();
    std::vector<std::string> names;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
        names.push_back(info.printerName().toLocal8Bit().toStdString());
    return names;
}

int TSystemPrinter::PrinterCount() const {
    return static_cast<int>(InstalledPrinters().size());
}

int TSystemPrinter::ResolutionX() const {
    return m_state->printer->resolution();
}
int TSystemPrinter::ResolutionY() const {
    return m_state->printer->resolution();
}

int TSystemPrinter::PageWidth() const {
    return m_state->printer->pageLayout().fullRectPixels(m_state->printer->resolution()).width();
}

int TSystemPrinter::PageHeight() const {
    return m_state->printer->pageLayout().fullRectPixels(m_state->printer->resolution()).height();
}

TPrinterOrientation TSystemPrinter::Orientation() const {
    return m_state->printer->pageLayout().orientation() == QPageLayout::Landscape
               ? TPrinterOrientation::poLandscape
               : TPrinterOrientation::poPortrait;
}

void TSystemPrinter::SetOrientation(TPrinterOrientation orientation) {
    m_state->printer->setPageOrientation(
        orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TSystemPrinter::BeginDoc() {
    if (Printing()) throw EInOutError("A print job is already running");
    m_state->printer->setDocName(QString::fromLatin1(m_title.c_str()));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(m_state->printer.get()))
        throw EInOutError("Cannot start printing on " + m_state->printer->printerName().toStdString());
    const int dpi = m_state->printer->resolution();
    m_state->canvas = std::make_unique<QtPainterCanvas>(painter.get(), dpi, dpi);
    m_state->painter = std::move(painter);
}

void TSystemPrinter::NewPage() {
    if (!Printing()) throw EInOutError("No print job is running");
    m_state->canvas->Flush();
    m_state->printer->newPage();
}

void TSystemPrinter::EndDoc() {
    if (!Printing()) return;
    m_state->canvas.reset();
    const bool ok = m_state->painter->end();
    m_state->painter.reset();
    if (!ok) throw EInOutError("Printing on " + m_state->printer->printerName().toStdString() + " failed");
}

void TSystemPrinter::Abort() {
    if (!Printing()) return;
    m_state->canvas.reset(); // before the abort: what it still holds goes to a job still open
    m_state->printer->abort();
    m_state->painter->end();
    m_state->painter.reset();
}

bool TSystemPrinter::Printing() const {
    return m_state->painter != nullptr;
}

TCanvas& TSystemPrinter::Canvas() {
    if (!Printing()) throw EInOutError("No print job is running");
    return *m_state->canvas;
}

void* TSystemPrinter::NativePrinter() const {
    return m_state->printer.get();
}

} // namespace qbm
