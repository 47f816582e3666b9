#include "barcode/TBarcode.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"

#include "DocumentTestSupport.h"

#include <QImage>

#include <filesystem>

namespace qbm {
namespace {

using test::DocumentFixture;

constexpr int kDpi = 300;

// Prints through the document to a PDF (answering the confirmation Yes) and decodes every label.
std::vector<std::string> PrintAndDecode(DocumentFixture& f, ZXing::BarcodeFormats formats,
                                        TPrintResult& result) {
    const std::string pdf = f.Path("labels.pdf");
    TPdfPrinter printer(pdf, TPaperSize::A4(), kDpi);
    f.prompts.QueueAnswer(TMsgResult::mrYes);
    result = f.doc->Print(printer);
    std::vector<std::string> codes;
    for (const QImage& page : test::RasterisePdf(pdf, kDpi))
        for (std::string& code : test::DecodeAll(page, formats)) codes.push_back(std::move(code));
    std::sort(codes.begin(), codes.end());
    return codes;
}

TEST(DocumentPrint, EveryLabelOfEachSourceDecodesToItsValue) {
    {
        SCOPED_TRACE("constant code");
        DocumentFixture f;
        f.Select("EAN13 (ISBN)");
        f.doc->SetFixedCode("4006381333931"); // the default templates add no check digit
        f.doc->SetFixedCodeAmount(5);
        TPrintResult r;
        EXPECT_EQ(PrintAndDecode(f, ZXing::BarcodeFormat::EAN13, r),
                  std::vector<std::string>(5, "4006381333931"));
        EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted);
        EXPECT_EQ(r.pages, 2);
    }
    {
        SCOPED_TRACE("datasheet");
        DocumentFixture f;
        f.Select("Code128B");
        TDatasheet& sheet = f.doc->Datasheet();
        sheet.Reset(2, 4);
        sheet.SetRow(0, {"", "Code"});
        sheet.SetRow(1, {"", "Row-1"});
        sheet.SetRow(2, {"", "Row-2"});
        sheet.SetRow(3, {"", "Row-3"});
        f.doc->DatasheetWindowClosed(true);
        f.doc->SetLinearSource(TLinearSource::lsDatasheet);
        f.doc->SetCodeField(1);
        TPrintResult r;
        EXPECT_EQ(PrintAndDecode(f, ZXing::BarcodeFormat::Code128, r),
                  (std::vector<std::string>{"Row-1", "Row-2", "Row-3"}));
    }
    {
        SCOPED_TRACE("2D code list");
        DocumentFixture f;
        f.doc->TabChanged(TMainTab::mt2D);
        f.doc->SerialCode({"PDF-A", "PDF-B", "PDF-C"});
        TPrintResult r;
        EXPECT_EQ(PrintAndDecode(f, ZXing::BarcodeFormat::PDF417, r),
                  (std::vector<std::string>{"PDF-A", "PDF-B", "PDF-C"}));
    }
}

TEST(DocumentPrint, ChecksAndAnswersThatPrintNothingLeaveNoFile) {
    struct Case {
        TMsgResult answer;
        const char* code;
        const char* message; // shown after the confirmation
    };
    const Case cases[] = {
        /* 0 */ {TMsgResult::mrNo, "ABC", nullptr},
        /* 1 */ {TMsgResult::mrCancel, "ABC", nullptr},
        /* 2 */ {TMsgResult::mrYes, "  ", "There are no various or fixed code to print! "},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        DocumentFixture f;
        f.Select("Code39");
        f.doc->SetFixedCode(cases[i].code);
        f.Shown();
        TPdfPrinter printer(f.Path("none.pdf"), TPaperSize::A4(), kDpi);
        f.prompts.QueueAnswer(cases[i].answer);
        EXPECT_NE(f.doc->Print(printer).outcome, TPrintOutcome::poPrinted);
        const auto shown = f.Shown();
        ASSERT_GE(shown.size(), 1u);
        EXPECT_EQ(shown[0], "Would you like to print barcode labels now?");
        EXPECT_EQ(shown.size() > 1 ? shown[1] : "", cases[i].message ? cases[i].message : "");
        EXPECT_FALSE(std::filesystem::exists(f.Path("none.pdf")));
    }
}

TEST(DocumentPrint, CancellingDuringTheRunLeavesNoFile) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("CANCEL");
    f.doc->SetFixedCodeAmount(12); // 3 pages
    TPdfPrinter printer(f.Path("cancelled.pdf"), TPaperSize::A4(), kDpi);
    std::vector<int> seen;
    TPrintOptions options;
    options.progress = [&](int done, int pages) {
        seen.push_back(done);
        EXPECT_EQ(pages, 3);
        return done < 2;
    };
    const TPrintResult r = f.doc->Print(printer, options);
    EXPECT_EQ(r.outcome, TPrintOutcome::poCancelled);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_FALSE(std::filesystem::exists(f.Path("cancelled.pdf")));
    EXPECT_GT(f.doc->LabelPicture().Width(), 0); // the on-screen label is drawn again
}

