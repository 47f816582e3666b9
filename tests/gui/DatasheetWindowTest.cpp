#include "data/DatasheetStream.h"
#include "data/TDatasheet.h"
#include "data/TDatasheetHistory.h"
#include "gui/TDatasheetFindBar.h"
#include "gui/TDatasheetModel.h"
#include "gui/TFM_Data.h"
#include "gui/TRowNumberHeader.h"
#include "gui/TShadowTitle.h"

#include "DatasheetTestSupport.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <fstream>

using namespace qbm;

namespace {

struct TWindow {
    test::TScriptedServices services;
    TDatasheet sheet;
    TFM_Data window{services};

    TWindow() { window.SetDatasheet(&sheet); }
    // A table of `rows` data rows, column 1 holding "r1", "r2" …
    void Fill(int rows) {
        sheet.Reset(2, rows + 1);
        sheet.SetCell(1, 0, "Data1");
        for (int r = 1; r <= rows; ++r) sheet.SetCell(1, r, "r" + std::to_string(r));
        window.SetDatasheet(&sheet);
    }
    void Current(int column, int row) {
        window.Grid()->setCurrentIndex(window.Model()->index(row - 1, column - 1));
    }
    void Trigger(const char* caption) {
        QAction* action = window.Action(QString::fromLatin1(caption));
        ASSERT_NE(action, nullptr) << caption;
        action->trigger();
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int r = 1; r < sheet.RowCount(); ++r) cells.emplace_back(sheet.Cell(column, r));
        return cells;
    }
    std::string LastMessage() const {
        const auto& shown = services.prompts.Messages();
        return shown.empty() ? std::string() : shown.back().text;
    }
    // Shortcuts reach only the active window.
    void Show() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

QStringList MenuItems(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) items << (a->menu() ? a->menu()->title() : a->text());
    return items;
}

} // namespace

