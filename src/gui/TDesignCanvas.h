#pragma once
// The label of the "Label Design" tab at true proportions: rulers in millimetres, the grid, the
// objects drawn as they print (with the live values of the chosen datasheet row), the selection with
// its handles. Mouse and keys become the design editor's edits; the canvas changes nothing itself.

#include "app/TDesignEditor.h"

#include <QImage>
#include <QWidget>

#include <optional>

namespace qbm {

class TDesignCanvas : public QWidget {
    Q_OBJECT

public:
    // The MIME type of a datasheet field dragged from the field list; the data is its name (UTF-8).
    static constexpr const char* kFieldMime = "application/x-qbm-design-field";

    explicit TDesignCanvas(QWidget* parent = nullptr);

    void SetEditor(TDesignEditor* editor);
    // Screen pixels per millimetre of label at 100 %.
    double Zoom() const { return m_zoom; }
    void SetZoom(double zoom);
    void SetGridShown(bool shown);

    // Where a label position shows in the widget, and back.
    QPointF ToWidget(TPointMm at) const;
    TPointMm ToLabel(QPointF at) const;
    // The label drawn as the last paint showed it (tests and the drag benchmark read it).
    const QImage& LabelImage() const { return m_label; }
    // Draws the label picture again now, as a paint after a change does.
    void RenderLabel();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class TDrag { None, Move, Resize, Band };
    double PixelsPerMm() const;
    QRectF WidgetBox(const TBoxMm& box) const;
    // The handle of the current object under a point: 0..7 clockwise from the top-left corner, -1.
    int HandleAt(QPointF at) const;
    // The design as the view shows it now: a drag in progress moves or resizes its objects.
    TLabelDesign ShownDesign() const;
    void DrawGrid();
    void DrawRulers(QPainter& painter) const;
    void Changed();

    TDesignEditor* m_editor = nullptr;
    double m_zoom = 1;
    bool m_gridShown = true;
    bool m_dirty = true;
    QImage m_label;

    TDrag m_drag = TDrag::None;
    QPointF m_pressAt;
    TSnappedMove m_move;
    int m_handle = -1;
    TBoxMm m_resized;
    QRectF m_band;
};

} // namespace qbm
