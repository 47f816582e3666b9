#include "GuiTestSupport.h"

#include "gui/TFM_About.h"
#include "gui/TFM_Wel.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>

#include <functional>

namespace qbm::test {
namespace {

// Runs `act` on the dialog once it is shown modally.
void WhenShown(QDialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        if (dialog.isVisible()) act();
    });
}

TEST(WelcomeDialog, ChoiceIsTheEntryOrMinusOneForCancelAndEsc) {
    struct Case {
        const char* what;
        std::function<void(TFM_Wel&)> act;
        int choice;
    };
    const Case kCases[] = {
        /* 0 */ {"OK on the first entry", [](TFM_Wel& d) { d.findChild<QPushButton*>("BitBtn1")->click(); },
                 0},
        /* 1 */
        {"double-click on the third",
         [](TFM_Wel& d) {
             auto* list = d.findChild<QListWidget*>("ListBox1");
             list->setCurrentRow(2);
             emit list->itemDoubleClicked(list->item(2));
         },
         2},
        /* 2 */ {"Cancel", [](TFM_Wel& d) { d.findChild<QPushButton*>("BitBtn2")->click(); }, -1},
        /* 3 */ {"Esc", [](TFM_Wel& d) { QTest::keyClick(&d, Qt::Key_Escape); }, -1},
    };
    for (const Case& c : kCases) {
        TFM_Wel dialog;
        EXPECT_EQ(dialog.windowTitle(), "Welcome");
        WhenShown(dialog, [&] { c.act(dialog); });
        EXPECT_EQ(dialog.Choose(), c.choice) << c.what;
    }
}

TEST(AboutBox, ClosesWithAClickOrEsc) {
    for (const bool click : {true, false}) {
        TFM_About about;
        WhenShown(about, [&] {
            if (click)
                QTest::mouseClick(&about, Qt::LeftButton);
            else
                QTest::keyClick(&about, Qt::Key_Escape);
        });
        // A box that stays open is closed by this watchdog, and the test fails.
        bool stayedOpen = false;
        QTimer::singleShot(5000, &about, [&] {
            stayedOpen = true;
            about.reject();
        });
        about.exec();
        EXPECT_FALSE(stayedOpen) << (click ? "click" : "Esc");
    }
}

using DroppedProject = WindowFixture;

TEST_F(DroppedProject, OpensThroughTheCloseQuery) {
    ShowWindow();
    ChooseTemplate("Code39");
    TypeFixedCode("DROP");
    const std::string path = dir + "/dropped.bpj";
    fileDialogs.QueuePath(path);
    ASSERT_TRUE(doc->Save());
    Action("Mnu_NewProject")->trigger();
    TypeFixedCode("CHANGED");

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        QApplication::processEvents();
    };
    Messages();
    prompts.QueueAnswer(TMsgResult::mrCancel);
    drop();
    EXPECT_EQ(Messages(), std::vector<std::string>{"Current project has been modified, Save it? "});
    EXPECT_EQ(window->windowTitle(), "Quirbel Barcode Maker - Untitled Project");
    prompts.QueueAnswer(TMsgResult::mrNo);
    drop();
    EXPECT_EQ(window->windowTitle().toStdString(), "Quirbel Barcode Maker - " + path);

    QMimeData other;
    other.setUrls({QUrl::fromLocalFile("/tmp/picture.png")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

using PrintOptionsMenu = WindowFixture;

// "Page > Print Options ..." opens the project's print options (those of the print dialog's "Labels"
// tab and the journal); OK keeps them in the project as one undo step, Cancel changes nothing.
TEST_F(PrintOptionsMenu, OpensTheProjectsPrintOptionsAndKeepsThem) {
    ShowWindow();
    const auto answer = [](bool ok, std::function<void(QDialog&)> edit) {
        QTimer::singleShot(0, [ok, edit] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), "FM_PrintOptions");
            edit(*dialog);
            dialog->findChild<QPushButton*>(ok ? "Btn_OK" : "Btn_Cancel")->click();
        });
    };
    const TPrintPreferences before = doc->Project().PrintPreferences();
    answer(false, [](QDialog& d) { d.findChild<QSpinBox*>("Edt_StartCell")->setValue(2); });
    Action("Mnu_PrintOptions")->trigger();
    EXPECT_EQ(doc->Project().PrintPreferences(), before);

    answer(true, [](QDialog& d) {
        EXPECT_TRUE(d.findChild<QCheckBox*>("Chk_Verify")->isChecked());
        d.findChild<QSpinBox*>("Edt_StartCell")->setValue(3);
        d.findChild<QSpinBox*>("Edt_FirstPage")->setValue(2);
        d.findChild<QCheckBox*>("Chk_Journal")->setChecked(false);
    });
    Action("Mnu_PrintOptions")->trigger();
    const TPrintPreferences& after = doc->Project().PrintPreferences();
    EXPECT_EQ(after.startCell, 3);
    EXPECT_EQ(after.firstPage, 2);
    EXPECT_FALSE(after.journal);
    EXPECT_TRUE(doc->ProjectModified());
    doc->UndoStack()->undo();
    EXPECT_EQ(doc->Project().PrintPreferences(), before);
    EXPECT_TRUE(Messages().empty()) << "no \"not yet available\" box";
}

} // namespace
} // namespace qbm::test