TEST(DatasheetWindow, MenusToolbarShortcutsAndLook) {
    TWindow w;
    EXPECT_EQ(w.window.windowTitle(), "Datasheet");
    QStringList menus;
    for (QAction* a : w.window.MenuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Rows", "&Columns", "&Help"}));
    const auto menu = [&](int i) { return MenuItems(w.window.MenuBar()->actions()[i]->menu()); };
    EXPECT_EQ(menu(0), (QStringList{"Import Data ...", "Close"}));
    EXPECT_EQ(menu(1), (QStringList{"&Undo", "&Redo", "&Copy", "&Paste", "&Find ...",
                                    "Fill Sequence Data ...", "Insert Pictures by Path Name ...",
                                    "Clear All Data", "Clear Selected Cells Data"}));
    EXPECT_EQ(menu(2), (QStringList{"Insert Blank Row", "Clear Current Row Data", "Delete Current Row",
                                    "Delete All Rows"}));
    EXPECT_EQ(menu(3), (QStringList{"Add a New Column", "Rename Column", "Clear Current Column Data",
                                    "Delete Current Column", "Delete All Columns (and Rows)"}));
    EXPECT_EQ(menu(4), (QStringList{"&Contents"}));
    EXPECT_EQ(MenuItems(w.window.PopupMenu()),
              (QStringList{"Rows", "Columns", "&Copy", "&Paste", "Fill Sequence Data ...",
                           "Insert a Picture Path Name ...", "Import Data ...", "Clear All Data",
                           "Clear Selectd Cells Data"}));

    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"Insert Blank Row", QKeySequence(Qt::Key_Insert)},
        {"Delete Current Row", QKeySequence(Qt::Key_F3)},
        {"Add a New Column", QKeySequence(Qt::Key_F5)},
        {"Delete Current Column", QKeySequence(Qt::Key_F6)},
        {"Fill Sequence Data ...", QKeySequence("Ctrl+Shift+F")},
        {"&Find ...", QKeySequence("Ctrl+F")},
        {"&Copy", QKeySequence("Ctrl+C")},
        {"&Paste", QKeySequence("Ctrl+V")},
        {"Insert a Picture Path Name ...", QKeySequence("Ctrl+P")},
        {"&Undo", QKeySequence("Ctrl+Z")},
        {"&Redo", QKeySequence("Ctrl+Shift+Z")}};
    for (const auto& [caption, keys] : shortcuts)
        EXPECT_EQ(w.window.Action(caption)->shortcut(), keys) << caption;

    QStringList hints;
    for (QAction* a : w.window.ToolBar()->actions()) hints << a->toolTip();
    EXPECT_EQ(hints, (QStringList{"Insert blank row", "Delete current row", "Add a new column",
                                  "Delete current column", "Fill sequence data "}));

    QTableView* grid = w.window.findChild<QTableView*>("StrGrid_Data");
    ASSERT_EQ(grid, w.window.Grid());
    EXPECT_EQ(grid->toolTip(), "Right Click to Pop up Menu");
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 21);
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(0), 115);
    EXPECT_EQ(w.window.Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Data1");
    auto* numbers = static_cast<TRowNumberHeader*>(grid->verticalHeader());
    const QRect cell(0, 0, 50, 21);
    EXPECT_EQ(numbers->NumberRect(cell).right(),
              cell.right() - numbers->fontMetrics().horizontalAdvance('2'));
    auto* title = w.window.findChild<TShadowTitle*>("Lbl_Title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Text(), "Quirbel Barcode Maker!");
    EXPECT_TRUE(title->font().bold() && title->font().italic());
    EXPECT_EQ(title->font().pixelSize(), 19);
    for (const char* name : {"Btn_OK", "Btn_Cancel"})
        EXPECT_NE(w.window.findChild<QPushButton*>(name), nullptr);

    w.Trigger("&Contents");
    EXPECT_EQ(w.services.helpTopics, (std::vector<QString>{"html/datasheet.htm"}));
}

TEST(DatasheetWindow, OnlyRowAndOnlyColumnAndAllRows) {
    TWindow w;
    w.sheet.SetCell(1, 1, "x");
    w.window.SetDatasheet(&w.sheet);
    w.Show();
    QTest::keyClick(w.window.Grid(), Qt::Key_F3); // the only row is cleared, not removed
    EXPECT_EQ(w.LastMessage(), "Are you sure delete this row?");
    EXPECT_EQ(w.sheet.RowCount(), 2);
    EXPECT_EQ(w.sheet.Cell(1, 1), "");

    w.services.prompts.QueueInput("Second");
    QTest::keyClick(w.window.Grid(), Qt::Key_F5);
    w.Current(1, 1);
    w.Trigger("Delete Current Column");
    w.Trigger("Delete Current Column"); // the only column left: one empty "Data1" column
    EXPECT_EQ(w.sheet.ColumnCount(), 2);
    EXPECT_EQ(w.sheet.ColumnName(1), "Data1");
    EXPECT_EQ(w.window.Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Data1");

    w.Fill(10);
    w.Current(1, 6);
    w.Trigger("Delete All Rows");
    EXPECT_EQ(w.LastMessage(), "Are you sure delete all rows?");
    EXPECT_EQ(w.sheet.RowCount(), 2);
    EXPECT_EQ(w.window.Model()->rowCount(), 1);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{""}));
    EXPECT_EQ(w.sheet.ColumnName(1), "Data1");

    // Ctrl+Z takes the whole command back, Ctrl+Shift+Z makes it again.
    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.sheet.RowCount(), 11);
    EXPECT_EQ(w.sheet.Cell(1, 10), "r10");
    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(w.sheet.RowCount(), 2);

    // A question answered Cancel changes nothing.
    w.Fill(3);
    w.services.prompts.QueueAnswer(TMsgResult::mrCancel);
    w.Trigger("Clear All Data");
    EXPECT_EQ(w.sheet.Cell(1, 3), "r3");
}

