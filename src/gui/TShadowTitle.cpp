#include "gui/TShadowTitle.h"

#include <QPainter>

namespace qbm {

TShadowTitle::TShadowTitle(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(19);
    f.setBold(true);
    f.setItalic(true);
    setFont(f);
    setAccessibleName(text);
}

QSize TShadowTitle::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(m_text) + 8, fontMetrics().height() + 4);
}

void TShadowTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const int baseline = (height() + fontMetrics().ascent() - fontMetrics().descent()) / 2;
    painter.setPen(Qt::white);
    painter.drawText(4 - 2, baseline, m_text);
    painter.setPen(palette().windowText().color());
    painter.drawText(4, baseline, m_text);
}

} // namespace qbm
