#include "stock/StockGrid.h"
#include "output/TPageLayout.h"
#include "project/TLabelProject.h"
#include "stock/TStockDatabase.h"
#include "stock/TStockReader.h"
#include "surface/TRasterPrinter.h"

#include "StockTestSupport.h"

#include <cmath>
#include <regex>

namespace qbm {
namespace {

// The three sheets the tests know, as our page grid: rows, columns, paper and exact margins.
struct KnownGrid {
    const char* name;
    int rows, columns;
    double paperWidth, paperHeight;
    int left, top, right, bottom; // hundredths of a millimetre
};
constexpr KnownGrid kKnownGrids[] = {
    // 2.625 x 1 in labels, 0.15625 in gaps shared half and half: 0.078125 in = 1.98 mm at each side.
    /* 0 */ {"Avery 5160", 10, 3, 215.9, 279.4, 198, 1270, 198, 1270},
    // 280.9 pt labels 292 pt apart from 9.5 pt: 3.95 pt = 1.39 mm left, 2.58 mm left over at the right.
    /* 1 */ {"Avery L7163", 7, 2, 210, 297, 139, 1517, 258, 1513},
    // 70 x 37 mm edge to edge from the top left corner: the millimetre left over is at the bottom.
    /* 2 */ {"Hama 50450", 8, 3, 210, 297, 0, 0, 0, 100},
};

void ExpectKnownGrids(const TStockDatabase& db) {
    for (const KnownGrid& k : kKnownGrids) {
        const TStock* stock = db.Find(k.name);
        ASSERT_NE(stock, nullptr) << k.name;
        const TStockFit fit = FitStock(*stock);
        ASSERT_TRUE(fit.grid) << k.name << ": " << fit.refusal;
        const TStockGrid& g = *fit.grid;
        EXPECT_EQ(g.rows, k.rows) << k.name;
        EXPECT_EQ(g.columns, k.columns) << k.name;
        EXPECT_EQ(g.orientation, TPrinterOrientation::poPortrait) << k.name;
        EXPECT_NEAR(g.paper.widthMm, k.paperWidth, 1e-9) << k.name;
        EXPECT_NEAR(g.paper.heightMm, k.paperHeight, 1e-9) << k.name;
        EXPECT_EQ(g.choice.Name(), k.name);
        EXPECT_EQ(g.choice.marginLeft, k.left) << k.name;
        EXPECT_EQ(g.choice.marginTop, k.top) << k.name;
        EXPECT_EQ(g.choice.marginRight, k.right) << k.name;
        EXPECT_EQ(g.choice.marginBottom, k.bottom) << k.name;
    }
}

// The sheet's page at `dpi` and the grid our print loop lays over it.
TCellGrid PrintedGrid(const TStockGrid& g, int dpi) {
    TRasterPrinter printer(g.paper, dpi);
    printer.SetOrientation(g.orientation);
    TLayoutSettings layout;
    layout.rows = g.rows;
    layout.columns = g.columns;
    layout.exactMargins = true;
    layout.exactLeft = g.choice.marginLeft;
    layout.exactTop = g.choice.marginTop;
    layout.exactRight = g.choice.marginRight;
    layout.exactBottom = g.choice.marginBottom;
    layout.stockPageWidth = g.choice.pageWidth;
    layout.stockPageHeight = g.choice.pageHeight;
    return PrinterCellGrid({printer.PageWidth(), printer.PageHeight(), dpi, dpi}, layout);
}

// The largest distance, in printer dots, between a printed cell's centre and its label's centre. The
// print loop centres each label in its cell to the nearest dot, so a label lands within half a dot
// more than this.
double WorstCentre(const TStock& stock, const TStockGrid& g, int dpi) {
    const TCellGrid grid = PrintedGrid(g, dpi);
    const TStockLayout& l = stock.layouts[0];
    const double dx = l.nx > 1 ? l.dx : stock.labelWidth, dy = l.ny > 1 ? l.dy : stock.labelHeight;
    double worst = 0;
    const double dotsPerMm = dpi / 25.4;
    for (int c = 0; c < g.columns; ++c) {
        const double cell = grid.CellLeft(c) + grid.pitchX / 2.0;
        worst = std::max(worst, std::abs(cell - (l.x0 + c * dx + stock.labelWidth / 2) * dotsPerMm));
    }
    for (int r = 0; r < g.rows; ++r) {
        const double cell = grid.CellTop(r) + grid.pitchY / 2.0;
        worst = std::max(worst, std::abs(cell - (l.y0 + r * dy + stock.labelHeight / 2) * dotsPerMm));
    }
    return worst;
}

TEST(StockGrid, KnownSheetsGiveTheirRowsColumnsAndExactMargins) {
    const std::string dir = test::WriteStockFolder(
        {{"paper-sizes.xml", test::kPaperSizes}, {"known-templates.xml", test::kThreeSheets}});
    ExpectKnownGrids(TStockDatabase::Load(dir));
}

TEST(StockGrid, RefusesWhatOneEvenGridCannotFollow) {
    struct Case {
        const char* body;
        const char* refusal;
    };
    const Case cases[] = {
        /* 0 */ {R"(size="roll"><Label-continuous id="0" width="62mm"/>)",
                 "B P is a continuous roll, not a sheet of labels."},
        /* 1 */
        {R"(size="A4"><Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="2" ny="2" x0="5mm" y0="5mm" dx="60mm" dy="30mm"/><Layout nx="1" ny="3" x0="130mm" y0="5mm" dx="0" dy="25mm"/></Label-rectangle>)",
         "B P places its labels in 2 blocks with different spacing; the page grid needs one evenly pitched "
         "block."},
        /* 2 */
        {R"(size="A4"><Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="3" ny="2" x0="5mm" y0="5mm" dx="45mm" dy="30mm"/></Label-rectangle>)",
         "B P places its labels 45.00 mm by 30.00 mm apart, closer than their size (50.0 x 20.0 mm); the "
         "labels would overlap."},
        /* 3 */
        {R"(size="A4"><Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="4" ny="2" x0="5mm" y0="5mm" dx="55mm" dy="30mm"/></Label-rectangle>)",
         "B P's labels reach 10.00 mm past the edge of its sheet (A4); its entry in the stock database looks "
         "damaged."},
        /* 4 */
        {R"(size="A4"><Label-rectangle id="0" width="5mm" height="5mm"><Layout nx="2" ny="31" x0="5mm" y0="5mm" dx="5mm" dy="5mm"/></Label-rectangle>)",
         "B P has 2 x 31 labels; the page grid holds at most 50 columns and 30 rows."},
        /* 5 */
        {R"(size="A4"><Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="1" ny="1"/></Label-rectangle><Label-round id="1" radius="5mm"><Layout nx="1" ny="1" x0="100mm"/></Label-round>)",
         "B P has 2 kinds of label on one sheet; the page grid holds one label size."},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        TStockReader reader;
        reader.ReadTemplates(std::string("<Glabels-templates><Template brand=\"B\" part=\"P\" ") +
                                 cases[i].body + "</Template></Glabels-templates>",
                             "t-templates.xml");
        const std::vector<TStock> stocks = reader.Finish();
        ASSERT_EQ(stocks.size(), 1u) << "case " << i;
        const TStockFit fit = FitStock(stocks[0]);
        EXPECT_FALSE(fit.grid) << "case " << i;
        EXPECT_EQ(fit.refusal, cases[i].refusal) << "case " << i;
    }
}

TEST(StockGrid, ChoosingAStockSetsTheProjectsGridAndDropsItOnAHandEdit) {
    // A landscape sheet of its own size whose first label sits nearer the edge than half a gap: the
    // exact left margin is below zero, the whole millimetres stay at zero.
    TStockReader reader;
    reader.ReadTemplates(
        R"(<Glabels-templates><Template brand="B" part="W" size="Other" width="200mm" height="100mm">
        <Label-rectangle id="0" width="40mm" height="30mm" round="2mm"><Layout nx="4" ny="3" x0="1mm" y0="5mm" dx="48mm" dy="30mm"/></Label-rectangle>
        </Template></Glabels-templates>)",
        "t-templates.xml");
    const std::vector<TStock> stocks = reader.Finish();
    ASSERT_EQ(stocks.size(), 1u);
    const TStockFit fit = FitStock(stocks[0]);
    ASSERT_TRUE(fit.grid) << fit.refusal;
    EXPECT_EQ(fit.grid->orientation, TPrinterOrientation::poLandscape);
    EXPECT_NEAR(fit.grid->paper.widthMm, 100, 1e-9);
    EXPECT_EQ(fit.grid->choice.marginLeft, -300);
    EXPECT_EQ(fit.grid->choice.marginRight, 1100);

