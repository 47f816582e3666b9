#include "gui/TStockSheetView.h"

#include "stock/TStock.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace qbm {

TStockSheetView::TStockSheetView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(150, 190);
}

void TStockSheetView::SetStock(const TStock* stock) {
    m_stock = stock;
    update();
}

void TStockSheetView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!m_stock || !m_stock->IsSheet() || m_stock->pageWidth <= 0 || m_stock->pageHeight <= 0) return;
    p.setRenderHint(QPainter::Antialiasing);
    const TStock& s = *m_stock;
    // The sheet as large as the view allows, with room for its shadow.
    const double scale = std::min((width() - 12) / s.pageWidth, (height() - 12) / s.pageHeight);
    const QRectF sheet((width() - s.pageWidth * scale) / 2, (height() - s.pageHeight * scale) / 2,
                       s.pageWidth * scale, s.pageHeight * scale);
    p.fillRect(sheet.translated(3, 3), palette().shadow());
    p.fillRect(sheet, Qt::white);
    p.setPen(QPen(QColor(128, 128, 128), 1));
    p.drawRect(sheet);

    p.setPen(QPen(QColor(60, 110, 180), 1));
    p.setBrush(QColor(225, 235, 250));
    const double radius = s.cornerRadius * scale;
    for (const TStockLayout& l : s.layouts)
        for (int row = 0; row < l.ny; ++row)
            for (int col = 0; col < l.nx; ++col) {
                const QRectF label(sheet.left() + (l.x0 + col * l.dx) * scale,
                                   sheet.top() + (l.y0 + row * l.dy) * scale, s.labelWidth * scale,
                                   s.labelHeight * scale);
                p.drawRoundedRect(label, radius, radius);
            }
}

} // namespace qbm
