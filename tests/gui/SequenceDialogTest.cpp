#include "data/TDatasheet.h"
#include "gui/TDatasheetModel.h"
#include "gui/TFM_Data.h"
#include "gui/TFM_GetTable.h"
#include "gui/TFM_Sdata.h"

#include "DatasheetTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace qbm;

namespace {

struct TSequence {
    TScriptedPrompts prompts;
    TFM_Sdata dialog{prompts};

    void Type(QLineEdit* edit, const char* text) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
    std::vector<std::string> Run(const char* prefix, const char* from, const char* to, const char* suffix,
                                 int repeat = 1, int step = 1) {
        Type(dialog.Head(), prefix);
        Type(dialog.Begin(), from);
        Type(dialog.End(), to);
        Type(dialog.Foot(), suffix);
        dialog.Repeat()->setValue(repeat);
        dialog.Step()->setValue(step);
        dialog.show();
        dialog.findChild<QPushButton*>("Btn_OK")->click();
        return dialog.Codes();
    }
};

} // namespace

TEST(SequenceDialog, FieldsTabOrderAndExamples) {
    TSequence s;
    EXPECT_EQ(s.dialog.windowTitle(), "Generate Sequence");
    EXPECT_EQ(s.dialog.Repeat()->minimum(), 1);
    EXPECT_EQ(s.dialog.Step()->maximum(), 100);
    // Prefix, From, To, Suffix, Repeat, Step, OK, Cancel.
    QStringList order;
    QWidget* w = s.dialog.Head();
    for (int i = 0; i < 8; ++i, w = w->nextInFocusChain()) {
        // A spin box takes the focus through its own line edit.
        while (!(w->focusPolicy() & Qt::TabFocus) || w->objectName() == "qt_spinbox_lineedit")
            w = w->nextInFocusChain();
        order << w->objectName();
    }
    EXPECT_EQ(order, (QStringList{"Edt_Head", "Edt_Begin", "Edt_End", "Edt_Foot", "RPT", "SEdt_Step",
                                  "Btn_OK", "Btn_Cancel"}));

    using Codes = std::vector<std::string>;
    EXPECT_EQ(s.Run("", "1", "10", ""), (Codes{"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"}));
    EXPECT_EQ(s.Run("", "0001", "10", "").front(), "01");
    EXPECT_EQ(s.Run("", "1", "100", "").back(), "100");
    EXPECT_EQ(s.Run("A-", "8", "12", "/X", 2).size(), 10u);
    EXPECT_EQ(s.Run("A-", "8", "12", "/X", 2)[1], "A-08/X");
    EXPECT_EQ(s.Run("", "1", "10", "", 1, 3), (Codes{"01", "04", "07", "10"}));
    EXPECT_EQ(s.Run("", "2", "10", "", 1, 3), (Codes{"04", "07", "10"}));
    EXPECT_EQ(s.Run("", "0", "6", "", 1, 2), (Codes{"1", "3", "5"}));
    EXPECT_EQ(s.Run("", "5", "5", ""), (Codes{"5"}));
    EXPECT_TRUE(s.prompts.Messages().empty());

    // To below From: the error, the dialog stays open, the list empty; Cancel keeps it empty.
    EXPECT_TRUE(s.Run("", "10", "1", "").empty());
    EXPECT_TRUE(s.dialog.isVisible());
    EXPECT_EQ(s.prompts.Messages().back().text, "Begine number must less than End number!");
    s.dialog.findChild<QPushButton*>("Btn_Cancel")->click();
    EXPECT_EQ(s.dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(s.dialog.Codes().empty());
    // The fields keep their values for the next use.
    EXPECT_EQ(s.dialog.Begin()->text(), "10");
}

TEST(SequenceDialog, NumericWarningsOncePerCharacterAndChange) {
    TSequence s;
    s.Type(s.dialog.Begin(), "-3"); // "-": one warning; "-3": the minus still there, one more
    EXPECT_EQ(s.prompts.Messages().size(), 2u);
    EXPECT_EQ(s.prompts.Messages()[0].text, "Value must be numeric!");
    s.Type(s.dialog.End(), "3");
    s.Type(s.dialog.Head(), "P"); // a prefix change checks From again: its minus warns once
    EXPECT_EQ(s.prompts.Messages().size(), 3u);
    s.Type(s.dialog.End(), "a1b"); // "a", "a1", "a1b": one, one, two
    EXPECT_EQ(s.prompts.Messages().size(), 3u + 1 + 1 + 2);
    s.Type(s.dialog.End(), "3");
    s.dialog.show();
    s.dialog.findChild<QPushButton*>("Btn_OK")->click();
    EXPECT_EQ(s.dialog.Codes(), (std::vector<std::string>{"P-3", "P-2", "P-1", "P0", "P1", "P2", "P3"}));
    // Esc closes with Cancel and keeps the list.
    s.dialog.show();
    s.dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.dialog));
    QTest::keyClick(&s.dialog, Qt::Key_Escape);
    EXPECT_EQ(s.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(s.dialog.Codes().size(), 7u);
}

TEST(SequenceDialog, FillsTheCurrentColumnFromTheCurrentRow) {
    test::TScriptedServices services;
    TDatasheet sheet;
    sheet.Reset(3, 4);
    sheet.SetCell(1, 0, "Data1");
    sheet.SetCell(2, 0, "Code");
    sheet.SetCell(1, 3, "keep");
    TFM_Data window(services);
    window.SetDatasheet(&sheet);
    window.Grid()->setCurrentIndex(window.Model()->index(2, 1)); // column 2, row 3
    services.sequence = std::vector<std::string>{"01", "02", "03", "04", "05"};
    window.Action("Fill Sequence Data ...")->trigger();
    EXPECT_EQ(sheet.RowCount(), 8);
    for (int r = 3; r <= 7; ++r) EXPECT_EQ(sheet.Cell(2, r), "0" + std::to_string(r - 2));
    EXPECT_EQ(sheet.Cell(1, 3), "keep");
    EXPECT_EQ(window.Model()->rowCount(), 7);
    services.sequence = std::nullopt; // cancelled: nothing written
    window.Action("Fill Sequence Data ...")->trigger();
    EXPECT_EQ(sheet.RowCount(), 8);
}

TEST(TablePicker, ListsTablesFirstSelected) {
    TFM_GetTable picker;
    EXPECT_EQ(picker.windowTitle(), "Select Tabel from Access Database");
    QTimer::singleShot(0, &picker, [&] {
        EXPECT_EQ(picker.Tables()->count(), 2);
        EXPECT_EQ(picker.Tables()->currentText(), "T1");
        picker.Tables()->setCurrentIndex(1);
        picker.findChild<QPushButton*>("Btn_OK")->click();
    });
    EXPECT_EQ(picker.Pick({"T1", "T2"}), std::optional<std::string>("T2"));
    QTimer::singleShot(0, &picker, [&] { QTest::keyClick(&picker, Qt::Key_Escape); });
    EXPECT_EQ(picker.Pick({"T1"}), std::nullopt);
}
