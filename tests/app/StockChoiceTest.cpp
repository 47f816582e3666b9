#include "app/TLabelDocument.h"
#include "stock/StockGrid.h"
#include "stock/TStockReader.h"
#include "util/TUserPrompts.h"

#include "TestSupport.h"

#include <QUndoStack>

#include <memory>

namespace qbm {
namespace {

// Three columns of ten 66.7 x 25.4 mm labels on US Letter.
TStockGrid LetterGrid() {
    TStockReader reader;
    reader.ReadTemplates(R"(<Glabels-templates><Template brand="Avery" part="5160" size="US-Letter">
        <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
        <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/></Label-rectangle>
        </Template></Glabels-templates>)",
                         "t-templates.xml");
    const TStockFit fit = FitStock(reader.Finish().at(0));
    EXPECT_TRUE(fit.grid) << fit.refusal;
    return *fit.grid;
}

TEST(StockChoice, OneUndoStepSetsTheGridAndUndoPutsTheOldOneBack) {
    TScriptedPrompts prompts;
    TScriptedFileDialogs dialogs;
    auto doc = std::make_unique<TLabelDocument>(prompts, dialogs, test::MakeTempDir() + "/Templates.dat");
    doc->Start();
    doc->SetMargin(TMarginSide::msLeft, 7);
    const int steps = doc->UndoStack()->count();

    doc->ChooseStock(LetterGrid());
    EXPECT_EQ(doc->UndoStack()->count(), steps + 1);
    EXPECT_EQ(doc->Project().Linage(), 10);
    EXPECT_EQ(doc->Project().Column(), 3);
    EXPECT_EQ(doc->Project().MarginLeft(), 2);
    EXPECT_EQ(doc->Project().MarginTop(), 13);
    ASSERT_TRUE(doc->Project().Stock());
    EXPECT_EQ(doc->Project().Stock()->Name(), "Avery 5160");
    EXPECT_TRUE(doc->ProjectModified());

    doc->UndoStack()->undo();
    EXPECT_EQ(doc->Project().Linage(), 2);
    EXPECT_EQ(doc->Project().MarginLeft(), 7);
    EXPECT_FALSE(doc->Project().Stock());
    doc->UndoStack()->redo();
    ASSERT_TRUE(doc->Project().Stock());
    EXPECT_EQ(doc->Project().Stock()->marginLeft, 198);

    // A margin typed afterwards leaves the stock; undoing the typing brings the stock back.
    doc->SetMargin(TMarginSide::msLeft, 4);
    EXPECT_FALSE(doc->Project().Stock());
    doc->UndoStack()->undo();
    EXPECT_TRUE(doc->Project().Stock());

    // A document closed with steps on its stack goes away cleanly.
    doc.reset();
}

} // namespace
} // namespace qbm
