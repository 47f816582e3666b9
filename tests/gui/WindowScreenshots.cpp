// Screenshots of the main window with a small project loaded, one per tab, for the README:
//   gui_screenshots OUTDIR SUFFIX   (run on a real display or Xvfb; QT_SCALE_FACTOR sets the scale)
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "app/TDesignEditor.h"
#include "gui/DesignPage.h"
#include "gui/TFM_Stock.h"
#include "gui/WindowPrinting.h"
#include "stock/TStockDatabase.h"
#include "templates/TemplateLibrary.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

// The sample's own label run: EAN-13 shelf labels, 2 x 5 on A4, and a list of PDF417 parcel codes.
void FillSample(qbm::TLabelDocument& doc) {
    const auto& names = doc.TemplateNames();
    const auto ean = std::find(names.begin(), names.end(), "EAN13 (ISBN)");
    if (ean != names.end()) doc.SelectTemplate(static_cast<int>(ean - names.begin()));
    doc.SetFixedCode("590123412345");
    doc.SetExtCaption("Shelf 12");
    doc.SetFixedCodeAmount(24);
    doc.SetColumn(2);
    doc.SetLinage(5);
    doc.Serial2D({"PARCEL-0001", "PARCEL-0002", "PARCEL-0003", "PARCEL-0004", "PARCEL-0005"});
    doc.SetSource2D(qbm::T2DSource::tsCodeList);
    doc.SetText2D("Quirbel Barcode Maker");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: gui_screenshots OUTDIR SUFFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString suffix = QString::fromLocal8Bit(argv[2]);
    const std::string work = qbm::test::MakeTempDir();

    qbm::TScriptedPrompts prompts;
    prompts.SetDefaultAnswer(qbm::TMsgResult::mrNo);
    qbm::TScriptedFileDialogs files;
    qbm::test::ScriptedDialogs dialogs;
    qbm::TLabelDocument doc(prompts, files, work + "/Templates.dat");
    qbm::TForm1 window(dialogs);
    window.Printing().IgnoreSystemPrinters();
    window.SetDocument(&doc, doc.UndoStack());
    window.show();
    QApplication::processEvents();

    FillSample(doc);
    const std::string project = work + "/shelf-labels.bpj";
    files.QueuePath(project);
    doc.Save();
    doc.OpenPath(project);

    auto* pages = window.findChild<QTabWidget*>("PG_Pro");
    const char* names[] = {"linear", "2d", "layout"};
    int failures = 0;
    for (int tab : {1, 2, 0}) {
        pages->setCurrentIndex(tab);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QString file = out.filePath(QString("window-%1%2.png").arg(names[tab], suffix));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    // The label design tab: the sample's label converted to a design, a frame and a title added, the
    // title selected with its properties.
    if (auto* design = window.findChild<qbm::DesignPage*>("DesignPage")) {
        pages->setCurrentIndex(3);
        qbm::TDesignEditor& editor = *design->Editor();
        editor.ConvertToDesign();
        const qbm::TLabelSizeMm label = editor.LabelSize();
        editor.AddObject(qbm::TDesignKind::Rect, qbm::TPointMm{1, 1});
        editor.ResizeObject(editor.Current(), {1, 1, label.width - 2, label.height - 2});
        editor.SendToBack();
        const int title = editor.AddObject(qbm::TDesignKind::Text, qbm::TPointMm{4, 3});
        qbm::TDesignObject object = editor.Design()->objects[static_cast<size_t>(title)];
        object.value = "Label {Counter} of the run";
        object.bold = true;
        object.widthMm = label.width - 8;
        editor.SetObject(title, object, "Value");
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QString file = out.filePath(QString("window-design%1.png").arg(suffix));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    // The label stock picker with a search typed, when the stock database is installed.
    const qbm::TStockDatabase stock = qbm::TStockDatabase::Load(qbm::DefaultStockFolder());
    if (!stock.Stocks().empty()) {
        qbm::TFM_Stock picker(stock, "", &window);
        picker.show();
        QTest::keyClicks(picker.Search(), "avery address");
        picker.List()->selectRow(2);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QString file = out.filePath(QString("stock-picker%1.png").arg(suffix));
        if (!picker.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(file));
        }
    }
    window.SetDocument(nullptr, nullptr);
    return failures ? 1 : 0;
}
