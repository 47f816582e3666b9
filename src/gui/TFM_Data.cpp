#include "gui/TFM_Data.h"

#include "data/DatasheetImport.h"
#include "data/DatasheetSort.h"
#include "data/SequenceGenerator.h"
#include "data/TDatasheet.h"
#include "data/TabSeparatedText.h"
#include "gui/TDatasheetFindBar.h"
#include "gui/TDatasheetModel.h"
#include "gui/TDatasheetServices.h"
#include "gui/TRowNumberHeader.h"
#include "gui/TShadowTitle.h"
#include "util/TProgress.h"
#include "util/TUserPrompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace qbm {
namespace {

constexpr auto kHelpTopic = "html/datasheet.htm";

struct TCommandAction {
    const char* caption;
    const char* name;
    TDatasheetCommand command;
    QKeySequence shortcut;
};

const TCommandAction kCommandActions[] = {
    // F2 edits the current cell, as in every table; Insert adds the row.
    {"Insert Blank Row", "Mnu_InsertRow", TDatasheetCommand::dcInsertBlankRow, QKeySequence(Qt::Key_Insert)},
    {"Clear Current Row Data", "Mnu_ClearRow", TDatasheetCommand::dcClearCurrentRow, {}},
    {"Delete Current Row", "Mnu_DeleteRow", TDatasheetCommand::dcDeleteCurrentRow, QKeySequence(Qt::Key_F3)},
    {"Delete All Rows", "Mnu_DeleteAllRows", TDatasheetCommand::dcDeleteAllRows, {}},
    {"Add a New Column", "Mnu_AddColumn", TDatasheetCommand::dcAddColumn, QKeySequence(Qt::Key_F5)},
    {"Rename Column", "Mnu_RenameColumn", TDatasheetCommand::dcRenameColumn, {}},
    {"Clear Current Column Data", "Mnu_ClearColumn", TDatasheetCommand::dcClearCurrentColumn, {}},
    {"Delete Current Column", "Mnu_DeleteColumn", TDatasheetCommand::dcDeleteCurrentColumn,
     QKeySequence(Qt::Key_F6)},
    {"Delete All Columns (and Rows)", "Mnu_DeleteAllColumns", TDatasheetCommand::dcDeleteAllColumns, {}},
    {"Clear All Data", "Mnu_ClearAll", TDatasheetCommand::dcClearAll, {}},
    {"Clear Selected Cells Data", "Mnu_ClearSelection", TDatasheetCommand::dcClearSelection, {}},
    // The pop-up menu's own spelling of the same command.
    {"Clear Selectd Cells Data", "Pop_ClearSelection", TDatasheetCommand::dcClearSelection, {}},
};

} // namespace

