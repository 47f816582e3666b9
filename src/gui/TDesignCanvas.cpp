#include "gui/TDesignCanvas.h"

#include "gui/EditorSupport.h"
#include "output/TDesignPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"

#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace qbm {

namespace {

// Room for the rulers along the top and left edges, and around the label.
constexpr int kRuler = 22;
constexpr int kMargin = 12;
constexpr int kHandle = 7;

const QColor kSelection(0, 120, 215);
const QColor kGuide(230, 0, 120);

} // namespace

TDesignCanvas::TDesignCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("DesignCanvas");
    setAccessibleName("Label");
    setAccessibleDescription(
        "The label design. Arrow keys move the selection (Shift: 1 mm), Delete removes it.");
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(false);
}

void TDesignCanvas::SetEditor(TDesignEditor* editor) {
    if (m_editor) disconnect(m_editor, nullptr, this, nullptr);
    m_editor = editor;
    if (editor) {
        connect(editor, &TDesignEditor::designChanged, this, &TDesignCanvas::Changed);
        connect(editor, &TDesignEditor::previewRowChanged, this, &TDesignCanvas::Changed);
        connect(editor, &TDesignEditor::selectionChanged, this, qOverload<>(&QWidget::update));
    }
    Changed();
}

void TDesignCanvas::Changed() {
    m_dirty = true;
    updateGeometry();
    update();
}

void TDesignCanvas::SetZoom(double zoom) {
    zoom = std::clamp(zoom, 0.25, 8.0);
    if (zoom == m_zoom) return;
    m_zoom = zoom;
    Changed();
}

void TDesignCanvas::SetGridShown(bool shown) {
    m_gridShown = shown;
    Changed();
}

double TDesignCanvas::PixelsPerMm() const {
    // True proportions: a millimetre of label is a millimetre of screen at 100 %.
    return m_zoom * logicalDpiX() / 25.4;
}

QSize TDesignCanvas::sizeHint() const {
    if (!m_editor) return {400, 300};
    const TLabelSizeMm label = m_editor->LabelSize();
    return {kRuler + 2 * kMargin + static_cast<int>(std::ceil(label.width * PixelsPerMm())),
            kRuler + 2 * kMargin + static_cast<int>(std::ceil(label.height * PixelsPerMm()))};
}

QPointF TDesignCanvas::ToWidget(TPointMm at) const {
    return {kRuler + kMargin + at.x * PixelsPerMm(), kRuler + kMargin + at.y * PixelsPerMm()};
}

TPointMm TDesignCanvas::ToLabel(QPointF at) const {
    return {(at.x() - kRuler - kMargin) / PixelsPerMm(), (at.y() - kRuler - kMargin) / PixelsPerMm()};
}

QRectF TDesignCanvas::WidgetBox(const TBoxMm& box) const {
    return QRectF(ToWidget({box.x, box.y}), ToWidget({box.Right(), box.Bottom()})).normalized();
}

TLabelDesign TDesignCanvas::ShownDesign() const {
    TLabelDesign design = m_editor->ShownDesign();
    if (!m_editor->Design()) return design;
    if (m_drag == TDrag::Move)
        for (const int i : m_editor->Selection()) {
            design.objects[static_cast<size_t>(i)].xMm += m_move.dx;
            design.objects[static_cast<size_t>(i)].yMm += m_move.dy;
        }
    if (m_drag == TDrag::Resize && m_editor->Current() >= 0)
        SetCoveredBox(design.objects[static_cast<size_t>(m_editor->Current())], m_resized);
    return design;
}

