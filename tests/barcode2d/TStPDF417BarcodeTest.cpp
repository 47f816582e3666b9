#include "barcode2d/TStPDF417Barcode.h"
#include "TestSupport.h"
#include "barcode2d/Pdf417ErrorCorrection.h"
#include "barcode2d/Pdf417Patterns.h"
#include "surface/GuiApplication.h"
#include "util/Errors.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace qbm {
namespace {

class Pdf417 : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
};

// n data codewords: each pair of capital letters is one codeword.
std::string Letters(int codewords) {
    return std::string(2 * static_cast<size_t>(codewords), 'Q');
}

TEST_F(Pdf417, PatternTableIsTheStandardTable) {
    std::ifstream in(test::TestDataPath("reference/pdf417_clusters.txt"));
    ASSERT_TRUE(in);
    std::string line;
    int cluster = -1;
    int v = 0;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("cluster", 0) == 0) {
            ++cluster;
            v = 0;
            continue;
        }
        ASSERT_EQ(kPdf417Patterns[cluster][v], std::stoul(line, nullptr, 16)) << cluster << " " << v;
        ++v;
        ++checked;
    }
    EXPECT_EQ(checked, 3 * 929);
    EXPECT_EQ(kPdf417Patterns[0][0], 0x1D5C0u);
    EXPECT_EQ(kPdf417Patterns[0][2], 0x1F57Cu);
    EXPECT_EQ(kPdf417Patterns[1][0], 0x1F560u);
    EXPECT_EQ(kPdf417Patterns[1][2], 0x1EA40u);
    EXPECT_EQ(kPdf417Patterns[2][0], 0x1ABE0u);
    EXPECT_EQ(kPdf417Patterns[2][2], 0x153C0u);
    // Rows take their cluster in turn: 0, 3, 6, 0, ...
    EXPECT_EQ(TStPDF417Barcode::CodewordPattern(4, 1), kPdf417Patterns[1][1]);
    EXPECT_THROW_MSG(TStPDF417Barcode::CodewordPattern(0, 929), E2DBarcodeError, "Invalid Codeword");
    EXPECT_THROW_MSG(TStPDF417Barcode::CodewordPattern(0, -1), E2DBarcodeError, "Invalid Codeword");
}

TEST_F(Pdf417, EmptySymbolWithDefaults) {
    TStPDF417Barcode bc;
    EXPECT_EQ(bc.Width(), 273);
    EXPECT_EQ(bc.Height(), 81);
    EXPECT_EQ(bc.CodewordCount(), 1);
    EXPECT_EQ(bc.EffectiveECCLevel(), 2);
    EXPECT_EQ(bc.CalcDimensions(), (TPdf417Dimensions{2, 5}));
    EXPECT_EQ(bc.SymbolCodewords(), (std::vector<int>{2, 900, 792, 768, 189, 329, 324, 285, 547, 210}));
    EXPECT_EQ(bc.BarCodeWidth(), 206);
    EXPECT_EQ(bc.BarCodeHeight(), 40);
    bc.SetTruncated(true);
    EXPECT_EQ(bc.BarCodeWidth(), 2 * 69);
}

// Evaluates the symbol's codeword polynomial at the generator's roots: all zero for a valid symbol.
TEST_F(Pdf417, CheckCodewordsMakeEverySyndromeZero) {
    std::mt19937 rng(929);
    for (int level = 0; level <= 8; ++level) {
        const int k = 2 << level;
        const int n = 1 + static_cast<int>(rng() % 200);
        std::vector<uint16_t> cw(n + k);
        for (int i = 0; i < n; ++i) cw[i] = static_cast<uint16_t>(rng() % 929);
        CalcPdf417ErrorCorrection(cw.data(), n, k);
        int root = 1;
        for (int i = 1; i <= k; ++i) {
            root = root * 3 % 929;
            int sum = 0;
            for (uint16_t c : cw) sum = (sum * root + c) % 929;
            ASSERT_EQ(sum, 0) << "level " << level << " root 3^" << i;
        }
        ASSERT_EQ(Pdf417GeneratorCoefficients(level).size(), static_cast<size_t>(k));
    }
}

