// Random layouts (rows, columns, margins up to the controls' limits), symbologies and label values
// through the preview and the print loop on small page images. A run either prints its labels or
// stops with an engine error having aborted its document; the page count always matches the labels.

#include "barcode/TBarcode.h"
#include "output/TPreview.h"
#include "output/TPrintRun.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TRasterPrinter.h"
#include "util/Errors.h"
#include "util/TUserPrompts.h"

#include "FuzzSupport.h"

#include <string>
#include <vector>

namespace {

using namespace qbm;
using qbm::fuzz::Check;

class TListFeed : public TLabelFeed {
public:
    TListFeed(std::vector<std::string> codes, long long first) : m_codes(std::move(codes)), m_first(first) {}
    long long Count() const override { return static_cast<long long>(m_codes.size()); }
    long long FirstIndex() const override { return m_first; }
    TLabelValue Value(long long i) override {
        Check(i >= 0 && i < Count());
        return {m_codes[static_cast<size_t>(i)], "caption"};
    }

private:
    std::vector<std::string> m_codes;
    long long m_first;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureGuiApplication();
    qbm::fuzz::TFuzzReader in(data, size);
    TLayoutSettings layout;
    layout.rows = in.Range(1, 30);
    layout.columns = in.Range(1, 50);
    layout.marginLeft = in.Range(0, 800);
    layout.marginRight = in.Range(0, 800);
    layout.marginTop = in.Range(0, 800);
    layout.marginBottom = in.Range(0, 800);
    layout.splitMarks = in.Byte() & 1;
    const long long first = in.Byte() & 1;

    TBarcode main;
    main.SetTyp(static_cast<TBarcodeType>(in.Byte() % 25)); // one past the table: a damaged template
    main.SetModul(in.Range(1, 4));
    main.SetHeight(in.Range(0, 60));
    main.SetShowText(static_cast<TBarcodeOption>(in.Byte() % 4));
    main.SetAngle(in.Range(-360, 360));
    main.SetChecksum(in.Byte() & 1);

    std::vector<std::string> codes(static_cast<size_t>(in.Range(0, 40)));
    for (std::string& code : codes) code = in.Rest(in.Range(0, 12));

    TRasterPrinter printer(TPaperSize{60, 40}, 20);
    TBitmap labelPicture(in.Range(1, 300), in.Range(1, 300));
    TListFeed feed(codes, first);
    TPrintJob job;
    job.layout = layout;
    job.bcdMain = &main;
    job.labelPicture = &labelPicture;
    job.feed = &feed;

    // The preview of any page of a dpi-20 page at zooms up to 120 pixels an inch: a picture of the
    // current grid whatever the labels, and the page count; an engine error is reported, not thrown.
    TScriptedPrompts prompts;
    TBitmap picture;
    const TPage page{165, 234, 20, 20};
    const TPreviewResult preview = RefreshPreview(picture, page, job, in.Range(0, 120), in.Range(-2, 60),
                                                  static_cast<long long>(codes.size()));
    Check(preview.pageCountText.rfind("Total: ", 0) == 0);
    Check(picture.Width() == preview.layout.pictureWidth && picture.Height() == preview.layout.pictureHeight);
    Check(preview.page.number >= 1 && preview.page.number <= std::max(1, preview.page.pages));

    try {
        const TPrintResult r = RunPrintLoop(printer, job, prompts);
        // Labels larger than their cells are refused whole, before the first page.
        if (r.outcome == TPrintOutcome::poNotFitting) {
            Check(r.labels == 0 && printer.PagesPrinted() == 0);
            return 0;
        }
        const long long labels = std::max(0LL, static_cast<long long>(codes.size()) - first);
        Check(r.labels == labels);
        Check(r.pages == PageCount(labels, layout.rows, layout.columns));
        Check(printer.PagesPrinted() == r.pages);
    } catch (const EBarcodeError&) {
        Check(!printer.Printing());
    } catch (const EConvertError&) {
        Check(!printer.Printing()); // UPC-E expansion of a text it cannot read
    }
    return 0;
}
