#pragma once
// The datasheet seen through Qt's item model: model row i is data row i + 1, model column j is data
// column j + 1; the header row gives the column titles and the row numbers are the vertical header.
// Cells are read from the sheet when the view asks for them, so only the rows on screen are touched.

#include <QAbstractTableModel>

namespace qbm {

class TDatasheet;
class TDatasheetHistory;

class TDatasheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TDatasheetModel(QObject* parent = nullptr);

    void SetDatasheet(TDatasheet* sheet, TDatasheetHistory* history);
    TDatasheet* Datasheet() const { return m_sheet; }
    // After a command changed the table's shape or cells.
    void Reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Typing into a cell: one undo step in the history, and CellEdited; a refused text leaves the
    // cell as it was and gives EditRefused with the reason.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Dragging: moves the sheet's row or column (model indices) as one undo step.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);

signals:
    void CellEdited();
    void EditRefused(const QString& message);

private:
    TDatasheet* m_sheet = nullptr;
    TDatasheetHistory* m_history = nullptr;
};

} // namespace qbm
