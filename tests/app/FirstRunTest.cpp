#include "app/TLabelDocument.h"
#include "surface/TPdfPrinter.h"
#include "util/TUserPrompts.h"

#include "StockSheets.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>

namespace qbm {
namespace {

TEST(FirstRun, TheWelcomeStepsPrintLabelsThatScanInsideTheirLabels) {
    const std::string dir = test::MakeTempDir();
    TScriptedPrompts prompts;
    TScriptedFileDialogs dialogs;
    TLabelDocument doc(prompts, dialogs, dir + "/Templates.dat");
    doc.Start();
    doc.New();
    const auto& names = doc.TemplateNames();
    const auto ean = std::find(names.begin(), names.end(), "EAN13 (ISBN)");
    ASSERT_NE(ean, names.end());
    doc.SelectTemplate(static_cast<int>(ean - names.begin()));
    doc.SetFixedCode("590123412345");
    doc.SetFixedCodeAmount(24);
    doc.ChooseStock(test::AveryL7160());
    EXPECT_TRUE(doc.Project().VerifyLabels()); // a new project reads its labels back

    // The library's template is wider and higher than a 38.1 mm label: refused before any page, with
    // both sizes; the layout tab says the same without a box.
    const std::string pdfPath = dir + "/labels.pdf";
    EXPECT_NE(doc.LayoutWarning().find("the cells are 66.0 x 38.1 mm"), std::string::npos)
        << doc.LayoutWarning();
    TPrintOptions options;
    options.run.verify = doc.Project().VerifyLabels();
    options.offerFitToLabel = true;
    {
        TPdfPrinter pdf(pdfPath, TPaperSize::A4(), 600);
        prompts.QueueAnswer(TMsgResult::mrYes);    // print now?
        prompts.QueueAnswer(TMsgResult::mrCancel); // not "Fit to label"
        EXPECT_EQ(doc.Print(pdf, options).outcome, TPrintOutcome::poNotFitting);
        EXPECT_NE(
            prompts.Messages().back().text.find(" mm with their quiet zones; the cells are 66.0 x 38.1 mm."),
            std::string::npos)
            << prompts.Messages().back().text;
        EXPECT_EQ(prompts.Messages().back().buttons, TMsgButtons::mbFitToLabelCancel);
    }
    EXPECT_FALSE(std::filesystem::exists(pdfPath));

    // One click on "Fit to label" and the run goes on.
    TPdfPrinter pdf(pdfPath, TPaperSize::A4(), 600);
    const TPrintResult r = doc.Print(pdf, options);
    ASSERT_EQ(r.outcome, TPrintOutcome::poPrinted) << prompts.Messages().back().text;
    EXPECT_EQ(r.labels, 24);
    EXPECT_EQ(r.pages, 2);
    EXPECT_EQ(r.verified, 24);
    EXPECT_TRUE(doc.LayoutWarning().empty()) << doc.LayoutWarning();

    // Every label scans inside the label rectangle of the sheet, with white at both of its sides.
    const std::vector<QImage> pages = test::RasterisePdf(pdfPath, 300);
    ASSERT_EQ(pages.size(), 2u);
    for (size_t p = 0; p < pages.size(); ++p) {
        const auto labels = test::ReadL7160Labels(pages[p], 300, p == 0 ? 21 : 3);
        for (size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].code, "5901234123457") << "page " << p + 1 << ", label " << i + 1;
            EXPECT_TRUE(labels[i].whiteSides) << "page " << p + 1 << ", label " << i + 1;
        }
    }
}

} // namespace
} // namespace qbm
