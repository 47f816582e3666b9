#include "gui/LayoutPage.h"
#include "gui/TFM_Stock.h"
#include "stock/TStockDatabase.h"

#include "../stock/StockTestSupport.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "gui/WindowPrinting.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace qbm;

namespace {

// The three known sheets and one the grid cannot follow (two blocks of labels).
TStockDatabase SmallDatabase() {
    const std::string twoBlocks =
        R"(<Glabels-templates><Template brand="Zeta" part="Z2" size="A4" _description="Two blocks">
        <Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="2" ny="2" x0="5mm" y0="5mm" dx="60mm" dy="30mm"/>
        <Layout nx="1" ny="3" x0="130mm" y0="5mm" dx="0" dy="25mm"/></Label-rectangle></Template></Glabels-templates>)";
    return TStockDatabase::Load(test::WriteStockFolder({{"paper-sizes.xml", test::kPaperSizes},
                                                        {"known-templates.xml", test::kThreeSheets},
                                                        {"zeta-templates.xml", twoBlocks}}));
}

void Type(QLineEdit* edit, const char* text) {
    edit->clear();
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

TEST(StockPicker, TypingFiltersTheListAndOkTakesTheChosenGrid) {
    const TStockDatabase db = SmallDatabase();
    TFM_Stock dialog(db, "hama 50450");
    dialog.show();
    ASSERT_EQ(dialog.List()->model()->rowCount(), 5);
    // The project's stock is selected when the list opens.
    EXPECT_NE(dialog.Info()->text().indexOf("8 rows, 3 columns on A4 portrait"), -1)
        << dialog.Info()->text().toStdString();

    Type(dialog.Search(), "avery A4");
    EXPECT_EQ(dialog.List()->model()->rowCount(), 2);
    dialog.List()->selectRow(1);
    EXPECT_NE(dialog.Info()->text().indexOf("Avery L7163"), -1);
    EXPECT_NE(dialog.Info()->text().indexOf("The same sheet as Avery 7163"), -1);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    Type(dialog.Search(), "no such sheet");
    EXPECT_EQ(dialog.List()->model()->rowCount(), 0);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    // A sheet the grid cannot follow says why and cannot be taken.
    Type(dialog.Search(), "zeta");
    ASSERT_EQ(dialog.List()->model()->rowCount(), 1);
    dialog.List()->selectRow(0);
    EXPECT_NE(dialog.Info()->text().indexOf("2 blocks with different spacing"), -1);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    Type(dialog.Search(), "5160");
    dialog.List()->selectRow(0);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.Chosen());
    EXPECT_EQ(dialog.Chosen()->choice.Name(), "Avery 5160");
    EXPECT_EQ(dialog.Chosen()->columns, 3);
}

class StockWindow : public test::WindowFixture {};

TEST_F(StockWindow, ButtonAndMenuOpenThePickerAndTheTabNamesTheStock) {
    ShowWindow();
    Find<QPushButton>("Btn_LabelStock")->click();
    Action("Mnu_LabelStock")->trigger();
    EXPECT_EQ(dialogs.labelStockShown, 2);

    auto* name = Find<QLabel>("Lbl_Stock");
    EXPECT_EQ(name->text(), "Label stock: none");
    const TStockDatabase db = SmallDatabase();
    doc->ChooseStock(*FitStock(*db.Find("Avery 5160")).grid);
    EXPECT_EQ(name->text(), "Label stock: Avery 5160 (margins 1.98, 1.98, 12.70, 12.70 mm)");
    EXPECT_EQ(Find<QSpinBox>("Edt_Lin")->value(), 10);
    EXPECT_EQ(Find<QSpinBox>("Edt_ML")->value(), 2);
    Find<QSpinBox>("Edt_ML")->setValue(5);
    EXPECT_EQ(name->text(), "Label stock: none");
}

TEST_F(StockWindow, PdfFromTheWindowComesOnTheStocksPaper) {
    // With and without a system printer: the page setup's paper and the printer's follow the stock.
    for (const bool ignorePrinters : {true, false}) {
        SCOPED_TRACE(ignorePrinters ? "no printer" : "system printer if any");
        TearDown();
        SetUp();
        ShowWindow();
        if (ignorePrinters) window->Printing().IgnoreSystemPrinters();
        ChooseTemplate("Code128B");
        TypeFixedCode("QBM-42");
        const TStockDatabase db = SmallDatabase();
        doc->ChooseStock(*FitStock(*db.Find("Avery 5160")).grid);
        // An edit after the stock keeps its paper.
        Find<QSpinBox>("Edt_ML")->setValue(5);

        const std::string pdf = dir + "/letter.pdf";
        prompts.QueueAnswer(TMsgResult::mrYes);
        ASSERT_TRUE(window->Printing().PrintToPdfFile(QString::fromStdString(pdf)));
        EXPECT_NE(test::ReadWholeFile(pdf).find("/MediaBox [0 0 612"), std::string::npos)
            << "US Letter in points";
    }
}

} // namespace
