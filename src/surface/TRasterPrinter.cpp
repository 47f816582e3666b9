#include "surface/TRasterPrinter.h"

#include "surface/TCanvas.h"
#include "util/Errors.h"

#include <cmath>

namespace qbm {

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, TPageSink sink)
    : TPaperPrinter(paper, dpi, 300), m_sink(std::move(sink)) {}

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, std::unique_ptr<TPageOutput> output)
    : TPaperPrinter(paper, dpi, 300), m_output(std::move(output)) {}

std::string TRasterPrinter::PageSizeProblem() const {
    const long long pixels = 1LL * PageWidth() * PageHeight();
    if (pixels <= kMaxPagePixels) return {};
    const int fits = static_cast<int>(std::floor(
        ResolutionX() * std::sqrt(static_cast<double>(kMaxPagePixels) / static_cast<double>(pixels))));
    return "A page of " + std::to_string(PageWidth()) + " x " + std::to_string(PageHeight()) + " pixels at " +
           std::to_string(ResolutionX()) + " dpi is larger than a page picture may be (" +
           std::to_string(kMaxPagePixels / 1'000'000) + " million pixels); choose " + std::to_string(fits) +
           " dpi or less, or a smaller paper";
}

void TRasterPrinter::StartPage() {
    if (m_output) {
        m_page = std::make_unique<TBitmap>(m_output->BlankPage(PageWidth(), PageHeight(), ResolutionX()));
    } else {
        m_page = std::make_unique<TBitmap>(PageWidth(), PageHeight());
        m_page->SetResolution(ResolutionX());
    }
    // A picture the system could not allocate is empty: printing on it would put out blank pages.
    if (m_page->Width() != PageWidth() || m_page->Height() != PageHeight()) {
        m_page.reset();
        throw EInOutError("Not enough memory for a page of " + std::to_string(PageWidth()) + " x " +
                          std::to_string(PageHeight()) + " pixels");
    }
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
    if (const std::string problem = PageSizeProblem(); !problem.empty()) throw EInOutError(problem);
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
