#include "gui/DesignFieldList.h"

#include "gui/TDesignCanvas.h"

#include <QKeyEvent>
#include <QMimeData>

namespace qbm {

DesignFieldList::DesignFieldList(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { emit fieldChosen(item->text()); });
}

QStringList DesignFieldList::mimeTypes() const {
    return {TDesignCanvas::kFieldMime, "text/plain"};
}

QMimeData* DesignFieldList::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(TDesignCanvas::kFieldMime, items.front()->text().toUtf8());
    // Dropped into any text field elsewhere, it is the merge field itself.
    data->setText("{" + items.front()->text() + "}");
    return data;
}

void DesignFieldList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        emit fieldChosen(currentItem()->text());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace qbm
