#pragma once
// A printer whose pages are pictures at a chosen resolution: for tests and PNG output. Each finished
// page goes to a callback (or is kept), so a long run keeps one page in memory.

#include "surface/TBitmap.h"
#include "surface/TPageOutput.h"
#include "surface/TPaperPrinter.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qbm {

// The largest page picture drawn in one piece (32 bits a pixel: 800 MB). A4 fits up to 1400 dpi.
inline constexpr long long kMaxWholePagePixels = 200'000'000;
// Larger pages written to files are drawn in bands of about this many pixels (64 MB)...
inline constexpr long long kBandPixels = 16'000'000;
// ... up to this size: the largest label stock sheet (SRA3, 320 x 450 mm) has 5.1 billion pixels at
// 4800 dpi.
inline constexpr long long kMaxPagePixels = 6'000'000'000;

class TRasterPrinter : public TPaperPrinter {
public:
    using TPageSink = std::function<void(const TBitmap& page, int pageNumber)>;

    // Without a sink the finished pages are kept and can be read with Pages().
    TRasterPrinter(TPaperSize paper, int dpi, TPageSink sink = {});
    // Finished pages are handed over whole to `output` (which may write them while the next page is
    // drawn); EndDoc returns when all are out.
    TRasterPrinter(TPaperSize paper, int dpi, std::unique_ptr<TPageOutput> output);

    // Why the page cannot be drawn at this size and resolution (and what would fit), or empty.
    std::string PageSizeProblem() const;
    // Draws pages given to an output in bands of `rows` rows whatever their size (0: only pages too
    // large to draw whole, in bands of about kBandPixels).
    void SetBandRows(int rows) { m_bandRows = rows; }

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return m_page != nullptr; }
    TCanvas& Canvas() override;
    int BandTop() const override { return m_bandTop; }
    bool NextBand() override;

    const std::vector<TBitmap>& Pages() const { return m_pages; }
    int PagesPrinted() const { return m_pagesPrinted; }
    bool Aborted() const { return m_aborted; }

private:
    void FinishPage();
    void StartPage();
    // Rows a band of the page has; 0 when the page is drawn whole.
    int BandRows() const;
    void BlankBand();

    TPageSink m_sink;
    std::unique_ptr<TPageOutput> m_output;
    std::unique_ptr<TBitmap> m_page;
    std::vector<TBitmap> m_pages;
    int m_pagesPrinted = 0;
    bool m_aborted = false;
    int m_bandRows = 0;
    std::unique_ptr<TBitmap> m_band; // the band being drawn of a page drawn in bands
    int m_bandTop = 0;
    bool m_surveying = false; // the first time over the page's bands
    bool m_bandsDone = false;
};

} // namespace qbm
