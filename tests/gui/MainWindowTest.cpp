#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "data/SequenceGenerator.h"
#include "gui/RecentProjects.h"
#include "gui/WindowPrinting.h"
#include "project/ProjectFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

namespace qbm::test {
namespace {

using MainWindow = WindowFixture;

TEST_F(MainWindow, FirstStartAppliesTheLastTemplateThenWelcomesOnce) {
    ShowWindow();
    EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 0);
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "EAN128C");
    EXPECT_EQ(Find<QLabel>("SB_Panel2")->text(), "Barcode Type: EAN128C ");
    EXPECT_EQ(dialogs.welcomeShown, 1);
    // Later activations never bring it back.
    window->FirstActivation();
    window->hide();
    ShowWindow();
    EXPECT_EQ(dialogs.welcomeShown, 1);
}

TEST_F(MainWindow, WelcomeChoicesRunTheirCommands) {
    struct Case {
        int choice;
        int fileDialogs; // the open dialog asked
        size_t editors;  // the template editor opened
    };
    // New asks nothing on an unmodified project; Cancel (-1) runs nothing.
    for (const Case c : {Case{0, 0, 0}, Case{1, 1, 0}, Case{2, 0, 1}, Case{-1, 0, 0}}) {
        TearDown();
        dialogs = {};
        fileDialogs = {};
        SetUp();
        dialogs.welcomeChoice = c.choice;
        ShowWindow();
        EXPECT_EQ(dialogs.welcomeShown, 1) << c.choice;
        EXPECT_EQ(fileDialogs.Asked(), c.fileDialogs) << c.choice;
        EXPECT_EQ(dialogs.linearEditor.size(), c.editors) << c.choice;
        EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project") << c.choice;
    }
}

TEST_F(MainWindow, CodeTabsSetTheKindAndTheImportEntryFollowsIt) {
    ShowWindow();
    QAction* import = Action("Mnu_ImportVariousCode");
    auto* codeMenu = Find<QMenu>("Mnu_Code");
    auto importOfferedWhenMenuOpens = [&] {
        emit codeMenu->aboutToShow();
        return import->isEnabled();
    };
    EXPECT_TRUE(importOfferedWhenMenuOpens());
    ShowTab(1);
    EXPECT_EQ(doc->Kind(), TBarcodeKind::bk2D);
    EXPECT_EQ(Find<QLabel>("SB_Panel2")->text(), "Barcode Type: PDF417 ");
    EXPECT_FALSE(importOfferedWhenMenuOpens());
    ShowTab(2); // the layout tab keeps the kind
    EXPECT_EQ(doc->Kind(), TBarcodeKind::bk2D);
    EXPECT_FALSE(importOfferedWhenMenuOpens());
    ShowTab(0);
    EXPECT_EQ(doc->Kind(), TBarcodeKind::bkLinear);
    EXPECT_EQ(Find<QLabel>("SB_Panel2")->text(), "Barcode Type: EAN128C ");
    EXPECT_TRUE(importOfferedWhenMenuOpens());

    // A tab shown from a menu entry does not change the kind.
    ShowTab(1);
    Action("Mnu_Column")->trigger();
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 2);
    Action("Mnu_FixedValue")->trigger();
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 1);
    EXPECT_EQ(window->focusWidget(), Find<QPlainTextEdit>("Memo1"));
    EXPECT_EQ(doc->Kind(), TBarcodeKind::bk2D);
}

TEST_F(MainWindow, PageMenuEntriesFocusTheirLayoutFields) {
    ShowWindow();
    const std::pair<const char*, const char*> kEntries[] = {
        {"Mnu_Column", "Edt_Col"},     {"Mnu_Linage", "Edt_Lin"},   {"Mnu_MarginLeft", "Edt_ML"},
        {"Mnu_MarginRight", "Edt_MR"}, {"Mnu_MarginTop", "Edt_MT"}, {"Mnu_MarginBottom", "Edt_MB"},
    };
    for (const auto& [entry, field] : kEntries) {
        ShowTab(0);
        Action(entry)->trigger();
        EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 2) << entry;
        EXPECT_EQ(window->focusWidget(), Find<QSpinBox>(field)) << entry;
    }
}