TFM_Data::TFM_Data(TDatasheetServices& services, QWidget* parent) : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("FM_Data"));
    setWindowTitle(QStringLiteral("Datasheet"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinMaxButtonsHint);
    setSizeGripEnabled(true);
    resize(760, 520);

    m_model = new TDatasheetModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("StrGrid_Data"));
    m_grid->setAccessibleName(QStringLiteral("Datasheet"));
    m_rowHeader = new TRowNumberHeader(m_grid);
    m_grid->setVerticalHeader(m_rowHeader);
    m_grid->setModel(m_model);
    // Typing over a cell, F2 and a double-click edit it in place; Enter too (below).
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setWordWrap(false);
    m_grid->setStyleSheet(QStringLiteral("QTableView { gridline-color: silver; }"));
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setDefaultSectionSize(TDatasheet::kDefaultColumnWidth);
    m_grid->horizontalHeader()->setHighlightSections(true);
    m_grid->viewport()->setToolTip(QStringLiteral("Right Click to Pop up Menu"));
    m_grid->setToolTip(QStringLiteral("Right Click to Pop up Menu"));
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (m_sheet && index.isValid() && !m_refreshing)
                    m_sheet->SetCurrentCell(index.column() + 1, index.row() + 1);
            });
    connect(m_grid, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        if (index.isValid()) m_grid->edit(index);
    });
    connect(m_model, &TDatasheetModel::CellEdited, this, [this] {
        m_changed = true;
        m_insertedRow = 0; // the inserted row now holds what was typed: Esc no longer takes it back
        UpdateUndoActions();
    });
    connect(m_model, &TDatasheetModel::EditRefused, this, &TFM_Data::ShowError);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SortByColumn(section + 1); });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) {
                if (m_sheet && !m_refreshing) m_sheet->SetColumnWidth(logical + 1, size);
            });
    // A dragged row or column moves in the sheet itself, once the header has finished its drag.
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (m_refreshing) return;
        QTimer::singleShot(0, this, [this, from, to] {
            RestoreSectionOrder(m_grid->horizontalHeader(), from, to);
            m_model->MoveColumn(from, to);
            m_changed = true;
            Refresh();
        });
    });
    connect(m_rowHeader, &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (m_refreshing) return;
        QTimer::singleShot(0, this, [this, from, to] {
            RestoreSectionOrder(m_rowHeader, from, to);
            m_model->MoveRow(from, to);
            m_changed = true;
            Refresh();
        });
    });

    BuildActions();
    BuildMenus();
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { m_popup->popup(m_grid->viewport()->mapToGlobal(at)); });

    auto* title = new TShadowTitle(QStringLiteral("Quirbel Barcode Maker!"), this);
    title->setObjectName(QStringLiteral("Lbl_Title"));
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Btn_OK"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // What the last import read and left out.
    m_importSummary = new QLabel(this);
    m_importSummary->setObjectName(QStringLiteral("Lbl_ImportSummary"));
    m_importSummary->setAccessibleName(QStringLiteral("Import summary"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(title);
    bottom->addStretch();
    bottom->addWidget(m_importSummary);
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    m_findBar = new TDatasheetFindBar(this);
    m_findBar->hide();
    connect(m_findBar, &TDatasheetFindBar::CellFound, this, &TFM_Data::ShowCell);
    connect(m_findBar, &TDatasheetFindBar::Closed, this, [this] { m_grid->setFocus(); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_findBar);
    layout->addLayout(bottom);

    // Esc is the window's before the grid sees it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &TFM_Data::Escape);
}

void TFM_Data::Escape() {
    // The editor of a cell is a child of the grid's viewport: the key goes to it, which ends the
    // typing and leaves the cell as it was.
    QWidget* focus = QApplication::focusWidget();
    if (focus && m_grid->viewport()->isAncestorOf(focus)) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focus, &key);
        m_grid->setFocus();
        return;
    }
    if (m_findBar->isVisible()) {
        m_findBar->hide();
        m_grid->setFocus();
        return;
    }
    // A row inserted a moment ago and still empty: Esc takes the insertion back, as a database grid
    // does, instead of leaving a blank label in the sheet.
    if (m_sheet && m_insertedRow > 0 && m_history->UndoName() == m_insertStep &&
        m_sheet->NextRowWithText(m_insertedRow) != m_insertedRow) {
        m_insertedRow = 0;
        Undo();
        return;
    }
    // Closing leaves the grid disabled until the window is shown again.
    m_grid->setEnabled(false);
    reject();
}

void TFM_Data::ShowCell(int column, int row) {
    const QModelIndex index = m_model->index(row - 1, column - 1);
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFM_Data::ShowError(const QString& message) {
    m_services.Prompts().Message(TMsgKind::mkError, TMsgButtons::mbOK, message.toStdString());
}

TFM_Data::~TFM_Data() = default;

void TFM_Data::RestoreSectionOrder(QHeaderView* header, int from, int to) {
    // The header only shows the drag; the data itself moves, so the header's own order goes back.
    m_refreshing = true;
    header->moveSection(to, from);
    m_refreshing = false;
}

QAction* TFM_Data::MakeAction(const QString& caption, const QString& name, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // shortcuts work whether a menu shows the action or not
    }
    m_actions[caption] = action;
    return action;
}

QAction* TFM_Data::Action(const QString& caption) const {
    const auto it = m_actions.find(caption);
    return it == m_actions.end() ? nullptr : it->second;
}

