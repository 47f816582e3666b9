#include "gui/TStockTableModel.h"

#include "stock/TStockDatabase.h"

namespace qbm {
namespace {
QString Utf8(const std::string& text) {
    return QString::fromStdString(text);
}
constexpr const char* kHeaders[] = {"Brand", "Part", "Description", "Paper", "Label size", "Grid"};
} // namespace

TStockTableModel::TStockTableModel(const TStockDatabase& db, QObject* parent)
    : QAbstractTableModel(parent), m_db(db) {}

int TStockTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_db.Stocks().size());
}

int TStockTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : scCount;
}

const TStock& TStockTableModel::Stock(int row) const {
    return m_db.Stocks()[static_cast<size_t>(row)];
}

QVariant TStockTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const TStock& s = Stock(index.row());
    switch (index.column()) {
    case scBrand:
        return Utf8(s.brand);
    case scPart:
        return Utf8(s.part);
    case scDescription:
        return Utf8(s.description);
    case scPaper:
        return Utf8(s.PaperText());
    case scLabel:
        return Utf8(s.LabelSizeText());
    case scGrid:
        return Utf8(s.GridText());
    default:
        return {};
    }
}

QVariant TStockTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= scCount)
        return {};
    return QString(kHeaders[section]);
}

TStockFilter::TStockFilter(TStockTableModel& model, QObject* parent)
    : QSortFilterProxyModel(parent), m_model(model) {
    setSourceModel(&model);
}

void TStockFilter::SetSearch(const QString& words) {
    m_words = words.toStdString();
    invalidateFilter();
}

bool TStockFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    return m_model.Database().Matches(static_cast<size_t>(sourceRow), m_words);
}

} // namespace qbm
