#pragma once
// The label stock picker: a list of ready-made label sheets filtered as the user types, a drawing
// of the chosen sheet, and what the page grid takes from it (or why it cannot).

#include "stock/StockGrid.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace qbm {

class TStockDatabase;
class TStockFilter;
class TStockSheetView;
class TStockTableModel;
struct TStock;

class TFM_Stock : public QDialog {
    Q_OBJECT
public:
    // The database must outlive the dialog. `current` names the project's stock ("Avery 5160"),
    // selected when the list opens.
    TFM_Stock(const TStockDatabase& db, const std::string& current, QWidget* parent = nullptr);
    ~TFM_Stock() override;

    // The grid of the stock chosen with OK.
    const std::optional<TStockGrid>& Chosen() const { return m_chosen; }

    QLineEdit* Search() const { return m_search; }
    QTableView* List() const { return m_list; }
    QLabel* Info() const { return m_info; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void SelectionChanged();
    const TStock* Selected() const;
    void Accept();

    const TStockDatabase& m_db;
    TStockTableModel* m_model;
    TStockFilter* m_filter;
    QLineEdit* m_search;
    QTableView* m_list;
    TStockSheetView* m_sheet;
    QLabel* m_info;
    QLabel* m_count;
    QPushButton* m_ok;
    std::optional<TStockGrid> m_chosen;
};

} // namespace qbm
