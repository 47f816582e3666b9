#include "data/DatasheetCommands.h"
#include "data/DatasheetImport.h"
#include "data/DatasheetStream.h"
#include "data/SequenceGenerator.h"
#include "data/TDatasheet.h"
#include "project/ProjectFile.h"
#include "util/TProgress.h"

#include "DocumentTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace qbm;
using qbm::test::DocumentFixture;
using qbm::test::TCancelAt;

namespace {

// Everything a project stores of the table, plus the cursor.
std::string State(const TDatasheet& sheet) {
    return DatasheetToStream(sheet) + "@" + std::to_string(sheet.CurrentColumn()) + "," +
           std::to_string(sheet.CurrentRow());
}

// A 4 x 6 table with text in every data cell and the cursor in column 2, row 3.
void FillSmallTable(TDatasheet& sheet) {
    sheet.Reset(4, 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 1; c < 4; ++c)
            sheet.SetCell(c, r, r == 0 ? "Col" + std::to_string(c) : std::to_string(c * 10 + r));
    sheet.SetCurrentCell(2, 3);
}

} // namespace

// Each kind of long work, stopped at several of its reports, leaves the document's table, its undo
// history and the project exactly as they were, and shows no message.
TEST(DatasheetLongWork, CancelAtAnyReportLeavesTheTableAsItWas) {
    enum class TWork { wImport, wSequence, wProjectLoad };
    struct Case {
        TWork work;
        int cancelAt;
    };
    const Case kCases[] = {
        /* 0 */ {TWork::wImport, 1},      /* 1 */ {TWork::wImport, 3},
        /* 2 */ {TWork::wImport, 6},
        /* 3 */ {TWork::wSequence, 1},    /* 4 */ {TWork::wSequence, 2},
        /* 5 */ {TWork::wSequence, 4},
        /* 6 */ {TWork::wProjectLoad, 1}, /* 7 */ {TWork::wProjectLoad, 2},
    };
    DocumentFixture files;
    std::string csv = "Code;Name\n";
    for (int i = 0; i < 120'000; ++i) csv += std::to_string(i) + ";n" + std::to_string(i) + "\n";
    files.WriteFile("codes.csv", csv);
    std::vector<std::string> codes;
    for (int i = 0; i < 300'000; ++i) codes.push_back("S" + std::to_string(i));
    TLabelProject big;
    big.SetTemplateName("Code39");
    big.Datasheet().Reset(3, 90'001); // 180,000 cells
    for (int r = 1; r <= 90'000; ++r)
        big.Datasheet().SetRow(r, std::vector<std::string>{"", std::to_string(r), "x"});
    SaveProject(files.Path("big.bpj"), big, nullptr);

    for (size_t i = 0; i < std::size(kCases); ++i) {
        const Case& c = kCases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        DocumentFixture f;
        FillSmallTable(f.doc->Datasheet());
        RunDatasheetCommand(f.doc->Datasheet(), TDatasheetCommand::dcInsertBlankRow, f.prompts,
                            &f.doc->DatasheetHistory());
        const std::string before = State(f.doc->Datasheet());
        const std::string caption = f.doc->Caption();
        int reports = 0;
        TCancelAt cancel(c.cancelAt, reports);
        switch (c.work) {
        case TWork::wImport:
            EXPECT_EQ(ImportData(f.doc->Datasheet(), files.Path("codes.csv"), f.prompts, nullptr,
                                 {&cancel, &f.doc->DatasheetHistory(), {}, {}})
                          .outcome,
                      TImportOutcome::ioCancelled);
            break;
        case TWork::wSequence:
            EXPECT_THROW(PlaceSequence(f.doc->Datasheet(), codes, &f.doc->DatasheetHistory(), &cancel),
                         EOperationCancelled);
            break;
        case TWork::wProjectLoad:
            f.doc->SetProgressMaker(
                [&](const std::string&) { return std::make_unique<TCancelAt>(c.cancelAt, reports); });
            EXPECT_FALSE(f.doc->Load(files.Path("big.bpj")));
            EXPECT_EQ(f.doc->Caption(), caption);
            break;
        }
        EXPECT_EQ(reports, c.cancelAt); // stopped where asked, not before the work began or after it ended
        EXPECT_EQ(State(f.doc->Datasheet()), before);
        EXPECT_EQ(f.doc->DatasheetHistory().UndoName(), "Insert Blank Row");
        EXPECT_TRUE(f.Shown().empty());
    }

    // Let run, each completes; a finished sequence is one step that undo takes back whole.
    DocumentFixture f;
    FillSmallTable(f.doc->Datasheet());
    const std::string before = State(f.doc->Datasheet());
    int reports = 0;
    TCancelAt never(1'000'000, reports);
    PlaceSequence(f.doc->Datasheet(), codes, &f.doc->DatasheetHistory(), &never);
    EXPECT_GT(reports, 0);
    EXPECT_EQ(f.doc->Datasheet().Cell(2, 3), "S0");
    EXPECT_EQ(f.doc->Datasheet().Cell(2, 300'002), "S299999");
    EXPECT_EQ(f.doc->Datasheet().Cell(3, 3), "33");
    ASSERT_TRUE(f.doc->DatasheetHistory().Undo(f.doc->Datasheet()));
    EXPECT_EQ(State(f.doc->Datasheet()), before);
    f.doc->SetProgressMaker(
        [&](const std::string&) { return std::make_unique<TCancelAt>(1'000'000, reports); });
    ASSERT_TRUE(f.doc->Load(files.Path("big.bpj")));
    EXPECT_EQ(f.doc->Datasheet().RowCount(), 90'001);
    EXPECT_EQ(f.doc->Datasheet().Cell(1, 90'000), "90000");
}

// The undo steps belong to the document's table: they outlast the window (nothing of them lives
// there) and end when another project takes the table's place.
TEST(DatasheetLongWork, UndoStepsLastUntilANewOrLoadedProject) {
    DocumentFixture f;
    TLabelProject saved;
    saved.SetTemplateName("Code39");
    SaveProject(f.Path("saved.bpj"), saved, nullptr);
    const auto insertRow = [&f] {
        RunDatasheetCommand(f.doc->Datasheet(), TDatasheetCommand::dcInsertBlankRow, f.prompts,
                            &f.doc->DatasheetHistory());
    };
    insertRow();
    f.doc->DatasheetWindowOpening();
    f.doc->DatasheetWindowClosed(true);
    EXPECT_TRUE(f.doc->DatasheetHistory().CanUndo());
    f.prompts.QueueAnswer(TMsgResult::mrNo); // the table changed: New asks whether to save first
    f.doc->New();
    EXPECT_FALSE(f.doc->DatasheetHistory().CanUndo());
    insertRow();
    ASSERT_TRUE(f.doc->OpenPath(f.Path("saved.bpj")));
    EXPECT_FALSE(f.doc->DatasheetHistory().CanUndo());
}
