#include "app/ProjectPrinting.h"

#include "app/DesignPrintChecks.h"

#include "app/TSourceFeed.h"
#include "barcode/TBarcode.h"
#include "barcode2d/TMaxiCodeCarrier.h"
#include "project/CodeValueSources.h"
#include "project/TLabelProject.h"
#include "util/TUserPrompts.h"

namespace qbm {

TLayoutSettings LayoutOf(const TLabelProject& project) {
    TLayoutSettings s;
    s.rows = project.Linage();
    s.columns = project.Column();
    s.marginLeft = project.MarginLeft();
    s.marginRight = project.MarginRight();
    s.marginTop = project.MarginTop();
    s.marginBottom = project.MarginBottom();
    s.splitMarks = project.SplitMarks();
    if (const auto& stock = project.Stock()) {
        s.exactMargins = true;
        s.exactLeft = stock->marginLeft;
        s.exactTop = stock->marginTop;
        s.exactRight = stock->marginRight;
        s.exactBottom = stock->marginBottom;
        s.stockPageWidth = stock->pageWidth;
        s.stockPageHeight = stock->pageHeight;
        s.stockLabelWidth = stock->labelWidth;
        s.stockLabelHeight = stock->labelHeight;
        s.stockLabelRadius = stock->labelRadius;
    }
    return s;
}

TLinearPrintChecks PrintChecksOf(TLabelProject& project, TBarcodeType type, bool checksum) {
    TLinearPrintChecks c;
    c.datasheetSource = project.LinearSource() == TLinearSource::lsDatasheet;
    c.constantCode = project.FixedCode();
    c.datasheetRowCount = project.Datasheet().RowCount();
    c.codeFieldIndex = project.CodeField();
    c.symbologyName = type < kBarcodeTypeCount ? BCdata[type].Name : "";
    c.rowCode = [&project](long long row) {
        return FieldValue(project.Datasheet(), project.CodeFieldName(), static_cast<int>(row));
    };
    c.problem = [type, checksum](const std::string& code) { return CodeProblem(code, type, checksum); };
    return c;
}

std::string PrintSummary(const TPrintResult& result, const std::string& target, bool toFile) {
    const auto counted = [](long long n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string line = counted(result.labels, "label", "labels") + " on " +
                       counted(result.pages, "page", "pages") + (toFile ? " written to " : " sent to ") +
                       target;
    if (!result.notReadBack.empty())
        line += "; not read back (" + result.notReadBack + ").";
    else if (result.verified > 0 && result.unreadable == 0)
        line += result.verified == 1 ? "; the label read back." : "; every label read back.";
    else
        line += ".";
    return line;
}

TPrintJob PrintJobOf(const TLabelProject& project, const TBarcode& bcdMain, TStCustom2DBarcode* symbol2D,
                     TBitmap& labelPicture, TLabelFeed& feed) {
    TPrintJob job;
    job.layout = LayoutOf(project);
    job.is2D = project.Kind() == TBarcodeKind::bk2D;
    job.bcdMain = &bcdMain;
    job.symbol2D = symbol2D;
    job.labelPicture = &labelPicture;
    job.feed = &feed;
    if (project.Design()) {
        job.design = &*project.Design();
        job.datasheet = &project.Datasheet();
        job.designProblems = [&project, &feed](long long first, long long last, int dpi) {
            return DesignPrintProblems(*project.Design(), &project.Datasheet(), feed, first, last, dpi);
        };
    }
    return job;
}

TPrintResult PrintProject(TLabelProject& project, TPrinter& printer, const TBarcode& bcdMain,
                          TStCustom2DBarcode* symbol2D, TBitmap& labelPicture, TUserPrompts& prompts,
                          TPrintProgress progress, TChoosePrinter choosePrinter, TPrintRunOptions options) {
    TSourceFeed feed(project);
    TPrintJob job = PrintJobOf(project, bcdMain, symbol2D, labelPicture, feed);
    job.progress = std::move(progress);
    job.choosePrinter = std::move(choosePrinter);
    job.run = std::move(options);
    job.run.datasheetRows = !job.is2D && project.LinearSource() == TLinearSource::lsDatasheet;
    if (job.is2D) {
        // Carrier data the symbol cannot hold is refused before anything prints, by its name.
        if (project.Format2D() == 1 && project.Settings2D()) {
            if (const TCarrierProblem p = CheckCarrier(CarrierOf(*project.Settings2D()))) {
                prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, p.message);
                return {};
            }
        }
        if (const std::string problem = Latin1Problem2D(project); !problem.empty()) {
            prompts.Message(TMsgKind::mkError, TMsgButtons::mbOK, problem);
            return {};
        }
        return RunPrintCommand(printer, job, nullptr, prompts);
    }
    const TLinearPrintChecks checks = PrintChecksOf(project, bcdMain.Typ(), bcdMain.Checksum());
    return RunPrintCommand(printer, job, &checks, prompts);
}

} // namespace qbm