void TFM_Data::BuildActions() {
    for (const TCommandAction& a : kCommandActions) {
        QAction* action = MakeAction(QString::fromLatin1(a.caption), QString::fromLatin1(a.name), a.shortcut);
        const TDatasheetCommand command = a.command;
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    }
    // Ctrl+F finds, as everywhere; the sequence takes Ctrl+Shift+F.
    connect(MakeAction(QStringLiteral("Fill Sequence Data ..."), QStringLiteral("Mnu_FillSequence"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)),
            &QAction::triggered, this, &TFM_Data::FillSequence);
    connect(MakeAction(QStringLiteral("Insert a Picture Path Name ..."), QStringLiteral("Pop_PicturePath"),
                       QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &TFM_Data::InsertPicturePath);
    connect(
        MakeAction(QStringLiteral("Insert Pictures by Path Name ..."), QStringLiteral("Mnu_PicturePaths")),
        &QAction::triggered, this, &TFM_Data::InsertPicturePaths);
    connect(MakeAction(QStringLiteral("Import Data ..."), QStringLiteral("Mnu_Import")), &QAction::triggered,
            this, &TFM_Data::ImportFile);
    connect(MakeAction(QStringLiteral("&Contents"), QStringLiteral("Mnu_Contents")), &QAction::triggered,
            this, &TFM_Data::ShowContents);
    connect(MakeAction(QStringLiteral("Close"), QStringLiteral("Mnu_Close")), &QAction::triggered, this,
            &QDialog::reject);
    connect(
        MakeAction(QStringLiteral("&Undo"), QStringLiteral("Mnu_Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z)),
        &QAction::triggered, this, &TFM_Data::Undo);
    connect(MakeAction(QStringLiteral("&Redo"), QStringLiteral("Mnu_Redo"),
                       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)),
            &QAction::triggered, this, &TFM_Data::Redo);
    connect(
        MakeAction(QStringLiteral("&Copy"), QStringLiteral("Mnu_Copy"), QKeySequence(Qt::CTRL | Qt::Key_C)),
        &QAction::triggered, this, &TFM_Data::CopySelection);
    connect(
        MakeAction(QStringLiteral("&Paste"), QStringLiteral("Mnu_Paste"), QKeySequence(Qt::CTRL | Qt::Key_V)),
        &QAction::triggered, this, &TFM_Data::Paste);
    connect(MakeAction(QStringLiteral("&Find ..."), QStringLiteral("Mnu_Find"),
                       QKeySequence(Qt::CTRL | Qt::Key_F)),
            &QAction::triggered, this, &TFM_Data::OpenFind);
    for (auto& [caption, action] : m_actions) {
        QString plain = caption;
        action->setStatusTip(plain.remove(QLatin1Char('&')));
    }
}

void TFM_Data::BuildMenus() {
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("MainMenu1"));
    const auto menu = [this](QMenu* parent, const QString& title, const QString& name,
                             std::initializer_list<const char*> captions) {
        QMenu* m = parent ? parent->addMenu(title) : m_menuBar->addMenu(title);
        m->setObjectName(name);
        for (const char* caption : captions) {
            if (!*caption)
                m->addSeparator();
            else
                m->addAction(Action(QString::fromLatin1(caption)));
        }
        return m;
    };
    menu(nullptr, QStringLiteral("&File"), QStringLiteral("Mnu_File"), {"Import Data ...", "", "Close"});
    menu(nullptr, QStringLiteral("&Edit"), QStringLiteral("Mnu_Edit"),
         {"&Undo", "&Redo", "", "&Copy", "&Paste", "&Find ...", "", "Fill Sequence Data ...",
          "Insert Pictures by Path Name ...", "", "Clear All Data", "Clear Selected Cells Data"});
    menu(nullptr, QStringLiteral("&Rows"), QStringLiteral("Mnu_Rows"),
         {"Insert Blank Row", "Clear Current Row Data", "Delete Current Row", "Delete All Rows"});
    menu(nullptr, QStringLiteral("&Columns"), QStringLiteral("Mnu_Columns"),
         {"Add a New Column", "Rename Column", "Clear Current Column Data", "Delete Current Column",
          "Delete All Columns (and Rows)"});
    menu(nullptr, QStringLiteral("&Help"), QStringLiteral("Mnu_Help"), {"&Contents"});

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    menu(m_popup, QStringLiteral("Rows"), QStringLiteral("Pop_Rows"),
         {"Insert Blank Row", "Clear Current Row Data", "Delete Current Row", "Delete All Rows"});
    menu(m_popup, QStringLiteral("Columns"), QStringLiteral("Pop_Columns"),
         {"Add a New Column", "Rename Column", "Clear Current Column Data", "Delete Current Column",
          "Delete All Columns (and Rows)"});
    m_popup->addSeparator();
    for (const char* caption :
         {"&Copy", "&Paste", "", "Fill Sequence Data ...", "Insert a Picture Path Name ...",
          "Import Data ...", "", "Clear All Data", "Clear Selectd Cells Data"}) {
        if (!*caption)
            m_popup->addSeparator();
        else
            m_popup->addAction(Action(QString::fromLatin1(caption)));
    }

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct {
        const char* caption;
        const char* text;
        const char* hint;
    } tools[] = {
        {"Insert Blank Row", "+ Row", "Insert blank row"},
        {"Delete Current Row", "- Row", "Delete current row"},
        {"Add a New Column", "+ Column", "Add a new column"},
        {"Delete Current Column", "- Column", "Delete current column"},
        {"Fill Sequence Data ...", "Sequence", "Fill sequence data "},
    };
    for (const auto& tool : tools) {
        // A toolbar button of its own, so that its hint does not become the menu item's.
        QAction* command = Action(QString::fromLatin1(tool.caption));
        auto* button = new QAction(QString::fromLatin1(tool.text), this);
        button->setObjectName(command->objectName() + QStringLiteral("_Tool"));
        button->setToolTip(QString::fromLatin1(tool.hint));
        button->setStatusTip(QString::fromLatin1(tool.hint));
        connect(button, &QAction::triggered, command, &QAction::trigger);
        m_toolBar->addAction(button);
        if (QWidget* w = m_toolBar->widgetForAction(button))
            w->setAccessibleName(QString::fromLatin1(tool.hint));
    }
}

void TFM_Data::SetDatasheet(TDatasheet* sheet, TDatasheetHistory* history) {
    m_sheet = sheet;
    m_history = history ? history : &m_ownHistory;
    if (!history) m_ownHistory.Clear();
    m_model->SetDatasheet(sheet, m_history);
    m_findBar->SetDatasheet(sheet);
    m_insertedRow = 0;
    m_sortColumn = 0;
    m_grid->horizontalHeader()->setSortIndicatorShown(false);
    Refresh();
}

void TFM_Data::SyncCursorToSheet() {
    if (!m_sheet) return;
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid()) m_sheet->SetCurrentCell(current.column() + 1, current.row() + 1);
    const QItemSelection selection = m_grid->selectionModel()->selection();
    if (selection.isEmpty()) {
        m_sheet->SetSelection({m_sheet->CurrentColumn(), m_sheet->CurrentRow(), m_sheet->CurrentColumn(),
                               m_sheet->CurrentRow()});
        return;
    }
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (const QItemSelectionRange& range : selection) {
        left = std::min(left, range.left());
        top = std::min(top, range.top());
        right = std::max(right, range.right());
        bottom = std::max(bottom, range.bottom());
    }
    m_sheet->SetSelection({left + 1, top + 1, right + 1, bottom + 1});
}

