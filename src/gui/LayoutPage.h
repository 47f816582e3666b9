#pragma once
// The "Print Layout" tab: rows, columns, the four margins, split marks and the printer setting.

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qbm {

class TLabelDocument;
enum class TMarginSide;

class LayoutPage : public QWidget {
    Q_OBJECT
public:
    explicit LayoutPage(QWidget* parent = nullptr);
    void SetDocument(TLabelDocument* doc);

    QSpinBox* Rows() const { return m_rows; }
    QSpinBox* Columns() const { return m_columns; }
    QSpinBox* Margin(TMarginSide side) const;

signals:
    void printerSetupRequested();
    void labelStockRequested();

private:
    void RefreshValues();

    TLabelDocument* m_doc = nullptr;
    QSpinBox* m_rows;
    QSpinBox* m_columns;
    QSpinBox* m_margins[4];
    QCheckBox* m_splitMarks;
    QPushButton* m_printer;
    QPushButton* m_stock;
    QLabel* m_stockName;
};

} // namespace qbm
