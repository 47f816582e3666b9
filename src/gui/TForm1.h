#pragma once
// The main window: the two code tabs, the print layout tab and the label design tab, the page preview with
// its status bar, the menus and the picture toolbar. A view over the document: it forwards every command to
// it and refreshes from its signals.

#include <QMainWindow>
#include <QString>

class QTabWidget;
class QUndoStack;

namespace qbm {

class Code2DPage;
class DesignPage;
class LayoutPage;
class LinearCodePage;
class MainActions;
class PreviewPanel;
class TDialogs;
class TLabelDocument;
class WindowPrinting;
enum class TMainTab;
enum class TFocusTarget;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    void SetDocument(TLabelDocument* doc, QUndoStack* undoStack);
    TLabelDocument* Document() const { return m_doc; }
    WindowPrinting& Printing() const { return *m_printing; }

    // A project named on the command line opens instead of the welcome dialog.
    void SetStartupProject(const QString& path) { m_startupProject = path; }

    // The first activation of the window: the welcome dialog (or the project from the command line).
    // Runs once; later calls do nothing.
    void FirstActivation();

    // The commands of the toolbar and the menus, callable from tests as a user would trigger them.
    void OpenTemplateEditor();   // toolbar "Templates", "Barcode Template ...", welcome choice 2
    void ModifyLinearTemplate(); // "Modify  Templates Properties " on the linear tab
    void Modify2DTemplate();     // the same button on the 2D tab
    void PreviewClicked();       // a click on the page picture
    void OpenDatasheet();        // toolbar "Data" and the datasheet buttons
    void SerialCode();           // "Serial Code ..."
    void Serial2D();             // "Serial " on the 2D tab
    void OpenProjectFile(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    void ConnectActions();
    // Shows a tab without the tab-change handling (the current kind stays).
    void ShowTab(TMainTab tab);
    void FocusControl(TFocusTarget target);
    void ShowLayoutField(QWidget* field);
    void UpdateCaption();
    void UpdateCodeMenu();
    void RebuildRecentMenu();
    void AfterLinearEditor();

    TDialogs& m_dialogs;
    TLabelDocument* m_doc = nullptr;
    QUndoStack* m_undoStack = nullptr;
    MainActions* m_actions = nullptr;
    QTabWidget* m_pages = nullptr;
    LinearCodePage* m_linearPage = nullptr;
    Code2DPage* m_2dPage = nullptr;
    LayoutPage* m_layoutPage = nullptr;
    DesignPage* m_designPage = nullptr;
    PreviewPanel* m_preview = nullptr;
    WindowPrinting* m_printing = nullptr;
    QString m_startupProject;
    bool m_started = false;
    bool m_activated = false;
    bool m_showingTab = false;
    bool m_exporting = false;
    // The template the linear editor returns to; set by the linear tab's button and the preview.
    int m_rememberedTemplate = 0;
};

} // namespace qbm
