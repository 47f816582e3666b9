// Screenshots of the print dialog on its "Labels" tab and of the printer calibration dialog:
//   print_screenshots OUTDIR SUFFIX   (run on a real display or Xvfb; QT_SCALE_FACTOR sets the scale)
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "gui/WindowPrinting.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// Runs `shoot` on the modal dialog named `name` once `command` has opened it, then closes it.
bool Shoot(const char* name, const std::function<void(QWidget&)>& shoot,
           const std::function<void()>& command) {
    bool shot = false;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != name) return;
        poll.stop();
        for (int i = 0; i < 10; ++i) QApplication::processEvents();
        shoot(*dialog);
        shot = true;
        dialog->reject();
    });
    poll.start();
    command();
    return shot;
}

bool Save(QWidget& widget, const QString& file) {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: print_screenshots OUTDIR SUFFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    const std::string work = qbm::test::MakeTempDir();

    qbm::TScriptedPrompts prompts;
    prompts.SetDefaultAnswer(qbm::TMsgResult::mrYes);
    qbm::TScriptedFileDialogs files;
    qbm::test::ScriptedDialogs dialogs;
    qbm::TLabelDocument doc(prompts, files, work + "/Templates.dat");
    qbm::TForm1 window(dialogs);
    window.Printing().IgnoreSystemPrinters();
    const qbm::TCalibrationStore calibrations(work + "/calibration.ini");
    calibrations.Save("PDF", {0.8, -1.2, 1.0, 1.004});
    window.Printing().SetCalibrationStore(calibrations);
    window.SetDocument(&doc, doc.UndoStack());
    window.show();
    QApplication::processEvents();

    // EAN-13 shelf labels, 2 x 5 on A4, 24 of them.
    const auto& names = doc.TemplateNames();
    const auto ean = std::find(names.begin(), names.end(), "EAN13 (ISBN)");
    if (ean != names.end()) doc.SelectTemplate(static_cast<int>(ean - names.begin()));
    doc.SetFixedCode("590123412345");
    doc.SetFixedCodeAmount(24);
    doc.SetColumn(2);
    doc.SetLinage(5);

    int failures = 0;
    const bool printShot = Shoot(
        "PrintDialog",
        [&](QWidget& dialog) {
            // The options part of the dialog opens on the run's own tab.
            for (auto* button : dialog.findChildren<QPushButton*>())
                if (button->text().contains("Options")) button->click();
            QWidget* tab = dialog.findChild<QWidget*>("Tab_PrintRun");
            for (QWidget* w = tab; w; w = w->parentWidget())
                if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
                    tabs->setCurrentWidget(tab);
                    break;
                }
            tab->findChild<QCheckBox*>("Chk_Verify")->setChecked(true);
            tab->findChild<QSpinBox*>("Edt_StartCell")->setValue(4);
            failures += !Save(dialog, out.filePath(QString("print-dialog-labels%1.png").arg(suffix)));
        },
        [&] { window.Printing().Print(); });
    const bool calibrationShot = Shoot(
        "TFM_Calibration",
        [&](QWidget& dialog) {
            failures += !Save(dialog, out.filePath(QString("printer-calibration%1.png").arg(suffix)));
        },
        [&] { window.Printing().EditCalibration(); });
    window.SetDocument(nullptr, nullptr);
    if (!printShot || !calibrationShot) std::fprintf(stderr, "a dialog did not open\n");
    return failures || !printShot || !calibrationShot ? 1 : 0;
}
