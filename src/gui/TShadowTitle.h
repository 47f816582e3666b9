#pragma once
// The product title at the bottom of the datasheet window: bold italic Arial drawn twice, in white two
// pixels to the left and then in the window text colour, for a shadow.

#include <QWidget>

namespace qbm {

class TShadowTitle : public QWidget {
    Q_OBJECT
public:
    explicit TShadowTitle(const QString& text, QWidget* parent = nullptr);
    QString Text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

} // namespace qbm