    TLabelProject project;
    ApplyStockGrid(project, *fit.grid);
    EXPECT_EQ(project.Linage(), 3);
    EXPECT_EQ(project.Column(), 4);
    EXPECT_EQ(project.MarginLeft(), 0);
    EXPECT_EQ(project.MarginRight(), 11);
    EXPECT_EQ(project.MarginTop(), 5);
    EXPECT_EQ(project.Orientation(), TPrinterOrientation::poLandscape);
    ASSERT_TRUE(project.Stock());
    EXPECT_EQ(project.Stock()->labelRadius, 200);
    EXPECT_DOUBLE_EQ(project.MarginLeftMm(), -3.0);
    EXPECT_LE(WorstCentre(stocks[0], *fit.grid, 300), 0.5);

    // Setting a value it already has keeps the stock; another value drops it.
    project.SetColumn(4);
    EXPECT_TRUE(project.Stock());
    project.SetLinage(2);
    EXPECT_FALSE(project.Stock());
    EXPECT_DOUBLE_EQ(project.MarginLeftMm(), 0.0);
}

TEST(DebianStock, EveryTemplateOfEveryFileIsLoadedOrReported) {
    if (!test::HaveDebianStock(kDebianStockFolder.data())) GTEST_SKIP() << "glabels-data is not installed";
    const TStockDatabase db = TStockDatabase::Load(std::string(kDebianStockFolder));
    EXPECT_GT(db.Stocks().size(), 1700u);
    std::map<std::string, int> loaded, reported;
    for (const TStock& s : db.Stocks()) ++loaded[s.file];
    for (const std::string& p : db.Problems()) ++reported[p.substr(0, p.find(':'))];
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kDebianStockFolder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("-templates.xml")) continue;
        ++files;
        // Every template element of the file, counted on its text.
        const std::string text = test::ReadWholeFile(entry.path().string());
        const std::regex tag("<Template[ \\t\\r\\n]");
        const auto templates =
            std::distance(std::sregex_iterator(text.begin(), text.end(), tag), std::sregex_iterator());
        EXPECT_EQ(loaded[name] + reported[name], templates) << name;
        EXPECT_GT(loaded[name], 0) << name;
    }
    EXPECT_GT(files, 30);
    for (const std::string& p : db.Problems()) std::cout << "reported: " << p << "\n";
}

