#include "barcode/TBarcode.h"
#include "templates/TemplateLibrary.h"

#include "DocumentTestSupport.h"

#include <fstream>

namespace qbm {
namespace {

using test::DocumentFixture;

// Typing is never interrupted by a box: the problem is reported beside the field, the typed text kept.
TEST(DocumentSources, ConstantCodeIsCheckedOnEveryKeystrokeWithoutABox) {
    DocumentFixture f;
    f.Select("EAN13 (ISBN)");
    f.doc->SetFixedCode("400638133393");
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "400638133393");
    f.Shown();
    int problems = 0;
    QObject::connect(f.doc.get(), &TLabelDocument::inputProblemChanged, [&problems] { ++problems; });
    f.doc->SetFixedCode("40063813339A");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{});
    EXPECT_EQ(f.doc->InputProblem(), "Invild code data of EAN13 format!");
    EXPECT_EQ(problems, 1);
    EXPECT_EQ(f.doc->Project().FixedCode(), "40063813339A"); // the field keeps what was typed
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "400638133393");
    f.doc->SetExtCaption("caption");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{});
    f.doc->SetFixedCode("4006381333931");
    EXPECT_EQ(f.doc->InputProblem(), "");
    EXPECT_EQ(f.doc->Setup().bcdMain.ExtCaption, "caption");
}

TEST(DocumentSources, Fixed2DTextTooLongIsReportedBesideTheFieldWithoutABox) {
    DocumentFixture f;
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SetText2D("Parcel 7");
    f.Shown();
    f.doc->SetText2D(std::string(3000, 'x'));
    EXPECT_EQ(f.Shown(), std::vector<std::string>{});
    EXPECT_NE(f.doc->InputProblem(), ""); // the symbol's own message
    f.doc->SetText2D("Parcel 8");
    EXPECT_EQ(f.doc->InputProblem(), "");
}

// Another template whose symbology cannot draw the shown code says so instead of drawing an empty
// code; the code stays and comes back with a template that can draw it.
TEST(DocumentSources, TemplateThatCannotDrawTheCodeShowsTheInvalidCodeMessage) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("ABC");
    f.Shown();
    f.Select("EAN13 (ISBN)");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{"Invild code data of EAN13 format!"});
    EXPECT_TRUE(f.doc->CodeRefused());
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "ABC");
    f.Select("Code128B");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{});
    EXPECT_FALSE(f.doc->CodeRefused());
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "ABC");
}

// GS1 DataBar and Intelligent Mail codes are checked by their encoder, whose message is shown: beside
// the field while typing, in a box when another template cannot draw the code.
TEST(DocumentSources, SymbolTypesReportTheEncodersMessage) {
    DocumentFixture f(false);
    WriteDefaultTemplates(f.Path("Templates.dat"));
    std::ofstream(f.Path("Templates.dat"), std::ios::app | std::ios::binary)
        << "[DataBar]\r\nCodeType=24\r\nTextLayout=2\r\n[Mail]\r\nCodeType=28\r\nHeight=5\r\n";
    f.doc->Start();
    f.doc->MarkWelcomeShown();
    f.Select("Code39");
    f.doc->SetFixedCode("ABC");
    f.Shown();
    f.Select("DataBar");
    EXPECT_EQ(f.Shown(),
              std::vector<std::string>{"GS1 DataBar holds a GTIN: 13 digits, or 14 with the check digit"});
    EXPECT_TRUE(f.doc->CodeRefused());
    f.doc->SetFixedCode("0950110153000");
    EXPECT_EQ(f.doc->InputProblem(), "");
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "0950110153000");
    EXPECT_FALSE(f.doc->CodeRefused());
    EXPECT_EQ(f.doc->Setup().label.StatusText, "Barcode Type: GS1 DataBar ");
    f.Select("Mail");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{
                             "Intelligent Mail: Invalid length for tracking code (20 characters required)"});
    f.doc->SetFixedCode("0123456709498765432101234");
    EXPECT_EQ(f.doc->InputProblem(), "");
    EXPECT_EQ(f.Shown(), std::vector<std::string>{});
}

