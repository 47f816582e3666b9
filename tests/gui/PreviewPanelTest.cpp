#include "GuiTestSupport.h"
#include "TestSupport.h"

#include "gui/WindowPrinting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>

#include <cmath>

namespace qbm::test {
namespace {

class PreviewPanel : public WindowFixture {
protected:
    // 42 EAN-13 shelf labels, 3 x 7 on A4: two full pages.
    void ShowShelfLabels() {
        window->Printing().IgnoreSystemPrinters();
        ShowWindow();
        ChooseTemplate("EAN13 (ISBN)");
        TypeFixedCode("5901234123457");
        Find<QSpinBox>("Edt_Amount")->setValue(42);
        Find<QSpinBox>("Edt_Col")->setValue(3);
        Find<QSpinBox>("Edt_Lin")->setValue(7);
        Messages();
    }
    // A control of the preview by its accessible name, as a screen reader or a user finds it.
    QAbstractButton* Named(const QString& name) const {
        for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
            if (b->accessibleName() == name && b->isVisible()) return b;
        ADD_FAILURE() << "no visible button named " << name.toStdString();
        return nullptr;
    }
    QString PageText() const { return Find<QLabel>("Lbl_Page")->text(); }
    QString ZoomText() const { return Find<QLabel>("Lbl_Zoom")->text(); }
    QSize PictureSize() const { return Find<QLabel>("Image2")->size(); }
    QSize ViewSize() const { return Find<QScrollArea>("PreviewArea")->maximumViewportSize(); }
};

TEST_F(PreviewPanel, TurnsPagesByButtonAndPageKeys) {
    ShowShelfLabels();
    EXPECT_EQ(PageText(), "Page 1 of 2");
    EXPECT_EQ(Find<QLabel>("Lbl_Page")->accessibleName(), "Page 1 of 2");
    EXPECT_FALSE(Named("Previous Page")->isEnabled());
    const int steps = doc->UndoStack()->count();
    QTest::mouseClick(Named("Next Page"), Qt::LeftButton);
    EXPECT_EQ(PageText(), "Page 2 of 2");
    EXPECT_EQ(doc->PreviewPage(), 2);
    EXPECT_FALSE(Named("Next Page")->isEnabled());
    QTest::keyClick(window.get(), Qt::Key_PageUp);
    EXPECT_EQ(PageText(), "Page 1 of 2");
    QTest::keyClick(window.get(), Qt::Key_PageDown);
    EXPECT_EQ(PageText(), "Page 2 of 2");
    EXPECT_EQ(doc->UndoStack()->count(), steps) << "turning pages changes nothing of the project";
    // Fewer labels: the page shown stays within the run.
    Find<QSpinBox>("Edt_Lin")->setValue(14);
    EXPECT_EQ(PageText(), "Page 1 of 1");
}

TEST_F(PreviewPanel, ZoomsByButtonKeysAndCtrlWheel) {
    ShowShelfLabels();
    QTest::mouseClick(Named("100 %"), Qt::LeftButton);
    EXPECT_EQ(ZoomText(), "100 %");
    EXPECT_EQ(PictureSize(), QSize(793, 1123)) << "A4 at 96 pixels an inch";
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "125 %");
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "100 %");
    QTest::mouseClick(Named("Zoom Out"), Qt::LeftButton);
    EXPECT_EQ(ZoomText(), "80 %");
    QWidget* viewport = Find<QScrollArea>("PreviewArea")->viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(ZoomText(), "125 %") << "two notches up from 80 %";

    QTest::mouseClick(Named("Fit Page"), Qt::LeftButton);
    const QSize view = ViewSize();
    EXPECT_LE(PictureSize().width(), view.width());
    EXPECT_LE(PictureSize().height(), view.height());
    EXPECT_GT(PictureSize().height(), view.height() - 30) << "the page fills the view's height";
    QTest::mouseClick(Named("Fit Width"), Qt::LeftButton);
    EXPECT_LE(PictureSize().width(), view.width());
    EXPECT_GT(PictureSize().width(), view.width() - 50);
}

TEST_F(PreviewPanel, GrowsWithTheWindowAndShowsReadableLabels) {
    ShowShelfLabels();
    QTest::mouseClick(Named("Fit Page"), Qt::LeftButton);
    window->resize(1000, 700);
    QApplication::processEvents();
    const QSize small = PictureSize();
    window->resize(1250, 1000);
    QApplication::processEvents();
    EXPECT_GT(PictureSize().height(), small.height() + 200) << "a fitted page follows the window";

    // Near 200 % the labels of the page read as their values (the template's labels need cells of
    // two columns to keep their quiet zones).
    Find<QSpinBox>("Edt_Col")->setValue(2);
    Find<QSpinBox>("Edt_Lin")->setValue(5);
    Messages();
    QTest::mouseClick(Named("100 %"), Qt::LeftButton);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "195 %");
    const std::vector<std::string> read = DecodeAll(doc->PagePictureImage(), ZXing::BarcodeFormat::EAN13);
    EXPECT_EQ(read, std::vector<std::string>(10, "5901234123457"));
}

TEST_F(PreviewPanel, EmptyCodeShowsEmptyCellsAndTheClickStillOpensTheEditor) {
    ShowShelfLabels();
    auto* code = Find<QLineEdit>("Edt_singletxt");
    code->setFocus();
    code->selectAll();
    QTest::keyClick(code, Qt::Key_Backspace);
    ASSERT_EQ(code->text(), "");
    EXPECT_EQ(PageText(), "No labels");
    const QImage page = doc->PagePictureImage();
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) dark += qGray(page.pixel(x, y)) < 96;
    EXPECT_EQ(dark, 0);
    auto* picture = Find<QLabel>("Image2");
    EXPECT_EQ(picture->toolTip(), "Click to modify the barcode template");
    QTest::mouseClick(picture, Qt::LeftButton);
    EXPECT_EQ(dialogs.linearEditor.size(), 1u);
}

} // namespace
} // namespace qbm::test
