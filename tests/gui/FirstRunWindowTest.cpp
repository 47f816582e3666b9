#include "GuiTestSupport.h"

#include "StockSheets.h"
#include "TestSupport.h"
#include "gui/WindowPrinting.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>

#include <map>

namespace qbm::test {
namespace {

using FirstRunWindow = WindowFixture;

// The welcome steps as a newcomer follows them: new project, "EAN13 (ISBN)", the code without its
// check digit, 24 labels, Avery L7160, "Print to PDF ...".
TEST_F(FirstRunWindow, TheWelcomeStepsGiveTwentyFourLabelsThatScanInsideTheirLabels) {
    dialogs.welcomeChoice = 0; // "Create a new barcode project ..."
    ShowWindow();
    ShowTab(0);
    ChooseTemplate("EAN13 (ISBN)");
    TypeFixedCode("590123412345");
    Find<QSpinBox>("Edt_Amount")->setValue(24);
    ShowTab(2);
    dialogs.stockChoice = AveryL7160();
    Find<QAbstractButton>("Btn_LabelStock")->click();
    Messages();

    // The layout says what is wrong beside the settings, without a box, and leaves the user where
    // they are.
    auto* warning = Find<QLabel>("Lbl_LayoutWarning");
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().contains("the cells are 66.0 x 38.1 mm")) << warning->text().toStdString();
    ShowTab(0);
    ShowTab(2);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 2);

    Find<QAbstractButton>("Btn_FitToLabel")->click();
    EXPECT_FALSE(warning->isVisible()) << warning->text().toStdString();

    const std::string pdf = dir + "/labels.pdf";
    window->Printing().SetPdfPathChooser([&] { return QString::fromStdString(pdf); });
    prompts.QueueAnswer(TMsgResult::mrYes);
    Action("Mnu_PrintToPdf")->trigger();
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(),
              "24 labels on 2 pages written to labels.pdf; every label read back.");

    const std::vector<QImage> pages = RasterisePdf(pdf, 300);
    ASSERT_EQ(pages.size(), 2u);
    for (size_t p = 0; p < pages.size(); ++p)
        for (const TSheetLabel& label : ReadL7160Labels(pages[p], 300, p == 0 ? 21 : 3)) {
            EXPECT_EQ(label.code, "5901234123457") << "page " << p + 1;
            EXPECT_TRUE(label.whiteSides) << "page " << p + 1;
        }
}

// Every Alt letter the window offers at once (the menus, the page shown, the preview) reaches one
// control or menu.
TEST_F(FirstRunWindow, EveryAltLetterIsUnique) {
    ShowWindow();
    for (int tab = 0; tab < 3; ++tab) {
        ShowTab(tab);
        QApplication::processEvents();
        std::map<QChar, QStringList> owners;
        const auto note = [&](const QWidget* w, const QString& text) {
            if (w && !w->isVisible()) return;
            const qsizetype amp = text.indexOf('&');
            if (amp >= 0 && amp + 1 < text.size() && text[amp + 1] != '&')
                owners[text[amp + 1].toLower()] << text;
        };
        for (QAction* menu : window->menuBar()->actions()) note(nullptr, menu->text());
        for (const auto* label : window->findChildren<QLabel*>())
            if (label->buddy()) note(label, label->text());
        for (const auto* button : window->findChildren<QAbstractButton*>()) note(button, button->text());
        for (const auto& [letter, texts] : owners)
            EXPECT_EQ(texts.size(), 1) << "tab " << tab << ", Alt+" << QString(letter).toStdString() << ": "
                                       << texts.join(", ").toStdString();
    }
}

TEST_F(FirstRunWindow, TheAccessibleNameFollowsTheCaption) {
    ShowWindow();
    EXPECT_EQ(window->accessibleName(), window->windowTitle());
    fileDialogs.QueuePath(dir + "/shelf.bpj");
    ChooseTemplate("Code39");
    ASSERT_TRUE(doc->SaveAs());
    EXPECT_TRUE(window->windowTitle().endsWith("shelf.bpj"));
    EXPECT_EQ(window->accessibleName(), window->windowTitle());
}

} // namespace
} // namespace qbm::test