TEST(DocumentSources, ControlCharacterMenuFollowsTheSymbologyAndAppendsAtTheEnd) {
    struct Case {
        const char* templateName;
        bool attached, submenus, del;
    };
    const Case cases[] = {
        /* 0 */ {"Code128A", true, true, false},
        /* 1 */ {"Code39Entended", true, true, false},
        /* 2 */ {"Code128B", true, false, true},
        /* 3 */ {"EAN13 (ISBN)", false, false, false},
    };
    DocumentFixture f;
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        f.Select(cases[i].templateName);
        const TControlCharMenu menu = f.doc->ControlCharMenu();
        EXPECT_EQ(menu.attached, cases[i].attached);
        EXPECT_EQ(menu.showSubmenus, cases[i].submenus);
        EXPECT_EQ(menu.showDel, cases[i].del);
    }
    f.Select("Code128B");
    f.doc->SetFixedCode("AB");
    f.doc->InsertControlChar(ControlCharDel());
    EXPECT_EQ(f.doc->Project().FixedCode(), "AB\x7f");
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "AB\x7f");
}

TEST(DocumentSources, CodeListCommandsAskWhereTheyEmptyAndSetTheAmountLabel) {
    DocumentFixture f;
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SetSource2D(T2DSource::tsCodeList);
    f.WriteFile("codes.txt", "first\r\n\r\n second \n");
    f.dialogs.QueuePath(f.Path("codes.txt"));
    f.doc->Import2D();
    EXPECT_EQ(f.doc->Project().CodeList2D(), (std::vector<std::string>{"first", "", " second "}));
    EXPECT_EQ(f.doc->PageCountText(), "Total: 1Pages");
    EXPECT_EQ(f.doc->AmountLabel2D(), "Amount: 3"); // the count under the list follows the list

    f.Shown();
    f.prompts.QueueAnswer(TMsgResult::mrCancel);
    f.doc->Clear2D();
    EXPECT_EQ(f.Shown(), std::vector<std::string>{"Are you sure clear all Various Code?"});
    EXPECT_EQ(f.doc->Project().CodeList2D().size(), 3u);

    f.doc->DeleteListItem(1);
    EXPECT_EQ(f.doc->Project().CodeList2D(), (std::vector<std::string>{"first", " second "}));
    EXPECT_EQ(f.doc->AmountLabel2D(), "Output Amount: 2");

    f.doc->Serial2D({"S1", "S2", "S3"});
    EXPECT_EQ(f.doc->AmountLabel2D(), "Amount: 3");
    f.doc->Serial2D({}); // cancelled: the list stays, the label is set all the same
    EXPECT_EQ(f.doc->Project().CodeList2D().size(), 3u);

    f.prompts.QueueAnswer(TMsgResult::mrYes);
    f.doc->ClearAllList();
    EXPECT_TRUE(f.doc->Project().CodeList2D().empty());
    EXPECT_EQ(f.doc->AmountLabel2D(), "Output Amount: 0");
    EXPECT_EQ(f.doc->PageCountText(), "Total: 0Pages");
    f.Shown();
    f.doc->ClearAllList(); // nothing to clear: no question
    f.doc->Clear2D();
    EXPECT_TRUE(f.Shown().empty());

    f.dialogs.QueuePath(f.Path("none.txt"));
    f.doc->Import2D();
    EXPECT_EQ(f.Shown().size(), 1u); // the file error
    EXPECT_TRUE(f.doc->Project().CodeList2D().empty());
}