TEST_F(MainWindow, SourceRadioButtonsEnableTheirControls) {
    ShowWindow();
    auto enabled = [this](std::initializer_list<const char*> names) {
        std::string states;
        for (const char* name : names) states += Find<QWidget>(name)->isEnabled() ? '1' : '0';
        return states;
    };
    const auto linear = {"Edt_singletxt",       "Edt_ExtCaption", "Edt_Amount", "CBX_BarcodeValue",
                         "CBX_ExtCaptionValue", "Btn_CodeData",   "Btn_CapData"};
    const auto twoD = {"Btn_Import", "Btn_Serial", "Btn_Clear", "Lb_2DAmount", "Memo1", "SpinEdit1"};
    EXPECT_EQ(enabled(linear), "1110000");
    EXPECT_EQ(enabled(twoD), "000011");
    Find<QAbstractButton>("RadioButton2")->click();
    EXPECT_EQ(doc->Project().LinearSource(), TLinearSource::lsDatasheet);
    EXPECT_EQ(enabled(linear), "0001111");
    ShowTab(1);
    Find<QAbstractButton>("RD1")->click();
    EXPECT_EQ(doc->Project().Source2D(), T2DSource::tsCodeList);
    EXPECT_EQ(enabled(twoD), "111100");
}

TEST_F(MainWindow, FitWarningsShowBesideTheLayoutWithoutABoxOrAMove) {
    ShowWindow();
    Messages();
    ShowTab(0);
    auto* warning = Find<QLabel>("Lbl_LayoutWarning");
    auto* status = Find<QLabel>("SB_Warning");
    Find<QSpinBox>("Edt_Col")->setValue(50);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 0);
    EXPECT_TRUE(warning->text().startsWith("To many barcode per line! ")) << warning->text().toStdString();
    EXPECT_FALSE(status->isHidden());
    ShowTab(1);
    ShowTab(0);
    EXPECT_TRUE(Messages().empty()) << "no box comes back on a click of another tab";

    Find<QSpinBox>("Edt_Col")->setValue(1);
    EXPECT_TRUE(warning->isHidden());
    EXPECT_TRUE(status->isHidden());
    Find<QSpinBox>("Edt_Lin")->setValue(30);
    EXPECT_TRUE(warning->text().startsWith("Out of output range!")) << warning->text().toStdString();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->currentIndex(), 0);
}

TEST_F(MainWindow, PageCountFollowsTheAmount) {
    ShowWindow();
    Find<QSpinBox>("Edt_Amount")->setValue(5);
    EXPECT_EQ(Find<QLabel>("SB_Panel1")->text(), "Total: 2Pages");
    Find<QSpinBox>("Edt_Amount")->setValue(4);
    EXPECT_EQ(Find<QLabel>("SB_Panel1")->text(), "Total: 1Pages");
}

// A character no linear symbology carries is named beside the code as it is typed, not printed as
// '?' without a word.
TEST_F(MainWindow, LinearCodeBeyondLatin1IsNamedWhileTyping) {
    ShowWindow();
    ChooseTemplate("Code128B");
    auto* code = Find<QLineEdit>("Edt_singletxt");
    code->setText(QStringLiteral("K\u00E4se"));
    emit code->textEdited(code->text());
    EXPECT_EQ(doc->Project().FixedCode(), "K\xE4se");
    EXPECT_EQ(doc->InputProblem(), "");
    code->setText(QStringLiteral("\u03A9-1"));
    emit code->textEdited(code->text());
    EXPECT_EQ(doc->Project().FixedCode(), "?-1");
    EXPECT_EQ(doc->InputProblem(),
              "Linear barcodes carry Latin-1 characters only; the others in \"\u03A9-1\" "
              "become '?'. QR Code, Data Matrix and Aztec on the 2D tab carry any script.");
}

