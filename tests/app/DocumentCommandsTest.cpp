#include "data/DatasheetStream.h"
#include "project/ProjectFile.h"

#include "DocumentTestSupport.h"

#include <filesystem>

namespace qbm {
namespace {

using test::DocumentFixture;

const std::string kUntitledCaption = "Quirbel Barcode Maker - Untitled Project";

TEST(DocumentStart, LastTemplateAppliedUntitledUnmodifiedAndWelcomeDueOnce) {
    DocumentFixture f(false);
    EXPECT_EQ(f.doc->Caption(), kUntitledCaption);
    ASSERT_EQ(f.doc->TemplateNames().size(), 23u);
    f.doc->Start();
    EXPECT_EQ(f.doc->SelectedTemplate(), 22);
    EXPECT_EQ(f.doc->Project().TemplateName(), "EAN128C");
    EXPECT_EQ(f.doc->BarcodeTypeText(), "Barcode Type: EAN128C ");
    EXPECT_GT(f.doc->LabelPicture().Width(), 0);
    EXPECT_EQ(f.doc->PagePicture().Width(), 207); // A4 portrait without a printer
    EXPECT_TRUE(f.doc->Untitled());
    EXPECT_FALSE(f.doc->ProjectModified());
    EXPECT_EQ(f.doc->Kind(), TBarcodeKind::bkLinear);

    // New does nothing until the welcome dialog has shown; then its first choice works.
    f.doc->SetFixedCode("123");
    ASSERT_TRUE(f.doc->NeedsWelcome());
    f.doc->New();
    EXPECT_EQ(f.doc->Project().FixedCode(), "123");
    f.doc->MarkWelcomeShown();
    EXPECT_FALSE(f.doc->NeedsWelcome());
    f.prompts.QueueAnswer(TMsgResult::mrNo);
    f.doc->New();
    EXPECT_EQ(f.doc->Project().FixedCode(), "");
    EXPECT_FALSE(f.doc->ProjectModified());
}

enum class TCommand { cmNew, cmOpen, cmClose };

TEST(DocumentCommands, TheQuestionBeforeReplacingFollowsEachAnswer) {
    struct Case {
        TCommand command;
        TMsgResult answer;
        bool goesOn;
        bool saveCancelled = false; // Yes, then Cancel in the save dialog: nothing is lost
    };
    const Case cases[] = {
        /* 0 */ {TCommand::cmNew, TMsgResult::mrYes, true},
        /* 1 */ {TCommand::cmNew, TMsgResult::mrNo, true},
        /* 2 */ {TCommand::cmNew, TMsgResult::mrCancel, false},
        /* 3 */ {TCommand::cmOpen, TMsgResult::mrYes, true},
        /* 4 */ {TCommand::cmOpen, TMsgResult::mrNo, true},
        /* 5 */ {TCommand::cmOpen, TMsgResult::mrCancel, false},
        /* 6 */ {TCommand::cmClose, TMsgResult::mrYes, true},
        /* 7 */ {TCommand::cmClose, TMsgResult::mrNo, true},
        /* 8 */ {TCommand::cmClose, TMsgResult::mrCancel, false},
        /* 9 */ {TCommand::cmNew, TMsgResult::mrYes, false, true},
        /* 10 */ {TCommand::cmOpen, TMsgResult::mrYes, false, true},
        /* 11 */ {TCommand::cmClose, TMsgResult::mrYes, false, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        DocumentFixture f;
        TLabelProject other;
        other.SetTemplateName("Code39");
        other.SetLinearSource(TLinearSource::lsConstant);
        other.SetFixedCode("OTHER");
        SaveProject(f.Path("other.bpj"), other, nullptr);

        f.Select("EAN13 (ISBN)");
        f.doc->SetFixedCode("123");
        ASSERT_TRUE(f.doc->ProjectModified());
        f.Shown();
        f.prompts.QueueAnswer(c.answer);
        const bool saves = c.answer == TMsgResult::mrYes && !c.saveCancelled;
        if (c.answer == TMsgResult::mrYes) // Save asks for a name
            f.dialogs.QueuePath(c.saveCancelled ? std::nullopt
                                                : std::optional<std::string>(f.Path("saved.bpj")));
        if (c.command == TCommand::cmOpen) f.dialogs.QueuePath(f.Path("other.bpj"));

        bool result = true;
        if (c.command == TCommand::cmNew) f.doc->New();
        if (c.command == TCommand::cmOpen) result = f.doc->Open();
        if (c.command == TCommand::cmClose) result = f.doc->CloseQuery();

        EXPECT_EQ(f.Shown().front(), "Current project has been modified, Save it? ");
        EXPECT_EQ(std::filesystem::exists(f.Path("saved.bpj")), saves);
        if (c.command != TCommand::cmNew) {
            EXPECT_EQ(result, c.goesOn);
        }
        std::string caption = kUntitledCaption;
        if (saves) caption = "Quirbel Barcode Maker - " + f.Path("saved.bpj");
        if (c.goesOn && c.command == TCommand::cmNew) caption = kUntitledCaption;
        if (c.goesOn && c.command == TCommand::cmOpen)
            caption = "Quirbel Barcode Maker - " + f.Path("other.bpj");
        EXPECT_EQ(f.doc->Caption(), caption);
        const std::string code = !c.goesOn || c.command == TCommand::cmClose ? "123"
                                 : c.command == TCommand::cmNew              ? ""
                                                                             : "OTHER";
        EXPECT_EQ(f.doc->Project().FixedCode(), code);
        if (c.goesOn && c.command != TCommand::cmClose) {
            EXPECT_FALSE(f.doc->ProjectModified());
        }
        if (c.command == TCommand::cmOpen && c.goesOn) {
            EXPECT_FALSE(f.doc->Untitled());
        }
    }
}

TEST(DocumentCommands, UnmodifiedProjectsAreReplacedAndClosedWithoutAsking) {
    DocumentFixture f;
    f.doc->New();
    EXPECT_TRUE(f.doc->CloseQuery());
    EXPECT_TRUE(f.Shown().empty());
}

TEST(DocumentCommands, SaveAsksForANameWhileUntitledAndWritesInPlaceAfterOpen) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("ABC");
    f.dialogs.QueuePath(f.Path("first.bpj"));
    ASSERT_TRUE(f.doc->Save());
    EXPECT_EQ(f.dialogs.LastProposed(), "Untitled.bpj");
    EXPECT_EQ(f.doc->Caption(), "Quirbel Barcode Maker - " + f.Path("first.bpj"));
    EXPECT_FALSE(f.doc->ProjectModified());
    // Still untitled: a project never opened from a file asks again, proposing nothing new.
    EXPECT_TRUE(f.doc->Untitled());
    EXPECT_FALSE(f.doc->Save()); // dialog cancelled
    EXPECT_EQ(f.dialogs.Asked(), 2);

    // Save As proposes the name used last; after Open, Save writes without asking.
    ASSERT_TRUE(f.SaveAs("second.bpj"));
    EXPECT_EQ(f.dialogs.LastProposed(), f.Path("first.bpj"));
    ASSERT_TRUE(f.doc->OpenPath(f.Path("second.bpj")));
    f.doc->SetFixedCode("ABCD");
    ASSERT_TRUE(f.doc->Save());
    EXPECT_EQ(f.dialogs.Asked(), 3);
    TLabelProject reread;
    LoadProject(f.Path("second.bpj"), reread);
    EXPECT_EQ(reread.FixedCode(), "ABCD");
}

TEST(DocumentCommands, RemovedTemplateIsNamedAppliesNothingAndSaveRefuses) {
    DocumentFixture f;
    TLabelProject gone;
    gone.SetTemplateName("Gone");
    SaveProject(f.Path("gone.bpj"), gone, nullptr);
    f.Shown();
    ASSERT_TRUE(f.doc->Load(f.Path("gone.bpj")));
    EXPECT_EQ(f.Shown(), std::vector<std::string>{"Template: \"Gone\" has been removed!"});
    EXPECT_EQ(f.doc->SelectedTemplate(), -1);
    EXPECT_FALSE(f.doc->Save());
    EXPECT_FALSE(f.doc->SaveAs());
    EXPECT_EQ(f.Shown(),
              std::vector<std::string>(2, "You must choose one barcode template for this project!"));
    EXPECT_EQ(f.dialogs.Asked(), 0);
}

TEST(DocumentCommands, FailedSaveShowsTheErrorAndKeepsTheModifiedMark) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("KEEP");
    std::filesystem::create_directory(f.Path("taken.bpj")); // a folder cannot be replaced by the file
    f.Shown();
    EXPECT_FALSE(f.SaveAs("taken.bpj"));
    const auto shown = f.Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("taken.bpj"), std::string::npos) << shown[0];
    EXPECT_TRUE(f.doc->ProjectModified());
    EXPECT_EQ(f.doc->Caption(), kUntitledCaption);
    EXPECT_TRUE(std::filesystem::is_directory(f.Path("taken.bpj")));
}

