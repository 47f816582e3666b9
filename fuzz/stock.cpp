// The label stock reader on arbitrary bytes: the first part of the input as a paper size file, the
// rest as a template file. Whatever it reads must be a sound sheet, and its grid, when it gives one,
// must hold its labels.

#include "stock/StockGrid.h"
#include "stock/TStockReader.h"

#include "FuzzSupport.h"

#include <cmath>
#include <cstdint>
#include <string>

using qbm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader in(data, size);
    const size_t paperBytes = static_cast<size_t>(in.Range(0, 512));
    const std::string papers = in.Rest(paperBytes);
    const std::string templates = in.Rest(size);

    qbm::TStockReader reader;
    reader.ReadPaperSizes(papers, "paper-sizes.xml");
    reader.ReadTemplates(templates, "fuzz-templates.xml");
    reader.ReadTemplates(templates, "again-templates.xml"); // every part is listed twice
    for (const qbm::TStock& s : reader.Finish()) {
        Check(!s.brand.empty() && !s.part.empty());
        Check(std::isfinite(s.labelWidth) && s.labelWidth >= 0 && std::isfinite(s.labelHeight) &&
              s.labelHeight >= 0);
        Check(s.cornerRadius >= 0 && s.cornerRadius <= s.labelWidth / 2 + 1e-9);
        Check(!s.IsSheet() || (!s.layouts.empty() && s.pageWidth > 0 && s.pageHeight > 0));
        (void)s.LabelSizeText();
        (void)s.GridText();
        (void)s.PaperText();
        const qbm::TStockFit fit = qbm::FitStock(s);
        Check(fit.grid.has_value() != !fit.refusal.empty());
        if (fit.grid) {
            Check(fit.grid->rows >= 1 && fit.grid->rows <= 30 && fit.grid->columns >= 1 &&
                  fit.grid->columns <= 50);
            Check(fit.grid->paper.widthMm <= fit.grid->paper.heightMm);
        }
    }
    return 0;
}