TEST(DocumentPrinter, TheLabelFollowsThePrintersResolutionAndTheProjectItsOrientation) {
    DocumentFixture f;
    f.Select("EAN13 (ISBN)");
    EXPECT_EQ(f.doc->Setup().bcdMain.Modul(), 8); // 300 dpi without a printer
    EXPECT_EQ(f.doc->Setup().bcdMain.Height(), 354);
    TRasterPrinter printer(TPaperSize::A4(), 600);
    f.doc->SetPrinter(&printer);
    EXPECT_EQ(f.doc->Setup().bcdMain.Modul(), 15);
    EXPECT_EQ(f.doc->Setup().bcdMain.Height(), 709);
    f.doc->SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_GT(f.doc->PagePicture().Width(), f.doc->PagePicture().Height());
    ASSERT_TRUE(f.SaveAs("landscape.bpj"));
    EXPECT_NE(test::ReadWholeFile(f.Path("landscape.bpj")).find("PaperZX=0\r\n"), std::string::npos);
    f.doc->UndoStack()->undo();
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poPortrait);
}

// A run on a printer of another resolution prints from a barcode set up for that printer; the
// window's barcode and label picture are not changed on the way, and nothing has to be drawn again.
TEST(DocumentPrint, PrintingAtAnotherResolutionLeavesTheWindowsLabelAsItWas) {
    DocumentFixture f;
    f.Select("EAN13 (ISBN)");
    f.doc->SetFixedCode("4006381333931");
    f.doc->SetFixedCodeAmount(3);
    const TBarcode& screen = f.doc->Setup().bcdMain;
    const int modul = screen.Modul(), height = screen.Height(), fontHeight = screen.ShowTextFont().Height();
    const auto pixels = [&] {
        const TBitmap& b = f.doc->Setup().label.Bitmap;
        std::vector<TColor> all;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x) all.push_back(b.Pixel(x, y));
        return all;
    };
    const std::vector<TColor> before = pixels();
    ASSERT_FALSE(before.empty());
    int redrawn = 0;
    QObject::connect(f.doc.get(), &TLabelDocument::labelPictureChanged, [&] { ++redrawn; });

    const std::string pdf = f.Path("at600.pdf");
    TPdfPrinter printer(pdf, TPaperSize::A4(), 600);
    f.prompts.QueueAnswer(TMsgResult::mrYes);
    EXPECT_EQ(f.doc->Print(printer).outcome, TPrintOutcome::poPrinted);
    std::vector<std::string> codes;
    for (const QImage& page : test::RasterisePdf(pdf, kDpi))
        for (std::string& code : test::DecodeAll(page, ZXing::BarcodeFormat::EAN13)) codes.push_back(code);
    EXPECT_EQ(codes, std::vector<std::string>(3, "4006381333931"));

    EXPECT_EQ(screen.Modul(), modul);
    EXPECT_EQ(screen.Height(), height);
    EXPECT_EQ(screen.ShowTextFont().Height(), fontHeight);
    EXPECT_EQ(redrawn, 0);
    EXPECT_TRUE(pixels() == before);
}

