#include "DocumentTestSupport.h"

#include "data/TDatasheet.h"
#include "project/TLabelProject.h"

namespace qbm::test {
namespace {

// EAN-13 labels from a constant code, 2 x 2 on A4.
struct PreviewFixture : DocumentFixture {
    PreviewFixture() {
        Select("EAN13 (ISBN)");
        doc->SetFixedCode("5901234123457");
        doc->SetFixedCodeAmount(9);
        Shown();
    }
};

TEST(DocumentPreview, PagesFollowTheAmountAndTurnWithinTheRun) {
    PreviewFixture f;
    EXPECT_EQ(f.doc->PreviewPageText(), "Page 1 of 3");
    f.doc->ShowPreviewPage(3);
    EXPECT_EQ(f.doc->PreviewPageText(), "Page 3 of 3");
    f.doc->ShowPreviewPage(7);
    EXPECT_EQ(f.doc->PreviewPage(), 3) << "no page past the run";
    f.doc->ShowPreviewPage(0);
    EXPECT_EQ(f.doc->PreviewPage(), 1);
    f.doc->ShowPreviewPage(3);
    const int previews = f.previews;
    f.doc->SetFixedCodeAmount(5);
    EXPECT_GT(f.previews, previews) << "the amount redraws the preview at once";
    EXPECT_EQ(f.doc->PreviewPageText(), "Page 2 of 2");
    EXPECT_EQ(f.doc->PageCountText(), "Total: 2Pages");
    EXPECT_TRUE(f.Shown().empty());
}

TEST(DocumentPreview, ZoomAndPageTurnsAreNoChangeOfTheProject) {
    PreviewFixture f;
    ASSERT_TRUE(f.SaveAs("labels.bpj"));
    const int steps = f.doc->UndoStack()->count();
    f.doc->SetPreviewPixelsPerInch(96);
    EXPECT_EQ(f.doc->PagePicture().Width(), 793);
    f.doc->ShowPreviewPage(2);
    EXPECT_EQ(f.doc->UndoStack()->count(), steps);
    EXPECT_FALSE(f.doc->ProjectModified());
    f.doc->SetPreviewPixelsPerInch(1e9);
    EXPECT_EQ(f.doc->PreviewPixelsPerInch(), kMaxPreviewPixelsPerInch);
}

TEST(DocumentPreview, BlankOrRefusedCodesLeaveTheCellsEmptyAndSayWhy) {
    PreviewFixture f;
    f.doc->SetFixedCode("   ");
    EXPECT_EQ(f.doc->PreviewPageText(), "No labels");
    EXPECT_EQ(f.doc->PreviewProblem(), "");
    // Letters are no EAN-13: the print loop refuses them, and the preview names why.
    f.doc->SetFixedCode("59012341234AB");
    EXPECT_EQ(f.doc->PreviewPageText(), "Page 1 of 3");
    EXPECT_NE(f.doc->PreviewProblem(), "");
    f.doc->SetFixedCode("4006381333931");
    EXPECT_EQ(f.doc->PreviewProblem(), "");

    // A datasheet without a chosen code field has no labels either, as the print command says.
    TDatasheet& sheet = f.doc->Datasheet();
    sheet.SetRowCount(3);
    sheet.SetCell(1, 1, "A1");
    sheet.SetCell(1, 2, "A2");
    f.doc->SetLinearSource(TLinearSource::lsDatasheet);
    EXPECT_EQ(f.doc->PreviewPageText(), "No labels");
}

TEST(DocumentPreview, AFailedFitCheckStillShowsTheCurrentGrid) {
    PreviewFixture f;
    f.doc->SetColumn(50);
    EXPECT_TRUE(f.Shown().empty()) << "the warning is shown beside the layout, not in a box";
    EXPECT_EQ(f.doc->LayoutWarning().rfind("To many barcode per line! ", 0), 0u) << f.doc->LayoutWarning();
    EXPECT_EQ(f.doc->PreviewLayout().grid.cellWidth, Rnd((2479 - 236) / 50.0)) << "the new grid";
    EXPECT_EQ(f.doc->PreviewPageText(), "Page 1 of 1");
    f.doc->SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_GT(f.doc->PagePicture().Width(), f.doc->PagePicture().Height())
        << "drawn although the check failed";
}

} // namespace
} // namespace qbm::test