TEST(DebianStock, KnownSheetsGiveTheirRowsColumnsAndExactMargins) {
    if (!test::HaveDebianStock(kDebianStockFolder.data())) GTEST_SKIP() << "glabels-data is not installed";
    ExpectKnownGrids(TStockDatabase::Load(std::string(kDebianStockFolder)));
}

TEST(DebianStock, EveryUsableSheetCentresEachCellOnItsLabel) {
    if (!test::HaveDebianStock(kDebianStockFolder.data())) GTEST_SKIP() << "glabels-data is not installed";
    const TStockDatabase db = TStockDatabase::Load(std::string(kDebianStockFolder));
    int usable = 0, blocks = 0;
    for (const TStock& stock : db.Stocks()) {
        const TStockFit fit = FitStock(stock);
        if (!fit.grid) {
            EXPECT_FALSE(fit.refusal.empty()) << stock.Name();
            blocks += fit.refusal.find("blocks") != std::string::npos;
            continue;
        }
        ++usable;
        // Half a dot for the cell's rounding; the database's own rounding and our hundredths of a
        // millimetre may add a hundredth of a millimetre.
        for (const int dpi : {300, 600})
            EXPECT_LE(WorstCentre(stock, *fit.grid, dpi), 0.5 + 0.01 * dpi / 25.4)
                << stock.Name() << " at " << dpi << " dpi";
    }
    EXPECT_GT(usable, 1500);
    EXPECT_GT(blocks, 0) << "sheets with several layouts are refused";
}

} // namespace
} // namespace qbm
