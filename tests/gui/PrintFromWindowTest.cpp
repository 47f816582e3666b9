#include "GuiTestSupport.h"

#include "TestSupport.h"
#include "gui/WindowPrinting.h"
#include "surface/TRasterPrinter.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTimer>

namespace qbm::test {
namespace {

using PrintFromWindow = WindowFixture;

QStringList FilesIn(const std::string& dir) {
    return QDir(QString::fromStdString(dir)).entryList(QDir::Files);
}

TEST_F(PrintFromWindow, PdfLabelsDecodeToTheirCodes) {
    ShowWindow();
    ChooseTemplate("Code128B");
    TypeFixedCode("QBM-42");
    Find<QSpinBox>("Edt_Amount")->setValue(5);
    const std::string pdf = dir + "/labels.pdf";
    window->Printing().SetPdfPathChooser([&] { return QString::fromStdString(pdf); });
    prompts.QueueAnswer(TMsgResult::mrYes);
    Action("Mnu_PrintToPdf")->trigger();

    const std::vector<QImage> pages = RasterisePdf(pdf, 200);
    ASSERT_EQ(pages.size(), 2u) << "5 labels in 2 x 2 cells";
    EXPECT_EQ(DecodeCells(pages[0], 2, 2, 10, 200), std::vector<std::string>(4, "QBM-42"));
    // The fifth label alone in the top-left cell of the second page.
    EXPECT_EQ(DecodeCells(pages[1], 2, 2, 10, 200), (std::vector<std::string>{"QBM-42", "", "", ""}));
}

TEST_F(PrintFromWindow, PdfOf2DCodeListCarriesEveryEntry) {
    ShowWindow();
    ShowTab(1);
    Find<QAbstractButton>("RD1")->click();
    dialogs.sequences.push_back(std::vector<std::string>{"ROW-1", "ROW-2", "ROW-3"});
    Find<QAbstractButton>("Btn_Serial")->click();
    const std::string pdf = dir + "/list.pdf";
    prompts.QueueAnswer(TMsgResult::mrYes);
    ASSERT_TRUE(window->Printing().PrintToPdfFile(QString::fromStdString(pdf)));
    const std::vector<QImage> pages = RasterisePdf(pdf, 200);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(DecodeCells(pages[0], 2, 2, 10, 200),
              (std::vector<std::string>{"ROW-1", "ROW-2", "ROW-3", ""}));
}

TEST_F(PrintFromWindow, AnsweringNoWritesNothing) {
    ShowWindow();
    ChooseTemplate("Code39");
    TypeFixedCode("ABC");
    prompts.QueueAnswer(TMsgResult::mrNo);
    EXPECT_FALSE(window->Printing().PrintToPdfFile(QString::fromStdString(dir + "/no.pdf")));
    EXPECT_FALSE(FilesIn(dir).contains("no.pdf"));
}

TEST_F(PrintFromWindow, PrintDialogComesAfterTheConfirmationAndTheChecks) {
    ShowWindow();
    ChooseTemplate("Code39");
    TRasterPrinter chosen(TPaperSize::A4(), 150);
    int dialogs = 0;
    TPrinter* answer = nullptr;
    window->Printing().SetPrintDialog([&] {
        ++dialogs;
        TPrinterChoice choice;
        choice.printer = answer;
        return choice;
    });
    Messages();
    prompts.QueueAnswer(TMsgResult::mrYes);
    Action("Mnu_Print")->trigger();
    EXPECT_EQ(Messages().back(), "There are no various or fixed code to print! ");
    EXPECT_EQ(dialogs, 0);

    TypeFixedCode("ABC");
    prompts.QueueAnswer(TMsgResult::mrNo);
    Action("Mnu_Print")->trigger();
    EXPECT_EQ(dialogs, 0);

    Messages();
    prompts.QueueAnswer(TMsgResult::mrYes); // the dialog cancelled: nothing printed, nothing said
    Action("Mnu_Print")->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Would you like to print barcode labels now?"});

    answer = &chosen;
    prompts.QueueAnswer(TMsgResult::mrYes);
    Action("Mnu_Print")->trigger();
    EXPECT_EQ(dialogs, 2);
    ASSERT_EQ(chosen.Pages().size(), 1u);
    EXPECT_EQ(Decode(chosen.Pages()[0], ZXing::BarcodeFormat::Code39).text, "ABC");
}

TEST_F(PrintFromWindow, CancelDuringARunLeavesNoFile) {
    ShowWindow();
    ChooseTemplate("Code39");
    TypeFixedCode("CANCEL");
    Find<QSpinBox>("Edt_Amount")->setValue(40); // ten pages
    doc->SetVerifyLabels(false);                // the pages come at once, without reading back first
    const std::string pdf = dir + "/cancelled.pdf";
    bool sawProgress = false;
    // Pressed as soon as the progress dialog lets events through, after the first page.
    QTimer press;
    press.setInterval(0);
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (auto* progress = window->findChild<QProgressDialog*>("PrintProgress");
            progress && progress->maximum() > 0) {
            sawProgress = true;
            EXPECT_EQ(progress->labelText(), "Page 1 of 10");
            progress->cancel();
            press.stop();
        }
    });
    press.start();
    bool cancelled = false;
    QObject::connect(&window->Printing(), &WindowPrinting::printFinished,
                     [&](int, bool c) { cancelled = c; });
    prompts.QueueAnswer(TMsgResult::mrYes);
    EXPECT_FALSE(window->Printing().PrintToPdfFile(QString::fromStdString(pdf)));
    EXPECT_TRUE(sawProgress);
    EXPECT_TRUE(cancelled);
    for (const QString& file : FilesIn(dir)) EXPECT_FALSE(file.contains(".pdf")) << file.toStdString();
}

} // namespace
} // namespace qbm::test
