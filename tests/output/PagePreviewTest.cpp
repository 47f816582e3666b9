#include "barcode/TBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "output/TPreview.h"
#include "output/TPreviewZoom.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "util/TUserPrompts.h"

#include "ListFeed.h"
#include "TestSupport.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace qbm {
namespace {

using test::ListFeed;

const TPage kA4Portrait{2479, 3508, 300, 300};

// EAN-13 values with their check digits, all different.
std::vector<std::string> EanCodes(int n) {
    std::vector<std::string> codes;
    for (int i = 0; i < n; ++i) {
        std::string digits = "590123" + std::to_string(100000 + i);
        int sum = 0;
        for (size_t k = 0; k < 12; ++k) sum += (digits[k] - '0') * (k % 2 ? 3 : 1);
        codes.push_back(digits + char('0' + (10 - sum % 10) % 10));
    }
    return codes;
}

// A preview run of EAN-13 labels at 300 dpi; a 3 x 7 sheet (the cells of a common 21-up A4 stock).
struct LabelRun {
    TBarcode main;
    TBitmap labelPicture;
    TLayoutSettings layout;
    LabelRun() {
        EnsureGuiApplication();
        main.SetTyp(bcCodeEAN13);
        main.SetChecksum(true);
        main.SetModul(3);
        main.SetHeight(200);
        main.SetShowText(bcoCode);
        labelPicture = TBitmap(main.Width(), 94 + main.Height());
        layout.rows = 7;
        layout.columns = 3;
        layout.marginLeft = layout.marginRight = 7;
        layout.marginTop = layout.marginBottom = 15;
    }
    TPrintJob Job(TLabelFeed* feed) {
        TPrintJob job;
        job.layout = layout;
        job.bcdMain = &main;
        job.labelPicture = &labelPicture;
        job.feed = feed;
        return job;
    }
    TPreviewLayout Layout(double ppi) {
        return ComputePreviewLayout(kA4Portrait, layout, ppi, labelPicture.Width(), labelPicture.Height(),
                                    false);
    }
};

QImage ToImage(const TBitmap& b) {
    const std::vector<uint8_t> grey = b.Luminance();
    QImage image(b.Width(), b.Height(), QImage::Format_Grayscale8);
    for (int y = 0; y < b.Height(); ++y)
        std::memcpy(image.scanLine(y), grey.data() + static_cast<size_t>(y) * b.Width(), b.Width());
    return image;
}

// What each cell of a preview page reads as, row by row ("" for a cell without a symbol).
std::vector<std::string> CellCodes(const TBitmap& picture, const TPreviewLayout& p) {
    const double sx = p.ScaleX(kA4Portrait), sy = p.ScaleY(kA4Portrait);
    std::vector<std::string> codes;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 3; ++col) {
            const int left = static_cast<int>(p.grid.CellLeft(col) * sx),
                      top = static_cast<int>(p.grid.CellTop(row) * sy);
            const int w = static_cast<int>(p.grid.pitchX * sx), h = static_cast<int>(p.grid.pitchY * sy);
            TBitmap cell(w, h);
            cell.Canvas().CopyRect({0, 0, w, h}, picture, {left, top, left + w, top + h});
            codes.push_back(test::Decode(cell, ZXing::BarcodeFormat::EAN13).text);
        }
    return codes;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

int CountPixels(const TBitmap& b, bool (*match)(TColor)) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += match(b.Pixel(x, y));
    return n;
}

bool IsDark(TColor c) {
    return RedOf(c) + GreenOf(c) + BlueOf(c) < 3 * 96;
}

bool IsRed(TColor c) {
    return RedOf(c) > 200 && GreenOf(c) < 80 && BlueOf(c) < 80;
}

