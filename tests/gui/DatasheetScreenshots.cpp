// Screenshots of the datasheet window with an imported table, of the sequence dialog and of the table
// picker: datasheet_screenshots OUTDIR   (run on a real display or Xvfb)
#include "DatasheetTestSupport.h"
#include "TestSupport.h"

#include "data/DatabaseReader.h"
#include "data/DatasheetImport.h"
#include "data/TDatasheet.h"
#include "gui/TDatasheetFindBar.h"
#include "gui/TDatasheetModel.h"
#include "gui/TFM_Data.h"
#include "gui/TFM_GetTable.h"
#include "gui/TFM_Import.h"
#include "gui/TFM_Sdata.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>

#include <cstdio>
#include <fstream>

namespace {

int Save(QWidget& widget, const QDir& out, const char* name) {
    widget.show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    const QString file = out.filePath(QString::fromLatin1(name));
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: datasheet_screenshots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const std::string work = qbm::test::MakeTempDir();
    {
        std::ofstream csv(work + "/shelf.csv", std::ios::binary);
        csv << "Code;Product;Shelf;Price;Picture\n";
        const char* products[] = {"Brush",    "Tape",   "Box, small", "Box, large", "Glue",
                                  "Scissors", "Ruler",  "Pencil",     "Marker",     "Stapler",
                                  "Clips",    "Folder", "Envelope",   "Label roll"};
        for (int i = 0; i < 500; ++i)
            csv << "40063813" << (10000 + i * 7) << ";" << products[i % 14] << ";A-" << (i % 12 + 1) << ";"
                << (i % 9 + 1) << "." << (i * 13 % 100 < 10 ? "0" : "") << (i * 13 % 100) << ";/pictures/item"
                << i << ".png\n";
    }
    qbm::test::TScriptedServices services;
    qbm::TDatasheet sheet;
    qbm::TFM_Data window(services);
    window.SetDatasheet(&sheet);
    services.importPaths.push_back(work + "/shelf.csv");
    window.ImportFile();
    sheet.SetColumnWidth(2, 110);
    sheet.SetColumnWidth(5, 140);
    window.SetDatasheet(&sheet);
    window.resize(760, 520);
    window.Grid()->setCurrentIndex(window.Model()->index(3, 1));
    int failures = Save(window, out, "datasheet-window.png");

    // Sorted by product, the find bar open on a found cell, and a price being typed over.
    window.SortByColumn(2);
    window.OpenFind();
    window.FindBar()->TextBox()->setText(QStringLiteral("glue"));
    window.FindBar()->FindNext();
    const QModelIndex price = window.Model()->index(window.Grid()->currentIndex().row(), 3);
    window.Grid()->setCurrentIndex(price);
    window.Grid()->edit(price);
    if (auto* editor = window.Grid()->viewport()->findChild<QLineEdit*>())
        editor->setText(QStringLiteral("4.95"));
    failures += Save(window, out, "datasheet-editing.png");
    window.close();

    qbm::TFM_Sdata sequence(services.prompts);
    sequence.Head()->setText("A-");
    sequence.Begin()->setText("1");
    sequence.End()->setText("500");
    sequence.Foot()->setText("/X");
    sequence.Repeat()->setValue(2);
    failures += Save(sequence, out, "datasheet-sequence.png");

    qbm::TFM_GetTable picker;
    picker.SetTables(qbm::DatabaseTableNames(qbm::test::TestDataPath("samples/nwind.mdb")));
    failures += Save(picker, out, "datasheet-table-picker.png");

    // The import's choices: a Windows-1252 file of Western text, and a workbook's sheets.
    {
        std::ofstream csv(work + "/prices.csv", std::ios::binary);
        csv << "Code;Name;Price\r\n00123;K\xE4se \x84"
               "Emmentaler\x93;\x80 4,50\r\n\r\n"
               "00124;Cr\xE8me br\xFBl\xE9"
               "e;\x80 2,10\r\n00125;\"Two\r\nlines\";\x80 1,00\r\n";
    }
    qbm::TFM_Import text(work + "/prices.csv");
    failures += Save(text, out, "datasheet-import-text.png");
    qbm::TFM_Import workbook(qbm::test::TestDataPath("import/formats.ods"));
    failures += Save(workbook, out, "datasheet-import-workbook.png");

    // A workbook in several scripts, as the datasheet shows it.
    services.importPaths.push_back(qbm::test::TestDataPath("import/formats.xlsx"));
    window.ImportFile();
    window.SetDatasheet(&sheet);
    failures += Save(window, out, "datasheet-window-unicode.png");
    return failures ? 1 : 0;
}
