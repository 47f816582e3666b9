#include "app/TDesignEditor.h"

#include "app/ClassicDesign.h"
#include "app/TDesignCommand.h"
#include "app/TLabelDocument.h"
#include "data/TDatasheet.h"
#include "output/TDesignFields.h"
#include "output/TPageLayout.h"

#include <QUndoStack>

#include <algorithm>
#include <memory>
#include <numeric>

namespace qbm {

namespace {

// Pasted and duplicated objects land this far below and right of their originals, so that they are
// seen to be new.
constexpr double kCopyOffsetMm = 2;

TDesignObject NewObject(TDesignKind kind) {
    TDesignObject o;
    o.kind = kind;
    switch (kind) {
    case TDesignKind::Text:
        o.value = "Text";
        o.widthMm = 30;
        o.heightMm = 6;
        break;
    case TDesignKind::Barcode:
        o.value = "{Code}";
        o.symbology = "bcCode128Auto";
        o.widthMm = 40;
        o.heightMm = 15;
        break;
    case TDesignKind::Image:
        o.widthMm = 20;
        o.heightMm = 20;
        break;
    case TDesignKind::Line:
        // A line runs corner to corner: a flat box is a horizontal rule.
        o.widthMm = 30;
        o.heightMm = 0;
        break;
    case TDesignKind::Rect:
    case TDesignKind::Ellipse:
        o.widthMm = 20;
        o.heightMm = 10;
        break;
    }
    return o;
}

} // namespace

TDesignEditor::TDesignEditor(TLabelDocument& document, QObject* parent) : QObject(parent), m_doc(document) {
    connect(&m_doc, &TLabelDocument::designChanged, this, &TDesignEditor::DesignReplaced);
    // A new or opened project brings another design and another datasheet.
    connect(&m_doc, &TLabelDocument::projectChanged, this, &TDesignEditor::DesignReplaced);
    connect(&m_doc, &TLabelDocument::fieldListChanged, this, [this] { SetPreviewRow(m_previewRow); });
    // The classic label shows as its design: another template or code redraws it.
    connect(&m_doc, &TLabelDocument::labelPictureChanged, this, [this] {
        if (!Design()) emit designChanged();
    });
}

const TLabelDesign* TDesignEditor::Design() const {
    const std::optional<TLabelDesign>& design = m_doc.Project().Design();
    return design ? &*design : nullptr;
}

TLabelDesign TDesignEditor::ClassicDesign() const {
    return ClassicLabelDesign(m_doc.Project(), m_doc.Setup(),
                              PageOf(m_doc.Printer(), m_doc.Project().Orientation()));
}

TLabelDesign TDesignEditor::ShownDesign() const {
    return Design() ? *Design() : ClassicDesign();
}

TLabelSizeMm TDesignEditor::LabelSize() const {
    return DesignLabelSize(m_doc.Project(), m_doc.Printer());
}

void TDesignEditor::DesignReplaced() {
    // Undo may take objects away: the selection keeps the ones that are still there.
    const int count = Design() ? static_cast<int>(Design()->objects.size()) : 0;
    std::vector<int> kept;
    for (const int i : m_selection)
        if (i < count) kept.push_back(i);
    if (kept != m_selection) {
        m_selection = std::move(kept);
        emit selectionChanged();
    }
    emit designChanged();
}

// ---- selection ----

void TDesignEditor::SetSelection(std::vector<int> objects) {
    const int count = Design() ? static_cast<int>(Design()->objects.size()) : 0;
    std::erase_if(objects, [count](int i) { return i < 0 || i >= count; });
    // Duplicates removed, the first kept first: it is the one the properties panel shows.
    std::vector<int> unique;
    for (const int i : objects)
        if (std::find(unique.begin(), unique.end(), i) == unique.end()) unique.push_back(i);
    if (unique == m_selection) return;
    m_selection = std::move(unique);
    emit selectionChanged();
}

void TDesignEditor::Select(std::vector<int> objects) {
    SetSelection(std::move(objects));
}

void TDesignEditor::SelectAll() {
    std::vector<int> all(Design() ? Design()->objects.size() : 0);
    std::iota(all.begin(), all.end(), 0);
    SetSelection(std::move(all));
}

int TDesignEditor::ObjectAt(TPointMm at) const {
    if (!Design()) return -1;
    // Lines and flat boxes are hard to hit exactly: their area reaches half a millimetre further.
    constexpr double kReach = 0.5;
    const auto& objects = Design()->objects;
    for (int i = static_cast<int>(objects.size()) - 1; i >= 0; --i) {
        const TBoxMm b = CoveredBox(objects[static_cast<size_t>(i)]);
        const double left = std::min(b.x, b.Right()), right = std::max(b.x, b.Right());
        const double top = std::min(b.y, b.Bottom()), bottom = std::max(b.y, b.Bottom());
        if (at.x >= left - kReach && at.x <= right + kReach && at.y >= top - kReach &&
            at.y <= bottom + kReach)
            return i;
    }
    return -1;
}

std::vector<int> TDesignEditor::ObjectsInside(const TBoxMm& box) const {
    std::vector<int> inside;
    if (!Design()) return inside;
    for (size_t i = 0; i < Design()->objects.size(); ++i) {
        const TBoxMm b = CoveredBox(Design()->objects[i]);
        if (b.x >= box.x && b.y >= box.y && b.Right() <= box.Right() && b.Bottom() <= box.Bottom())
            inside.push_back(static_cast<int>(i));
    }
    return inside;
}

// ---- edits ----

template <typename Edit> void TDesignEditor::Change(const char* text, Edit&& edit, std::string mergeKey) {
    std::optional<TLabelDesign> before = m_doc.Project().Design();
    TLabelDesign after = before ? *before : ClassicDesign();
    edit(after);
    if (before && after == *before) return;
    m_doc.UndoStack()->push(new TDesignCommand(m_doc, QString::fromLatin1(text), std::move(before),
                                               std::move(after), std::move(mergeKey)));
}

void TDesignEditor::ConvertToDesign() {
    if (Design()) return;
    Change("Convert to Design", [](TLabelDesign&) {});
}

int TDesignEditor::AddObject(TDesignKind kind, std::optional<TPointMm> at) {
    int index = -1;
    TDesignObject object = NewObject(kind);
    const TPointMm corner = at.value_or(TPointMm{2, 2});
    object.xMm = corner.x;
    object.yMm = corner.y;
    const std::string text = std::string("Add ") + DesignKindName(kind);
    Change(text.c_str(), [&](TLabelDesign& d) {
        d.objects.push_back(object);
        index = static_cast<int>(d.objects.size()) - 1;
    });
    SetSelection({index});
    return index;
}

int TDesignEditor::AddField(const std::string& name, TPointMm at) {
    int index = -1;
    TDesignObject object = NewObject(TDesignKind::Text);
    object.value = "{" + name + "}";
    object.xMm = at.x;
    object.yMm = at.y;
    Change("Add Field", [&](TLabelDesign& d) {
        d.objects.push_back(object);
        index = static_cast<int>(d.objects.size()) - 1;
    });
    SetSelection({index});
    return index;
}

void TDesignEditor::DeleteSelection() {
    if (m_selection.empty() || !Design()) return;
    std::vector<int> doomed = m_selection;
    std::sort(doomed.begin(), doomed.end(), std::greater<>());
    m_selection.clear();
    Change("Delete", [&](TLabelDesign& d) {
        for (const int i : doomed) d.objects.erase(d.objects.begin() + i);
    });
    emit selectionChanged();
}

void TDesignEditor::MoveSelection(double dxMm, double dyMm) {
    if (m_selection.empty() || !Design()) return;
    Change("Move", [&](TLabelDesign& d) {
        for (const int i : m_selection) {
            d.objects[static_cast<size_t>(i)].xMm += dxMm;
            d.objects[static_cast<size_t>(i)].yMm += dyMm;
        }
    });
}

void TDesignEditor::NudgeSelection(double dxMm, double dyMm) {
    if (m_selection.empty() || !Design()) return;
    Change("Nudge", [&](TLabelDesign& d) {
        for (const int i : m_selection) {
            d.objects[static_cast<size_t>(i)].xMm += dxMm;
            d.objects[static_cast<size_t>(i)].yMm += dyMm;
        }
    });
}

void TDesignEditor::ResizeObject(int index, const TBoxMm& box) {
    if (!Design() || index < 0 || index >= static_cast<int>(Design()->objects.size())) return;
    Change("Resize", [&](TLabelDesign& d) { SetCoveredBox(d.objects[static_cast<size_t>(index)], box); });
}

void TDesignEditor::SetObject(int index, const TDesignObject& object, const std::string& property,
                              bool typing) {
    if (!Design() || index < 0 || index >= static_cast<int>(Design()->objects.size())) return;
    const std::string text = "Change " + property;
    Change(
        text.c_str(), [&](TLabelDesign& d) { d.objects[static_cast<size_t>(index)] = object; },
        typing ? property + "#" + std::to_string(index) : std::string());
}

void TDesignEditor::BringToFront() {
    if (m_selection.empty() || !Design()) return;
    std::vector<int> order = m_selection;
    std::sort(order.begin(), order.end());
    int count = 0;
    Change("Bring to Front", [&](TLabelDesign& d) {
        std::vector<TDesignObject> moved, rest;
        for (size_t i = 0; i < d.objects.size(); ++i)
            (std::binary_search(order.begin(), order.end(), static_cast<int>(i)) ? moved : rest)
                .push_back(d.objects[i]);
        count = static_cast<int>(rest.size());
        rest.insert(rest.end(), moved.begin(), moved.end());
        d.objects = std::move(rest);
    });
    std::vector<int> selected(order.size());
    std::iota(selected.begin(), selected.end(), count);
    SetSelection(std::move(selected));
}

void TDesignEditor::SendToBack() {
    if (m_selection.empty() || !Design()) return;
    std::vector<int> order = m_selection;
    std::sort(order.begin(), order.end());
    Change("Send to Back", [&](TLabelDesign& d) {
        std::vector<TDesignObject> moved, rest;
        for (size_t i = 0; i < d.objects.size(); ++i)
            (std::binary_search(order.begin(), order.end(), static_cast<int>(i)) ? moved : rest)
                .push_back(d.objects[i]);
        moved.insert(moved.end(), rest.begin(), rest.end());
        d.objects = std::move(moved);
    });
    std::vector<int> selected(order.size());
    std::iota(selected.begin(), selected.end(), 0);
    SetSelection(std::move(selected));
}

std::vector<TBoxMm> TDesignEditor::SelectedBoxes() const {
    std::vector<TBoxMm> boxes;
    for (const int i : m_selection) boxes.push_back(CoveredBox(Design()->objects[static_cast<size_t>(i)]));
    return boxes;
}

void TDesignEditor::SetSelectedBoxes(const char* text, const std::vector<TBoxMm>& boxes) {
    Change(text, [&](TLabelDesign& d) {
        for (size_t k = 0; k < m_selection.size(); ++k) {
            TDesignObject& o = d.objects[static_cast<size_t>(m_selection[k])];
            // Aligning moves; it never resizes.
            const TBoxMm was = CoveredBox(o);
            o.xMm += boxes[k].x - was.x;
            o.yMm += boxes[k].y - was.y;
        }
    });
}

void TDesignEditor::AlignSelection(TAlignEdge edge) {
    if (m_selection.empty() || !Design()) return;
    const TLabelSizeMm label = LabelSize();
    SetSelectedBoxes("Align", AlignBoxes(SelectedBoxes(), edge, label.width, label.height));
}

void TDesignEditor::DistributeSelection(TDistribution direction) {
    if (m_selection.size() < 3 || !Design()) return;
    SetSelectedBoxes("Distribute", DistributeBoxes(SelectedBoxes(), direction));
}

void TDesignEditor::Copy() {
    if (m_selection.empty() || !Design()) return;
    m_clipboard.clear();
    std::vector<int> order = m_selection;
    // Pasted objects keep the order they had on the label, so that what was on top stays on top.
    std::sort(order.begin(), order.end());
    for (const int i : order) m_clipboard.push_back(Design()->objects[static_cast<size_t>(i)]);
    m_pastes = 0;
}

void TDesignEditor::Paste() {
    if (m_clipboard.empty()) return;
    ++m_pastes;
    const double offset = kCopyOffsetMm * m_pastes;
    int first = 0;
    Change("Paste", [&](TLabelDesign& d) {
        first = static_cast<int>(d.objects.size());
        for (TDesignObject o : m_clipboard) {
            o.xMm += offset;
            o.yMm += offset;
            d.objects.push_back(std::move(o));
        }
    });
    std::vector<int> pasted(m_clipboard.size());
    std::iota(pasted.begin(), pasted.end(), first);
    SetSelection(std::move(pasted));
}

void TDesignEditor::Duplicate() {
    if (m_selection.empty() || !Design()) return;
    std::vector<int> order = m_selection;
    std::sort(order.begin(), order.end());
    int first = 0;
    Change("Duplicate", [&](TLabelDesign& d) {
        first = static_cast<int>(d.objects.size());
        for (const int i : order) {
            TDesignObject o = d.objects[static_cast<size_t>(i)];
            o.xMm += kCopyOffsetMm;
            o.yMm += kCopyOffsetMm;
            d.objects.push_back(std::move(o));
        }
    });
    std::vector<int> copies(order.size());
    std::iota(copies.begin(), copies.end(), first);
    SetSelection(std::move(copies));
}

// ---- snapping ----

TSnappedMove TDesignEditor::SnapSelectionMove(double dxMm, double dyMm) const {
    if (m_selection.empty() || !Design()) return {dxMm, dyMm, {}, {}};
    std::vector<TBoxMm> others;
    for (size_t i = 0; i < Design()->objects.size(); ++i)
        if (std::find(m_selection.begin(), m_selection.end(), static_cast<int>(i)) == m_selection.end())
            others.push_back(CoveredBox(Design()->objects[i]));
    const std::vector<TBoxMm> moving = SelectedBoxes();
    double left = moving[0].x, top = moving[0].y, right = moving[0].Right(), bottom = moving[0].Bottom();
    for (const TBoxMm& b : moving) {
        left = std::min(left, b.x);
        top = std::min(top, b.y);
        right = std::max(right, b.Right());
        bottom = std::max(bottom, b.Bottom());
    }
    const TLabelSizeMm label = LabelSize();
    return SnapMove({left, top, right - left, bottom - top}, dxMm, dyMm,
                    SnapTargetsOf(others, label.width, label.height), m_snap);
}

TBoxMm TDesignEditor::SnapResize(int index, TBoxMm box, bool left, bool top, bool right, bool bottom) const {
    if (!Design()) return box;
    std::vector<TBoxMm> others;
    for (size_t i = 0; i < Design()->objects.size(); ++i)
        if (static_cast<int>(i) != index) others.push_back(CoveredBox(Design()->objects[i]));
    const TLabelSizeMm label = LabelSize();
    const TSnapTargets targets = SnapTargetsOf(others, label.width, label.height);
    if (left) {
        const double right0 = box.Right();
        box.x = SnapCoordinate(box.x, targets.xs, m_snap).value;
        box.w = right0 - box.x;
    }
    if (top) {
        const double bottom0 = box.Bottom();
        box.y = SnapCoordinate(box.y, targets.ys, m_snap).value;
        box.h = bottom0 - box.y;
    }
    if (right) box.w = SnapCoordinate(box.Right(), targets.xs, m_snap).value - box.x;
    if (bottom) box.h = SnapCoordinate(box.Bottom(), targets.ys, m_snap).value - box.y;
    return box;
}

// ---- live values ----

std::vector<std::string> TDesignEditor::FieldNames() const {
    const TDatasheet& sheet = m_doc.Project().Datasheet();
    std::vector<std::string> names;
    // Column 0 holds the row numbers, not a field.
    for (int c = 1; c < sheet.ColumnCount(); ++c) {
        std::string name(sheet.ColumnName(c));
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

int TDesignEditor::PreviewRowCount() const {
    return std::max(0, m_doc.Project().Datasheet().RowCount() - 1);
}

void TDesignEditor::SetPreviewRow(int row) {
    row = std::clamp(row, 1, std::max(1, PreviewRowCount()));
    if (row == m_previewRow) return;
    m_previewRow = row;
    emit previewRowChanged();
}

TMergeValues TDesignEditor::PreviewValues() const {
    TLabelValue label;
    try {
        TSourceFeed feed = m_doc.LabelFeed();
        if (feed.FirstIndex() == 1 && m_previewRow < feed.Count()) {
            label = feed.Value(m_previewRow);
        } else if (feed.Count() > feed.FirstIndex()) {
            label = feed.Value(feed.FirstIndex());
        }
    } catch (const std::exception&) {
        // A source that cannot give its first label shows the fields without a code.
    }
    // The fields come from the chosen row whatever the source: the user is laying out the sheet.
    label.row = m_previewRow;
    // The values read the fields through their maker, which lives as long as they do.
    auto fields = std::make_shared<TDesignFields>(&m_doc.Project().Datasheet());
    TMergeValues values = fields->Values(label, m_previewRow);
    values.field = [fields, field = std::move(values.field)](std::string_view name) { return field(name); };
    return values;
}

} // namespace qbm