void TDesignCanvas::RenderLabel() {
    m_dirty = false;
    if (!m_editor) return;
    const TLabelSizeMm size = m_editor->LabelSize();
    // Drawn in the screen's own pixels, so that a scaled desktop shows the label sharp.
    const double ppm = PixelsPerMm() * devicePixelRatioF();
    const int dpi = std::max(1, static_cast<int>(std::lround(ppm * 25.4)));
    const int w = std::max(1, static_cast<int>(std::lround(size.width * ppm)));
    const int h = std::max(1, static_cast<int>(std::lround(size.height * ppm)));
    TBitmap bitmap(w, h);
    bitmap.SetResolution(dpi);
    const TLabelDesign design = ShownDesign();
    const TMergeValues values = m_editor->PreviewValues();
    try {
        TDesignPainter(design, dpi, dpi).Draw(bitmap.Canvas(), {0, 0}, values);
    } catch (const std::exception&) {
        // One object that cannot draw (a value its symbology refuses, a damaged picture) must not hide
        // the others: each is drawn on its own, and the one that fails shows as a marked box.
        bitmap = TBitmap(w, h);
        bitmap.SetResolution(dpi);
        for (const TDesignObject& object : design.objects) {
            const TLabelDesign one{{object}};
            try {
                TDesignPainter(one, dpi, dpi).Draw(bitmap.Canvas(), {0, 0}, values);
            } catch (const std::exception&) {
                const TBoxMm b = CoveredBox(object);
                TCanvas& c = bitmap.Canvas();
                c.Pen() = TPen{RGBColor(200, 0, 0), 1, TPenStyle::psSolid};
                c.Brush() = TBrush{RGBColor(255, 224, 224), TBrushStyle::bsSolid};
                c.Rectangle(static_cast<int>(b.x * ppm), static_cast<int>(b.y * ppm),
                            static_cast<int>(b.Right() * ppm) + 1, static_cast<int>(b.Bottom() * ppm) + 1);
            }
        }
    }
    m_label = ToQImage(bitmap);
    m_label.setDevicePixelRatio(devicePixelRatioF());
    DrawGrid();
}

void TDesignCanvas::DrawGrid() {
    const double grid = m_editor->Snapping().gridMm;
    if (!m_gridShown || grid <= 0 || m_label.isNull()) return;
    // The lines darken the label's own pixels directly: painted with a translucent pen (onto the
    // widget or into this picture) they took most of a 60 frames a second drag's time.
    if (m_label.format() != QImage::Format_RGB32 && m_label.format() != QImage::Format_ARGB32)
        m_label = m_label.convertToFormat(QImage::Format_RGB32);
    const TLabelSizeMm size = m_editor->LabelSize();
    const double ppm = PixelsPerMm() * m_label.devicePixelRatio();
    // Grid lines closer than 4 pixels would hide the label: every n-th one is shown then.
    const double shown = grid * std::ceil(4 / (grid * ppm));
    const auto darken = [](QRgb& pixel) {
        pixel = qRgba(qRed(pixel) * 27 / 32, qGreen(pixel) * 27 / 32, qBlue(pixel) * 27 / 32, qAlpha(pixel));
    };
    const int w = m_label.width(), h = m_label.height();
    std::vector<int> columns;
    for (double x = shown; x < size.width; x += shown) {
        const int c = static_cast<int>(std::lround(x * ppm));
        if (c < w) columns.push_back(c);
    }
    std::vector<bool> gridRow(static_cast<size_t>(h), false);
    for (double y = shown; y < size.height; y += shown) {
        const int r = static_cast<int>(std::lround(y * ppm));
        if (r < h) gridRow[static_cast<size_t>(r)] = true;
    }
    for (int r = 0; r < h; ++r) {
        auto* line = reinterpret_cast<QRgb*>(m_label.scanLine(r));
        if (gridRow[static_cast<size_t>(r)]) {
            for (int c = 0; c < w; ++c) darken(line[c]);
        } else {
            for (const int c : columns) darken(line[c]);
        }
    }
}

void TDesignCanvas::DrawRulers(QPainter& p) const {
    const TLabelSizeMm size = m_editor->LabelSize();
    const double ppm = PixelsPerMm();
    p.fillRect(0, 0, width(), kRuler, palette().window());
    p.fillRect(0, 0, kRuler, height(), palette().window());
    p.setPen(palette().windowText().color());
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    p.setFont(small);
    // Marks every millimetre when they are far enough apart, longer ones every 5 and numbers every 10.
    const int step = ppm >= 3 ? 1 : ppm >= 1 ? 5 : 10;
    const QPointF origin = ToWidget({0, 0});
    for (int mm = 0; mm <= static_cast<int>(size.width); mm += step) {
        const double x = origin.x() + mm * ppm;
        const int len = mm % 10 == 0 ? 10 : mm % 5 == 0 ? 6 : 3;
        p.drawLine(QPointF(x, kRuler - len), QPointF(x, kRuler));
        if (mm % 10 == 0) p.drawText(QPointF(x + 2, 9), QString::number(mm));
    }
    for (int mm = 0; mm <= static_cast<int>(size.height); mm += step) {
        const double y = origin.y() + mm * ppm;
        const int len = mm % 10 == 0 ? 10 : mm % 5 == 0 ? 6 : 3;
        p.drawLine(QPointF(kRuler - len, y), QPointF(kRuler, y));
        if (mm % 10 == 0) p.drawText(QPointF(1, y + 10), QString::number(mm));
    }
    p.drawText(QRectF(0, 0, kRuler, kRuler), Qt::AlignCenter, "mm");
}

void TDesignCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().dark());
    if (!m_editor) return;
    if (m_dirty || m_drag == TDrag::Move || m_drag == TDrag::Resize) RenderLabel();
    const TLabelSizeMm size = m_editor->LabelSize();
    const QRectF label = WidgetBox({0, 0, size.width, size.height});
    p.drawImage(label.topLeft(), m_label);
    p.setPen(Qt::black);
    p.drawRect(label);

    if (m_editor->Design()) {
        const TLabelDesign shown = ShownDesign();
        p.setBrush(Qt::NoBrush);
        for (const int i : m_editor->Selection()) {
            const QRectF box = WidgetBox(CoveredBox(shown.objects[static_cast<size_t>(i)]));
            p.setPen(QPen(kSelection, 1, Qt::DashLine));
            p.drawRect(box);
        }
        if (m_editor->Selection().size() == 1) {
            const QRectF box = WidgetBox(CoveredBox(shown.objects[static_cast<size_t>(m_editor->Current())]));
            p.setPen(kSelection);
            p.setBrush(Qt::white);
            const QPointF points[] = {box.topLeft(),     {box.center().x(), box.top()},
                                      box.topRight(),    {box.right(), box.center().y()},
                                      box.bottomRight(), {box.center().x(), box.bottom()},
                                      box.bottomLeft(),  {box.left(), box.center().y()}};
            for (const QPointF& at : points)
                p.drawRect(QRectF(at.x() - kHandle / 2.0, at.y() - kHandle / 2.0, kHandle, kHandle));
        }
        if (m_drag == TDrag::Move) {
            p.setPen(QPen(kGuide, 1, Qt::DashLine));
            if (m_move.guideX) {
                const double x = ToWidget({*m_move.guideX, 0}).x();
                p.drawLine(QPointF(x, label.top() - kMargin), QPointF(x, label.bottom() + kMargin));
            }
            if (m_move.guideY) {
                const double y = ToWidget({0, *m_move.guideY}).y();
                p.drawLine(QPointF(label.left() - kMargin, y), QPointF(label.right() + kMargin, y));
            }
        }
        if (m_drag == TDrag::Band) {
            p.setPen(QPen(kSelection, 1, Qt::DotLine));
            p.setBrush(QColor(0, 120, 215, 30));
            p.drawRect(m_band);
        }
    }
    DrawRulers(p);
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

int TDesignCanvas::HandleAt(QPointF at) const {
    if (!m_editor || m_editor->Selection().size() != 1 || !m_editor->Design()) return -1;
    const QRectF box =
        WidgetBox(CoveredBox(m_editor->Design()->objects[static_cast<size_t>(m_editor->Current())]));
    const QPointF points[] = {box.topLeft(),     {box.center().x(), box.top()},
                              box.topRight(),    {box.right(), box.center().y()},
                              box.bottomRight(), {box.center().x(), box.bottom()},
                              box.bottomLeft(),  {box.left(), box.center().y()}};
    for (int h = 0; h < 8; ++h)
        if (std::abs(points[h].x() - at.x()) <= kHandle && std::abs(points[h].y() - at.y()) <= kHandle)
            return h;
    return -1;
}

