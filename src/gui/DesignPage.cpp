#include "gui/DesignPage.h"

#include "app/TDesignEditor.h"
#include "app/TLabelDocument.h"
#include "gui/DesignFieldList.h"
#include "gui/GuiText.h"
#include "gui/TDesignCanvas.h"
#include "gui/TDesignProperties.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qbm {

namespace {

QToolButton* MenuButton(QToolBar* bar, const char* name, const QString& caption, QMenu* menu) {
    auto* button = Named(new QToolButton(bar), name, caption);
    button->setText(caption);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(button);
    return button;
}

QString ObjectText(const TDesignObject& o, int index) {
    QString text = QString("%1 %2").arg(index + 1).arg(DesignKindName(o.kind));
    if (!o.value.empty()) text += ": " + QString::fromStdString(o.value);
    return text;
}

} // namespace

DesignPage::DesignPage(QWidget* parent) : QWidget(parent) {
    setObjectName("DesignPage");
    setAccessibleName("Label Design");

    m_toolbar = Named(new QToolBar(this), "DesignToolbar", "Label Design tools");
    auto* addMenu = Named(new QMenu("&Add", this), "DesignAddMenu", "Add");
    const struct {
        const char* name;
        const char* caption;
        TDesignKind kind;
    } kinds[] = {{"DesignAddText", "&Text", TDesignKind::Text},
                 {"DesignAddBarcode", "&Barcode", TDesignKind::Barcode},
                 {"DesignAddPicture", "&Picture", TDesignKind::Image},
                 {"DesignAddLine", "&Line", TDesignKind::Line},
                 {"DesignAddRect", "&Rectangle", TDesignKind::Rect},
                 {"DesignAddEllipse", "&Ellipse", TDesignKind::Ellipse}};
    for (const auto& k : kinds) {
        QAction* action = AddAction(k.name, k.caption);
        addMenu->addAction(action);
        const TDesignKind kind = k.kind;
        connect(action, &QAction::triggered, this, [this, kind] {
            if (!m_editor) return;
            m_editor->AddObject(kind);
            m_canvas->setFocus();
        });
    }
    MenuButton(m_toolbar, "DesignAdd", "&Add", addMenu);

    QAction* convert = AddAction("DesignConvert", "Convert to &Design");
    m_toolbar->addAction(convert);
    connect(convert, &QAction::triggered, this, [this] {
        if (m_editor) m_editor->ConvertToDesign();
    });
    m_toolbar->addSeparator();

    const auto command = [this](const char* name, const QString& caption, const QKeySequence& keys,
                                auto run) {
        QAction* action = AddAction(name, caption, keys);
        connect(action, &QAction::triggered, this, [this, run] {
            if (!m_editor) return;
            run(*m_editor);
            UpdateEnabled(); // Copy fills the clipboard, which no signal announces
        });
        return action;
    };
    m_toolbar->addAction(
        command("DesignDelete", "De&lete", {}, [](TDesignEditor& e) { e.DeleteSelection(); }));
    m_toolbar->addAction(command("DesignDuplicate", "D&uplicate", QKeySequence("Ctrl+D"),
                                 [](TDesignEditor& e) { e.Duplicate(); }));
    m_toolbar->addAction(
        command("DesignCopy", "&Copy", QKeySequence::Copy, [](TDesignEditor& e) { e.Copy(); }));
    m_toolbar->addAction(
        command("DesignPaste", "&Paste", QKeySequence::Paste, [](TDesignEditor& e) { e.Paste(); }));
    command("DesignSelectAll", "Select &All", QKeySequence::SelectAll,
            [](TDesignEditor& e) { e.SelectAll(); });
    m_toolbar->addSeparator();
    m_toolbar->addAction(command("DesignToFront", "To &Front", QKeySequence("Ctrl+Shift+]"),
                                 [](TDesignEditor& e) { e.BringToFront(); }));
    m_toolbar->addAction(command("DesignToBack", "To &Back", QKeySequence("Ctrl+Shift+["),
                                 [](TDesignEditor& e) { e.SendToBack(); }));

    auto* arrange = Named(new QMenu("A&lign", this), "DesignAlignMenu", "Align");
    const struct {
        const char* name;
        const char* caption;
        TAlignEdge edge;
    } edges[] = {{"DesignAlignLeft", "Align &Left", TAlignEdge::Left},
                 {"DesignAlignCentre", "Align &Centre", TAlignEdge::CentreX},
                 {"DesignAlignRight", "Align &Right", TAlignEdge::Right},
                 {"DesignAlignTop", "Align &Top", TAlignEdge::Top},
                 {"DesignAlignMiddle", "Align &Middle", TAlignEdge::CentreY},
                 {"DesignAlignBottom", "Align &Bottom", TAlignEdge::Bottom}};
    for (const auto& a : edges) {
        const TAlignEdge edge = a.edge;
        arrange->addAction(
            command(a.name, a.caption, {}, [edge](TDesignEditor& e) { e.AlignSelection(edge); }));
    }
    arrange->addSeparator();
    arrange->addAction(command("DesignDistributeHorizontally", "Distribute &Horizontally", {},
                               [](TDesignEditor& e) { e.DistributeSelection(TDistribution::Horizontal); }));
    arrange->addAction(command("DesignDistributeVertically", "Distribute &Vertically", {},
                               [](TDesignEditor& e) { e.DistributeSelection(TDistribution::Vertical); }));
    MenuButton(m_toolbar, "DesignAlign", "A&lign", arrange);
    m_toolbar->addSeparator();

    m_zoom = Named(new QSpinBox(m_toolbar), "DesignZoom", "Zoom");
    m_zoom->setRange(25, 800);
    m_zoom->setSingleStep(25);
    m_zoom->setSuffix(" %");
    m_zoom->setValue(100);
    m_toolbar->addWidget(m_zoom);
    m_grid = Named(new QCheckBox("&Grid", m_toolbar), "DesignGrid", "Grid");
    m_grid->setChecked(true);
    m_toolbar->addWidget(m_grid);
    m_gridSize = Named(new QDoubleSpinBox(m_toolbar), "DesignGridSize", "Grid size");
    m_gridSize->setRange(0.5, 20);
    m_gridSize->setSingleStep(0.5);
    m_gridSize->setDecimals(1);
    m_gridSize->setSuffix(" mm");
    m_gridSize->setValue(1);
    m_toolbar->addWidget(m_gridSize);
    m_snap = Named(new QCheckBox("&Snap", m_toolbar), "DesignSnap", "Snap");
    m_snap->setChecked(true);
    m_toolbar->addWidget(m_snap);

    // The buttons of the toolbar's commands carry the command's name and caption, and are reached
    // with Tab as well, so that the designer works without a mouse.
    for (QAction* action : m_toolbar->actions())
        if (QWidget* button = m_toolbar->widgetForAction(action); button && !action->objectName().isEmpty())
            Named(button, qPrintable(action->objectName() + "Button"), action->text());
    for (QToolButton* button : m_toolbar->findChildren<QToolButton*>()) button->setFocusPolicy(Qt::TabFocus);

    m_canvas = new TDesignCanvas(this);
    m_canvas->SetZoom(m_zoom->value() / 100.0);
    auto* canvasArea = new QScrollArea(this);
    canvasArea->setObjectName("DesignCanvas_Scroll");
    canvasArea->setWidget(m_canvas);
    canvasArea->setWidgetResizable(true);
    canvasArea->setMinimumSize(320, 240);

    auto* side = new QWidget(this);
    side->setObjectName("DesignSide");
    side->setMaximumWidth(300);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    m_objects = Named(new QListWidget(side), "DesignObjects", "Objects");
    m_objects->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_objects->setMaximumHeight(110);
    m_properties = new TDesignProperties(side);
    m_fields = Named(new DesignFieldList(side), "DesignFields", "Fields");
    m_fields->setMaximumHeight(110);
    const auto caption = [side](const QString& text, QWidget* buddy) {
        auto* label = new QLabel(text, side);
        label->setBuddy(buddy);
        return label;
    };
    m_row = Named(new QSpinBox(side), "DesignRow", "Row");
    m_rowCount = Named(new QLabel(side), "DesignRowCount", "Rows");
    auto* rowLine = new QHBoxLayout;
    rowLine->addWidget(caption("&Row", m_row));
    rowLine->addWidget(m_row, 1);
    rowLine->addWidget(m_rowCount);
    sideLayout->addWidget(caption("&Objects", m_objects));
    sideLayout->addWidget(m_objects);
    sideLayout->addWidget(m_properties);
    sideLayout->addWidget(caption("&Fields (drag onto the label, or Enter)", m_fields));
    sideLayout->addWidget(m_fields);
    sideLayout->addLayout(rowLine);
    sideLayout->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addWidget(canvasArea, 1);
    body->addWidget(side, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_toolbar);
    layout->addLayout(body, 1);

    connect(m_zoom, &QSpinBox::valueChanged, this,
            [this](int percent) { m_canvas->SetZoom(percent / 100.0); });
    connect(m_grid, &QCheckBox::toggled, m_canvas, &TDesignCanvas::SetGridShown);
    connect(m_gridSize, &QDoubleSpinBox::valueChanged, this, [this](double mm) {
        if (!m_editor) return;
        m_editor->Snapping().gridMm = mm;
        m_canvas->SetGridShown(m_grid->isChecked()); // the grid is drawn again at its new size
    });
    connect(m_snap, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_editor) return;
        m_editor->Snapping().toGrid = on;
        m_editor->Snapping().toObjects = on;
    });
    connect(m_objects, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_refreshing || !m_editor) return;
        std::vector<int> selected;
        for (const QModelIndex& index : m_objects->selectionModel()->selectedRows())
            selected.push_back(index.row());
        std::sort(selected.begin(), selected.end());
        m_editor->Select(selected);
    });
    connect(m_fields, &DesignFieldList::fieldChosen, this, [this](const QString& name) {
        if (!m_editor) return;
        m_editor->AddField(name.toStdString(), {2, 2});
    });
    connect(m_row, &QSpinBox::valueChanged, this, [this](int row) {
        if (!m_refreshing && m_editor) m_editor->SetPreviewRow(row);
    });
    SetDocument(nullptr);
}