TEST(DatasheetWindow, ColumnNames) {
    TWindow w;
    struct Case {
        const char* command;
        std::optional<std::string> input;
        std::vector<std::string> names; // after the command
        const char* message;            // the last message shown, "" for the box itself
    };
    const Case cases[] = {
        /* 0 */ {
            "Add a New Column", "data1", {"Data1"}, "You input a blank name or this name has been exist!"},
        /* 1 */
        {"Add a New Column", std::nullopt, {"Data1"}, "You input a blank name or this name has been exist!"},
        /* 2 */ {"Add a New Column", " Name ", {"Data1", "Name"}, ""},
        /* 3 */ {"Rename Column", "  Name", {"Data1", "Name"}, ""},
        /* 4 */ {"Rename Column", "NAME", {"Data1", "Name"}, "Column 'NAME' has been exist!"},
        /* 5 */ {"Rename Column", "   ", {"Data1", "Name"}, ""},
        /* 6 */ {"Rename Column", "Label", {"Data1", "Label"}, ""},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        w.Current(w.sheet.ColumnCount() - 1, 1);
        w.services.prompts.QueueInput(c.input);
        w.Trigger(c.command);
        std::vector<std::string> names;
        for (int col = 1; col < w.sheet.ColumnCount(); ++col) names.emplace_back(w.sheet.ColumnName(col));
        EXPECT_EQ(names, c.names) << i;
        if (*c.message)
            EXPECT_EQ(w.LastMessage(), c.message) << i;
        else
            EXPECT_NE(w.LastMessage().find("Please input the column name:"), std::string::npos) << i;
        EXPECT_EQ(w.window.Model()
                      ->headerData(static_cast<int>(names.size()) - 1, Qt::Horizontal, Qt::DisplayRole)
                      .toString()
                      .toStdString(),
                  names.back())
            << i;
    }
}

TEST(DatasheetWindow, PicturePathsDownTheColumn) {
    TWindow w;
    w.Fill(6);
    w.Current(1, 5);
    w.services.picturePaths.push_back({"/p/a.png", "/p/b.png", "/p/c.png"});
    w.Trigger("Insert Pictures by Path Name ...");
    EXPECT_EQ(w.services.pictureAskedSeveral.back(), true);
    EXPECT_EQ(w.sheet.RowCount() - 1, 7); // rows 5 to 7: the table grows by one row
    EXPECT_EQ(w.Column(1),
              (std::vector<std::string>{"r1", "r2", "r3", "r4", "/p/a.png", "/p/b.png", "/p/c.png"}));
    EXPECT_EQ(w.window.Model()->rowCount(), 7);

    w.Fill(10);
    w.Current(1, 2);
    w.services.picturePaths.push_back({"/p/a.png", "/p/b.png", "/p/c.png"});
    w.Trigger("Insert Pictures by Path Name ...");
    EXPECT_EQ(w.sheet.RowCount() - 1, 10);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "/p/a.png", "/p/b.png", "/p/c.png", "r5", "r6",
                                                     "r7", "r8", "r9", "r10"}));

    // One picture into the current cell; a cancelled dialog changes nothing.
    w.Show();
    w.Current(1, 9);
    w.services.picturePaths.push_back({"/q/one.jpg", "/q/two.jpg"});
    QTest::keyClick(w.window.Grid(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(w.services.pictureAskedSeveral.back(), false);
    EXPECT_EQ(w.sheet.Cell(1, 9), "/q/one.jpg");
    EXPECT_EQ(w.sheet.Cell(1, 10), "r10");
    w.Trigger("Insert a Picture Path Name ...");
    EXPECT_EQ(w.sheet.Cell(1, 9), "/q/one.jpg");
}

TEST(DatasheetWindow, DraggedRowsAndColumnsMoveTheSheetAndAgreeAfterSaving) {
    TWindow w;
    w.Fill(5);
    w.sheet.AddColumn("B");
    for (int r = 1; r <= 5; ++r) w.sheet.SetCell(2, r, "b" + std::to_string(r));
    w.window.SetDatasheet(&w.sheet);
    w.Show();

    QHeaderView* rows = w.window.Grid()->verticalHeader();
    rows->moveSection(0, 3); // row 1 dragged below row 4
    QApplication::processEvents();
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r2", "r3", "r4", "r1", "r5"}));
    // The numbers stay 1 to 5 in order, whatever moved.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows->logicalIndex(i), i);
        EXPECT_EQ(w.window.Model()->headerData(i, Qt::Vertical, Qt::DisplayRole).toInt(), i + 1);
    }
    w.window.Grid()->horizontalHeader()->moveSection(1, 0);
    QApplication::processEvents();
    EXPECT_EQ(w.sheet.ColumnName(1), "B");
    EXPECT_EQ(w.window.Model()->index(3, 1).data().toString(), "r1");

    w.Current(1, 2);
    w.Trigger("Insert Blank Row");
    w.Current(2, 5);
    w.services.prompts.QueueAnswer(TMsgResult::mrYes);
    w.Trigger("Delete Current Row");

    // What the view shows is what a project stores: save, load into a fresh sheet, compare.
    TDatasheet reloaded;
    DatasheetFromStream(reloaded, DatasheetToStream(w.sheet));
    const TDatasheetModel& model = *w.window.Model();
    ASSERT_EQ(model.rowCount(), reloaded.RowCount() - 1);
    ASSERT_EQ(model.columnCount(), reloaded.ColumnCount() - 1);
    for (int r = 0; r < model.rowCount(); ++r)
        for (int c = 0; c < model.columnCount(); ++c)
            EXPECT_EQ(model.index(r, c).data().toString().toStdString(), reloaded.Cell(c + 1, r + 1))
                << r << "," << c;
    EXPECT_EQ(w.Column(2), (std::vector<std::string>{"r2", "", "r3", "r4", "r5"})); // row 5 held r1

    // Undo takes the steps back one by one, the moves included.
    for (int i = 0; i < 4; ++i) w.Trigger("&Undo");
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "r2", "r3", "r4", "r5"}));
}

