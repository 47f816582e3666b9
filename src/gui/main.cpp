#include "app/TLabelDocument.h"
#include "gui/GuiText.h"
#include "gui/QtFileDialogs.h"
#include "gui/QtUserPrompts.h"
#include "gui/TDialogs.h"
#include "gui/TForm1.h"
#include "templates/TemplateLibrary.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quirbel Barcode Maker");
    QApplication::setOrganizationName("Quirbel");
    QApplication::setDesktopFileName("quirbel-barcode-maker");

    qbm::QtUserPrompts prompts;
    qbm::QtFileDialogs fileDialogs;
    qbm::TDialogs dialogs;
    qbm::TLabelDocument document(prompts, fileDialogs, qbm::TemplateLibraryPath());
    qbm::TForm1 window(dialogs);
    prompts.SetParent(&window);
    fileDialogs.SetParent(&window);
    fileDialogs.SetProjectPathSource([&document] { return document.ProjectFileName(); });
    window.SetDocument(&document, document.UndoStack());
    // A project named on the command line (or handed over by the desktop) opens in place of the
    // welcome dialog.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) window.SetStartupProject(QFileInfo(args.at(1)).absoluteFilePath());
    window.show();
    const int code = QApplication::exec();
    window.SetDocument(nullptr, nullptr);
    return code;
}