DesignPage::~DesignPage() = default;

QAction* DesignPage::AddAction(const char* name, const QString& caption, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    // The page's shortcuts work while the focus is on the page, so the other tabs keep theirs.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    return action;
}

QAction* DesignPage::Action(const char* name) const {
    return findChild<QAction*>(name);
}

void DesignPage::SetDocument(TLabelDocument* doc) {
    if (m_doc == doc && (m_editor || !doc)) return;
    m_canvas->SetEditor(nullptr);
    m_properties->SetEditor(nullptr);
    delete m_editor;
    m_editor = nullptr;
    m_doc = doc;
    if (doc) {
        m_editor = new TDesignEditor(*doc, this);
        m_editor->Snapping().gridMm = m_gridSize->value();
        m_editor->Snapping().toGrid = m_editor->Snapping().toObjects = m_snap->isChecked();
        connect(m_editor, &TDesignEditor::designChanged, this, &DesignPage::RefreshObjects);
        connect(m_editor, &TDesignEditor::selectionChanged, this, &DesignPage::RefreshObjects);
        connect(m_editor, &TDesignEditor::previewRowChanged, this, &DesignPage::RefreshRows);
        connect(doc, &TLabelDocument::fieldListChanged, this, &DesignPage::RefreshFields);
        connect(doc, &TLabelDocument::projectChanged, this, &DesignPage::RefreshFields);
    }
    m_canvas->SetEditor(m_editor);
    m_properties->SetEditor(m_editor);
    RefreshObjects();
    RefreshFields();
}