TEST(PagePreview, ZoomFitsThePaperAndStaysWithinItsLimits) {
    // 25 pixels an inch is the picture the window always opened with: A4 at 207 x 292.
    const TPreviewLayout p = ComputePreviewLayout(kA4Portrait, TLayoutSettings{}, 25, 10, 10, false);
    EXPECT_EQ(p.pictureWidth, 207);
    EXPECT_EQ(p.pictureHeight, 292);
    EXPECT_NEAR(FitPagePixelsPerInch(kA4Portrait, 1000, 584), 584 / (3508 / 300.0), 1e-9)
        << "the height rules";
    EXPECT_NEAR(FitPagePixelsPerInch(kA4Portrait, 300, 2000), 300 / (2479 / 300.0), 1e-9)
        << "the width rules";
    EXPECT_NEAR(FitWidthPixelsPerInch(kA4Portrait, 827), 827 / (2479 / 300.0), 1e-9);
    EXPECT_EQ(ClampPreviewPixelsPerInch(kA4Portrait, 0), kMinPreviewPixelsPerInch);
    EXPECT_EQ(ClampPreviewPixelsPerInch(kA4Portrait, 1e6), kMaxPreviewPixelsPerInch);
    // A banner 2 m long never asks for a picture of more than the largest area.
    const TPage banner{23622, 600, 300, 300};
    const TPreviewLayout b = ComputePreviewLayout(banner, TLayoutSettings{}, 600, 10, 10, false);
    EXPECT_LE(static_cast<double>(b.pictureWidth) * b.pictureHeight, kMaxPreviewPictureArea * 1.01);

    TPreviewZoom zoom;
    EXPECT_EQ(zoom.Mode(), TZoomMode::zmFitPage);
    EXPECT_NEAR(zoom.PixelsPerInch(kA4Portrait, 1000, 584), 584 / (3508 / 300.0), 1e-9);
    zoom.ZoomIn(); // one step up from the fitted size
    EXPECT_EQ(zoom.Mode(), TZoomMode::zmFixed);
    EXPECT_NEAR(zoom.PixelsPerInch(kA4Portrait, 1, 1), 584 / (3508 / 300.0) * 1.25, 1e-9);
    zoom.ActualSize();
    EXPECT_EQ(zoom.PixelsPerInch(kA4Portrait, 1, 1), 96);
    zoom.ZoomIn();
    zoom.ZoomOut();
    EXPECT_EQ(zoom.PixelsPerInch(kA4Portrait, 1, 1), 96) << "steps come back to 100 %";
    for (int i = 0; i < 40; ++i) zoom.ZoomIn();
    EXPECT_EQ(zoom.PixelsPerInch(kA4Portrait, 1, 1), TPreviewZoom::kMaxFactor * 96);
    zoom.FitWidth();
    EXPECT_NEAR(zoom.PixelsPerInch(kA4Portrait, 827, 10), 827 / (2479 / 300.0), 1e-9);
    EXPECT_NEAR(zoom.ShownFactor(), 827 / (2479 / 300.0) / 96, 1e-9);
}

TEST(PagePreview, FitChecksMeasureAtThePrintersResolution) {
    // Default layout on A4 at 300 dpi: cells of 1122 x 1636 printer pixels.
    struct Case {
        int width, height;
        bool is2D;
        TLayoutFocus fit;
    };
    constexpr Case kCases[] = {
        /* 0 */ {1121, 1635, false, TLayoutFocus::lfNone},
        /* 1 */ {1122, 10, false, TLayoutFocus::lfColumns}, // exactly as wide as the cell
        /* 2 */ {1121, 1636, false, TLayoutFocus::lfRows},
        /* 3 */ {2000, 2000, false, TLayoutFocus::lfColumns}, // the width is checked first
        /* 4 */ {359, 100, true, TLayoutFocus::lfColumns},    // 359 px at 96 dpi: 1122 printer pixels
        /* 5 */ {358, 100, true, TLayoutFocus::lfNone},
    };
    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        for (const double ppi : {25.0, 200.0})
            EXPECT_EQ(
                ComputePreviewLayout(kA4Portrait, TLayoutSettings{}, ppi, c.width, c.height, c.is2D).fit,
                c.fit)
                << "case " << i << " at " << ppi << " pixels an inch";
    }
    TLayoutSettings noRoom;
    noRoom.marginLeft = noRoom.marginRight = 150;
    EXPECT_EQ(ComputePreviewLayout(kA4Portrait, noRoom, 25, 1, 1, false).fit, TLayoutFocus::lfColumns);
}

