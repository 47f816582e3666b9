#pragma once
// The label designer's editing logic over a document: the selection, the clipboard, snapping, and
// every edit of the design as one step on the document's undo stack. The "Label Design" tab is a view
// of it: it forwards what the user does here and redraws on designChanged / selectionChanged.
//
// Positions are millimetres on the label, from its top-left corner. A project without a design shows
// the classic label; the first object added (or Convert to Design) turns it into the equivalent
// design, in the same step, so nothing the label showed is lost.

#include "app/DesignArrange.h"
#include "app/DesignLabel.h"
#include "design/MergeText.h"
#include "design/TLabelDesign.h"

#include <QObject>

#include <optional>
#include <string>
#include <vector>

namespace qbm {

class TLabelDocument;

struct TPointMm {
    double x = 0;
    double y = 0;
};

class TDesignEditor : public QObject {
    Q_OBJECT

public:
    explicit TDesignEditor(TLabelDocument& document, QObject* parent = nullptr);

    TLabelDocument& Document() const { return m_doc; }
    // The project's design; null while it prints the classic label.
    const TLabelDesign* Design() const;
    // What the tab shows: the design, or the classic label converted for showing only.
    TLabelDesign ShownDesign() const;
    TLabelSizeMm LabelSize() const;

    // ---- selection (view state: not stored, not undone) ----

    const std::vector<int>& Selection() const { return m_selection; }
    // The first selected object, whose properties the panel shows; -1 when none is.
    int Current() const { return m_selection.empty() ? -1 : m_selection.front(); }
    void Select(std::vector<int> objects);
    void SelectAll();
    // The topmost object at a point, -1 when none is there.
    int ObjectAt(TPointMm at) const;
    // The objects whose covered area lies inside `box` (a rubber band).
    std::vector<int> ObjectsInside(const TBoxMm& box) const;

    // ---- edits: each one undo step ----

    void ConvertToDesign();
    // A new object of `kind` with the kind's usual size, its top-left corner at `at` (else near the
    // label's top-left corner); it becomes the selection. Returns its index.
    int AddObject(TDesignKind kind, std::optional<TPointMm> at = {});
    // A datasheet field dropped on the label: a text object "{Name}".
    int AddField(const std::string& name, TPointMm at);
    void DeleteSelection();
    // Moves the selection by (dx, dy) millimetres as given (snap first with SnapSelectionMove).
    void MoveSelection(double dxMm, double dyMm);
    // The arrow keys: 0.1 mm, or 1 mm with Shift; never snapped.
    void NudgeSelection(double dxMm, double dyMm);
    // A handle dragged: the object covers `box` afterwards.
    void ResizeObject(int index, const TBoxMm& box);
    // The properties panel changed `property` of the object. Keystrokes in one field (`typing`) join
    // into one step while the user stays in it.
    void SetObject(int index, const TDesignObject& object, const std::string& property, bool typing = false);
    void BringToFront();
    void SendToBack();
    void AlignSelection(TAlignEdge edge);
    void DistributeSelection(TDistribution direction);
    void Copy();
    bool CanPaste() const { return !m_clipboard.empty(); }
    // The copied objects, a little below and right of where they were; they become the selection.
    void Paste();
    void Duplicate();

    // ---- snapping ----

    TSnapSettings& Snapping() { return m_snap; }
    const TSnapSettings& Snapping() const { return m_snap; }
    // A drag of the selection by (dx, dy), pulled onto the grid or the other objects' lines.
    TSnappedMove SnapSelectionMove(double dxMm, double dyMm) const;
    // A handle drag: the edges that move (left, top, right, bottom) pulled onto the targets.
    TBoxMm SnapResize(int index, TBoxMm box, bool left, bool top, bool right, bool bottom) const;

    // ---- live values ----

    // The datasheet's column names, the fields a user drags onto the label.
    std::vector<std::string> FieldNames() const;
    // The datasheet row (from 1) whose values the label shows, and how many there are.
    int PreviewRow() const { return m_previewRow; }
    int PreviewRowCount() const;
    void SetPreviewRow(int row);
    // The merge values of the shown row: its cells, the label's code and caption as the source gives
    // them for that row.
    TMergeValues PreviewValues() const;

signals:
    void designChanged();
    void selectionChanged();
    void previewRowChanged();

private:
    // Runs `edit` on a copy of the design (the classic label's equivalent when there is none) and
    // pushes the result as one step named `text`; nothing when the copy is unchanged.
    template <typename Edit> void Change(const char* text, Edit&& edit, std::string mergeKey = {});
    TLabelDesign ClassicDesign() const;
    std::vector<TBoxMm> SelectedBoxes() const;
    void SetSelectedBoxes(const char* text, const std::vector<TBoxMm>& boxes);
    void DesignReplaced();
    void SetSelection(std::vector<int> objects);

    TLabelDocument& m_doc;
    std::vector<int> m_selection;
    std::vector<TDesignObject> m_clipboard;
    int m_pastes = 0;
    TSnapSettings m_snap;
    int m_previewRow = 1;
};

} // namespace qbm
