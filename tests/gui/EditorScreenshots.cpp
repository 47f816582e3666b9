// Screenshots of the two template editors for the documentation:
//   editor_screenshots OUTDIR SUFFIX   (run on a real display or Xvfb; QT_SCALE_FACTOR sets the scale)
#include "TestSupport.h"

#include "gui/TFM_Template.h"
#include "gui/TFM_Template2d.h"
#include "templates/TemplateLibrary.h"
#include "util/TUserPrompts.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

namespace {

bool Save(QWidget& dialog, const QDir& out, const QString& name, const QString& suffix) {
    dialog.show();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    const QString file = out.filePath(name + suffix + ".png");
    const bool ok = dialog.grab().save(file);
    std::printf("%s%s\n", ok ? "" : "cannot write ", qPrintable(file));
    dialog.hide();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: editor_screenshots OUTDIR SUFFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    const std::string library = qbm::test::MakeTempDir() + "/Templates.dat";
    qbm::WriteDefaultTemplates(library);
    qbm::TScriptedPrompts prompts;
    int failures = 0;

    qbm::TFM_Template linear(library, prompts);
    linear.Editor().PrepareOpening(14, "5901234123457", "Shelf 12");
    linear.ShowExportButton();
    failures += !Save(linear, out, "editor-linear", suffix);

    qbm::TFM_Template2d twoD(library, prompts);
    twoD.OpenOnPage(qbm::T2DTemplateEditor::TPage::Pdf417, "Quirbel Barcode Maker");
    failures += !Save(twoD, out, "editor-pdf417", suffix);
    twoD.OpenOnPage(qbm::T2DTemplateEditor::TPage::MaxiCode, "Parcel 0042");
    failures += !Save(twoD, out, "editor-maxicode", suffix);
    return failures ? 1 : 0;
}