TEST(PagePreview, EveryCellShowsItsOwnLabelAsPrinted) {
    LabelRun run;
    const std::vector<std::string> codes = EanCodes(30);
    ListFeed feed(codes, 0);
    const TPreviewLayout p = run.Layout(200);
    TBitmap picture;
    const TPreviewPage first = DrawPreviewPage(picture, p, kA4Portrait, run.Job(&feed), 1);
    EXPECT_EQ(first.pages, 2);
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.problem, "");
    EXPECT_EQ(picture.Width(), 1653); // 8.26 inches at 200
    EXPECT_EQ(CellCodes(picture, p), std::vector<std::string>(codes.begin(), codes.begin() + 21));

    const TPreviewPage second = DrawPreviewPage(picture, p, kA4Portrait, run.Job(&feed), 2);
    EXPECT_EQ(second.number, 2);
    std::vector<std::string> rest(codes.begin() + 21, codes.end());
    rest.resize(21);
    EXPECT_EQ(CellCodes(picture, p), rest) << "the last nine, then empty cells";
    EXPECT_EQ(DrawPreviewPage(picture, p, kA4Portrait, run.Job(&feed), 9).number, 2)
        << "a page past the run shows its last page";
    EXPECT_EQ(run.labelPicture.Width(), run.main.Width()) << "the window's label picture is left alone";
}

TEST(PagePreview, NoLabelsLeaveEmptyCellsOnTheGrid) {
    LabelRun run;
    TBitmap picture;
    const TPreviewPage page = DrawPreviewPage(picture, run.Layout(50), kA4Portrait, run.Job(nullptr), 3);
    EXPECT_EQ(page.pages, 0);
    EXPECT_EQ(page.number, 1);
    EXPECT_EQ(CountPixels(picture, IsDark), 0);
    EXPECT_GT(CountPixels(picture, [](TColor c) { return c == clSilver; }), 1000) << "the margin rectangle";
}

TEST(PagePreview, RefreshWarnsButDrawsTheCurrentGridWithMisfitsInRed) {
    LabelRun run;
    run.layout.rows = 30; // cells of 8 mm: the label is far higher
    const std::vector<std::string> codes = EanCodes(4);
    ListFeed feed(codes, 0);
    TBitmap picture(5, 5);
    const TPreviewResult r = RefreshPreview(picture, kA4Portrait, run.Job(&feed), 50, 1, 4);
    EXPECT_EQ(r.warning, "Out of output range!"); // for the window to show beside the layout, no box
    EXPECT_EQ(r.layout.fit, TLayoutFocus::lfRows);
    EXPECT_EQ(r.pageCountText, "Total: 1Pages");
    EXPECT_EQ(picture.Width(), r.layout.pictureWidth) << "drawn at the new size, not left as it was";
    EXPECT_GT(CountPixels(picture, IsDark), 0) << "the labels are there";
    EXPECT_GT(CountPixels(picture, IsRed), 4 * 40) << "each of the four labels framed in red";

    run.layout.rows = 7;
    EXPECT_EQ(RefreshPreview(picture, kA4Portrait, run.Job(&feed), 50, 1, 4).warning, "");
    EXPECT_EQ(CountPixels(picture, IsRed), 0);
}

TEST(PagePreview, ARefusedValueIsNamedAndTheLabelsBeforeItStay) {
    LabelRun run;
    std::vector<std::string> codes = EanCodes(3);
    codes[2] = "not digits";
    ListFeed feed(codes, 0);
    TBitmap picture;
    const TPreviewPage page = DrawPreviewPage(picture, run.Layout(200), kA4Portrait, run.Job(&feed), 1);
    EXPECT_NE(page.problem, "");
    const std::vector<std::string> read = CellCodes(picture, run.Layout(200));
    EXPECT_EQ(read[0], codes[0]);
    EXPECT_EQ(read[1], codes[1]);
    EXPECT_EQ(read[2], "");
}