TEST(DocumentSources, SerialCodesGoToTheListOfTheCurrentKind) {
    DocumentFixture f;
    f.Select("Code128B");
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SerialCode({"A-1", "A-2"});
    EXPECT_EQ(f.doc->Project().Source2D(), T2DSource::tsCodeList);
    EXPECT_EQ(f.doc->Project().CodeList2D(), (std::vector<std::string>{"A-1", "A-2"}));
    EXPECT_EQ(f.doc->AmountLabel2D(), "Output Amount: 2");
    EXPECT_EQ(f.tabs.back(), TMainTab::mt2D);

    f.doc->TabChanged(TMainTab::mtLinear);
    f.doc->SerialCode({"L-1", "L-2", "L-3"});
    EXPECT_EQ(f.doc->Project().LinearCodeList().size(), 3u);
    EXPECT_EQ(f.doc->Project().LinearSource(), TLinearSource::lsDatasheet);
    EXPECT_EQ(f.tabs.back(), TMainTab::mtLinear);
    // the codes are the labels: a datasheet column, chosen as the code field
    EXPECT_EQ(f.doc->Project().CodeFieldName(), "Serial");
    EXPECT_EQ(f.doc->LabelCount(), 3);
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "L-1");
    f.doc->SerialCode({}); // a cancelled dialog changes nothing
    EXPECT_EQ(f.doc->Project().LinearCodeList().size(), 3u);
    // every time: a shorter run again leaves no older codes below it to print
    f.doc->SerialCode({"M-1", "M-2"});
    EXPECT_EQ(f.doc->Project().CodeFieldName(), "Serial");
    const TDatasheet& sheet = f.doc->Project().Datasheet();
    const int column = f.doc->Project().CodeField();
    EXPECT_EQ(sheet.Cell(column, 1), "M-1");
    EXPECT_EQ(sheet.Cell(column, 2), "M-2");
    EXPECT_EQ(sheet.Cell(column, 3), "");
    EXPECT_EQ(sheet.ColumnNames(),
              (std::vector<std::string>{" ", "Data1", "Serial"})); // one column added once
}

TEST(DocumentSources, ImportVariousCodeIsLinearOnlyAndShowsTheFirstCode) {
    DocumentFixture f;
    f.Select("Code39");
    f.WriteFile("codes.txt", "ONE\r\nTWO\r\n");
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->ImportVariousCode();
    EXPECT_EQ(f.dialogs.Asked(), 0);

    f.doc->TabChanged(TMainTab::mtLinear);
    f.dialogs.QueuePath(f.Path("codes.txt"));
    f.doc->ImportVariousCode();
    EXPECT_EQ(f.doc->Project().LinearSource(), TLinearSource::lsDatasheet);
    EXPECT_EQ(f.doc->Project().LinearCodeList(), (std::vector<std::string>{"ONE", "TWO"}));
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "ONE");
    f.doc->DeleteListItem(0); // the pop-up works on the linear list in the linear kind
    EXPECT_EQ(f.doc->Project().LinearCodeList(), std::vector<std::string>{"TWO"});
}

TEST(DocumentSources, FixedValueSelectsTheSourceAndAsksForItsField) {
    DocumentFixture f;
    f.doc->SetLinearSource(TLinearSource::lsDatasheet);
    f.doc->FixedValue();
    EXPECT_EQ(f.doc->Project().LinearSource(), TLinearSource::lsConstant);
    EXPECT_EQ(f.tabs.back(), TMainTab::mtLinear);
    EXPECT_EQ(f.focus.back(), TFocusTarget::ftFixedCode);
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SetSource2D(T2DSource::tsCodeList);
    f.doc->FixedValue();
    EXPECT_EQ(f.doc->Project().Source2D(), T2DSource::tsFixedText);
    EXPECT_EQ(f.tabs.back(), TMainTab::mt2D);
    EXPECT_EQ(f.focus.back(), TFocusTarget::ftText2D);
}