void TDesignCanvas::mousePressEvent(QMouseEvent* event) {
    if (!m_editor || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    m_pressAt = event->position();
    m_move = {};
    if (!m_editor->Design()) return;
    m_handle = HandleAt(m_pressAt);
    if (m_handle >= 0) {
        m_drag = TDrag::Resize;
        m_resized = CoveredBox(m_editor->Design()->objects[static_cast<size_t>(m_editor->Current())]);
        return;
    }
    const int hit = m_editor->ObjectAt(ToLabel(m_pressAt));
    const bool adding = event->modifiers().testAnyFlags(Qt::ShiftModifier | Qt::ControlModifier);
    std::vector<int> selection = m_editor->Selection();
    const bool selected = std::find(selection.begin(), selection.end(), hit) != selection.end();
    if (hit < 0) {
        if (!adding) m_editor->Select({});
        m_drag = TDrag::Band;
        m_band = QRectF(m_pressAt, m_pressAt);
        return;
    }
    if (adding) {
        if (selected)
            std::erase(selection, hit);
        else
            selection.push_back(hit);
        m_editor->Select(selection);
        m_drag = TDrag::None;
        return;
    }
    if (!selected) m_editor->Select({hit});
    m_drag = TDrag::Move;
}

void TDesignCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!m_editor || m_drag == TDrag::None) return;
    // An undo during the drag may have taken the dragged objects away.
    if (m_drag != TDrag::Band && (!m_editor->Design() || m_editor->Selection().empty())) {
        m_drag = TDrag::None;
        return;
    }
    const QPointF at = event->position();
    const double ppm = PixelsPerMm();
    const double dx = (at.x() - m_pressAt.x()) / ppm, dy = (at.y() - m_pressAt.y()) / ppm;
    if (m_drag == TDrag::Move) {
        m_move = m_editor->SnapSelectionMove(dx, dy);
    } else if (m_drag == TDrag::Resize) {
        TBoxMm box = CoveredBox(m_editor->Design()->objects[static_cast<size_t>(m_editor->Current())]);
        const bool left = m_handle == 0 || m_handle == 6 || m_handle == 7;
        const bool right = m_handle >= 2 && m_handle <= 4;
        const bool top = m_handle <= 2;
        const bool bottom = m_handle >= 4 && m_handle <= 6;
        if (left) {
            box.x += dx;
            box.w -= dx;
        }
        if (right) box.w += dx;
        if (top) {
            box.y += dy;
            box.h -= dy;
        }
        if (bottom) box.h += dy;
        m_resized = m_editor->SnapResize(m_editor->Current(), box, left, top, right, bottom);
        // A box dragged past its opposite edge stays at no size rather than turning inside out.
        m_resized.w = std::max(0.0, m_resized.w);
        m_resized.h = std::max(0.0, m_resized.h);
    } else {
        m_band = QRectF(m_pressAt, at).normalized();
    }
    update();
}

void TDesignCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_editor || event->button() != Qt::LeftButton) return;
    TDrag drag = m_drag;
    m_drag = TDrag::None;
    if (drag != TDrag::Band && (!m_editor->Design() || m_editor->Selection().empty())) drag = TDrag::None;
    if (drag == TDrag::Move && (m_move.dx != 0 || m_move.dy != 0)) {
        m_editor->MoveSelection(m_move.dx, m_move.dy);
    } else if (drag == TDrag::Resize) {
        m_editor->ResizeObject(m_editor->Current(), m_resized);
    } else if (drag == TDrag::Band && m_band.width() > 2 && m_band.height() > 2) {
        const TPointMm a = ToLabel(m_band.topLeft()), b = ToLabel(m_band.bottomRight());
        std::vector<int> selection =
            event->modifiers().testFlag(Qt::ShiftModifier) ? m_editor->Selection() : std::vector<int>{};
        for (const int i : m_editor->ObjectsInside({a.x, a.y, b.x - a.x, b.y - a.y})) selection.push_back(i);
        m_editor->Select(selection);
    }
    m_move = {};
    Changed();
}

void TDesignCanvas::keyPressEvent(QKeyEvent* event) {
    if (!m_editor) return QWidget::keyPressEvent(event);
    const double step = event->modifiers().testFlag(Qt::ShiftModifier) ? 1.0 : 0.1;
    switch (event->key()) {
    case Qt::Key_Left:
        m_editor->NudgeSelection(-step, 0);
        break;
    case Qt::Key_Right:
        m_editor->NudgeSelection(step, 0);
        break;
    case Qt::Key_Up:
        m_editor->NudgeSelection(0, -step);
        break;
    case Qt::Key_Down:
        m_editor->NudgeSelection(0, step);
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        m_editor->DeleteSelection();
        break;
    case Qt::Key_Escape:
        m_editor->Select({});
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    event->accept();
}

void TDesignCanvas::dragEnterEvent(QDragEnterEvent* event) {
    if (m_editor && event->mimeData()->hasFormat(kFieldMime)) event->acceptProposedAction();
}

void TDesignCanvas::dragMoveEvent(QDragMoveEvent* event) {
    if (m_editor && event->mimeData()->hasFormat(kFieldMime)) event->acceptProposedAction();
}

void TDesignCanvas::dropEvent(QDropEvent* event) {
    if (!m_editor || !event->mimeData()->hasFormat(kFieldMime)) return;
    const QString name = QString::fromUtf8(event->mimeData()->data(kFieldMime));
    TPointMm at = ToLabel(event->position());
    const TSnapSettings grid{m_editor->Snapping().gridMm, m_editor->Snapping().toGrid, false, 0};
    at = {SnapCoordinate(at.x, {}, grid).value, SnapCoordinate(at.y, {}, grid).value};
    m_editor->AddField(name.toStdString(), at);
    event->acceptProposedAction();
    setFocus(Qt::OtherFocusReason);
}

} // namespace qbm
