#pragma once
// The main window's commands as actions, with their captions and shortcuts, laid out as the menu bar
// and the picture toolbar.

#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QUndoStack;

namespace qbm {

class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QMainWindow* window);

    // Undo and Redo follow the document's stack; the actions stay in their menu place.
    void SetUndoStack(QUndoStack* stack);

    // &File
    QAction* newProject;
    QAction* openProject;
    QMenu* openRecent;
    QAction* save;
    QAction* saveAs;
    QAction* exportImage;
    QAction* print;
    QAction* printToPdf;
    QAction* exit;
    // &Edit
    QAction* undo;
    QAction* redo;
    // &Code
    QMenu* codeMenu;
    QAction* barcodeTemplate;
    QAction* fixedValue;
    QAction* importVariousCode;
    QAction* serialCode;
    // &Page
    QAction* column;
    QAction* linage;
    QAction* marginLeft;
    QAction* marginRight;
    QAction* marginTop;
    QAction* marginBottom;
    QAction* printerSetup;
    QAction* labelStock;
    QAction* printOptions;
    QAction* printCalibrationSheet;
    QAction* printerCalibration;
    // &Help
    QAction* contents;
    QAction* faq;
    QAction* technicalSupport;
    QAction* about;
    // The toolbar's own buttons
    QAction* templates;
    QAction* data;
    QAction* help;
    QAction* visitWeb;
    QAction* aboutPicture;
    QToolBar* toolBar;

private:
    QUndoStack* m_undoStack = nullptr;
};

} // namespace qbm
