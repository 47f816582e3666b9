#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "output/TLabelVerifier.h"
#include "output/TPrintRun.h"
#include "surface/GuiApplication.h"
#include "surface/TRasterPrinter.h"
#include "symbols/TStSymbolBarcode.h"
#include "util/TUserPrompts.h"

#include "ListFeed.h"
#include "TestSupport.h"

#include <random>
#include <tuple>

namespace qbm {
namespace {

using test::ListFeed;

void SetUpBarcode(TBarcode& bc, TBarcodeType type, bool checksum) {
    bc.SetTyp(type);
    bc.SetChecksum(checksum);
    bc.SetModul(2);
    bc.SetHeight(80);
    bc.SetShowText(bcoCode);
}

TVerifyReport VerifyLinear(TBarcodeType type, bool checksum, std::vector<std::string> codes,
                           long long first = 0) {
    EnsureGuiApplication();
    TBarcode bc;
    SetUpBarcode(bc, type, checksum);
    ListFeed feed(std::move(codes), first);
    TLabelVerifier verifier(bc);
    return verifier.Verify(feed, first, feed.Count() - 1);
}

std::vector<std::string> RandomDigits(int count, int length, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> codes;
    for (int i = 0; i < count; ++i) {
        std::string c;
        for (int k = 0; k < length; ++k) c += static_cast<char>('0' + rng() % 10);
        codes.push_back(c);
    }
    return codes;
}

TEST(LabelVerifier, PassesACleanDatasheetRunAndNamesTheOneSlippedLabel) {
    std::vector<std::string> rows = RandomDigits(40, 12, 16);
    rows.insert(rows.begin(), "header");
    const TVerifyReport clean = VerifyLinear(bcCodeEAN13, true, rows, 1);
    EXPECT_EQ(clean.checked, 40);
    EXPECT_EQ(clean.failed, 0) << VerifyFailuresMessage(clean, true);

    // A full EAN-13 whose check digit is wrong: the symbol carries the right one instead.
    rows[17] = "4006381333932";
    const TVerifyReport slipped = VerifyLinear(bcCodeEAN13, true, rows, 1);
    ASSERT_EQ(slipped.failed, 1);
    EXPECT_EQ(slipped.failures[0].label, 17);
    EXPECT_EQ(VerifyFailuresMessage(slipped, true),
              "Row(17): expected \"4006381333932\", read \"4006381333931\"");
}

TEST(LabelVerifier, ReadsEachSymbologyAsAScannerWould) {
    struct Case {
        TBarcodeType type;
        bool checksum;
        const char* value;
        bool reads;
    };
    const Case kCases[] = {
        /*  0 */ {bcCode128B, false, "Lot 42/b", true},
        /*  1 */ {bcCode128C, false, "12345", true},      // read with its leading zero
        /*  2 */ {bcCode128Auto, false, "ab\\9cd", true}, // the escape is a tab
        /*  3 */ {bcCodeEAN128C, true, "10123456", true}, // a batch number
        /*  4 */ {bcCode39, true, "CODE-39", true},
        /*  5 */ {bcCode39, false, "Lower", false}, // Code 39 has no lower case: skipped
        /*  6 */ {bcCode39Extended, false, "Full ascii+", true},
        /*  7 */ {bcCode93, false, "CODE 93", true},
        /*  8 */ {bcCode93Extended, false, "code 93!", true},
        /*  9 */ {bcCode_2_5_interleaved, false, "1234567", true}, // read with its leading zero
        /* 10 */ {bcCodeCodabar, false, "40156", true},
        /* 11 */ {bcCodeCodabar, false, "40x56", false}, // x is left out of the bars
        /* 12 */ {bcCodeEAN8, true, "9638507", true},
        /* 13 */ {bcCodeEAN13, true, "012345678905", true}, // may read as the UPC-A 123456789050
        /* 14 */ {bcCodeUPC_A, true, "03600029145", true},
        /* 15 */ {bcCodeEAN13, true, "40063813339", false},   // one digit short: padded to another number
        /* 16 */ {bcCodeEAN13, true, "4006381x33393", false}, // not drawn at all
        /* 17 */ {bcCodeMSI, false, "80523", true},
        /* 18 */ {bcCodePostNet, false, "555551237", true},
        /* 19 */ {bcCode_2_5_industrial, false, "4711", true},
        /* 20 */ {bcCode_2_5_matrix, false, "4711", true},
        /* 21 */ {bcCodeUPC_Supp5, false, "52495", false},      // supplements need their main symbol
        /* 22 */ {bcCodeDataBar, false, "0950110153000", true}, // read with its check digit
        /* 23 */ {bcCodeDataBar, false, "(01)09501101530003", true},
        /* 24 */ {bcCodeDataBarStacked, false, "09501101530003", true},
        /* 25 */ {bcCodeDataBarExpanded, false, "(01)09501101530003(3103)000750(10)AB-12", true},
        /* 26 */ {bcCodeDataBar, false, "09501101530004", false},       // a wrong check digit is not drawn
        /* 27 */ {bcCodeDataBarLimited, false, "0950110153000", false}, // no reader: not read back
        /* 28 */ {bcCodeIMb, false, "01234567094987654321", false},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        const TVerifyReport r = VerifyLinear(c.type, c.checksum, {c.value});
        EXPECT_EQ(r.failed == 0, c.reads) << "case " << i << ": " << VerifyFailuresMessage(r, false);
    }
}

TEST(LabelVerifier, ReadsPdf417AndMaxiCodeEntries) {
    EnsureGuiApplication();
    const std::vector<std::string> entries = {"first entry", "Second: 1234567890", "tab\\009inside"};
    TStPDF417Barcode pdf;
    ListFeed pdfFeed(entries, 0);
    const TVerifyReport pdfReport = TLabelVerifier(pdf, 300, 300, false).Verify(pdfFeed, 0, 2);
    EXPECT_EQ(pdfReport.checked, 3);
    EXPECT_EQ(pdfReport.failed, 0) << VerifyFailuresMessage(pdfReport, false);

    TStMaxiCodeBarcode maxi;
    ListFeed maxiFeed({"MAXICODE LABEL 1", "maxicode label 2"}, 0);
    const TVerifyReport maxiReport = TLabelVerifier(maxi, 300, 300, true).Verify(maxiFeed, 0, 1);
    EXPECT_EQ(maxiReport.failed, 0) << VerifyFailuresMessage(maxiReport, false);
}

TEST(LabelVerifier, ReadsQrCodeDataMatrixAndAztecEntriesAsText) {
    EnsureGuiApplication();
    // Latin-1 accents, other scripts, a backslash that is no escape in these symbologies.
    const std::vector<std::string> entries = {"Grüße, Köln", "Привет, 日本", "C:\\temp\\label"};
    for (const TSymbology symbology : {TSymbology::QrCode, TSymbology::DataMatrix, TSymbology::Aztec}) {
        TStSymbolBarcode symbol;
        TSymbolSettings settings;
        settings.symbology = symbology;
        symbol.SetSettings(settings);
        ListFeed feed(entries, 0);
        const TVerifyReport report = TLabelVerifier(symbol, 300, 300, false).Verify(feed, 0, 2);
        EXPECT_EQ(report.checked, 3) << SymbologyName(symbology);
        EXPECT_EQ(report.failed, 0) << VerifyFailuresMessage(report, false);
    }
    // Micro QR has no reader here: every label is listed as not read, nothing passes unread.
    TStSymbolBarcode micro;
    TSymbolSettings settings;
    settings.symbology = TSymbology::MicroQr;
    micro.SetSettings(settings);
    ListFeed feed({"12345"}, 0);
    const TVerifyReport report = TLabelVerifier(micro, 300, 300, false).Verify(feed, 0, 0);
    EXPECT_EQ(report.failed, 1);
}

TEST(LabelVerifier, CountsProgressAndListsTheFirstTwentyFailures) {
    EnsureGuiApplication();
    TBarcode bc;
    SetUpBarcode(bc, bcCode39, false);
    ListFeed feed(std::vector<std::string>(30, "lower"), 0);
    TLabelVerifier verifier(bc);
    verifier.SetThreads(3);
    long long last = 0;
    const TVerifyReport r = verifier.Verify(feed, 0, 29, [&](long long done, long long total) {
        EXPECT_EQ(total, 30);
        EXPECT_GE(done, last);
        last = done;
        return true;
    });
    EXPECT_EQ(last, 30);
    EXPECT_EQ(r.failed, 30);
    const std::string m = VerifyFailuresMessage(r, false);
    EXPECT_EQ(m.substr(0, m.find('\n')), "Label(1): expected \"lower\", read nothing");
    EXPECT_NE(m.find("Label(20): "), std::string::npos);
    EXPECT_EQ(m.find("Label(21): "), std::string::npos);
    EXPECT_NE(m.find("\n... and 10 more"), std::string::npos);
}

TEST(LabelVerifier, AFailedRunPrintsNothingAndSaysWhichLabels) {
    EnsureGuiApplication();
    TBarcode main;
    SetUpBarcode(main, bcCodeEAN13, true);
    TBitmap picture(200, 100);
    ListFeed feed({"header", "400638133393", "5901234123458", "871234567890"}, 1);
    TPrintJob job;
    job.bcdMain = &main;
    job.labelPicture = &picture;
    job.feed = &feed;
    job.run.verify = true;
    job.run.datasheetRows = true;
    TRasterPrinter printer(TPaperSize{120, 120}, 150);
    TScriptedPrompts prompts;
    const TPrintResult r = RunPrintLoop(printer, job, prompts);
    EXPECT_EQ(r.outcome, TPrintOutcome::poNotVerified);
    EXPECT_EQ(r.verified, 3);
    EXPECT_EQ(printer.PagesPrinted(), 0);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "1 label does not read back as its value; nothing was printed.\n"
                                          "Row(2): expected \"5901234123458\", read \"5901234123457\"");

