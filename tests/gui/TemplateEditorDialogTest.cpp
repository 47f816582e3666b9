#include "gui/EditorSupport.h"
#include "gui/TFM_Template.h"
#include "gui/TFM_Template2d.h"

#include "TestSupport.h"
#include "templates/EditorTestSupport.h"
#include "util/TUserPrompts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace qbm {
namespace {

template <typename W> W* Control(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

QImage Picture(QWidget& dialog) {
    return Control<QLabel>(dialog, "Image1")->pixmap().toImage();
}

struct Step {
    const char* what;
    std::function<void()> change;
    bool redraws = true;
};

// Runs the steps in order and checks that each one changes (or keeps) the preview picture.
void ExpectRedraws(QWidget& dialog, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        const QImage before = Picture(dialog);
        step.change();
        const QImage after = Picture(dialog);
        if (step.redraws)
            EXPECT_NE(before, after) << step.what;
        else
            EXPECT_EQ(before, after) << step.what;
    }
}

QFont BigFont() {
    QFont font("DejaVu Sans");
    font.setPointSize(16);
    font.setBold(true);
    return font;
}

TEST(TemplateDialog, EveryChangeRedrawsThePreview) {
    TScriptedPrompts prompts;
    TFM_Template dialog(test::DefaultLibrary(), prompts);
    dialog.Editor().SetPreselected(14);
    dialog.SetFontChooser([](QWidget*, const QFont&, const QString&) { return BigFont(); });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(Control<QSpinBox>(dialog, "SpinEdit1")->value(), 50);
    EXPECT_EQ(Control<QComboBox>(dialog, "ComboBox1")->currentText(), "EAN13 & ISBN");
    EXPECT_EQ(Picture(dialog).size(), QSize(257, 246));

    ExpectRedraws(
        dialog,
        {
            {"Edit1", [&] { QTest::keyClicks(Control<QLineEdit>(dialog, "Edit1"), "5901234123457"); }},
            {"ComboBox3", [&] { Control<QComboBox>(dialog, "ComboBox3")->setCurrentIndex(2); }},
            {"Edt_ExtCaption",
             [&] { QTest::keyClicks(Control<QLineEdit>(dialog, "Edt_ExtCaption"), "Shelf 7"); }},
            {"CBX_ExtCapPos", [&] { Control<QComboBox>(dialog, "CBX_ExtCapPos")->setCurrentIndex(1); }},
            {"SpinEdit2", [&] { Control<QSpinBox>(dialog, "SpinEdit2")->setValue(20); }},
            {"SpinEdit1", [&] { Control<QSpinBox>(dialog, "SpinEdit1")->setValue(40); }},
            {"ComboBox1", [&] { Control<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(3); }},
            {"CBCheckSum",
             [&] { QTest::mouseClick(Control<QCheckBox>(dialog, "CBCheckSum"), Qt::LeftButton); }},
            {"SBtn_CodeFont",
             [&] { QTest::mouseClick(Control<QToolButton>(dialog, "SBtn_CodeFont"), Qt::LeftButton); }},
            {"SBtn_CapFont",
             [&] { QTest::mouseClick(Control<QToolButton>(dialog, "SBtn_CapFont"), Qt::LeftButton); }},
        });
    EXPECT_TRUE(prompts.Messages().empty());

    // Format 2 with an empty test code shows "123" in the field too.
    Control<QLineEdit>(dialog, "Edit1")->clear();
    Control<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(2);
    EXPECT_EQ(Control<QLineEdit>(dialog, "Edit1")->text(), "123");

    // A code the format cannot take: the message replaces the picture and stands beside the field; no
    // box takes the focus away, so the rest of the typing arrives.
    Control<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(14);
    const QString before = Control<QLineEdit>(dialog, "Edit1")->text();
    QTest::keyClicks(Control<QLineEdit>(dialog, "Edit1"), "AB");
    EXPECT_TRUE(prompts.Messages().empty());
    EXPECT_EQ(Control<QLineEdit>(dialog, "Edit1")->text(), before + "AB");
    EXPECT_EQ(Control<QLabel>(dialog, "Image1")->toolTip(), "Barcode must be numeric");
    auto* problem = Control<QLabel>(dialog, "Lbl_TestCodeProblem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_EQ(problem->text(), "Barcode must be numeric");
    // OK with the code still refused: now the box
    QTest::mouseClick(Control<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    ASSERT_EQ(prompts.Messages().size(), 1u);
    EXPECT_EQ(prompts.Messages()[0].text, "Barcode must be numeric");
}

// The format list ends with GS1 DataBar and Intelligent Mail; choosing one stores its own ordinal, and
// the preview reads back; a value the symbology refuses shows the encoder's message.
TEST(TemplateDialog, ListsTheSymbolTypesAfterTheOthers) {
    TScriptedPrompts prompts;
    const std::string path = test::DefaultLibrary();
    TFM_Template dialog(path, prompts);
    dialog.Editor().SetPreselected(0);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* format = Control<QComboBox>(dialog, "ComboBox1");
    ASSERT_EQ(format->count(), 28);
    QStringList items;
    for (int i = 23; i < format->count(); ++i) items << format->itemText(i);
    EXPECT_EQ(items, (QStringList{"GS1 DataBar", "GS1 DataBar Stacked", "GS1 DataBar Limited",
                                  "GS1 DataBar Expanded", "Intelligent Mail"}));

    format->setCurrentIndex(23);
    QTest::keyClicks(Control<QLineEdit>(dialog, "Edit1"), "0950110153000");
    // Modules of 0.6 mm: two screen pixels and more in the preview, which a reader resolves.
    Control<QSpinBox>(dialog, "SpinEdit1")->setValue(60);
    EXPECT_EQ(Control<QLabel>(dialog, "Image1")->toolTip(), "");
    EXPECT_EQ(test::Decode(test::FromImage(Picture(dialog), 10), ZXing::BarcodeFormat::DataBar).bytes,
              "09501101530003");
    format->setCurrentIndex(25);
    QTest::keyClicks(Control<QLineEdit>(dialog, "Edit1"), "0");
    EXPECT_EQ(Control<QLabel>(dialog, "Lbl_TestCodeProblem")->text(),
              "GS1 (01) check digit should be 3, not 0");
    format->setCurrentIndex(27);
    EXPECT_EQ(format->currentText(), "Intelligent Mail");
    QTest::mouseClick(Control<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    EXPECT_EQ(TIniFile(path).ReadString("Code-2-5-interleaved", "CodeType", ""), "28");
}

TEST(TemplateDialog, OkWithAnUnwritableLibraryStaysOpen) {
    TScriptedPrompts prompts;
    const std::string path = test::DefaultLibrary();
    TFM_Template dialog(path, prompts);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    test::BreakLibraryFolder(path);
    QTest::mouseClick(Control<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_FALSE(prompts.Messages().empty());
    EXPECT_EQ(prompts.Messages().back().text, "Unable to write to " + path);
}

TEST(TemplateDialog, KeepsItsStateAndHidesExportWhenClosed) {
    TScriptedPrompts prompts;
    const std::string path = test::DefaultLibrary();
    TFM_Template dialog(path, prompts);
    dialog.ShowExportButton();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(Control<QPushButton>(dialog, "Button1")->isVisible());

    // A click in the list is remembered for the next opening; leaving a field writes the template.
    Control<QListWidget>(dialog, "ListBox1")->setCurrentRow(3);
    Control<QSpinBox>(dialog, "SpinEdit1")->setFocus();
    Control<QSpinBox>(dialog, "SpinEdit1")->setValue(60);
    Control<QLineEdit>(dialog, "Edit1")->setFocus();
    EXPECT_EQ(TIniFile(path).ReadInteger("Code39", "BarWidth", 0), 60);

    const QString exported = QString::fromStdString(test::MakeTempDir() + "/code39.bmp");
    dialog.SetSavePathChooser([&](QWidget*, const QString&, const QStringList& filters) {
        EXPECT_EQ(filters.front(), "Bitmaps (*.bmp)");
        return std::optional<QString>(exported);
    });
    QTest::keyClicks(Control<QLineEdit>(dialog, "Edit1"), "Q7");
    QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    const TBitmap saved = test::LoadPicture(exported.toStdString());
    EXPECT_GT(saved.Width(), 257) << "the whole symbol at 300 dpi, not the preview box";
    EXPECT_EQ(test::Decode(saved, ZXing::BarcodeFormat::Code39).text, "Q7");
    QTest::mouseClick(Control<QCheckBox>(dialog, "Chk_PreviewPicture"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    EXPECT_EQ(test::LoadPicture(exported.toStdString()).Width(), 257);

    // Closed with OK the changes stay (Esc and Cancel discard them: the openers' test).
    QTest::mouseClick(Control<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_FALSE(Control<QPushButton>(dialog, "Button1")->isVisible()) << "export only when opened for it";
    EXPECT_EQ(Control<QListWidget>(dialog, "ListBox1")->currentRow(), 3);
    EXPECT_EQ(Control<QLineEdit>(dialog, "Edit1")->text(), "Q7");
    EXPECT_EQ(Control<QSpinBox>(dialog, "SpinEdit1")->value(), 60);

    prompts.QueueInput("Pallet");
    QTest::mouseClick(Control<QPushButton>(dialog, "SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(Control<QListWidget>(dialog, "ListBox1")->currentItem()->text(), "Pallet");
    QTest::mouseClick(Control<QPushButton>(dialog, "Sbt_import"), Qt::LeftButton);
    EXPECT_EQ(Control<QListWidget>(dialog, "ListBox1")->count(), 23);
    EXPECT_FALSE(TIniFile(path).SectionExists("Pallet"));
}

TEST(Template2dDialog, EveryChangeRedrawsThePreview) {
    TScriptedPrompts prompts;
    TFM_Template2d dialog(test::DefaultLibrary(), prompts);
    dialog.OpenOnPage(T2DTemplateEditor::TPage::Pdf417, "Shelf 12");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(Control<QComboBox>(dialog, "ECC")->currentText(), "3");
    EXPECT_EQ(Control<QLineEdit>(dialog, "PST")->text(), "145");
    EXPECT_EQ(test::Decode(test::FromImage(Picture(dialog)), ZXing::BarcodeFormat::PDF417).text, "Shelf 12");

    ExpectRedraws(
        dialog,
        {
            {"Memo1", [&] { QTest::keyClicks(Control<QPlainTextEdit>(dialog, "Memo1"), " and more"); }},
            {"ECC", [&] { Control<QComboBox>(dialog, "ECC")->setCurrentText("6"); }},
            {"chkCompact",
             [&] { QTest::mouseClick(Control<QCheckBox>(dialog, "chkCompact"), Qt::LeftButton); }},
            {"BW", [&] { Control<QSpinBox>(dialog, "BW")->setValue(2); }},
            {"BH", [&] { Control<QSpinBox>(dialog, "BH")->setValue(2); }},
            {"pROW", [&] { Control<QSpinBox>(dialog, "pROW")->setValue(20); }},
            {"pCOL", [&] { Control<QSpinBox>(dialog, "pCOL")->setValue(3); }},
            {"pROW beside columns", [&] { Control<QSpinBox>(dialog, "pROW")->setValue(30); }, false},
            {"TS_max", [&] { Control<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1); }},
            {"Edit3", [&] { QTest::keyClicks(Control<QLineEdit>(dialog, "Edit3"), "Parcel"); }},
            {"MMode", [&] { Control<QComboBox>(dialog, "MMode")->setCurrentText("2"); }},
            {"CON", [&] { Control<QSpinBox>(dialog, "CON")->setValue(840); }},
            {"SEV", [&] { Control<QSpinBox>(dialog, "SEV")->setValue(1); }},
            {"PST", [&] { QTest::keyClicks(Control<QLineEdit>(dialog, "PST"), "52"); }},
            {"AuotS", [&] { QTest::mouseClick(Control<QCheckBox>(dialog, "AuotS"), Qt::LeftButton); }},
            {"WH", [&] { Control<QSpinBox>(dialog, "WH")->setValue(8); }},
        });
    EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front().text;
}

TEST(Template2dDialog, CarrierDataIsCheckedBesideItsFieldAndEscUndoesTheEdits) {
    TScriptedPrompts prompts;
    const std::string path = test::DefaultLibrary();
    TFM_Template2d dialog(path, prompts);
    dialog.OpenOnPage(T2DTemplateEditor::TPage::MaxiCode, "Parcel");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* mode = Control<QComboBox>(dialog, "MMode");
    EXPECT_FALSE(mode->isEditable()) << "the modes only";
    EXPECT_EQ(mode->count(), 5);
    const std::string library = test::ReadWholeFile(path);

    mode->setCurrentIndex(0); // mode 2
    auto* postal = Control<QLineEdit>(dialog, "PST");
    postal->setFocus();
    postal->selectAll();
    QTest::keyClicks(postal, "1523828021");
    EXPECT_EQ(postal->text(), "1523828021") << "nothing typed is lost";
    auto* problem = Control<QLabel>(dialog, "Lbl_PSTProblem");
    EXPECT_TRUE(problem->isVisible());
    EXPECT_EQ(problem->text(), "Invalid Postal Code \"1523828021\": mode 2 takes 1 to 9 digits.");
    EXPECT_TRUE(prompts.Messages().empty());
    QTest::keyClick(postal, Qt::Key_Backspace);
    EXPECT_FALSE(problem->isVisible());
    Control<QSpinBox>(dialog, "CON")->setValue(1840);
    EXPECT_TRUE(Control<QLabel>(dialog, "Lbl_CONProblem")->isVisible());
    Control<QSpinBox>(dialog, "CON")->setFocus(); // leaving a field writes the library
    Control<QSpinBox>(dialog, "SEV")->setFocus();
    EXPECT_NE(test::ReadWholeFile(path), library);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(test::ReadWholeFile(path), library) << "Esc puts the library back";
    EXPECT_EQ(Control<QLineEdit>(dialog, "PST")->text(), "145");
    EXPECT_EQ(mode->currentText(), "6");
    EXPECT_TRUE(prompts.Messages().empty());
    EXPECT_NE(Control<QPushButton>(dialog, "Btn_Cancel"), nullptr);
}

// The name typed decides the picture type when its extension is one the dialog offers; both editors
// offer the same formats.
TEST(ExportDialog, TheTypedExtensionDecidesTheFormat) {
    const QStringList filters = TFM_Template2d::ExportFilters();
    EXPECT_EQ(filters.front(), "JPEG Image (*.jpg)");
    EXPECT_EQ(TFM_Template::ExportFilters().front(), "Bitmaps (*.bmp)");
    QStringList linear = TFM_Template::ExportFilters(), twoD = filters;
    linear.sort();
    twoD.sort();
    EXPECT_EQ(linear, twoD);
    for (const char* ext : {"bmp", "png", "jpg", "tif", "svg", "pdf"})
        EXPECT_TRUE(filters.join(" ").contains(QString("*.") + ext)) << ext;
    const QString jpeg = "JPEG Image (*.jpg)";
    EXPECT_EQ(PathForFilters("/x/exp_maxi.png", jpeg, filters), "/x/exp_maxi.png");
    EXPECT_EQ(PathForFilters("/x/exp_maxi.PDF", jpeg, filters), "/x/exp_maxi.PDF");
    EXPECT_EQ(PathForFilters("/x/photo.jpeg", jpeg, filters), "/x/photo.jpeg");
    EXPECT_EQ(PathForFilters("/x/scan.tiff", jpeg, filters), "/x/scan.tiff");
    EXPECT_EQ(PathForFilters("/x/label", jpeg, filters), "/x/label.jpg");
    EXPECT_EQ(PathForFilters("/x/label.v2", jpeg, filters), "/x/label.v2.jpg");
}

TEST(Template2dDialog, OkWithAnUnwritableLibraryStaysOpenAndExportHidesOnClose) {
    TScriptedPrompts prompts;
    const std::string path = test::DefaultLibrary();
    TFM_Template2d dialog(path, prompts);
    dialog.ShowExportButton();
    dialog.OpenOnPage(T2DTemplateEditor::TPage::MaxiCode, "Parcel 7");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(Control<QTabWidget>(dialog, "PageControl1")->currentIndex(), 1);
    EXPECT_TRUE(Control<QPushButton>(dialog, "Button1")->isVisible());

    const QString exported = QString::fromStdString(test::MakeTempDir() + "/parcel.jpg");
    dialog.SetSavePathChooser([&](QWidget*, const QString&, const QStringList& filters) {
        EXPECT_EQ(filters.front(), "JPEG Image (*.jpg)");
        return std::optional<QString>(exported);
    });
    EXPECT_TRUE(Control<QSpinBox>(dialog, "Edt_ExportDpi")->isVisible());
    EXPECT_EQ(Control<QSpinBox>(dialog, "Edt_ExportDpi")->value(), 300);
    QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    // the symbol at 300 dpi (modules of 0.88 mm), not the screen's preview
    const TBitmap saved = test::LoadPicture(exported.toStdString());
    EXPECT_GT(saved.Width(), 300);
    EXPECT_EQ(test::Decode(saved, ZXing::BarcodeFormat::MaxiCode).text, "Parcel 7");
    QTest::mouseClick(Control<QCheckBox>(dialog, "Chk_PreviewPicture"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    EXPECT_EQ(test::LoadPicture(exported.toStdString()).Width(), Picture(dialog).width());

    test::BreakLibraryFolder(path);
    QTest::mouseClick(Control<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_FALSE(prompts.Messages().empty());
    EXPECT_EQ(prompts.Messages().back().text, "Unable to write to " + path);

    dialog.reject();
    EXPECT_FALSE(Control<QPushButton>(dialog, "Button1")->isVisible());
    EXPECT_FALSE(Control<QSpinBox>(dialog, "Edt_ExportDpi")->isVisible());
    dialog.show();
    EXPECT_FALSE(Control<QPushButton>(dialog, "Button1")->isVisible());
}

} // namespace
} // namespace qbm