void TFM_Data::Refresh() {
    if (!m_sheet) return;
    m_refreshing = true;
    m_model->Reload();
    QHeaderView* header = m_grid->horizontalHeader();
    for (int c = 1; c < m_sheet->ColumnCount(); ++c) header->resizeSection(c - 1, m_sheet->ColumnWidth(c));
    m_rowHeader->setFixedWidth(m_sheet->ColumnWidth(0) > 0 ? m_sheet->ColumnWidth(0)
                                                           : TDatasheet::kRowNumberColumnWidth);
    const QModelIndex current = m_model->index(m_sheet->CurrentRow() - 1, m_sheet->CurrentColumn() - 1);
    m_grid->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    m_refreshing = false;
    UpdateUndoActions();
}

void TFM_Data::UpdateUndoActions() {
    QAction* undo = Action(QStringLiteral("&Undo"));
    QAction* redo = Action(QStringLiteral("&Redo"));
    undo->setEnabled(m_history->CanUndo());
    redo->setEnabled(m_history->CanRedo());
    undo->setText(m_history->CanUndo()
                      ? QStringLiteral("&Undo ") + QString::fromStdString(m_history->UndoName())
                      : QStringLiteral("&Undo"));
    redo->setText(m_history->CanRedo()
                      ? QStringLiteral("&Redo ") + QString::fromStdString(m_history->RedoName())
                      : QStringLiteral("&Redo"));
}

void TFM_Data::RunCommand(TDatasheetCommand command) {
    if (!m_sheet) return;
    SyncCursorToSheet();
    m_insertedRow = 0;
    if (RunDatasheetCommand(*m_sheet, command, m_services.Prompts(), m_history)) {
        m_changed = true;
        if (command == TDatasheetCommand::dcInsertBlankRow) {
            m_insertedRow = m_sheet->CurrentRow();
            m_insertStep = m_history->UndoName();
        }
    }
    Refresh();
}

