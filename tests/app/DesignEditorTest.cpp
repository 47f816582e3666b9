#include "app/TDesignEditor.h"

#include "output/TDesignPainter.h"
#include "output/TPageLayout.h"
#include "surface/TBitmap.h"
#include "util/Rounding.h"

#include "DocumentTestSupport.h"

#include <functional>

namespace qbm {
namespace {

using test::DocumentFixture;

struct EditorFixture : DocumentFixture {
    TDesignEditor editor{*doc};

    // A design of a text, a barcode and a box, saved so that it starts unmodified.
    void ThreeObjects() {
        doc->RestoreDesign(TLabelDesign{});
        editor.AddObject(TDesignKind::Text, TPointMm{5, 5});
        editor.AddObject(TDesignKind::Barcode, TPointMm{10, 15});
        editor.AddObject(TDesignKind::Rect, TPointMm{40, 3});
        doc->UndoStack()->clear();
    }
    const TLabelDesign& Design() const { return *doc->Project().Design(); }
    const TDesignObject& Object(size_t i) const { return Design().objects.at(i); }
};

TEST(DesignEditor, EveryEditIsOneUndoStepThatRestoresTheDesignExactly) {
    struct Case {
        const char* name;
        std::vector<int> selection;
        std::function<void(TDesignEditor&)> edit;
    };
    const Case cases[] = {
        {"add",
         {},
         [](TDesignEditor& e) {
             e.AddObject(TDesignKind::Ellipse, TPointMm{1, 2});
         }},
        {"add field",
         {},
         [](TDesignEditor& e) {
             e.AddField("Name", {3, 4});
         }},
        {"delete", {0, 2}, [](TDesignEditor& e) { e.DeleteSelection(); }},
        {"move", {1}, [](TDesignEditor& e) { e.MoveSelection(2.5, -1); }},
        {"nudge", {0, 1}, [](TDesignEditor& e) { e.NudgeSelection(0.1, 0); }},
        {"resize",
         {},
         [](TDesignEditor& e) {
             e.ResizeObject(2, {40, 3, 25, 12});
         }},
        {"property",
         {},
         [](TDesignEditor& e) {
             TDesignObject o = e.Design()->objects[0];
             o.bold = true;
             e.SetObject(0, o, "Bold");
         }},
        {"to front", {0}, [](TDesignEditor& e) { e.BringToFront(); }},
        {"to back", {2}, [](TDesignEditor& e) { e.SendToBack(); }},
        {"align", {0, 1, 2}, [](TDesignEditor& e) { e.AlignSelection(TAlignEdge::Left); }},
        {"distribute", {0, 1, 2}, [](TDesignEditor& e) { e.DistributeSelection(TDistribution::Vertical); }},
        {"duplicate", {0, 1}, [](TDesignEditor& e) { e.Duplicate(); }},
        {"paste",
         {2},
         [](TDesignEditor& e) {
             e.Copy();
             e.Paste();
         }},
    };
    for (const Case& c : cases) {
        EditorFixture f;
        f.ThreeObjects();
        const TLabelDesign before = f.Design();
        f.editor.Select(c.selection);
        ASSERT_FALSE(f.doc->ProjectModified()) << c.name;
        const int previews = f.previews;
        int changed = 0;
        QObject::connect(&f.editor, &TDesignEditor::designChanged, [&changed] { ++changed; });
        c.edit(f.editor);
        EXPECT_EQ(f.doc->UndoStack()->count(), 1) << c.name;
        EXPECT_NE(f.Design(), before) << c.name;
        EXPECT_TRUE(f.doc->ProjectModified()) << c.name;
        EXPECT_GE(changed, 1) << c.name;
        EXPECT_GT(f.previews, previews) << c.name; // the page preview shows the step
        const TLabelDesign after = f.Design();
        f.doc->UndoStack()->undo();
        EXPECT_EQ(f.Design(), before) << c.name;
        EXPECT_FALSE(f.doc->ProjectModified()) << c.name;
        f.doc->UndoStack()->redo();
        EXPECT_EQ(f.Design(), after) << c.name;
    }
}

TEST(DesignEditor, EditsChangeWhatTheySayAndFollowTheSelection) {
    EditorFixture f;
    f.ThreeObjects();
    const TLabelDesign start = f.Design();

    f.editor.Select({1});
    f.editor.BringToFront();
    EXPECT_EQ(f.Object(2), start.objects[1]);
    EXPECT_EQ(f.editor.Selection(), std::vector<int>{2});
    f.editor.SendToBack();
    EXPECT_EQ(f.Object(0), start.objects[1]);
    EXPECT_EQ(f.editor.Selection(), std::vector<int>{0});

    f.editor.Select({0, 2});
    f.editor.Duplicate();
    ASSERT_EQ(f.Design().objects.size(), 5u);
    EXPECT_EQ(f.editor.Selection(), (std::vector<int>{3, 4}));
    EXPECT_DOUBLE_EQ(f.Object(3).xMm, f.Object(0).xMm + 2);
    f.editor.DeleteSelection();
    EXPECT_EQ(f.Design().objects.size(), 3u);
    EXPECT_TRUE(f.editor.Selection().empty());

    // Undo takes away an object that was selected: the selection forgets it.
    f.editor.AddObject(TDesignKind::Line);
    EXPECT_EQ(f.editor.Selection(), std::vector<int>{3});
    f.doc->UndoStack()->undo();
    EXPECT_TRUE(f.editor.Selection().empty());

    // Each paste lands a little further on.
    f.editor.Select({2});
    f.editor.Copy();
    f.editor.Paste();
    f.editor.Paste();
    EXPECT_DOUBLE_EQ(f.Object(3).xMm, f.Object(2).xMm + 2);
    EXPECT_DOUBLE_EQ(f.Object(4).yMm, f.Object(2).yMm + 4);
}

TEST(DesignEditor, TypingIntoOneFieldIsOneStepAndTypingItBackIsNone) {
    EditorFixture f;
    f.ThreeObjects();
    TDesignObject o = f.Object(0);
    for (const char* typed : {"A", "AB", "ABC"}) {
        o.value = typed;
        f.editor.SetObject(0, o, "Value", true);
    }
    EXPECT_EQ(f.doc->UndoStack()->count(), 1);
    EXPECT_EQ(f.Object(0).value, "ABC");
    // Another field is another step.
    o.sizePt = 14;
    f.editor.SetObject(0, o, "Size", true);
    EXPECT_EQ(f.doc->UndoStack()->count(), 2);
    f.doc->UndoStack()->undo();
    f.doc->UndoStack()->undo();
    EXPECT_EQ(f.Object(0).value, "Text");
    EXPECT_FALSE(f.doc->ProjectModified());
}

TEST(DesignEditor, NothingChangedPushesNothing) {
    EditorFixture f;
    f.ThreeObjects();
    f.editor.Select({});
    f.editor.DeleteSelection();
    f.editor.NudgeSelection(1, 0);
    f.editor.Select({0});
    f.editor.MoveSelection(0, 0);
    f.editor.DistributeSelection(TDistribution::Horizontal); // one object
    f.editor.SetObject(0, f.Object(0), "Value");
    f.editor.Paste(); // nothing copied
    EXPECT_EQ(f.doc->UndoStack()->count(), 0);
    EXPECT_FALSE(f.doc->ProjectModified());
}

TEST(DesignEditor, DraggingSnapsToOtherObjectsAndResizingToTheGrid) {
    EditorFixture f;
    f.ThreeObjects(); // text 5,5 30x6; barcode 10,15 40x15; box 40,3 20x10
    f.editor.Select({0});
    // The text's right edge (35) dragged to 49.6 meets the barcode's right edge at 50, its middle (8.2)
    // the box's middle at 8.
    const TSnappedMove m = f.editor.SnapSelectionMove(14.6, 0.2);
    EXPECT_NEAR(m.dx, 15, 1e-9);
    EXPECT_NEAR(m.dy, 0, 1e-9);
    EXPECT_EQ(m.guideX, 50.0);
    EXPECT_EQ(m.guideY, 8.0);
    // Snapping off: the move stays as dragged.
    f.editor.Snapping().toGrid = false;
    f.editor.Snapping().toObjects = false;
    EXPECT_DOUBLE_EQ(f.editor.SnapSelectionMove(14.6, 0.2).dx, 14.6);
    f.editor.Snapping() = {};
    f.editor.Snapping().toObjects = false;
    const TBoxMm resized = f.editor.SnapResize(2, {40, 3, 21.3, 9.6}, false, false, true, true);
    EXPECT_EQ(resized, (TBoxMm{40, 3, 21, 10}));
}

TEST(DesignEditor, ObjectsAreFoundTopmostFirst) {
    EditorFixture f;
    f.ThreeObjects();
    f.editor.AddObject(TDesignKind::Rect, TPointMm{8, 6}); // over the text
    EXPECT_EQ(f.editor.ObjectAt({9, 7}), 3);
    EXPECT_EQ(f.editor.ObjectAt({6, 6}), 0);
    EXPECT_EQ(f.editor.ObjectAt({90, 45}), -1);
    EXPECT_EQ(f.editor.ObjectsInside({0, 0, 62, 14}), (std::vector<int>{0, 2}));
}

TEST(DesignEditor, ConvertTurnsTheClassicLabelIntoItsBarcodeAndCaption) {
    EditorFixture f;
    f.doc->SetFixedCode("12345678");
    f.doc->SetExtCaption("Shelf 4");
    ASSERT_EQ(f.doc->Project().Design(), std::nullopt);
    f.editor.ConvertToDesign();
    ASSERT_TRUE(f.doc->Project().Design());
    ASSERT_EQ(f.Design().objects.size(), 2u);
    const TDesignObject& code = f.Object(0);
    EXPECT_EQ(code.kind, TDesignKind::Barcode);
    EXPECT_EQ(code.value, "{Code}");
    EXPECT_EQ(code.symbology, "bcCodeEAN128C");
    // As wide as the classic label's bars (at the document's resolution), inside the label.
    const TBarcode& classic = f.doc->Setup().bcdMain;
    const TPage page = PageOf(nullptr, f.doc->Project().Orientation());
    TBarcode measured;
    measured.Assign(classic);
    // Printed, its bars are as wide as the classic label's.
    const TLabelSizeMm size = f.editor.LabelSize();
    TBitmap printed(MmToDots(size.width, page.resX), MmToDots(size.height, page.resY));
    printed.SetResolution(page.resX);
    const TLabelDesign barcodeOnly{{code}};
    TMergeValues values;
    values.code = "12345678";
    TDesignPainter(barcodeOnly, page.resX, page.resY).Draw(printed.Canvas(), {0, 0}, values);
    const int row = MmToDots(code.yMm + 3, page.resY);
    int first = -1, last = -1;
    for (int x = 0; x < printed.Width(); ++x)
        if (printed.Pixel(x, row) == clBlack) {
            if (first < 0) first = x;
            last = x;
        }
    EXPECT_EQ(last - first + 1, measured.Width());
    const TLabelSizeMm label = f.editor.LabelSize();
    EXPECT_GE(code.xMm, 0);
    EXPECT_LE(code.xMm + code.widthMm, label.width);
    EXPECT_GT(code.heightMm, classic.Height() * 25.4 / page.resY - 0.01);
    const TDesignObject& caption = f.Object(1);
    EXPECT_EQ(caption.kind, TDesignKind::Text);
    EXPECT_EQ(caption.value, "{Caption}");
    EXPECT_LE(caption.yMm + caption.heightMm, code.yMm + 1e-9);
    EXPECT_NEAR(caption.widthMm, measured.Width() * 25.4 / page.resX, 1e-9); // over the bars
    EXPECT_GT(caption.heightMm, 0);

    EXPECT_EQ(f.doc->UndoStack()->count(), 3); // the code, the caption, the conversion
    f.doc->UndoStack()->undo();
    EXPECT_EQ(f.doc->Project().Design(), std::nullopt);

    // Without a caption there is no caption object; adding to a classic label converts it first, in
    // the same step.
    f.doc->SetExtCaption("");
    f.editor.AddObject(TDesignKind::Text);
    ASSERT_EQ(f.Design().objects.size(), 2u);
    EXPECT_EQ(f.Object(0).kind, TDesignKind::Barcode);
    f.doc->UndoStack()->undo();
    EXPECT_EQ(f.doc->Project().Design(), std::nullopt);
}

TEST(DesignEditor, ConvertTurnsATwoDLabelIntoItsSymbolInTheMiddle) {
    EditorFixture f;
    f.doc->TabChanged(TMainTab::mt2D);
    f.doc->SetText2D("Parcel 0001");
    f.editor.ConvertToDesign();
    ASSERT_TRUE(f.doc->Project().Design());
    ASSERT_EQ(f.Design().objects.size(), 1u);
    const TDesignObject& code = f.Object(0);
    EXPECT_EQ(code.symbology, "pdf417");
    EXPECT_EQ(code.value, "{Code}");
    const TLabelSizeMm label = f.editor.LabelSize();
    EXPECT_GT(code.widthMm, 5);
    EXPECT_NEAR(code.xMm + code.widthMm / 2, label.width / 2, 1e-9);
    EXPECT_NEAR(code.yMm + code.heightMm / 2, label.height / 2, 1e-9);
    EXPECT_LE(code.widthMm, label.width);
}

TEST(DesignEditor, ANewProjectStartsWithTheClassicLabelAndNothingSelected) {
    EditorFixture f;
    f.ThreeObjects();
    f.editor.SelectAll();
    int changed = 0;
    QObject::connect(&f.editor, &TDesignEditor::designChanged, [&changed] { ++changed; });
    f.editor.NudgeSelection(1, 0);
    f.prompts.QueueAnswer(TMsgResult::mrNo); // not saved
    f.doc->New();
    EXPECT_EQ(f.doc->Project().Design(), std::nullopt);
    EXPECT_TRUE(f.editor.Selection().empty());
    EXPECT_GE(changed, 2);
    EXPECT_FALSE(f.doc->UndoStack()->canUndo());
    // What the tab shows now is the classic label as a design.
    EXPECT_EQ(f.editor.ShownDesign().objects.front().value, "{Code}");
}

TEST(DesignEditor, LiveValuesComeFromTheChosenRow) {
    EditorFixture f;
    TDatasheet& sheet = f.doc->Datasheet();
    sheet.Reset(3, 4);
    sheet.SetRow(0, std::vector<std::string>{"", "Name", "Price"});
    sheet.SetRow(1, std::vector<std::string>{"", "Apple", "1.20"});
    sheet.SetRow(2, std::vector<std::string>{"", "Pear", "0.90"});
    sheet.SetRow(3, std::vector<std::string>{"", "Plum", "2.00"});
    EXPECT_EQ(f.editor.FieldNames(), (std::vector<std::string>{"Name", "Price"}));
    EXPECT_EQ(f.editor.PreviewRowCount(), 3);
    int rows = 0;
    QObject::connect(&f.editor, &TDesignEditor::previewRowChanged, [&rows] { ++rows; });
    f.editor.SetPreviewRow(2);
    EXPECT_EQ(ExpandMergeText("{Name}: {Price}", f.editor.PreviewValues()), "Pear: 0.90");
    f.editor.SetPreviewRow(9); // kept within the sheet
    EXPECT_EQ(f.editor.PreviewRow(), 3);
    EXPECT_EQ(ExpandMergeText("{Name} #{Counter}", f.editor.PreviewValues()), "Plum #3");
    EXPECT_EQ(rows, 2);
    // Choosing a row is no edit.
    EXPECT_FALSE(f.doc->ProjectModified());
}

} // namespace
} // namespace qbm