    ListFeed good({"header", "400638133393", "590123412345"}, 1);
    job.feed = &good;
    EXPECT_EQ(RunPrintLoop(printer, job, prompts).outcome, TPrintOutcome::poPrinted);
    EXPECT_EQ(printer.PagesPrinted(), 1);
}

// GS1 DataBar Limited and Intelligent Mail labels have no reader here: the run says so, as for Micro QR;
// DataBar and Expanded are read back.
TEST(LabelVerifier, DataBarIsReadBackLimitedAndIntelligentMailAreNot) {
    EnsureGuiApplication();
    for (const auto& [type, value, reason] :
         {std::tuple{bcCodeDataBarLimited, "0950110153000", "no reader for GS1 DataBar Limited symbols"},
          std::tuple{bcCodeIMb, "01234567094987654321", "no reader for Intelligent Mail symbols"},
          std::tuple{bcCodeDataBar, "0950110153000", ""},
          std::tuple{bcCodeDataBarExpanded, "(01)09501101530003(17)251231", ""}}) {
        TBarcode bc;
        SetUpBarcode(bc, type, false);
        bc.SetText(value);
        EXPECT_EQ(TLabelVerifier(bc).NoReader(), reason);
    }
}

// Labels of a symbology no reader here knows (Micro QR) print with read-back asked for, and the run
// says they were not read back instead of refusing every label.
TEST(LabelVerifier, ASymbologyWithoutAReaderPrintsAndSaysItWasNotReadBack) {
    EnsureGuiApplication();
    TStSymbolBarcode micro;
    TSymbolSettings settings;
    settings.symbology = TSymbology::MicroQr;
    micro.SetSettings(settings);
    TBitmap picture(100, 100); // the symbol's picture, 26 mm square: it fits its cell
    ListFeed feed({"12345", "67890"}, 0);
    TPrintJob job;
    job.is2D = true;
    job.symbol2D = &micro;
    job.labelPicture = &picture;
    job.feed = &feed;
    job.run.verify = true;
    TRasterPrinter printer(TPaperSize{120, 120}, 150);
    TScriptedPrompts prompts;
    const TPrintResult r = RunPrintLoop(printer, job, prompts);
    EXPECT_EQ(r.outcome, TPrintOutcome::poPrinted);
    EXPECT_EQ(r.notReadBack, "no reader for Micro QR symbols");
    EXPECT_EQ(r.verified, 0);
    EXPECT_EQ(printer.PagesPrinted(), 1);
    EXPECT_TRUE(prompts.Messages().empty());
}

} // namespace
} // namespace qbm
