#pragma once
// The datasheet's row-number column: the numbers right-aligned with a right inset of the width of
// the digit "2" in the grid's font, the header cell blank. Rows are dragged by their numbers.

#include <QHeaderView>

namespace qbm {

class TRowNumberHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TRowNumberHeader(QWidget* parent = nullptr);
    // Where the number of a section of `width` pixels is drawn.
    QRect NumberRect(const QRect& section) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sizeHint() const override;
};

} // namespace qbm
