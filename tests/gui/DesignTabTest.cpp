#include "GuiTestSupport.h"

#include "app/TDesignEditor.h"
#include "gui/DesignPage.h"
#include "gui/TDesignCanvas.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSpinBox>
#include <QTest>
#include <QUndoStack>

namespace qbm::test {
namespace {

constexpr int kDesignTab = 3;

class DesignTab : public WindowFixture {
protected:
    void Open() {
        ShowWindow();
        ShowTab(kDesignTab);
        page = Find<DesignPage>("DesignPage");
        canvas = Find<TDesignCanvas>("DesignCanvas");
        QApplication::processEvents();
    }
    QAction* PageAction(const char* name) const {
        QAction* action = page->Action(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    const TLabelDesign& Design() const { return *doc->Project().Design(); }
    const TDesignObject& Last() const { return Design().objects.back(); }
    // A mouse drag on the canvas from one label position to another, in millimetres.
    void Drag(TPointMm from, TPointMm to) {
        const QPoint a = canvas->ToWidget(from).toPoint(), b = canvas->ToWidget(to).toPoint();
        QTest::mousePress(canvas, Qt::LeftButton, {}, a);
        QTest::mouseMove(canvas, (a + b) / 2);
        QTest::mouseMove(canvas, b);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, b);
    }
    void DropField(const QString& name, TPointMm at) {
        QMimeData data;
        data.setData(TDesignCanvas::kFieldMime, name.toUtf8());
        const QPointF where = canvas->ToWidget(at);
        QDragEnterEvent enter(where.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(canvas, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(canvas, &drop);
    }

    DesignPage* page = nullptr;
    TDesignCanvas* canvas = nullptr;
};

TEST_F(DesignTab, AUserAddsDragsNudgesUndoesDeletesAndAligns) {
    Open();
    EXPECT_EQ(Find<QTabWidget>("PG_Pro")->tabText(kDesignTab), "Label Design");
    // Plain drags, so that the positions below are the mouse's own.
    Find<QCheckBox>("DesignSnap")->click();

    PageAction("DesignAddText")->trigger();
    // The classic label became its barcode; the text came on top of it, selected.
    ASSERT_EQ(Design().objects.size(), 2u);
    EXPECT_EQ(Design().objects[0].kind, TDesignKind::Barcode);
    EXPECT_EQ(Last().kind, TDesignKind::Text);
    EXPECT_EQ(page->Editor()->Selection(), std::vector<int>{1});
    EXPECT_EQ(Find<QLineEdit>("DesignValue")->text(), "Text");
    const int steps = doc->UndoStack()->count();

    Drag({5, 4}, {15, 9});
    EXPECT_NEAR(Last().xMm, 12, 0.1);
    EXPECT_NEAR(Last().yMm, 7, 0.1);
    EXPECT_EQ(doc->UndoStack()->count(), steps + 1);
    const double x = Last().xMm, y = Last().yMm;

    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_NEAR(Last().xMm, x + 0.1, 1e-9);
    QTest::keyClick(canvas, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NEAR(Last().yMm, y + 1, 1e-9);
    EXPECT_EQ(doc->UndoStack()->count(), steps + 3);

    Action("Mnu_Undo")->trigger();
    EXPECT_NEAR(Last().yMm, y, 1e-9);
    EXPECT_NEAR(Last().xMm, x + 0.1, 1e-9);
    Action("Mnu_Undo")->trigger();
    EXPECT_DOUBLE_EQ(Last().xMm, x);

    // The properties panel edits the selected object: typing is one step.
    auto* value = Find<QLineEdit>("DesignValue");
    value->setFocus();
    QTest::keyClicks(value, "!!");
    EXPECT_EQ(Last().value, "Text!!");
    EXPECT_EQ(doc->UndoStack()->count(), steps + 2);

    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Delete);
    ASSERT_EQ(Design().objects.size(), 1u);
    EXPECT_TRUE(page->Editor()->Selection().empty());

    PageAction("DesignAddRect")->trigger();
    PageAction("DesignAddEllipse")->trigger();
    Drag({4, 4}, {25, 30}); // the ellipse, added at 2,2 on top, goes down and right
    PageAction("DesignSelectAll")->trigger();
    EXPECT_EQ(page->Editor()->Selection().size(), 3u);
    EXPECT_EQ(Find<QListWidget>("DesignObjects")->selectedItems().size(), 3);
    PageAction("DesignAlignLeft")->trigger();
    double left = 1e9;
    for (const TDesignObject& o : Design().objects) left = std::min(left, o.xMm);
    for (const TDesignObject& o : Design().objects) EXPECT_DOUBLE_EQ(o.xMm, left);
    EXPECT_TRUE(doc->ProjectModified());
}

TEST_F(DesignTab, AHandleResizesAndABandSelects) {
    Open();
    Find<QCheckBox>("DesignSnap")->click();
    page->Editor()->ConvertToDesign();
    PageAction("DesignAddRect")->trigger(); // 20 x 10 mm at 2, 2, selected
    const int rect = static_cast<int>(Design().objects.size()) - 1;
    Drag({22, 12}, {32, 17}); // its bottom-right handle
    EXPECT_NEAR(Last().widthMm, 30, 0.15);
    EXPECT_NEAR(Last().heightMm, 15, 0.15);
    EXPECT_DOUBLE_EQ(Last().xMm, 2);
    EXPECT_DOUBLE_EQ(Last().yMm, 2);

    page->Editor()->Select({});
    Drag({1, 1}, {33, 18});
    EXPECT_EQ(page->Editor()->Selection(), std::vector<int>{rect});
    // Shift+click adds an object to the selection, and takes it away again.
    const TBoxMm code = CoveredBox(Design().objects[0]);
    const QPoint onCode = canvas->ToWidget({code.CentreX(), code.CentreY()}).toPoint();
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ShiftModifier, onCode);
    EXPECT_EQ(page->Editor()->Selection(), (std::vector<int>{rect, 0}));
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::ShiftModifier, onCode);
    EXPECT_EQ(page->Editor()->Selection(), std::vector<int>{rect});
}

TEST_F(DesignTab, TheKeyboardAloneSelectsCopiesAndPastes) {
    Open();
    window->activateWindow();
    page->Editor()->ConvertToDesign();
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(page->Editor()->Selection().size(), Design().objects.size());
    const size_t before = Design().objects.size();
    QTest::keyClick(canvas, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Design().objects.size(), 2 * before);
    QTest::keyClick(canvas, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(canvas, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Design().objects.size(), 3 * before);
    QTest::keyClick(canvas, Qt::Key_Escape);
    EXPECT_TRUE(page->Editor()->Selection().empty());
    // The object list chooses what the arrow keys move.
    auto* objects = Find<QListWidget>("DesignObjects");
    objects->setFocus();
    QTest::keyClick(objects, Qt::Key_End);
    QTest::keyClick(objects, Qt::Key_Home);
    EXPECT_EQ(page->Editor()->Selection(), std::vector<int>{0});
    QTest::keyClick(objects, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(page->Editor()->Selection(), (std::vector<int>{0, 1}));
}

TEST_F(DesignTab, FieldsDropOntoTheLabelAndShowTheChosenRow) {
    Open();
    TDatasheet& sheet = doc->Datasheet();
    sheet.Reset(3, 3);
    sheet.SetRow(0, std::vector<std::string>{"", "Name", "Price"});
    sheet.SetRow(1, std::vector<std::string>{"", "Apple", "1.20"});
    sheet.SetRow(2, std::vector<std::string>{"", "Pear", "0.90"});
    doc->DatasheetWindowClosed(true); // the field lists follow the sheet
    auto* fields = Find<QListWidget>("DesignFields");
    ASSERT_EQ(fields->count(), 2);
    EXPECT_EQ(fields->item(1)->text(), "Price");

    page->Editor()->ConvertToDesign();
    DropField("Name", {10.2, 20.4});
    EXPECT_EQ(Last().value, "{Name}");
    EXPECT_DOUBLE_EQ(Last().xMm, 10); // on the grid
    EXPECT_DOUBLE_EQ(Last().yMm, 20);

    // The keyboard way: Enter on a field.
    fields->setFocus();
    fields->setCurrentRow(1);
    QTest::keyClick(fields, Qt::Key_Return);
    EXPECT_EQ(Last().value, "{Price}");

    auto* row = Find<QSpinBox>("DesignRow");
    EXPECT_EQ(row->maximum(), 2);
    row->setValue(2);
    EXPECT_EQ(page->Editor()->PreviewRow(), 2);
    EXPECT_EQ(ExpandMergeText("{Name}", page->Editor()->PreviewValues()), "Pear");
}

TEST_F(DesignTab, ConvertToDesignIsOfferedForTheClassicLabelOnly) {
    Open();
    QAction* convert = PageAction("DesignConvert");
    EXPECT_TRUE(convert->isVisible());
    EXPECT_FALSE(PageAction("DesignDelete")->isEnabled());
    convert->trigger();
    ASSERT_TRUE(doc->Project().Design());
    EXPECT_EQ(Design().objects.front().value, "{Code}");
    EXPECT_FALSE(convert->isVisible());
    Action("Mnu_Undo")->trigger();
    EXPECT_FALSE(doc->Project().Design());
    EXPECT_TRUE(convert->isVisible());
}

TEST_F(DesignTab, EveryControlHasAnAccessibleNameAndTheCanvasTakesTheFocus) {
    Open();
    page->Editor()->AddObject(TDesignKind::Rect);
    for (const char* name :
         {"DesignCanvas",      "DesignObjects", "DesignProperties", "DesignFields",    "DesignRow",
          "DesignZoom",        "DesignGrid",    "DesignGridSize",   "DesignSnap",      "DesignAdd",
          "DesignAlign",       "DesignX",       "DesignY",          "DesignWidth",     "DesignHeight",
          "DesignRotation",    "DesignValue",   "DesignSymbology",  "DesignLineWidth", "DesignFilled",
          "DesignCornerRadius"}) {
        auto* widget = Find<QWidget>(name);
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << name;
    }
    EXPECT_NE(canvas->focusPolicy() & Qt::TabFocus, 0);
    // The zoom draws the label larger, at the same proportions.
    canvas->RenderLabel();
    const QSize before = canvas->LabelImage().size();
    auto* zoom = Find<QSpinBox>("DesignZoom");
    zoom->setValue(2 * zoom->value());
    canvas->RenderLabel();
    EXPECT_NEAR(canvas->LabelImage().width(), 2 * before.width(), 2);
    EXPECT_NEAR(canvas->LabelImage().height(), 2 * before.height(), 2);
}

TEST_F(DesignTab, AnObjectThatCannotDrawIsMarkedAndTheOthersStillShow) {
    Open();
    TDesignObject code;
    code.kind = TDesignKind::Barcode;
    code.symbology = "bcCodeEAN13";
    code.value = "not digits";
    code.xMm = 2;
    code.yMm = 2;
    code.widthMm = 30;
    code.heightMm = 15;
    TDesignObject box;
    box.kind = TDesignKind::Rect;
    box.xMm = 40;
    box.yMm = 2;
    box.widthMm = 10;
    box.heightMm = 10;
    box.fill = clBlack;
    doc->RestoreDesign(TLabelDesign{{code, box}});
    canvas->RenderLabel();
    const QImage& label = canvas->LabelImage();
    const double ppm = canvas->LabelImage().width() / page->Editor()->LabelSize().width;
    const auto at = [&](double x, double y) { return label.pixelColor(int(x * ppm), int(y * ppm)); };
    EXPECT_EQ(at(45.5, 7.5), QColor(Qt::black));     // between the grid's lines
    EXPECT_EQ(at(17.5, 9.5), QColor(255, 224, 224)); // the refused barcode's marked box
    EXPECT_EQ(at(70.5, 30.5), QColor(Qt::white));
    // The grid darkens the label where its lines run: across the empty right of the label, a line every
    // millimetre or two.
    int darkened = 0;
    for (int x = int(60 * ppm); x < int(90 * ppm); ++x)
        darkened += label.pixelColor(x, int(30.5 * ppm)).red() < 255;
    EXPECT_GE(darkened, 10);
}

} // namespace
} // namespace qbm::test