TEST_F(MainWindow, EditorsOpenForTheCurrentKind) {
    ShowWindow();
    ChooseTemplate("EAN13 (ISBN)");
    TypeFixedCode("590123412345");
    QTest::mouseClick(Find<QLabel>("Image2"), Qt::LeftButton);
    ASSERT_EQ(dialogs.linearEditor.size(), 1u);
    EXPECT_EQ(dialogs.linearEditor[0].testCode, "590123412345");
    EXPECT_EQ(dialogs.linearEditor[0].preselect, Find<QComboBox>("ComboBox1")->findText("EAN13 (ISBN)"));
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "EAN13 (ISBN)");

    Action("Btn_Templates")->trigger();
    EXPECT_EQ(dialogs.linearEditor.size(), 2u);
    EXPECT_EQ(dialogs.linearEditor[1].testCode, "");

    ShowTab(1);
    Find<QPlainTextEdit>("Memo1")->setPlainText("PDF417 text");
    Find<QComboBox>("ComboBox2")->setCurrentIndex(1);
    emit Find<QComboBox>("ComboBox2")->activated(1);
    QTest::mouseClick(Find<QLabel>("Image2"), Qt::LeftButton);
    Action("Mnu_BarcodeTemplate")->trigger();
    ASSERT_EQ(dialogs.editor2D.size(), 2u);
    EXPECT_EQ(dialogs.editor2D[0].page, 1);
    EXPECT_EQ(dialogs.editor2D[0].testText, "PDF417 text");
    EXPECT_EQ(dialogs.linearEditor.size(), 2u);
}

TEST_F(MainWindow, MatrixFormatsShowTheirOptionsAndDrawTheLabelAtOnce) {
    ShowWindow();
    ShowTab(1);
    Find<QPlainTextEdit>("Memo1")->setPlainText("Quirbel 4711");
    auto* format = Find<QComboBox>("ComboBox2");
    EXPECT_EQ(format->count(), 6);
    EXPECT_FALSE(Find<QWidget>("GB_SymbolOptions")->isVisible()) << "PDF417 keeps its library settings";
    format->setCurrentIndex(2);
    emit format->activated(2);
    EXPECT_EQ(format->currentText(), "QR Code Format");
    EXPECT_EQ(doc->BarcodeTypeText(), "Barcode Type: QR Code ");
    EXPECT_TRUE(Find<QWidget>("GB_SymbolOptions")->isVisible());
    EXPECT_TRUE(Find<QWidget>("CBX_SymbolEcc")->isVisible());
    EXPECT_FALSE(Find<QWidget>("CB_SymbolGs1")->isVisible());
    EXPECT_FALSE(Find<QWidget>("Btn_Modify2DTemplate")->isEnabled());
    const test::Decoded qr = test::Decode(doc->Setup().label.Bitmap, ZXing::BarcodeFormat::QRCode);
    EXPECT_EQ(qr.text, "Quirbel 4711");
    // Any script: the text goes to the symbol as typed.
    Find<QPlainTextEdit>("Memo1")->setPlainText(
        QStringLiteral("\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u65E5\u672C"));
    EXPECT_EQ(doc->Project().Text2D(), "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u65E5\u672C");
    EXPECT_EQ(test::Decode(doc->Setup().label.Bitmap, ZXing::BarcodeFormat::QRCode).text,
              "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u65E5\u672C");
    Find<QPlainTextEdit>("Memo1")->setPlainText("Quirbel 4711");

    auto* ecc = Find<QComboBox>("CBX_SymbolEcc");
    ecc->setCurrentIndex(4);
    emit ecc->activated(4);
    EXPECT_EQ(doc->Project().SymbolOptions2D().qrEcc, TQrEcc::H);
    EXPECT_EQ(test::Decode(doc->Setup().label.Bitmap, ZXing::BarcodeFormat::QRCode).ecLevel, "H");

    // Data Matrix with GS1: a wrong check digit is named beside the text as it is typed.
    format->setCurrentIndex(3);
    emit format->activated(3);
    Messages();
    Find<QPlainTextEdit>("Memo1")->setPlainText("(01)09501101530003(17)251231");
    Find<QCheckBox>("CB_SymbolGs1")->setChecked(true);
    EXPECT_TRUE(doc->Project().SymbolOptions2D().gs1);
    EXPECT_EQ(test::Decode(doc->Setup().label.Bitmap, ZXing::BarcodeFormat::DataMatrix).text,
              "010950110153000317251231");
    Find<QPlainTextEdit>("Memo1")->setPlainText("(01)09501101530004");
    EXPECT_EQ(doc->InputProblem(), "GS1 (01) check digit should be 3, not 4");
}

