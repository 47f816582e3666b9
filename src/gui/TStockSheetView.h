#pragma once
// A small drawing of a label sheet: the paper and every label of the stock where it sits.

#include <QWidget>

#include <optional>

namespace qbm {

struct TStock;

class TStockSheetView : public QWidget {
    Q_OBJECT
public:
    explicit TStockSheetView(QWidget* parent = nullptr);
    // Draws this stock; null draws nothing. The stock must outlive the view's use of it.
    void SetStock(const TStock* stock);
    QSize sizeHint() const override { return {190, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TStock* m_stock = nullptr;
};

} // namespace qbm