TEST(DocumentUndo, UndoingAndRedoingASequenceOfEditsGivesBackTheSavedBytes) {
    DocumentFixture f;
    f.Select("EAN13 (ISBN)");
    ASSERT_TRUE(f.SaveAs("a.bpj"));
    const std::string savedA = test::ReadWholeFile(f.Path("a.bpj"));
    QUndoStack& undo = *f.doc->UndoStack();
    const int saved = undo.index();
    bool modified = false;
    QObject::connect(f.doc.get(), &TLabelDocument::modifiedChanged, [&](bool m) { modified = m; });

    // Keystrokes in one field are one step; a keystroke in another field starts the next.
    for (const char* typed : {"4", "40", "400"}) f.doc->SetFixedCode(typed);
    EXPECT_EQ(undo.index(), saved + 1);
    EXPECT_TRUE(modified);
    f.doc->SetFixedCode("40");
    f.doc->SetFixedCode("400");
    EXPECT_EQ(undo.index(), saved + 1);
    f.doc->SetExtCaption("cap");
    f.doc->SetFixedCodeAmount(7);
    f.doc->SetColumn(3);
    f.doc->SetColumn(4);
    f.doc->SetMargin(TMarginSide::msTop, 12);
    f.doc->SetSplitMarks(false);
    f.Select("Code39");
    f.doc->SetSource2D(T2DSource::tsCodeList);
    f.doc->Serial2D({"x", "y"});
    f.doc->SetText2D("line 1\r\nline 2");
    f.doc->SetFormat2D(1);
    f.doc->SetOrientation(TPrinterOrientation::poLandscape);
    EXPECT_EQ(undo.index(), saved + 12);
    ASSERT_TRUE(f.SaveAs("b.bpj"));
    const std::string savedB = test::ReadWholeFile(f.Path("b.bpj"));
    ASSERT_NE(savedA, savedB);

    while (undo.index() > saved) undo.undo();
    EXPECT_TRUE(f.doc->ProjectModified()); // b.bpj is the saved state now
    EXPECT_EQ(f.doc->Project().TemplateName(), "EAN13 (ISBN)");
    ASSERT_TRUE(f.SaveAs("c.bpj"));
    EXPECT_EQ(test::ReadWholeFile(f.Path("c.bpj")), savedA);

    while (undo.canRedo()) undo.redo();
    ASSERT_TRUE(f.SaveAs("d.bpj"));
    EXPECT_EQ(test::ReadWholeFile(f.Path("d.bpj")), savedB);

    // Undoing back to the state last saved clears the modified mark.
    f.doc->SetLinage(5);
    EXPECT_TRUE(modified);
    undo.undo();
    EXPECT_FALSE(modified);
    EXPECT_FALSE(f.doc->ProjectModified());
    // A new project starts a new history.
    f.doc->New();
    EXPECT_FALSE(undo.canUndo());
}

// The project keeps its own 2D settings: another machine with another library prints the same
// carrier data; carrier data out of range is refused before the first page, by name.
TEST(DocumentPrint, MaxiCodeCarrierDataTravelsWithTheProjectAndIsCheckedBeforePrinting) {
    DocumentFixture f;
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SetFormat2D(1);
    f.doc->SetText2D("Parcel 7");
    T2DSettings s = f.doc->Settings2D();
    s.MMode = 1;
    s.MPST = "W1A1AA";
    s.MCON = 826;
    s.MSEV = 1;
    f.doc->Set2DSettings(s);
    EXPECT_EQ(f.doc->Setup().maxiCode.Carrier(), (TMaxiCodeCarrier{cmMode3, "W1A1AA", 826, 1}));
    f.dialogs.QueuePath(f.Path("uk.bpj"));
    ASSERT_TRUE(f.doc->SaveAs());

    DocumentFixture other; // its own default library: mode 6, country 12
    other.dialogs.QueuePath(f.Path("uk.bpj"));
    other.doc->TabChanged(TMainTab::mt2D);
    ASSERT_TRUE(other.doc->Open());
    EXPECT_EQ(other.doc->Setup().maxiCode.Carrier(), (TMaxiCodeCarrier{cmMode3, "W1A1AA", 826, 1}));
    s.MMode = 0; // mode 2 cannot take letters
    other.doc->Set2DSettings(s);
    other.Shown();
    TPdfPrinter printer(other.Path("refused.pdf"), TPaperSize::A4(), kDpi);
    const TPrintResult r = other.doc->Print(printer);
    EXPECT_EQ(r.outcome, TPrintOutcome::poNothingPrinted);
    const auto shown = other.Shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "Invalid Postal Code \"W1A1AA\": mode 2 takes digits only; mode 3 takes letters "
                            "(up to 6 characters).");
    EXPECT_FALSE(std::filesystem::exists(other.Path("refused.pdf")));
}

} // namespace
} // namespace qbm
