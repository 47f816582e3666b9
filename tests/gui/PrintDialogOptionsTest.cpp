#include "GuiTestSupport.h"

#include "gui/TCalibrationDialog.h"

#include "TestSupport.h"
#include "gui/WindowPrinting.h"
#include "surface/TRasterPrinter.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace qbm::test {
namespace {

class PrintDialogOptions : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        // The same dialog whether or not the machine has printers: its PDF file target.
        window->Printing().IgnoreSystemPrinters();
        window->Printing().SetCalibrationStore(TCalibrationStore(dir + "/calibration.ini"));
        ShowWindow();
    }

    // Runs `answer` on the first modal dialog named `name` that opens while `command` runs.
    template <typename Dialog>
    bool Answer(const char* name, const std::function<void(Dialog&)>& answer,
                const std::function<void()>& command) {
        bool answered = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != name) return;
            poll.stop();
            answered = true;
            answer(*dialog);
        });
        poll.start();
        command();
        return answered;
    }
};

// Every control a user reaches carries its code name and its caption.
void ExpectNamed(const QWidget& parent) {
    for (QWidget* w : parent.findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QAbstractSpinBox*>(w) &&
            !qobject_cast<QComboBox*>(w))
            continue;
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
}

TEST_F(PrintDialogOptions, TheLabelsTabsChoicesReachTheRun) {
    ChooseTemplate("Code128B");
    TypeFixedCode("TAB-1");
    Find<QSpinBox>("Edt_Amount")->setValue(6); // from cell 4 of 2 x 2: pages of 1, 4 and 1 labels
    const std::string pdf = dir + "/from-the-dialog.pdf";
    bool sawVerifying = false;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* p = window->findChild<QProgressDialog*>("PrintProgress"))
            sawVerifying = sawVerifying || p->labelText().startsWith("Verifying label");
    });
    watch.start();
    prompts.QueueAnswer(TMsgResult::mrYes);
    const bool answered = Answer<QPrintDialog>(
        "PrintDialog",
        [&](QPrintDialog& dialog) {
            auto* tab = dialog.findChild<QWidget*>("Tab_PrintRun");
            ASSERT_NE(tab, nullptr);
            ExpectNamed(*tab);
            tab->findChild<QCheckBox*>("Chk_Verify")->setChecked(true);
            tab->findChild<QSpinBox*>("Edt_StartCell")->setValue(4);
            auto* lastPage = tab->findChild<QSpinBox*>("Edt_LastPage");
            EXPECT_EQ(lastPage->text(), "Last");
            lastPage->setValue(1);
            EXPECT_EQ(tab->findChild<QSpinBox*>("Edt_StartCell")->maximum(), 4);
            // The file target, also where the machine has printers of its own.
            auto* printers = dialog.findChild<QComboBox*>("printers");
            ASSERT_NE(printers, nullptr) << "the dialog's printer list";
            printers->setCurrentIndex(printers->findText("Print to File (PDF)"));
            auto* file = dialog.findChild<QLineEdit*>("filename");
            ASSERT_NE(file, nullptr) << "the dialog's output file field";
            file->setText(QString::fromStdString(pdf));
            dialog.accept();
        },
        [&] { Action("Mnu_Print")->trigger(); });
    watch.stop();
    ASSERT_TRUE(answered);
    EXPECT_TRUE(sawVerifying);

    const std::vector<QImage> pages = RasterisePdf(pdf, 200);
    ASSERT_EQ(pages.size(), 1u) << "only the first page of the run";
    EXPECT_EQ(DecodeCells(pages[0], 2, 2, 10, 200), (std::vector<std::string>{"", "", "", "TAB-1"}));
}

TEST_F(PrintDialogOptions, CalibrationIsKeptPerPrinterAndEscapeLeavesItAlone) {
    const TCalibrationStore store(dir + "/calibration.ini");
    ASSERT_TRUE(Answer<QDialog>(
        "TFM_Calibration",
        [&](QDialog& dialog) {
            ExpectNamed(dialog);
            EXPECT_EQ(dialog.findChild<QComboBox*>("Cmb_CalibrationPrinter")->currentText(), "PDF");
            dialog.findChild<QDoubleSpinBox*>("Edt_OffsetX")->setValue(1.5);
            dialog.findChild<QDoubleSpinBox*>("Edt_OffsetY")->setValue(-0.75);
            dialog.findChild<QDoubleSpinBox*>("Edt_ScaleY")->setValue(1.01);
            dialog.findChild<QAbstractButton*>("Btn_OK")->click();
        },
        [&] { Action("Mnu_PrinterCalibration")->trigger(); }));
    EXPECT_EQ(store.Load("PDF"), (TPrinterCalibration{1.5, -0.75, 1, 1.01}));

    // Escape closes the dialog and keeps what was saved.
    ASSERT_TRUE(Answer<QDialog>(
        "TFM_Calibration",
        [&](QDialog& dialog) {
            EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("Edt_OffsetX")->value(), 1.5);
            dialog.findChild<QDoubleSpinBox*>("Edt_OffsetX")->setValue(9);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        },
        [&] { Action("Mnu_PrinterCalibration")->trigger(); }));
    EXPECT_EQ(store.Load("PDF").offsetX, 1.5);
}

// A system without a default printer names no current one: the dialog opens on a printer with saved
// values rather than on an empty box showing no correction.
TEST(CalibrationDialog, OpensOnAPrinterWithItsSavedValuesWhenNoneIsCurrent) {
    const std::string dir = MakeTempDir();
    const TCalibrationStore store(dir + "/calibration.ini");
    store.Save("Office", TPrinterCalibration{1.25, 0.5, 1, 1});
    TCalibrationDialog dialog({"Lobby", "Office", "PDF"}, "", store, [] {});
    auto* printer = dialog.findChild<QComboBox*>("Cmb_CalibrationPrinter");
    EXPECT_EQ(printer->currentText(), "Office");
    EXPECT_EQ(printer->findText(""), -1) << "no empty entry";
    EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("Edt_OffsetX")->value(), 1.25);
    EXPECT_DOUBLE_EQ(dialog.findChild<QDoubleSpinBox*>("Edt_OffsetY")->value(), 0.5);
    TCalibrationDialog none({"Lobby", "PDF"}, "", TCalibrationStore(dir + "/empty.ini"), [] {});
    EXPECT_EQ(none.findChild<QComboBox*>("Cmb_CalibrationPrinter")->currentText(), "Lobby");
}

TEST_F(PrintDialogOptions, CalibrationSheetGoesToTheChosenPrinter) {
    TRasterPrinter chosen(TPaperSize::A4(), 100);
    window->Printing().SetPrintDialog([&] {
        TPrinterChoice choice;
        choice.printer = &chosen;
        choice.printerName = "Raster";
        return choice;
    });
    Action("Mnu_PrintCalibrationSheet")->trigger();
    ASSERT_EQ(chosen.PagesPrinted(), 1);
    // The grid's outlines and crosses put ink on the page.
    const std::vector<uint8_t> grey = chosen.Pages()[0].Luminance();
    EXPECT_LT(*std::min_element(grey.begin(), grey.end()), 128);
}

} // namespace
} // namespace qbm::test