TEST(DatasheetWindow, EscapeClosesAndTheGridIsEnabledWhenShownAgain) {
    TWindow w;
    w.Show();
    QTest::keyClick(w.window.Grid(), Qt::Key_Escape);
    EXPECT_FALSE(w.window.isVisible());
    EXPECT_EQ(w.window.result(), QDialog::Rejected);
    EXPECT_FALSE(w.window.Grid()->isEnabled());
    w.Show();
    EXPECT_TRUE(w.window.Grid()->isEnabled());
    QTest::keyClick(w.window.Grid(), Qt::Key_Insert); // the grid works again
    EXPECT_EQ(w.sheet.RowCount(), 3);
    w.window.findChild<QPushButton*>("Btn_OK")->click();
    EXPECT_EQ(w.window.result(), QDialog::Accepted);
}

TEST(DatasheetWindow, ImportOfEachKind) {
    const std::string dir = test::MakeTempDir();
    TWindow w;
    std::ofstream(dir + "/codes.csv") << "Code;Name\n123;Box\n";
    w.services.importPaths.push_back(dir + "/codes.csv");
    w.Trigger("Import Data ...");
    EXPECT_EQ(w.sheet.ColumnCount(), 3);
    EXPECT_EQ(w.window.Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(w.window.Model()->index(0, 1).data().toString(), "Box");

    w.services.importPaths.push_back(test::TestDataPath("import/labels.xls"));
    w.Trigger("Import Data ...");
    EXPECT_EQ(w.window.Model()->columnCount(), 4);
    EXPECT_EQ(w.window.Model()->index(0, 1).data().toString(), QString::fromLatin1("B\xFC"
                                                                                   "rste"));

    // A database: the picker offers its tables, the first selected; the chosen one fills from data column 2.
    w.services.table = "Shippers";
    w.services.importPaths.push_back(test::TestDataPath("samples/nwind.mdb"));
    w.Trigger("Import Data ...");
    EXPECT_EQ(w.services.tablesOffered.size(), 9u);
    EXPECT_EQ(w.services.tablesOffered.front(), "Order Details");
    EXPECT_EQ(w.window.Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString().trimmed(), "");
    EXPECT_EQ(w.window.Model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "ShipperID");
    EXPECT_EQ(w.window.Model()->index(0, 2).data().toString(), "Speedy Express");
    EXPECT_EQ(w.window.Model()->rowCount(), 3);

    // A cancelled picker and an unknown kind change nothing; the unknown kind says what is supported.
    w.services.table = std::nullopt;
    w.services.importPaths.push_back(test::TestDataPath("samples/nwind.mdb"));
    w.Trigger("Import Data ...");
    std::ofstream(dir + "/codes.dat") << "1\n";
    w.services.importPaths.push_back(dir + "/codes.dat");
    w.Trigger("Import Data ...");
    EXPECT_NE(w.LastMessage().find("(.xls, .xlsx, .ods)"), std::string::npos);
    EXPECT_EQ(w.window.Model()->index(0, 2).data().toString(), "Speedy Express");
    w.Trigger("&Undo");
    EXPECT_EQ(w.window.Model()->index(0, 1).data().toString(), QString::fromLatin1("B\xFC"
                                                                                   "rste"));
}

using test::TCancelAt;

// Undo reaches back past earlier showings of the window when it is given the table's history, as the
// document gives it; a sequence fill stopped half-way leaves neither a change nor a step.
TEST(DatasheetWindow, UndoOutlivesTheWindowAndAStoppedSequenceChangesNothing) {
    TDatasheet sheet;
    TDatasheetHistory history;
    sheet.Reset(2, 3);
    sheet.SetCell(1, 0, "Data1");
    sheet.SetCell(1, 1, "a");
    sheet.SetCell(1, 2, "b");
    const std::string before = DatasheetToStream(sheet);
    {
        test::TScriptedServices services;
        TFM_Data first(services);
        first.SetDatasheet(&sheet, &history);
        first.show();
        first.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&first));
        QTest::keyClick(first.Grid(), Qt::Key_Insert);
        ASSERT_EQ(sheet.RowCount(), 4);
        first.close();
    }
    test::TScriptedServices services;
    TFM_Data second(services);
    second.SetDatasheet(&sheet, &history);
    second.show();
    second.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&second));
    EXPECT_EQ(second.Action("&Undo")->text(), "&Undo Insert Blank Row");
    QTest::keyClick(second.Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(DatasheetToStream(sheet), before);
    QTest::keyClick(second.Grid(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(sheet.RowCount(), 4);

    const std::string filled = DatasheetToStream(sheet);
    services.sequence = std::vector<std::string>(200'000, "0001");
    int reports = 0;
    services.makeProgress = [&reports] { return std::make_unique<TCancelAt>(2, reports); };
    second.Action("Fill Sequence Data ...")->trigger();
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(DatasheetToStream(sheet), filled);
    EXPECT_EQ(second.Action("&Undo")->text(), "&Undo Insert Blank Row");
    EXPECT_EQ(second.Grid()->model()->rowCount(), 3);

    // A window given no history keeps one of its own, which starts anew with each table.
    second.SetDatasheet(&sheet);
    EXPECT_FALSE(second.Action("&Undo")->isEnabled());
}

namespace {

// The open one: an editor closed a moment ago may linger until it is deleted.
QLineEdit* CellEditor(TFM_Data& window) {
    for (QLineEdit* editor : window.Grid()->viewport()->findChildren<QLineEdit*>())
        if (editor->isVisible()) return editor;
    return nullptr;
}

void ClickCell(TFM_Data& window, int column, int row) {
    const QRect cell = window.Grid()->visualRect(window.Model()->index(row - 1, column - 1));
    QTest::mouseClick(window.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
}

// Enter in a cell's editor: the view stores the text once the event loop runs again.
void Commit(TFM_Data& window) {
    ASSERT_NE(CellEditor(window), nullptr);
    QTest::keyClick(CellEditor(window), Qt::Key_Return);
    QApplication::processEvents();
}

} // namespace

// Typing over a cell, F2, a double-click and Enter edit in place; Esc ends the typing and keeps the
// cell; each edit is one undo step.
TEST(DatasheetWindow, CellsAreEditedInPlace) {
    TWindow w;
    w.Fill(3);
    w.Show();
    w.Current(1, 2);
    QTest::keyClicks(w.window.Grid(), "K"); // the key typed over the cell starts the text
    ASSERT_NE(CellEditor(w.window), nullptr);
    CellEditor(w.window)->insert(QStringLiteral("äse"));
    Commit(w.window);
    EXPECT_EQ(w.sheet.Cell(1, 2), "Käse");
    EXPECT_EQ(w.window.Action("&Undo")->text(), "&Undo Edit Cell");
    EXPECT_TRUE(w.window.isVisible());

    QTest::keyClick(w.window.Grid(), Qt::Key_F2);
    QLineEdit* editor = CellEditor(w.window);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Käse");
    editor->setText("gone");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(w.sheet.Cell(1, 2), "Käse");
    EXPECT_TRUE(w.window.isVisible()); // the first Esc ends the typing only

    w.Current(1, 3);
    QTest::keyClick(w.window.Grid(), Qt::Key_Return);
    ASSERT_NE(CellEditor(w.window), nullptr);
    CellEditor(w.window)->setText("by Enter");
    Commit(w.window);
    EXPECT_EQ(w.sheet.Cell(1, 3), "by Enter");

    const QRect cell = w.window.Grid()->visualRect(w.window.Model()->index(0, 0));
    QTest::mouseClick(w.window.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(w.window.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_NE(CellEditor(w.window), nullptr);
    CellEditor(w.window)->setText("by double-click");
    Commit(w.window);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"by double-click", "Käse", "by Enter"}));

    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "Käse", "r3"}));
}

