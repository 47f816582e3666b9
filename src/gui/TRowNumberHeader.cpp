#include "gui/TRowNumberHeader.h"

#include "data/TDatasheet.h"

#include <QPainter>

namespace qbm {

TRowNumberHeader::TRowNumberHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setDefaultSectionSize(TDatasheet::kDefaultRowHeight);
    setMinimumWidth(TDatasheet::kRowNumberColumnWidth);
    setSectionsMovable(true);
    setHighlightSections(true);
}

QSize TRowNumberHeader::sizeHint() const {
    // One fixed width, not one measured over a million numbers.
    return QSize(TDatasheet::kRowNumberColumnWidth, TDatasheet::kDefaultRowHeight);
}

QRect TRowNumberHeader::NumberRect(const QRect& section) const {
    const int inset = fontMetrics().horizontalAdvance(QLatin1Char('2'));
    return section.adjusted(0, 0, -inset, 0);
}

void TRowNumberHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(QColor(Qt::lightGray));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->setPen(palette().buttonText().color());
    // The number shown is the place of the row, whatever order the rows were dragged into.
    painter->drawText(NumberRect(rect), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                      QString::number(visualIndex(logicalIndex) + 1));
    painter->restore();
}

} // namespace qbm
