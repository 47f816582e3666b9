#include "gui/TBrandLabel.h"

#include <QLabel>

namespace qbm {
namespace {

constexpr int kOffset = 2;

QLabel* MakeLabel(QWidget* parent, const QColor& color, const char* name) {
    auto* label = new QLabel("Quirbel Barcode Maker!", parent);
    label->setObjectName(name);
    QFont font("Arial", 14);
    font.setBold(true);
    font.setItalic(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

} // namespace

TBrandLabel::TBrandLabel(QWidget* parent) : QWidget(parent) {
    m_back = MakeLabel(this, palette().color(QPalette::WindowText), "Label_BrandShadow");
    m_front = MakeLabel(this, Qt::white, "Label_Brand");
    m_back->move(kOffset, kOffset);
    m_front->move(0, 0);
    m_front->raise();
    setAccessibleName("Quirbel Barcode Maker!");
    setFixedSize(sizeHint());
}

QSize TBrandLabel::sizeHint() const {
    return m_front->sizeHint() + QSize(kOffset, kOffset);
}

} // namespace qbm
