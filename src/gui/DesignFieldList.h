#pragma once
// The datasheet's fields on the "Label Design" tab: each item drags onto the label as a text object
// "{Name}"; Enter adds it without the mouse.

#include <QListWidget>

namespace qbm {

class DesignFieldList : public QListWidget {
    Q_OBJECT

public:
    explicit DesignFieldList(QWidget* parent = nullptr);

signals:
    void fieldChosen(const QString& name);

protected:
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace qbm