TEST(DocumentSources, DatasheetWindowClosingRebuildsTheFieldListsKeepingTheChoices) {
    DocumentFixture f;
    f.Select("Code39");
    TDatasheet& sheet = f.doc->Datasheet();
    sheet.Reset(3, 3);
    sheet.SetRow(0, {"", "Code", "Caption"});
    sheet.SetRow(1, {"", "ROW1", "first"});
    sheet.SetRow(2, {"", "ROW2", "second"});
    f.doc->DatasheetWindowClosed(true);
    EXPECT_TRUE(f.doc->ProjectModified());
    f.doc->SetLinearSource(TLinearSource::lsDatasheet);
    f.doc->SetCodeField(1);
    f.doc->SetCapField(2);
    EXPECT_EQ(f.doc->Setup().bcdMain.Text(), "ROW1");
    EXPECT_EQ(f.doc->Setup().bcdMain.ExtCaption, "first");

    // The user inserts a column before the chosen ones: the choices follow their names.
    f.doc->DatasheetWindowOpening();
    sheet.Reset(4, 3);
    sheet.SetRow(0, {"", "New", "Code", "Caption"});
    const int before = f.fieldLists;
    f.doc->DatasheetWindowClosed(true);
    EXPECT_GT(f.fieldLists, before);
    EXPECT_EQ(f.doc->Project().FieldList(),
              (std::vector<std::string>{"Please choose the data field ...", "New", "Code", "Caption"}));
    EXPECT_EQ(f.doc->Project().CodeField(), 2);
    EXPECT_EQ(f.doc->Project().CapField(), 3);
}

TEST(DocumentLayout, EveryLayoutChangeRefreshesThePreviewAndThePageCount) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("ABC");
    f.doc->SetFixedCodeAmount(5);
    EXPECT_EQ(f.doc->PageCountText(), "Total: 2Pages");
    struct Step {
        void (*change)(TLabelDocument&);
        const char* pageCount;
    };
    const Step steps[] = {
        /* 0 */ {[](TLabelDocument& d) { d.SetColumn(3); }, "Total: 1Pages"},
        /* 1 */ {[](TLabelDocument& d) { d.SetLinage(1); }, "Total: 2Pages"},
        /* 2 */ {[](TLabelDocument& d) { d.SetMargin(TMarginSide::msLeft, 5); }, "Total: 2Pages"},
        /* 3 */ {[](TLabelDocument& d) { d.SetSplitMarks(false); }, "Total: 2Pages"},
        /* 4 */
        {[](TLabelDocument& d) { d.SetOrientation(TPrinterOrientation::poLandscape); }, "Total: 2Pages"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const int before = f.previews;
        steps[i].change(*f.doc);
        EXPECT_GT(f.previews, before);
        EXPECT_EQ(f.doc->PageCountText(), steps[i].pageCount);
    }
    EXPECT_EQ(f.doc->PagePicture().Width(), 292); // landscape A4 at 25 pixels an inch
    EXPECT_EQ(f.doc->PagePicture().Height(), 207);
}

TEST(DocumentLayout, FitWarningsAreKeptForTheLayoutWithoutABoxOrAMove) {
    struct Case {
        void (*change)(TLabelDocument&);
        const char* warning;
    };
    const Case cases[] = {
        /* 0 */ {[](TLabelDocument& d) { d.SetColumn(50); }, "To many barcode per line! "},
        /* 1 */ {[](TLabelDocument& d) { d.SetLinage(30); }, "Out of output range!"},
        /* 2 */
        {[](TLabelDocument& d) { d.SetMargin(TMarginSide::msRight, 200); }, "To many barcode per line! "},
        /* 3 */ {[](TLabelDocument& d) { d.SetMargin(TMarginSide::msTop, 280); }, "Out of output range!"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        DocumentFixture f;
        f.Select("EAN13 (ISBN)");
        f.Shown();
        f.doc->SetFixedCodeAmount(9);
        EXPECT_EQ(f.doc->LayoutWarning(), "");
        cases[i].change(*f.doc);
        EXPECT_EQ(f.doc->LayoutWarning().rfind(cases[i].warning, 0), 0u) << f.doc->LayoutWarning();
        EXPECT_TRUE(f.Shown().empty());
        EXPECT_TRUE(f.tabs.empty());
        EXPECT_TRUE(f.focus.empty());
        EXPECT_NE(f.doc->PageCountText(), ""); // the count is updated although the check failed
        f.doc->UndoStack()->undo();
        EXPECT_EQ(f.doc->LayoutWarning(), "");
    }
}

} // namespace
} // namespace qbm
