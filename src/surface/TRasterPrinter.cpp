#include "surface/TRasterPrinter.h"

#include "surface/TCanvas.h"
#include "util/Errors.h"

namespace qbm {

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, TPageSink sink)
    : TPaperPrinter(paper, dpi, 300), m_sink(std::move(sink)) {}

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, std::unique_ptr<TPageOutput> output)
    : TPaperPrinter(paper, dpi, 300), m_output(std::move(output)) {}

void TRasterPrinter::StartPage() {
    if (m_output) {
        m_page = std::make_unique<TBitmap>(m_output->BlankPage(PageWidth(), PageHeight(), ResolutionX()));
        return;
    }
    m_page = std::make_unique<TBitmap>(PageWidth(), PageHeight());
    m_page->SetResolution(ResolutionX());
}

void TRasterPrinter::FinishPage() {
    ++m_pagesPrinted;
    if (m_output)
        m_output->Put(std::move(*m_page), m_pagesPrinted);
    else if (m_sink)
        m_sink(*m_page, m_pagesPrinted);
    else
        m_pages.push_back(std::move(*m_page));
    m_page.reset();
}

void TRasterPrinter::BeginDoc() {
    if (m_page) throw EInOutError("A print job is already running");
    m_pages.clear();
    m_pagesPrinted = 0;
    m_aborted = false;
    StartPage();
}

void TRasterPrinter::NewPage() {
    if (!m_page) throw EInOutError("No print job is running");
    FinishPage();
    StartPage();
}

void TRasterPrinter::EndDoc() {
    if (!m_page) return;
    FinishPage();
    if (m_output) m_output->Finish();
}

void TRasterPrinter::Abort() {
    m_page.reset();
    m_aborted = true;
    if (m_output) m_output->Abandon();
}

TCanvas& TRasterPrinter::Canvas() {
    if (!m_page) throw EInOutError("No print job is running");
    return m_page->Canvas();
}

} // namespace qbm