TEST(DatasheetWindow, CopyAndPasteTabSeparatedText) {
    TWindow w;
    w.Fill(3);
    w.sheet.SetCell(1, 2, "two\nlines");
    w.window.SetDatasheet(&w.sheet);
    w.Show();
    QTableView* grid = w.window.Grid();
    grid->selectionModel()->select(
        QItemSelection(w.window.Model()->index(0, 0), w.window.Model()->index(1, 0)),
        QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "r1\n\"two\nlines\"\n");

    // What a spreadsheet copies: two columns, three rows, CR LF after each.
    const std::string before = DatasheetToStream(w.sheet);
    QApplication::clipboard()->setText("A\tB\r\nC\tD\r\nE\tF\r\n");
    ClickCell(w.window, 1, 3);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.sheet.RowCount(), 6);
    EXPECT_EQ(w.sheet.ColumnCount(), 3);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "two\nlines", "A", "C", "E"}));
    EXPECT_EQ(w.Column(2), (std::vector<std::string>{"", "", "B", "D", "F"}));
    EXPECT_EQ(w.window.Model()->rowCount(), 5);
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 6);
    QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(DatasheetToStream(w.sheet), before);
}

TEST(DatasheetWindow, FindSortAndAnInsertionTakenBackByEsc) {
    TWindow w;
    w.Fill(4);
    w.sheet.SetCell(1, 3, "Apple");
    w.window.SetDatasheet(&w.sheet);
    w.Show();
    w.Current(1, 1);
    QTest::keyClick(w.window.Grid(), Qt::Key_F, Qt::ControlModifier);
    TDatasheetFindBar* find = w.window.FindBar();
    ASSERT_TRUE(find->isVisible());
    ASSERT_TRUE(find->TextBox()->hasFocus());
    QTest::keyClicks(find->TextBox(), "apple");
    QTest::keyClick(find->TextBox(), Qt::Key_Return);
    EXPECT_EQ(w.window.Grid()->currentIndex().row(), 2);
    EXPECT_EQ(w.sheet.CurrentRow(), 3);
    find->TextBox()->setText("pear");
    QTest::keyClick(find->TextBox(), Qt::Key_Return);
    EXPECT_EQ(find->Result(), "Not found");
    QTest::keyClick(find->TextBox(), Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    EXPECT_TRUE(w.window.isVisible());

    // A click on the header sorts; the next one turns the order round; each is one step.
    QHeaderView* header = w.window.Grid()->horizontalHeader();
    const QPoint title(header->sectionViewportPosition(0) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"Apple", "r1", "r2", "r4"}));
    EXPECT_EQ(w.window.Action("&Undo")->text(), "&Undo Sort by Data1");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r4", "r2", "r1", "Apple"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.window.Grid(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "r2", "Apple", "r4"}));

    // An inserted row left empty goes again with Esc; the next Esc closes the window.
    w.Current(1, 2);
    QTest::keyClick(w.window.Grid(), Qt::Key_Insert);
    EXPECT_EQ(w.sheet.RowCount(), 6);
    QTest::keyClick(w.window.Grid(), Qt::Key_Escape);
    EXPECT_EQ(w.sheet.RowCount(), 5);
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "r2", "Apple", "r4"}));
    EXPECT_TRUE(w.window.isVisible());
    // One that was typed into stays.
    QTest::keyClick(w.window.Grid(), Qt::Key_Insert);
    QTest::keyClicks(w.window.Grid(), "n");
    QTest::keyClicks(CellEditor(w.window), "ew");
    Commit(w.window);
    QTest::keyClick(w.window.Grid(), Qt::Key_Escape);
    EXPECT_FALSE(w.window.isVisible());
    EXPECT_EQ(w.Column(1), (std::vector<std::string>{"r1", "new", "r2", "Apple", "r4"}));
}