// Silver runs along a row or a column of the preview page.
int SilverRuns(const TBitmap& b, bool alongRow, int fixed, int from, int to) {
    int runs = 0;
    bool in = false;
    for (int k = from; k < to; ++k) {
        const bool s = (alongRow ? b.Pixel(k, fixed) : b.Pixel(fixed, k)) == clSilver;
        if (s && !in) ++runs;
        in = s;
    }
    return runs;
}

TEST(PagePreview, SplitMarksOnePerColumnAndRowBesideTheMarginRectangle) {
    LabelRun run;
    run.layout = TLayoutSettings{};
    run.layout.rows = 2;
    run.layout.columns = 3;
    TBitmap picture;
    const TPreviewLayout p = run.Layout(25);
    DrawPreviewPage(picture, p, kA4Portrait, run.Job(nullptr), 1);
    const int top = 10, left = 10; // 10 mm at 25 pixels an inch
    EXPECT_EQ(SilverRuns(picture, true, top + 2, 0, picture.Width()), 3 + 1)
        << "3 marks, the right margin line";
    EXPECT_EQ(SilverRuns(picture, false, left + 2, 0, picture.Height()), 2 + 1) << "2 marks, the bottom line";
    run.layout.splitMarks = false;
    DrawPreviewPage(picture, p, kA4Portrait, run.Job(nullptr), 1);
    EXPECT_EQ(SilverRuns(picture, true, top + 2, 0, picture.Width()), 2) << "the margin rectangle's sides";
}

TEST(PagePreview, StockOutlinesShowFaintlyWithSplitMarksOnly) {
    // One 100 x 50 mm label centred in a single cell of an A4 page.
    LabelRun run;
    TLayoutSettings& layout = run.layout;
    layout = TLayoutSettings{};
    layout.rows = layout.columns = 1;
    layout.exactMargins = true;
    layout.exactLeft = layout.exactRight = 5500;
    layout.exactTop = layout.exactBottom = 12350;
    layout.stockPageWidth = 21000;
    layout.stockPageHeight = 29700;
    layout.stockLabelWidth = 10000;
    layout.stockLabelHeight = 5000;
    layout.stockLabelRadius = 500;
    const auto outlinePixels = [&](bool splitMarks) {
        layout.splitMarks = splitMarks;
        TBitmap picture;
        DrawPreviewPage(picture, run.Layout(25), kA4Portrait, run.Job(nullptr), 1);
        return CountPixels(picture, [](TColor c) { return c != clWhite && c != clSilver && !IsDark(c); });
    };
    EXPECT_GT(outlinePixels(true), 200); // about 2 x (98 + 49) pixels round a 100 x 50 mm label
    EXPECT_EQ(outlinePixels(false), 0);
}

TEST(PagePreview, TwoDimensionalEntriesDecodeAndTheWindowsSymbolKeepsItsCode) {
    EnsureGuiApplication();
    TStPDF417Barcode pdf;
    pdf.SetCode("shown in the window");
    const int width = pdf.Width(), height = pdf.Height();
    TBitmap labelPicture(pdf.Width(), pdf.Height());
    const std::vector<std::string> entries = {"PARCEL-0001", "PARCEL-0002", "PARCEL-0003"};
    ListFeed feed(entries, 0);
    TPrintJob job;
    job.is2D = true;
    job.symbol2D = &pdf;
    job.labelPicture = &labelPicture;
    job.feed = &feed;
    const TPreviewLayout p =
        ComputePreviewLayout(kA4Portrait, job.layout, 300, labelPicture.Width(), labelPicture.Height(), true);
    TBitmap picture;
    const TPreviewPage page = DrawPreviewPage(picture, p, kA4Portrait, job, 1);
    EXPECT_EQ(page.pages, 1);
    EXPECT_EQ(Sorted(test::DecodeAll(ToImage(picture), ZXing::BarcodeFormat::PDF417)), entries);
    EXPECT_EQ(pdf.Code(), "shown in the window");
    EXPECT_EQ(pdf.Width(), width);
    EXPECT_EQ(pdf.Height(), height);
}

} // namespace
} // namespace qbm