TEST_F(Pdf417, AutomaticLevelAndDimensions) {
    struct Row {
        int count;
        int level;
        TPdf417Dimensions dims;
    };
    const Row rows[] = {
        /* 0 */ {10, 2, {3, 6}},
        /* 1 */ {40, 2, {6, 8}},
        /* 2 */ {41, 3, {7, 9}},
        /* 3 */ {161, 4, {13, 15}},
        /* 4 */ {321, 5, {19, 21}},
        /* 5 */ {900, 5, {30, 33}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        TStPDF417Barcode bc;
        bc.SetCode(Letters(rows[i].count - 1));
        ASSERT_EQ(bc.CodewordCount(), rows[i].count) << "row " << i;
        EXPECT_EQ(bc.EffectiveECCLevel(), rows[i].level) << "row " << i;
        EXPECT_EQ(bc.CalcDimensions(), rows[i].dims) << "row " << i;
        EXPECT_EQ(bc.SymbolCodewords()[0], rows[i].dims.columns * rows[i].dims.rows - (2 << rows[i].level));
    }
}

TEST_F(Pdf417, FixedRowsOrColumns) {
    TStPDF417Barcode bc;
    bc.SetCode(Letters(9));
    bc.SetNumRows(5);
    EXPECT_EQ(bc.CalcDimensions(), (TPdf417Dimensions{4, 5})); // 3 x 5 - 8 = 7 is not above 10
    bc.SetNumRows(0);
    bc.SetNumColumns(2);
    EXPECT_EQ(bc.CalcDimensions(), (TPdf417Dimensions{2, 10}));
    // 2 x 7 cannot hold 10 data and 8 check codewords: the setter refuses and keeps automatic rows.
    EXPECT_THROW_MSG(bc.SetNumRows(7), E2DBarcodeError, "Code too large for barcode");
    EXPECT_EQ(bc.NumRows(), 0);
    bc.SetECCLevel(ecLevel0);
    EXPECT_EQ(bc.EffectiveECCLevel(), 0);
    EXPECT_EQ(bc.ECCLevel(), ecLevel0);
    bc.SetNumRows(7);
    EXPECT_EQ(bc.CalcDimensions(), (TPdf417Dimensions{2, 7}));
    EXPECT_EQ(bc.SymbolCodewords().size(), 14u);
    // 2 x 7 at level 3 cannot hold 10 + 16 codewords: the setter refuses and keeps level 0.
    EXPECT_THROW_MSG(bc.SetECCLevel(ecLevel3), E2DBarcodeError, "Code too large for barcode");
    EXPECT_EQ(bc.ECCLevel(), ecLevel0);
    EXPECT_EQ(bc.SymbolCodewords().size(), 14u);
    bc.SetNumRows(0);
    bc.SetNumColumns(0);
    bc.SetECCLevel(static_cast<TStPDF417ECCLevels>(200)); // a damaged stored ordinal
    EXPECT_EQ(bc.EffectiveECCLevel(), 8);
}

TEST_F(Pdf417, SizeValidation) {
    TStPDF417Barcode bc;
    EXPECT_THROW_MSG(bc.SetBarWidth(0), E2DBarcodeError, "Bar Width cannot be less than one");
    EXPECT_THROW_MSG(bc.SetNumColumns(31), E2DBarcodeError, "Invalid Number of columns");
    EXPECT_THROW_MSG(bc.SetNumRows(-1), E2DBarcodeError, "Invalid number of rows");
    EXPECT_THROW_MSG(bc.SetNumRows(91), E2DBarcodeError, "Invalid number of rows");
    EXPECT_THROW_MSG(bc.SetQuietZone(-1), E2DBarcodeError, "Invalid Quiet Zone");
    EXPECT_THROW_MSG(bc.SetBarHeightToWidth(-1), E2DBarcodeError, "BarHeightToWidth cannot be less than one");
    EXPECT_THROW_MSG(bc.SetBarHeight(-1), E2DBarcodeError, "Bar Height cannot be less than one");
    bc.SetBarHeight(0); // the ratio still gives the rows their height
    EXPECT_THROW_MSG(bc.SetBarHeightToWidth(0), E2DBarcodeError,
                     "Either BarHeight or BarHeightToWidth is required");
    bc.SetRelativeBarHeight(true);
    bc.SetBarHeightToWidth(0);
    EXPECT_THROW_MSG(bc.SetRelativeBarHeight(false), E2DBarcodeError,
                     "Either BarHeight or BarHeightToWidth is required");
    bc.SetBarHeight(3);
    bc.SetRelativeBarHeight(false);
    EXPECT_THROW_MSG(bc.SetBarHeight(0), E2DBarcodeError, "Either BarHeight or BarHeightToWidth is required");
    EXPECT_EQ(bc.BarHeight(), 3);
    EXPECT_EQ(bc.BarWidth(), 2);
    EXPECT_EQ(bc.NumColumns(), 0);
    EXPECT_EQ(bc.QuietZone(), 8);
}

TEST_F(Pdf417, DescriptorAboveTheCodewordRangeIsRefusedWhenDrawn) {
    TStPDF417Barcode bc;
    bc.SetECCLevel(ecLevel8);
    bc.SetNumColumns(30);
    // 30 x 90 - 512 = 2188 cannot be drawn; the setter puts the old row count back.
    EXPECT_THROW_MSG(bc.SetNumRows(90), E2DBarcodeError, "Invalid Codeword");
    EXPECT_EQ(bc.NumRows(), 0);
    EXPECT_THROW_MSG(bc.SetCode("ABCDE\\C999"), E2DBarcodeError, "Invalid Codeword");
    EXPECT_EQ(bc.Code(), "");
}

TEST_F(Pdf417, FailingCodeKeepsThePreviousCodeAndPicture) {
    TStPDF417Barcode bc;
    bc.SetCode("Previous");
    const TBitmap before = bc.Bitmap();
    int repaints = 0;
    bc.SetOnInvalidate([&] { ++repaints; });
    EXPECT_THROW_MSG(bc.SetCode(std::string(3300, '\xE9')), E2DBarcodeError, "Code too large for barcode");
    EXPECT_EQ(bc.Code(), "Previous");
    EXPECT_EQ(bc.CodewordCount(), 6);
    for (int y = 0; y < before.Height(); ++y)
        for (int x = 0; x < before.Width(); ++x) ASSERT_EQ(bc.Bitmap().Pixel(x, y), before.Pixel(x, y));
    // A malformed GLI number is refused the same way: no half-encoded buffer behind a new text.
    EXPECT_THROW_MSG(bc.SetCode("AB\\Gabcdef"), EConvertError, "'abcdef' is not a valid integer value");
    EXPECT_EQ(bc.Code(), "Previous");
    EXPECT_EQ(bc.CodewordCount(), 6);
    EXPECT_EQ(repaints, 2); // each failure repaints the restored picture

    repaints = 0;
    bc.SetCode("Previous");
    bc.SetBarWidth(2);
    bc.SetTruncated(false);
    EXPECT_EQ(repaints, 0); // an unchanged value neither regenerates nor repaints
    bc.SetCaption("x");
    EXPECT_EQ(repaints, 1);
}

// Dark modules of one scan line of the symbol, read at the centre of each module.
std::string ModulesAt(const TBitmap& bmp, int left, int y, int barWidth, int modules) {
    std::string s;
    for (int m = 0; m < modules; ++m) {
        const TColor first = bmp.Pixel(left + m * barWidth, y);
        const TColor last = bmp.Pixel(left + m * barWidth + barWidth - 1, y);
        if (first != last) return s + "?";
        s += first == clBlack ? '1' : '0';
    }
    return s;
}

std::string PatternBits(uint32_t pattern) {
    std::string s;
    for (int b = 16; b >= 0; --b) s += (pattern >> b) & 1 ? '1' : '0';
    return s;
}

void ExpectModuleGrid(const TBitmap& bmp, TStPDF417Barcode& bc, int barWidth, int rowHeight, int left,
                      int top) {
    const TPdf417Dimensions d = bc.CalcDimensions();
    const std::vector<int> cw = bc.SymbolCodewords();
    const int modules = 17 * d.columns + 69;
    for (int r = 0; r < d.rows; ++r) {
        std::string data;
        for (int j = 0; j < d.columns; ++j)
            data += PatternBits(kPdf417Patterns[r % 3][cw[r * d.columns + j]]);
        // The first and the last pixel line of every row.
        for (int y : {top + r * rowHeight, top + (r + 1) * rowHeight - 1}) {
            const std::string seen = ModulesAt(bmp, left, y, barWidth, modules);
            ASSERT_EQ(static_cast<int>(seen.size()), modules) << "row " << r << " y " << y << ": " << seen;
            EXPECT_EQ(seen.substr(0, 17), "11111111010101000") << "start, row " << r;
            EXPECT_EQ(seen.substr(34, data.size()), data) << "data, row " << r;
            EXPECT_EQ(seen.substr(modules - 18), "111111101000101001") << "stop, row " << r;
        }
    }
    // Outside the symbol: the quiet zone on the left and right, light lines above and below.
    EXPECT_EQ(bmp.Pixel(left - 1, top), clWhite);
    EXPECT_EQ(bmp.Pixel(left + modules * barWidth, top), clWhite);
    EXPECT_EQ(bmp.Pixel(left, top - 1), clWhite);
    EXPECT_EQ(bmp.Pixel(left, top + d.rows * rowHeight), clWhite);
}

TEST_F(Pdf417, ModuleColumnsAndRowHeightsOnScreenAndAt600Dpi) {
    TStPDF417Barcode bc;
    bc.SetCode("Pixel test 0123");
    const int w = bc.BarCodeWidth() + 16;
    const int h = bc.BarCodeHeight() + 16;
    bc.SetBounds(w, h);
    ExpectModuleGrid(bc.Bitmap(), bc, 2, 8, 8, 8);

    TBitmap print;
    print.SetResolution(600);
    const TPictureSize size = bc.RenderToBitmap(print, 600, 600);
    EXPECT_EQ(size, (TPictureSize{static_cast<int>(w * 6.25), static_cast<int>(h * 6.25)}));
    EXPECT_EQ(print.Width(), size.width);
    // BarWidth 2 becomes 12 and rows of 4 module widths 48 pixels; the symbol is centred.
    const int symbolWidth = 12 * (17 * bc.CalcDimensions().columns + 69);
    const int symbolHeight = 48 * bc.CalcDimensions().rows;
    const int top = 8 + (size.height - 16 - symbolHeight) / 2;
    ExpectModuleGrid(print, bc, 12, 48, (size.width - symbolWidth) / 2, top);
    EXPECT_EQ(bc.BarWidth(), 2); // put back after the device picture
    ExpectModuleGrid(bc.Bitmap(), bc, 2, 8, 8, 8);
}

TEST_F(Pdf417, RowHeightFromBarHeightOrTheWholeArea) {
    TStPDF417Barcode bc;
    bc.SetBarHeight(5);
    bc.SetBarHeightToWidth(0);
    EXPECT_EQ(bc.BarCodeHeight(), 5 * 5);
    TBitmap print;
    bc.RenderToBitmap(print, 192, 192);
    // Device scaling widens the modules; rows given in pixels stay as they are.
    bc.SetRelativeBarHeight(true);
    EXPECT_EQ(bc.BarCodeHeight(), 81);
    bc.SetBounds(bc.BarCodeWidth() + 16, 81);
    // Rows share the area inside the quiet zone: (81 - 16) div 5 = 13 pixels each.
    const TBitmap& bmp = bc.Bitmap();
    EXPECT_EQ(bmp.Pixel(8, 8), clBlack);
    EXPECT_EQ(bmp.Pixel(8, 8 + 5 * 13 - 1), clBlack);
    EXPECT_EQ(bmp.Pixel(8, 8 + 5 * 13), clWhite);
}

TEST_F(Pdf417, TruncatedSymbolEndsWithOneModuleBar) {
    TStPDF417Barcode bc;
    bc.SetTruncated(true);
    bc.SetBounds(bc.BarCodeWidth() + 16, bc.BarCodeHeight() + 16);
    const int right = 8 + bc.BarCodeWidth(); // 2 x 69 modules
    EXPECT_EQ(bc.BarCodeWidth(), 138);
    EXPECT_EQ(bc.Bitmap().Pixel(right - 2, 8), clBlack);
    EXPECT_EQ(bc.Bitmap().Pixel(right - 1, 8), clBlack);
    EXPECT_EQ(bc.Bitmap().Pixel(right, 8), clWhite);
    EXPECT_EQ(bc.Bitmap().Pixel(right - 3, 8), clWhite); // every codeword pattern ends light
}

} // namespace
} // namespace qbm