TEST_F(MainWindow, ControlCharacterMenuFollowsTheSymbology) {
    ShowWindow();
    auto menuOf = [this](const std::string& templ) {
        ChooseTemplate(templ);
        auto* edit = Find<QLineEdit>("Edt_singletxt");
        Find<QWidget>("ComboBox1")->setFocus();
        edit->setFocus();
        QApplication::processEvents();
        QStringList entries;
        for (QAction* a : Find<QMenu>("PopupMenu_ControlChar")->actions())
            if (!a->isSeparator()) entries << a->text();
        return entries;
    };
    EXPECT_EQ(menuOf("Code128B"), QStringList({"Insert ASCII Control CHR", "DEL"}));
    EXPECT_EQ(menuOf("Code128A"),
              QStringList({"Insert ASCII Control CHR", "ASCII 00-10", "ASCII 11-20", "ASCII 21-31"}));
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->toolTip(), "Right Click to Inser Special Code");
    EXPECT_TRUE(menuOf("EAN8").isEmpty());
    EXPECT_TRUE(Find<QLineEdit>("Edt_singletxt")->toolTip().isEmpty());

    // An entry appends its character at the end of the code, wherever the caret was.
    menuOf("Code128A");
    TypeFixedCode("AB");
    Find<QLineEdit>("Edt_singletxt")->setCursorPosition(0);
    QMenu* sub = Find<QMenu>("PopupMenu_ControlChar")->actions()[2]->menu();
    sub->actions()[1]->trigger(); // "01 - SOH"
    EXPECT_EQ(doc->Project().FixedCode(), std::string("AB\x01"));
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), QString("AB\x01"));
}

TEST_F(MainWindow, ListCommandsAndSequencesReachTheCodeList) {
    ShowWindow();
    ShowTab(1);
    Find<QAbstractButton>("RD1")->click();
    dialogs.sequences.push_back(std::vector<std::string>{"A1", "A2", "A3"});
    Find<QAbstractButton>("Btn_Serial")->click();
    auto* list = Find<QListWidget>("Lst_2dcode");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(Find<QLabel>("Lb_2DAmount")->text(), "Amount: 3");
    EXPECT_EQ(Find<QLabel>("SB_Panel1")->text(), "Total: 1Pages");

    list->setCurrentRow(1);
    Find<QMenu>("PopupMenu_List")->actions()[0]->trigger();
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "A3");
    EXPECT_EQ(Find<QLabel>("Lb_2DAmount")->text(), "Output Amount: 2");

    prompts.QueueAnswer(TMsgResult::mrCancel);
    Find<QAbstractButton>("Btn_Clear")->click();
    EXPECT_EQ(list->count(), 2);
    prompts.QueueAnswer(TMsgResult::mrYes);
    Find<QAbstractButton>("Btn_Clear")->click();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(Messages().back(), "Are you sure clear all Various Code?");
    EXPECT_EQ(Find<QLabel>("SB_Panel1")->text(), "Total: 0Pages");

    // Import asks for a text file whose lines become the list.
    const std::string codes = dir + "/codes.txt";
    {
        QFile f(QString::fromStdString(codes));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("X1\r\nX2\r\n\r\nX4\r\n");
    }
    fileDialogs.QueuePath(codes);
    Find<QAbstractButton>("Btn_Import")->click();
    EXPECT_EQ(list->count(), 4);
}

