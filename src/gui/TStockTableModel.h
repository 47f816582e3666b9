#pragma once
// The label stock database as a table for the stock picker, and the filter that keeps the rows
// holding every typed word.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <string>

namespace qbm {

class TStockDatabase;
struct TStock;

class TStockTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { scBrand, scPart, scDescription, scPaper, scLabel, scGrid, scCount };

    explicit TStockTableModel(const TStockDatabase& db, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const TStockDatabase& Database() const { return m_db; }
    const TStock& Stock(int row) const;

private:
    const TStockDatabase& m_db;
};

// Keeps the stocks whose brand, part, description, paper, label size or grid hold every word typed.
class TStockFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TStockFilter(TStockTableModel& model, QObject* parent = nullptr);
    void SetSearch(const QString& words);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    TStockTableModel& m_model;
    std::string m_words;
};

} // namespace qbm
