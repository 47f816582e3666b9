// The import dialog: what it detects in a text file, the live preview as the choices change, and the
// sheet list of a workbook.
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "gui/TFM_Import.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableView>

#include <fstream>

namespace qbm::test {
namespace {

TEST(ImportDialog, TextFileShowsWhatWasDetectedAndPreviewsEachChoice) {
    const std::string path = MakeTempDir() + "/prices.csv";
    std::ofstream(path, std::ios::binary) << "Code;Price\n1;\x80 5\n2;\x80 7,50\n";
    TFM_Import dialog(path);
    auto* encoding = dialog.findChild<QComboBox*>("CBX_Encoding");
    auto* delimiter = dialog.findChild<QComboBox*>("CBX_Delimiter");
    auto* names = dialog.findChild<QCheckBox*>("CB_FieldNames");
    ASSERT_TRUE(encoding && delimiter && names);
    EXPECT_EQ(encoding->currentText(), "Windows-1252 (detected)");
    EXPECT_EQ(delimiter->currentText(), "Semicolon ; (detected)");
    EXPECT_EQ(encoding->accessibleName(), "Encoding:");
    EXPECT_EQ(dialog.Preview().Cell(2, 1), "\u20AC 5");
    auto* grid = dialog.findChild<QTableView*>("Grd_Preview");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Price");

    // Each change reads the file again, and the choices are what the import takes.
    delimiter->setCurrentIndex(0); // comma
    EXPECT_EQ(dialog.Preview().Cell(1, 2), "2;\u20AC 7");
    EXPECT_EQ(dialog.Preview().Cell(2, 2), "50");
    names->setChecked(false);
    EXPECT_EQ(dialog.Preview().Cell(1, 0), "Column 1");
    EXPECT_EQ(dialog.Preview().Cell(1, 1), "Code;Price");
    const TImportOptions options = dialog.Options();
    EXPECT_EQ(options.text.delimiter, ',');
    EXPECT_EQ(options.text.encoding, TTextEncoding::teWindows1252);
    EXPECT_FALSE(options.text.firstRowHoldsNames);
}

TEST(ImportDialog, WorkbookListsItsSheetsWithTheActiveOneChosen) {
    TFM_Import dialog(TestDataPath("import/formats.ods"));
    auto* sheet = dialog.findChild<QComboBox*>("CBX_Sheet");
    auto* stored = dialog.findChild<QCheckBox*>("CB_StoredValues");
    ASSERT_TRUE(sheet && stored);
    ASSERT_EQ(sheet->count(), 3);
    EXPECT_EQ(sheet->itemText(1), "Hidden (hidden)");
    EXPECT_EQ(sheet->currentText(), "Labels");
    sheet->setCurrentIndex(2);
    stored->setChecked(true);
    EXPECT_EQ(dialog.Options().workbook.sheet, "Other");
    EXPECT_TRUE(dialog.Options().workbook.storedValues);
    EXPECT_TRUE(dialog.Problem().isEmpty());

    TFM_Import broken(MakeTempDir() + "/missing.xlsx");
    EXPECT_FALSE(broken.Problem().isEmpty());
}

} // namespace
} // namespace qbm::test