// "Code > Serial Code ..." with SN-0001 to SN-0050: the window shows the datasheet source with the
// column of the codes chosen as the code field, and the labels are the codes, every time.
TEST_F(MainWindow, SerialCodeFillsAColumnAndChoosesItAsTheCodeField) {
    ShowWindow();
    ChooseTemplate("Code128B");
    TSequenceSettings settings;
    settings.prefix = "SN-";
    settings.from = "0001";
    settings.to = "0050";
    for (int round = 0; round < 2; ++round) {
        dialogs.sequences.push_back(GenerateSequence(settings));
        Action("Mnu_SerialCode")->trigger();
        EXPECT_TRUE(Find<QAbstractButton>("RadioButton2")->isChecked()) << round;
        EXPECT_EQ(Find<QComboBox>("CBX_BarcodeValue")->currentText(), "Serial") << round;
        EXPECT_EQ(doc->LabelCount(), 50) << round;
        EXPECT_EQ(doc->Setup().bcdMain.Text(), "SN-0001") << round;
        EXPECT_EQ(Find<QLabel>("SB_Panel1")->text(), "Total: 13Pages") << round;
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(MainWindow, UndoAndRedoFromTheEditMenu) {
    ShowWindow();
    ChooseTemplate("Code128B");
    doc->UndoStack()->clear();
    TypeFixedCode("HELLO");
    Find<QSpinBox>("Edt_Col")->setValue(3);
    QAction* undo = Action("Mnu_Undo");
    QAction* redo = Action("Mnu_Redo");
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();
    EXPECT_EQ(Find<QSpinBox>("Edt_Col")->value(), 2);
    undo->trigger(); // the keystrokes in one field are one step
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), "");
    EXPECT_FALSE(undo->isEnabled());
    redo->trigger();
    redo->trigger();
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), "HELLO");
    EXPECT_EQ(Find<QSpinBox>("Edt_Col")->value(), 3);
}

TEST_F(MainWindow, ProjectCommandsSetTheCaptionAndTheRecentList) {
    ShowWindow();
    ChooseTemplate("Code39");
    TypeFixedCode("ABC");
    const std::string path = dir + "/first.bpj";
    fileDialogs.QueuePath(path);
    Action("Mnu_SaveProject")->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), "Quirbel Barcode Maker - " + path);
    EXPECT_EQ(RecentProjects::List().value(0).toStdString(), path);
    EXPECT_NE(Find<QAction>("Mnu_Recent1"), nullptr);

    Action("Mnu_NewProject")->trigger();
    EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), "");

    // A modified project asks before it is replaced; Cancel keeps it.
    TypeFixedCode("XYZ");
    prompts.QueueAnswer(TMsgResult::mrCancel);
    Find<QAction>("Mnu_Recent1")->trigger();
    EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    prompts.QueueAnswer(TMsgResult::mrNo);
    Find<QAction>("Mnu_Recent1")->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), "Quirbel Barcode Maker - " + path);
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), "ABC");
}