TEST(DocumentCommands, AFileThatFailsToLoadLeavesTheCurrentProjectWhole) {
    DocumentFixture f;
    f.Select("Code39");
    f.doc->SetFixedCode("MINE");
    ASSERT_TRUE(f.SaveAs("mine.bpj"));
    // A damaged datasheet stream stops the load part-way, after the settings before it were read.
    f.WriteFile("damaged.bpj", "[Properties]\r\nTemplate=Code39\r\nFixedCode=THEIRS\r\nVariousCode=0\r\n"
                               "[VarCodeValue]\r\nData=" +
                                   StreamToHex("x,2\r\n") + "\r\n");
    f.Shown();
    EXPECT_FALSE(f.doc->OpenPath(f.Path("damaged.bpj")));
    EXPECT_EQ(f.Shown(), std::vector<std::string>{"'x' is not a valid integer value"});
    EXPECT_EQ(f.doc->Project().FixedCode(), "MINE");
    EXPECT_EQ(f.doc->ProjectFileName(), f.Path("mine.bpj"));
    EXPECT_FALSE(f.doc->OpenPath(f.Path("missing.bpj")));
    EXPECT_NE(f.Shown().at(0).find("missing.bpj"), std::string::npos);
    // A project cut short inside its datasheet is damaged: the window says so and keeps its project.
    f.WriteFile("cut.bpj",
                "[Properties]\r\nTemplate=Code39\r\nFixedCode=THEIRS\r\n[VarCodeValue]\r\nData=" +
                    StreamToHex("2,15\r\ncw 0,50\r\ncw 1,115\r\n1,0,Code\r\n1,1,40").substr(0, 75));
    EXPECT_FALSE(f.doc->OpenPath(f.Path("cut.bpj")));
    EXPECT_EQ(f.Shown(), std::vector<std::string>{"The datasheet in \"" + f.Path("cut.bpj") +
                                                  "\" is damaged: it ends inside a line."});
    EXPECT_EQ(f.doc->Project().FixedCode(), "MINE");
}

