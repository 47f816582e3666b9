#pragma once
// The "Label Design" tab: the label canvas with its toolbar (add objects, arrange, zoom, grid and
// snapping), the list of objects, the properties panel, the datasheet's fields to drag onto the label
// and the row whose values the label shows. A view of the design editor.

#include <QWidget>

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QSpinBox;
class QToolBar;

namespace qbm {

class DesignFieldList;
class TDesignCanvas;
class TDesignEditor;
class TDesignProperties;
class TLabelDocument;

class DesignPage : public QWidget {
    Q_OBJECT

public:
    explicit DesignPage(QWidget* parent = nullptr);
    ~DesignPage() override;

    void SetDocument(TLabelDocument* doc);
    TDesignEditor* Editor() const { return m_editor; }
    TDesignCanvas* Canvas() const { return m_canvas; }
    // The page's commands by their object names ("DesignAddText", "DesignAlignLeft" ...).
    QAction* Action(const char* name) const;

private:
    QAction* AddAction(const char* name, const QString& caption, const QKeySequence& shortcut = {});
    void RefreshObjects();
    void RefreshFields();
    void RefreshRows();
    void UpdateEnabled();

    TDesignEditor* m_editor = nullptr;
    TLabelDocument* m_doc = nullptr;
    QToolBar* m_toolbar = nullptr;
    TDesignCanvas* m_canvas = nullptr;
    QListWidget* m_objects = nullptr;
    TDesignProperties* m_properties = nullptr;
    DesignFieldList* m_fields = nullptr;
    QSpinBox* m_row = nullptr;
    QLabel* m_rowCount = nullptr;
    QSpinBox* m_zoom = nullptr;
    QCheckBox* m_grid = nullptr;
    QCheckBox* m_snap = nullptr;
    QDoubleSpinBox* m_gridSize = nullptr;
    bool m_refreshing = false;
};

} // namespace qbm
