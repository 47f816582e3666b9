#include "gui/MainActions.h"

#include "gui/GuiText.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

namespace qbm {

namespace {

QAction* Make(QObject* owner, const char* name, const QString& caption, const QKeySequence& keys = {}) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
}

QIcon Themed(const char* name, QStyle::StandardPixmap fallback, const QWidget* widget) {
    return QIcon::fromTheme(name, widget->style()->standardIcon(fallback));
}

} // namespace

MainActions::MainActions(QMainWindow* window) : QObject(window) {
    QMenuBar* bar = window->menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = Named(bar->addMenu("&File"), "Mnu_File", "&File");
    newProject = Make(this, "Mnu_NewProject", "&New Project", QKeySequence::New);
    openProject = Make(this, "Mnu_OpenProject", "&Open Project ...", QKeySequence::Open);
    save = Make(this, "Mnu_SaveProject", "Save Project", QKeySequence::Save);
    saveAs = Make(this, "Mnu_SaveProjectAs", "Save Project As ...", QKeySequence("Ctrl+Shift+S"));
    exportImage = Make(this, "Mnu_ExportImage", "Export Image ...");
    print = Make(this, "Mnu_Print", "&Print ...", QKeySequence::Print);
    printToPdf = Make(this, "Mnu_PrintToPdf", "Print to PDF ...");
    exit = Make(this, "Mnu_Exit", "Exit", QKeySequence("Ctrl+Q"));
    file->addAction(newProject);
    file->addAction(openProject);
    openRecent = Named(file->addMenu("Open &Recent"), "Mnu_OpenRecent", "Open Recent");
    file->addSeparator();
    file->addAction(save);
    file->addAction(saveAs);
    file->addSeparator();
    file->addAction(exportImage);
    file->addSeparator();
    file->addAction(print);
    file->addAction(printToPdf);
    file->addSeparator();
    file->addAction(exit);

    QMenu* edit = Named(bar->addMenu("&Edit"), "Mnu_Edit", "&Edit");
    undo = Make(this, "Mnu_Undo", "&Undo", QKeySequence("Ctrl+Z"));
    redo = Make(this, "Mnu_Redo", "&Redo", QKeySequence("Ctrl+Shift+Z"));
    undo->setEnabled(false);
    redo->setEnabled(false);
    edit->addAction(undo);
    edit->addAction(redo);

    codeMenu = Named(bar->addMenu("&Code"), "Mnu_Code", "&Code");
    barcodeTemplate = Make(this, "Mnu_BarcodeTemplate", "Barcode Template ...");
    fixedValue = Make(this, "Mnu_FixedValue", "Fixed Value");
    importVariousCode = Make(this, "Mnu_ImportVariousCode", "Import Various Code ...");
    serialCode = Make(this, "Mnu_SerialCode", "Serial Code ...");
    codeMenu->addAction(barcodeTemplate);
    codeMenu->addSeparator();
    codeMenu->addAction(fixedValue);
    codeMenu->addSeparator();
    codeMenu->addAction(importVariousCode);
    codeMenu->addAction(serialCode);

    QMenu* page = Named(bar->addMenu("&Page"), "Mnu_Page", "&Page");
    column = Make(this, "Mnu_Column", "Column");
    linage = Make(this, "Mnu_Linage", "Linage");
    marginLeft = Make(this, "Mnu_MarginLeft", "Margin Left");
    marginRight = Make(this, "Mnu_MarginRight", "Margin Right");
    marginTop = Make(this, "Mnu_MarginTop", "Margin Top");
    marginBottom = Make(this, "Mnu_MarginBottom", "Margin Bottom");
    printerSetup = Make(this, "Mnu_Printer", "Printer ...");
    labelStock = Make(this, "Mnu_LabelStock", "Label Stock ...");
    printOptions = Make(this, "Mnu_PrintOptions", "Print Options ...");
    printCalibrationSheet = Make(this, "Mnu_PrintCalibrationSheet", "Print Calibration Sheet");
    printerCalibration = Make(this, "Mnu_PrinterCalibration", "Printer Calibration ...");
    page->addAction(column);
    page->addAction(linage);
    page->addSeparator();
    for (QAction* a : {marginLeft, marginRight, marginTop, marginBottom}) page->addAction(a);
    page->addSeparator();
    page->addAction(printerSetup);
    page->addAction(labelStock);
    page->addAction(printOptions);
    page->addSeparator();
    page->addAction(printCalibrationSheet);
    page->addAction(printerCalibration);

    QMenu* helpMenu = Named(bar->addMenu("&Help"), "Mnu_Help", "&Help");
    contents = Make(this, "Mnu_Contents", "Contents", QKeySequence::HelpContents);
    faq = Make(this, "Mnu_Faq", "FAQ ...");
    technicalSupport = Make(this, "Mnu_TechnicalSupport", "Technical Support ...");
    about = Make(this, "Mnu_About", "About Quirbel Barcode Maker");
    helpMenu->addAction(contents);
    QMenu* support = Named(helpMenu->addMenu("Support"), "Mnu_Support", "Support");
    support->addAction(faq);
    support->addAction(technicalSupport);
    helpMenu->addSeparator();
    helpMenu->addAction(about);

    // The picture toolbar: captions under the pictures, a hand cursor on every button.
    toolBar = Named(new QToolBar("Toolbar", window), "Panel1", "Toolbar");
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar->setIconSize(QSize(32, 32));
    window->addToolBar(Qt::TopToolBarArea, toolBar);
    templates = Make(this, "Btn_Templates", "Templates");
    data = Make(this, "Btn_Data", "Data");
    help = Make(this, "Btn_Help", "Help");
    visitWeb = Make(this, "Btn_VisitWeb", "Visit Web");
    aboutPicture = Make(this, "Btn_AboutPicture", "About");
    const struct {
        QAction* action;
        const char* caption;
        const char* theme;
        QStyle::StandardPixmap fallback;
    } kButtons[] = {
        {newProject, "New", "document-new", QStyle::SP_FileIcon},
        {openProject, "Open", "document-open", QStyle::SP_DialogOpenButton},
        {save, "Save", "document-save", QStyle::SP_DialogSaveButton},
        {templates, "Templates", "document-properties", QStyle::SP_FileDialogDetailedView},
        {data, "Data", "x-office-spreadsheet", QStyle::SP_FileDialogListView},
        {print, "Print", "document-print", QStyle::SP_DialogApplyButton},
        {help, "Help", "help-contents", QStyle::SP_DialogHelpButton},
        {visitWeb, "Visit Web", "internet-web-browser", QStyle::SP_DriveNetIcon},
    };
    for (const auto& button : kButtons) {
        button.action->setIcon(Themed(button.theme, button.fallback, window));
        toolBar->addAction(button.action);
        auto* tool = qobject_cast<QToolButton*>(toolBar->widgetForAction(button.action));
        // The menu entries keep their own captions; the toolbar shows the short one.
        button.action->setIconText(button.caption);
        tool->setAccessibleName(button.caption);
        tool->setObjectName(QString("TB_") + button.caption);
        tool->setCursor(Qt::PointingHandCursor);
    }
    auto* spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    aboutPicture->setIcon(QIcon(":/qbm/app.svg"));
    aboutPicture->setToolTip("About Quirbel Barcode Maker");
    toolBar->addAction(aboutPicture);
    auto* aboutTool = qobject_cast<QToolButton*>(toolBar->widgetForAction(aboutPicture));
    aboutTool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    aboutTool->setAccessibleName("About Quirbel Barcode Maker");
    aboutTool->setObjectName("TB_About");
    aboutTool->setCursor(Qt::PointingHandCursor);

    for (QAction* action : findChildren<QAction*>()) {
        if (!action->text().isEmpty()) action->setToolTip(CaptionName(action->text()));
        // Shortcuts work wherever the focus is in the window, menus closed or not.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    // The toolbar adds its own actions to the window; the menu ones must be there for their keys too.
    window->addActions(findChildren<QAction*>());
}

void MainActions::SetUndoStack(QUndoStack* stack) {
    if (m_undoStack) {
        disconnect(m_undoStack, nullptr, undo, nullptr);
        disconnect(m_undoStack, nullptr, redo, nullptr);
        disconnect(undo, nullptr, m_undoStack, nullptr);
        disconnect(redo, nullptr, m_undoStack, nullptr);
    }
    m_undoStack = stack;
    if (!stack) return;
    connect(undo, &QAction::triggered, stack, &QUndoStack::undo);
    connect(redo, &QAction::triggered, stack, &QUndoStack::redo);
    connect(stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    undo->setEnabled(stack->canUndo());
    redo->setEnabled(stack->canRedo());
}

} // namespace qbm