void TFM_Data::CopySelection() {
    if (!m_sheet) return;
    SyncCursorToSheet();
    const std::string text = CopyAsTabSeparated(*m_sheet, m_sheet->Selection());
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TFM_Data::Paste() {
    if (!m_sheet) return;
    SyncCursorToSheet();
    const QByteArray text = QApplication::clipboard()->text().toUtf8();
    TGridRect written;
    try {
        if (!PasteTabSeparated(*m_sheet, std::string_view(text.constData(), static_cast<size_t>(text.size())),
                               m_history, &written))
            return;
    } catch (const EDatasheetError& e) {
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    m_changed = true;
    m_insertedRow = 0;
    Refresh();
    // The pasted cells stay selected, as in a spreadsheet.
    m_grid->selectionModel()->select(QItemSelection(m_model->index(written.top - 1, written.left - 1),
                                                    m_model->index(written.bottom - 1, written.right - 1)),
                                     QItemSelectionModel::ClearAndSelect);
}

void TFM_Data::OpenFind() {
    SyncCursorToSheet();
    m_findBar->Open();
}

void TFM_Data::SortByColumn(int column) {
    if (!m_sheet || column < 1 || column >= m_sheet->ColumnCount()) return;
    m_sortAscending = column == m_sortColumn ? !m_sortAscending : true;
    m_sortColumn = column;
    // A million rows take about half a second.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool sorted = qbm::SortByColumn(*m_sheet, column, m_sortAscending, m_history);
    QApplication::restoreOverrideCursor();
    if (!sorted) return;
    m_changed = true;
    m_insertedRow = 0;
    Refresh();
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column - 1, m_sortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TFM_Data::FillSequence() {
    if (!m_sheet) return;
    SyncCursorToSheet();
    const auto codes = m_services.Sequence(this);
    if (!codes || codes->empty()) return;
    SyncCursorToSheet();
    const auto progress = m_services.Progress(this, QStringLiteral("Placing the sequence ..."));
    try {
        PlaceSequence(*m_sheet, *codes, m_history, progress.get());
        m_changed = true;
    } catch (const EOperationCancelled&) {
        // Stopped by the user: the column is as it was, and there is no step to undo.
    }
    Refresh();
}

void TFM_Data::InsertPicturePath() {
    if (!m_sheet) return;
    SyncCursorToSheet();
    const auto paths = m_services.AskPicturePaths(this, false);
    if (paths.empty() || !qbm::InsertPicturePath(*m_sheet, paths.front(), m_history)) return;
    m_changed = true;
    Refresh();
}

void TFM_Data::InsertPicturePaths() {
    if (!m_sheet) return;
    SyncCursorToSheet();
    const auto paths = m_services.AskPicturePaths(this, true);
    if (!qbm::InsertPicturePaths(*m_sheet, paths, m_history)) return;
    m_changed = true;
    Refresh();
}

void TFM_Data::ImportFile() {
    if (!m_sheet) return;
    const auto path = m_services.AskImportPath(this);
    if (!path) return;
    std::optional<TImportOptions> options = m_services.AskImportOptions(this, *path);
    if (!options) return;
    const auto progress =
        m_services.Progress(this, QStringLiteral("Importing ") + QString::fromLocal8Bit(path->c_str()));
    const TTablePicker picker = [this](const std::vector<std::string>& names) {
        return m_services.PickTable(this, names);
    };
    options->progress = progress.get();
    options->history = m_history;
    const TImportResult result = ImportData(*m_sheet, *path, m_services.Prompts(), picker, *options);
    if (result.outcome == TImportOutcome::ioImported) {
        m_changed = true;
        m_importSummary->setText(QString::fromStdString(result.Summary()));
    }
    Refresh();
}

void TFM_Data::Undo() {
    m_insertedRow = 0;
    if (m_sheet && m_history->Undo(*m_sheet)) m_changed = true;
    Refresh();
}

void TFM_Data::Redo() {
    if (m_sheet && m_history->Redo(*m_sheet)) m_changed = true;
    Refresh();
}

void TFM_Data::ShowContents() {
    m_services.Help(this, QString::fromLatin1(kHelpTopic));
}

void TFM_Data::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_changed = false;
    m_grid->setEnabled(true);
    m_grid->setFocus();
}

void TFM_Data::keyPressEvent(QKeyEvent* event) {
    // Esc is the window's shortcut; anything else the dialog would take (Enter) stays with the grid.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

} // namespace qbm
