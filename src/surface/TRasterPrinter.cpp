#include "surface/TRasterPrinter.h"

#include "surface/TCanvas.h"
#include "util/Errors.h"

#include <algorithm>
#include <cmath>

namespace qbm {

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, TPageSink sink)
    : TPaperPrinter(paper, dpi, 300), m_sink(std::move(sink)) {}

TRasterPrinter::TRasterPrinter(TPaperSize paper, int dpi, std::unique_ptr<TPageOutput> output)
    : TPaperPrinter(paper, dpi, 300), m_output(std::move(output)) {}

std::string TRasterPrinter::PageSizeProblem() const {
    const long long pixels = 1LL * PageWidth() * PageHeight();
    // Pages kept or handed to a callback are whole pictures; pages written to files can be banded.
    const long long most = m_output ? kMaxPagePixels : kMaxWholePagePixels;
    if (pixels <= most) return {};
    const int fits = static_cast<int>(
        std::floor(ResolutionX() * std::sqrt(static_cast<double>(most) / static_cast<double>(pixels))));
    return "A page of " + std::to_string(PageWidth()) + " x " + std::to_string(PageHeight()) + " pixels at " +
           std::to_string(ResolutionX()) + " dpi is larger than a page picture may be (" +
           std::to_string(most / 1'000'000) + " million pixels); choose " + std::to_string(fits) +
           " dpi or less, or a smaller paper";
}

int TRasterPrinter::BandRows() const {
    if (!m_output) return 0;
    if (m_bandRows > 0) return std::min(m_bandRows, PageHeight());
    if (1LL * PageWidth() * PageHeight() <= kMaxWholePagePixels) return 0;
    return static_cast<int>(std::clamp<long long>(kBandPixels / PageWidth(), 1, PageHeight()));
}

void TRasterPrinter::StartPage() {
    if (const int rows = BandRows(); rows > 0) {
        if (m_band && m_band->Height() == rows) {
            BlankBand();
        } else {
            m_band.reset();
            m_band = std::make_unique<TBitmap>(PageWidth(), rows);
            m_band->SetResolution(ResolutionX());
        }
        if (m_band->Width() != PageWidth() || m_band->Height() != rows) {
            m_band.reset();
            throw EInOutError("Not enough memory for a band of " + std::to_string(PageWidth()) + " x " +
                              std::to_string(rows) + " pixels");
        }
        m_output->BeginBandedPage(PageWidth(), PageHeight(), ResolutionX(), m_pagesPrinted + 1);
        m_page = std::make_unique<TBitmap>(); // marks the page as begun; its pixels are the band's
        m_bandTop = 0;
        m_surveying = true;
        m_bandsDone = false;
        return;
    }
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

bool TRasterPrinter::NextBand() {
    if (!m_page || !m_band || m_bandsDone) return false;
    const int rows = std::min(m_band->Height(), PageHeight() - m_bandTop);
    if (m_surveying)
        m_output->SurveyBand(*m_band, rows);
    else
        m_output->WriteBand(*m_band, rows);
    m_bandTop += rows;
    if (m_bandTop >= PageHeight()) {
        if (!m_surveying) {
            m_bandsDone = true;
            return false;
        }
        m_surveying = false;
        m_bandTop = 0;
    }
    BlankBand();
    return true;
}

void TRasterPrinter::BlankBand() {
    const TPixelRows& pixels = *m_band->Canvas().PixelRows();
    pixels.Fill(0, 0, pixels.width, pixels.height, pixels.ValueOf(clWhite));
}

void TRasterPrinter::FinishPage() {
    if (m_band) {
        // A caller that stopped before the last band would leave a page cut short.
        if (!m_bandsDone) throw EInOutError("The page was not drawn to its end");
        ++m_pagesPrinted;
        m_page.reset();
        m_output->EndBandedPage();
        return;
    }
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
    m_band.reset();
    m_aborted = true;
    if (m_output) m_output->Abandon();
}

TCanvas& TRasterPrinter::Canvas() {
    if (!m_page) throw EInOutError("No print job is running");
    return m_band ? m_band->Canvas() : m_page->Canvas();
}

} // namespace qbm
