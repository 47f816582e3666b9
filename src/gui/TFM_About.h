#pragma once
// The about box: the product picture with its version; a click closes it, the web address opens the
// maker's site.

#include <QDialog>

namespace qbm {

class TFM_About : public QDialog {
    Q_OBJECT
public:
    explicit TFM_About(QWidget* parent = nullptr);

signals:
    void webAddressClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qbm
