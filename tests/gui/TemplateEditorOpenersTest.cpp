// The main window's commands that open the template editors, with the real dialogs.
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "ini/TIniFile.h"

#include "gui/TFM_Template.h"
#include "gui/TFM_Template2d.h"
#include "templates/TTemplate.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace qbm {
namespace {

// The product's dialogs, except that the welcome dialog is answered with Cancel.
class EditorDialogs : public TDialogs {
public:
    int Welcome(QWidget*) override { return -1; }
};

class EditorOpeners : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string dir = test::MakeTempDir();
        libraryPath = dir + "/Templates.dat";
        doc = std::make_unique<TLabelDocument>(prompts, files, libraryPath);
        window = std::make_unique<TForm1>(dialogs);
        window->SetDocument(doc.get(), doc->UndoStack());
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override {
        window->SetDocument(nullptr, nullptr);
        window.reset();
        doc.reset();
    }

    // Starts `command`; `inside` runs once the modal editor shows and must close it.
    template <typename Dialog>
    void WithEditor(const std::function<void()>& command, const std::function<void(Dialog&)>& inside) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = qobject_cast<Dialog*>(modal);
            ASSERT_NE(dialog, nullptr) << (modal ? modal->metaObject()->className() : "no modal window");
            seen = true;
            inside(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        command();
        EXPECT_TRUE(seen);
    }

    template <typename T> T* Find(QWidget& parent, const char* name) {
        T* w = parent.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    TScriptedPrompts prompts;
    TScriptedFileDialogs files;
    EditorDialogs dialogs;
    std::string libraryPath;
    std::unique_ptr<TLabelDocument> doc;
    std::unique_ptr<TForm1> window;
};

TEST_F(EditorOpeners, ModifyOpensTheSelectedTemplateAndTheWindowAppliesItAfterwards) {
    auto* list = Find<QComboBox>(*window, "ComboBox1");
    list->setCurrentIndex(list->findText("Code39"));
    emit list->activated(list->currentIndex());

    WithEditor<TFM_Template>(
        [&] { QTest::mouseClick(Find<QPushButton>(*window, "Btn_ModifyTemplate"), Qt::LeftButton); },
        [&](TFM_Template& editor) {
            EXPECT_EQ(Find<QListWidget>(editor, "ListBox1")->currentItem()->text(), "Code39");
            EXPECT_FALSE(Find<QPushButton>(editor, "Button1")->isVisible());
            Find<QSpinBox>(editor, "SpinEdit1")->setValue(120);
            QTest::mouseClick(Find<QPushButton>(editor, "Button2"), Qt::LeftButton);
            EXPECT_FALSE(editor.isVisible());
        });
    EXPECT_EQ(ReadTemplate(TIniFile(libraryPath), "Code39").BarWidth, 120);
    EXPECT_EQ(list->currentText(), "Code39") << "the remembered template stays selected";
}

TEST_F(EditorOpeners, CancelAndEscDiscardTheEditsAndTheTemplateInUseStaysSelected) {
    auto* list = Find<QComboBox>(*window, "ComboBox1");
    // Modify remembers Code39; the template chosen afterwards is the one that stays.
    list->setCurrentIndex(list->findText("Code39"));
    emit list->activated(list->currentIndex());
    WithEditor<TFM_Template>(
        [&] { QTest::mouseClick(Find<QPushButton>(*window, "Btn_ModifyTemplate"), Qt::LeftButton); },
        [&](TFM_Template& editor) {
            QTest::mouseClick(Find<QPushButton>(editor, "Button2"), Qt::LeftButton);
        });
    list->setCurrentIndex(list->findText("EAN13 (ISBN)"));
    emit list->activated(list->currentIndex());

    const std::string before = test::ReadWholeFile(libraryPath);
    for (const bool escape : {true, false}) {
        WithEditor<TFM_Template>([&] { Find<QAction>(*window, "Btn_Templates")->trigger(); },
                                 [&](TFM_Template& editor) {
                                     Find<QSpinBox>(editor, "SpinEdit2")->setValue(12);
                                     editor.Editor().SaveTemplate(); // as leaving the field does
                                     if (escape)
                                         QTest::keyClick(&editor, Qt::Key_Escape);
                                     else
                                         QTest::mouseClick(Find<QPushButton>(editor, "Btn_Cancel"),
                                                           Qt::LeftButton);
                                     EXPECT_FALSE(editor.isVisible());
                                 });
        EXPECT_EQ(test::ReadWholeFile(libraryPath), before) << (escape ? "Esc" : "Cancel");
        EXPECT_EQ(list->currentText(), "EAN13 (ISBN)");
        EXPECT_EQ(doc->Project().TemplateName(), "EAN13 (ISBN)");
    }
}

TEST_F(EditorOpeners, ExportShowsTheExportButtonOnlyThatOnce) {
    WithEditor<TFM_Template>([&] { Find<QAction>(*window, "Mnu_ExportImage")->trigger(); },
                             [&](TFM_Template& editor) {
                                 EXPECT_TRUE(Find<QPushButton>(editor, "Button1")->isVisible());
                                 EXPECT_EQ(Find<QLineEdit>(editor, "Edit1")->text(), "")
                                     << "the export draws the editor's own test code";
                             });
    WithEditor<TFM_Template>(
        [&] { Find<QAction>(*window, "Btn_Templates")->trigger(); },
        [&](TFM_Template& editor) { EXPECT_FALSE(Find<QPushButton>(editor, "Button1")->isVisible()); });
}

TEST_F(EditorOpeners, TwoDEditorOpensOnThePageOfTheFormatWithTheFixedText) {
    Find<QTabWidget>(*window, "PG_Pro")->setCurrentIndex(1); // the 2D kind
    doc->SetText2D("Parcel 42");
    doc->SetFormat2D(1);
    WithEditor<TFM_Template2d>([&] { Find<QAction>(*window, "Mnu_ExportImage")->trigger(); },
                               [&](TFM_Template2d& editor) {
                                   EXPECT_EQ(Find<QTabWidget>(editor, "PageControl1")->currentIndex(), 1);
                                   EXPECT_EQ(Find<QLineEdit>(editor, "Edit3")->text(), "Parcel 42");
                                   EXPECT_TRUE(Find<QPushButton>(editor, "Button1")->isVisible());
                                   Find<QSpinBox>(editor, "WH")->setValue(9);
                                   Find<QComboBox>(editor, "ECC")->setCurrentText("5");
                                   QTest::mouseClick(Find<QPushButton>(editor, "Button2"), Qt::LeftButton);
                               });
    EXPECT_EQ(TIniFile(libraryPath).ReadInteger("Barcode2D", "MBWH", 0), 9);
    EXPECT_EQ(TIniFile(libraryPath).ReadInteger("Barcode2D", "PECC", 0), 5);

    doc->SetFormat2D(0);
    WithEditor<TFM_Template2d>(
        [&] { Find<QAction>(*window, "Btn_Templates")->trigger(); },
        [&](TFM_Template2d& editor) {
            EXPECT_EQ(Find<QTabWidget>(editor, "PageControl1")->currentIndex(), 0);
            EXPECT_EQ(Find<QPlainTextEdit>(editor, "Memo1")->toPlainText(), "Parcel 42");
            EXPECT_EQ(Find<QSpinBox>(editor, "WH")->value(), 9) << "the dialog keeps its values";
            EXPECT_FALSE(Find<QPushButton>(editor, "Button1")->isVisible());
        });
}

} // namespace
} // namespace qbm
