#pragma once
// The datasheet window: the table, its toolbar, menus and pop-up menu, each command asking its
// question through the prompts and changing the sheet as one undo step.

#include "data/DatasheetCommands.h"
#include "data/TDatasheetHistory.h"

#include <QDialog>

#include <map>
#include <string>

class QAction;
class QHeaderView;
class QLabel;
class QMenu;
class QMenuBar;
class QTableView;
class QToolBar;

namespace qbm {

class TDatasheet;
class TDatasheetModel;
class TDatasheetFindBar;
class TDatasheetServices;
class TRowNumberHeader;

class TFM_Data : public QDialog {
    Q_OBJECT
public:
    TFM_Data(TDatasheetServices& services, QWidget* parent = nullptr);
    ~TFM_Data() override;

    // The sheet the window shows and changes, and the undo history its commands go to. The document
    // passes the sheet's own history, so that undo reaches back past earlier showings of the window;
    // without one the window keeps a history of its own that starts anew with each sheet.
    void SetDatasheet(TDatasheet* sheet, TDatasheetHistory* history = nullptr);
    TDatasheet* Datasheet() const { return m_sheet; }
    TDatasheetHistory& History() { return *m_history; }
    // Whether a command changed the table since the window was last shown.
    bool Changed() const { return m_changed; }

    // The commands, as the menus run them.
    void RunCommand(TDatasheetCommand command);
    void FillSequence();
    void InsertPicturePath();
    void InsertPicturePaths();
    void ImportFile();
    void Undo();
    void Redo();
    void ShowContents();
    // The selection as tab-separated text on the clipboard, and such text pasted at the current cell.
    void CopySelection();
    void Paste();
    void OpenFind();
    // A click on a column's header: ascending first, then descending on each further click.
    void SortByColumn(int column);

    QTableView* Grid() const { return m_grid; }
    TDatasheetModel* Model() const { return m_model; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    QMenu* PopupMenu() const { return m_popup; }
    QToolBar* ToolBar() const { return m_toolBar; }
    TDatasheetFindBar* FindBar() const { return m_findBar; }
    // The action of a menu caption ("Insert Blank Row", "&Contents" …).
    QAction* Action(const QString& caption) const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildActions();
    void BuildMenus();
    // The cursor and selection of the view into the sheet, before a command reads them.
    void SyncCursorToSheet();
    // The sheet's shape, widths and cursor back into the view after a command.
    void Refresh();
    void UpdateUndoActions();
    void RestoreSectionOrder(QHeaderView* header, int from, int to);
    void ShowCell(int column, int row);
    void ShowError(const QString& message);
    // Esc, in the order a user means it: ends the typing in a cell, closes the find bar, takes back a
    // row just inserted and left empty, and only then closes the window.
    void Escape();
    QAction* MakeAction(const QString& caption, const QString& name, const QKeySequence& shortcut = {});

    TDatasheetServices& m_services;
    TDatasheet* m_sheet = nullptr;
    TDatasheetHistory m_ownHistory;
    TDatasheetHistory* m_history = &m_ownHistory;
    TDatasheetModel* m_model;
    QTableView* m_grid;
    TRowNumberHeader* m_rowHeader;
    QMenuBar* m_menuBar;
    QToolBar* m_toolBar;
    QLabel* m_importSummary = nullptr;
    TDatasheetFindBar* m_findBar;
    QMenu* m_popup;
    std::map<QString, QAction*> m_actions;
    bool m_changed = false;
    bool m_refreshing = false;
    // The row "Insert Blank Row" just added while it is untouched (0: none), and the undo step it made.
    int m_insertedRow = 0;
    std::string m_insertStep;
    int m_sortColumn = 0;
    bool m_sortAscending = true;
};

} // namespace qbm