// A project with a large datasheet shows its loading in a dialog with Cancel; cancelling keeps the
// open project, its table included, exactly as it was.
TEST_F(MainWindow, LargeDatasheetLoadShowsProgressAndCancelKeepsTheProject) {
    ShowWindow();
    TLabelProject big;
    big.SetTemplateName("Code39");
    big.Datasheet().Reset(3, 60'001); // 120,000 cells
    for (int r = 1; r <= 60'000; ++r)
        big.Datasheet().SetRow(r, std::vector<std::string>{"", std::to_string(r), "x"});
    const std::string path = dir + "/big.bpj";
    SaveProject(path, big, nullptr);
    doc->Datasheet().SetCell(1, 1, "mine");

    // Cancel is pressed as soon as the dialog shows.
    QString label, button;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            if (!dialog || !dialog->isVisible() || dialog->wasCanceled()) continue;
            label = dialog->labelText();
            if (auto* cancel = dialog->findChild<QPushButton*>()) {
                button = cancel->text();
                cancel->click();
            }
        }
    });
    watch.start(0);
    fileDialogs.QueuePath(path);
    Action("Mnu_OpenProject")->trigger();
    watch.stop();
    EXPECT_EQ(label.toStdString(), "Loading " + path);
    EXPECT_EQ(button, "&Cancel");
    EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    EXPECT_EQ(doc->Datasheet().RowCount(), 2);
    EXPECT_EQ(doc->Datasheet().Cell(1, 1), "mine");
    EXPECT_TRUE(Messages().empty());

    fileDialogs.QueuePath(path);
    Action("Mnu_OpenProject")->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), "Quirbel Barcode Maker - " + path);
    EXPECT_EQ(doc->Datasheet().Cell(1, 60'000), "60000");
}

TEST_F(MainWindow, CloseQueryKeepsTheWindowOnCancel) {
    ShowWindow();
    TypeFixedCode("123");
    prompts.QueueAnswer(TMsgResult::mrCancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Messages().back(), "Current project has been modified, Save it? ");
    prompts.QueueAnswer(TMsgResult::mrNo);
    EXPECT_TRUE(window->close());
}

TEST_F(MainWindow, ProjectNamedAtStartOpensInsteadOfTheWelcome) {
    ShowWindow();
    ChooseTemplate("Code93");
    TypeFixedCode("START");
    const std::string path = dir + "/start.bpj";
    fileDialogs.QueuePath(path);
    ASSERT_TRUE(doc->Save());
    TearDown();
    dialogs = {};
    SetUp();
    window->SetStartupProject(QString::fromStdString(path));
    ShowWindow();
    EXPECT_EQ(dialogs.welcomeShown, 0);
    EXPECT_EQ(window->windowTitle().toStdString(), "Quirbel Barcode Maker - " + path);
    EXPECT_EQ(Find<QComboBox>("ComboBox1")->currentText(), "Code93");
    EXPECT_EQ(Find<QLineEdit>("Edt_singletxt")->text(), "START");
}

// Every control a user can reach has its product name and a name a screen reader can say.
TEST_F(MainWindow, EveryControlHasANameAndAnAccessibleName) {
    ShowWindow();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             qobject_cast<QListWidget*>(w) || qobject_cast<QPlainTextEdit*>(w);
        // Parts of compound widgets (the spin box's own line edit, the tab bar's scroll buttons) speak
        // through their owner.
        const bool part =
            qobject_cast<QAbstractSpinBox*>(w->parentWidget()) ||
            qobject_cast<QComboBox*>(w->parentWidget()) || w->objectName().startsWith("qt_") ||
            QString(w->parentWidget() ? w->parentWidget()->metaObject()->className() : "") == "QTabBar";
        if (!control || part) continue;
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    }
    for (const char* name : {"PG_Pro",
                             "TB_Code",
                             "TS_2d",
                             "TS_Pnt",
                             "Panel1",
                             "Panel2",
                             "Image2",
                             "Shp_h",
                             "SB",
                             "ComboBox1",
                             "ComboBox2",
                             "RadioButton1",
                             "RadioButton2",
                             "RD1",
                             "RD2",
                             "Edt_singletxt",
                             "Edt_ExtCaption",
                             "Edt_Amount",
                             "CBX_BarcodeValue",
                             "CBX_ExtCaptionValue",
                             "Lst_2dcode",
                             "Lb_2DAmount",
                             "Lb_Amount",
                             "Memo1",
                             "SpinEdit1",
                             "Edt_Lin",
                             "Edt_Col",
                             "Edt_ML",
                             "Edt_MR",
                             "Edt_MT",
                             "Edt_MB",
                             "CB_SM"})
        EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(Find<QWidget>("Edt_Lin")->accessibleName(), "Row:");
    EXPECT_EQ(Find<QWidget>("RadioButton1")->accessibleName(), "Constant Code Value:");
}

} // namespace
} // namespace qbm::test
