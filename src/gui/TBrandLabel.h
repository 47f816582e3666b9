#pragma once
// The product name the editors carry as decoration: bold italic Arial, a white copy over one in the
// window-text colour, two pixels apart, so it reads as embossed.

#include <QWidget>

class QLabel;

namespace qbm {

class TBrandLabel : public QWidget {
    Q_OBJECT
public:
    explicit TBrandLabel(QWidget* parent = nullptr);
    QSize sizeHint() const override;

private:
    QLabel* m_back;
    QLabel* m_front;
};

} // namespace qbm