TEST(DocumentKind, TheLastCodeTabShownDecidesAndTheLayoutTabKeepsIt) {
    DocumentFixture f;
    f.Select("EAN13 (ISBN)");
    f.doc->SetFixedCodeAmount(5); // 2 pages of 2 x 2
    f.doc->SetAmount2D(9);        // 3 pages
    struct Step {
        TMainTab tab;
        TBarcodeKind kind;
        const char* pageCount;
    };
    const Step steps[] = {
        /* 0 */ {TMainTab::mt2D, TBarcodeKind::bk2D, "Total: 3Pages"},
        /* 1 */ {TMainTab::mtLayout, TBarcodeKind::bk2D, "Total: 3Pages"},
        /* 2 */ {TMainTab::mtLinear, TBarcodeKind::bkLinear, "Total: 2Pages"},
        /* 3 */ {TMainTab::mtLayout, TBarcodeKind::bkLinear, "Total: 2Pages"},
        /* 4 */ {TMainTab::mtLinear, TBarcodeKind::bkLinear, "Total: 2Pages"},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const int before = f.previews;
        f.doc->TabChanged(steps[i].tab);
        EXPECT_EQ(f.doc->Kind(), steps[i].kind);
        EXPECT_EQ(f.doc->ImportVariousCodeEnabled(), steps[i].kind == TBarcodeKind::bkLinear);
        EXPECT_EQ(f.doc->PageCountText(), steps[i].pageCount);
        // Showing a code tab applies its settings again; the layout tab redraws nothing.
        EXPECT_EQ(f.previews > before, steps[i].tab != TMainTab::mtLayout);
    }
    EXPECT_FALSE(f.doc->BarcodeTypeText().empty());
}

} // namespace
} // namespace qbm
