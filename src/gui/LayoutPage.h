#pragma once
// The "Print Layout" tab: rows, columns, the four margins, split marks, the printer setting, the
// label stock, and the warning of labels that do not fit their cells with "Fit to label".

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
    void RefreshWarning();

    TLabelDocument* m_doc = nullptr;
    QSpinBox* m_rows;
    QSpinBox* m_columns;
    QSpinBox* m_margins[4];
    QCheckBox* m_splitMarks;
    QPushButton* m_printer;
    QPushButton* m_stock;
    QLabel* m_stockName;
    QPushButton* m_fit;
    QLabel* m_warning;
};

} // namespace qbm