void DesignPage::RefreshObjects() {
    m_refreshing = true;
    const TLabelDesign* design = m_editor ? m_editor->Design() : nullptr;
    const int count = design ? static_cast<int>(design->objects.size()) : 0;
    while (m_objects->count() > count) delete m_objects->takeItem(m_objects->count() - 1);
    for (int i = 0; i < count; ++i) {
        const QString text = ObjectText(design->objects[static_cast<size_t>(i)], i);
        if (i < m_objects->count()) {
            if (m_objects->item(i)->text() != text) m_objects->item(i)->setText(text);
        } else {
            m_objects->addItem(text);
        }
    }
    for (int i = 0; i < count; ++i) {
        const auto& selection = m_editor->Selection();
        m_objects->item(i)->setSelected(std::find(selection.begin(), selection.end(), i) != selection.end());
    }
    m_refreshing = false;
    UpdateEnabled();
}

void DesignPage::RefreshFields() {
    m_fields->clear();
    if (!m_editor) return;
    for (const std::string& name : m_editor->FieldNames()) m_fields->addItem(Utf8ToQ(name));
    RefreshRows();
}

void DesignPage::RefreshRows() {
    m_refreshing = true;
    const int rows = m_editor ? m_editor->PreviewRowCount() : 0;
    m_row->setRange(1, std::max(1, rows));
    if (m_editor) m_row->setValue(m_editor->PreviewRow());
    m_rowCount->setText(QString("of %1").arg(rows));
    m_refreshing = false;
}

void DesignPage::UpdateEnabled() {
    const bool design = m_editor && m_editor->Design();
    const size_t selected = m_editor ? m_editor->Selection().size() : 0;
    Action("DesignConvert")->setVisible(m_editor && !design);
    for (const char* name : {"DesignDelete", "DesignDuplicate", "DesignCopy", "DesignToFront", "DesignToBack",
                             "DesignAlignLeft", "DesignAlignCentre", "DesignAlignRight", "DesignAlignTop",
                             "DesignAlignMiddle", "DesignAlignBottom"})
        Action(name)->setEnabled(selected > 0);
    Action("DesignDistributeHorizontally")->setEnabled(selected > 2);
    Action("DesignDistributeVertically")->setEnabled(selected > 2);
    Action("DesignPaste")->setEnabled(m_editor && m_editor->CanPaste());
    Action("DesignSelectAll")->setEnabled(design);
    for (const char* name : {"DesignAddText", "DesignAddBarcode", "DesignAddPicture", "DesignAddLine",
                             "DesignAddRect", "DesignAddEllipse", "DesignConvert"})
        Action(name)->setEnabled(m_editor != nullptr);
}

} // namespace qbm
