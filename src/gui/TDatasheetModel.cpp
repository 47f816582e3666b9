#include "gui/TDatasheetModel.h"

#include "data/DatasheetCommands.h"
#include "data/TDatasheet.h"

namespace qbm {
namespace {

// The datasheet holds UTF-8 text in any script.
QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

TDatasheetModel::TDatasheetModel(QObject* parent) : QAbstractTableModel(parent) {}

void TDatasheetModel::SetDatasheet(TDatasheet* sheet, TDatasheetHistory* history) {
    beginResetModel();
    m_sheet = sheet;
    m_history = history;
    endResetModel();
}

void TDatasheetModel::Reload() {
    beginResetModel();
    endResetModel();
}

int TDatasheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_sheet ? 0 : m_sheet->RowCount() - 1;
}

int TDatasheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_sheet ? 0 : m_sheet->ColumnCount() - 1;
}

QVariant TDatasheetModel::data(const QModelIndex& index, int role) const {
    if (!m_sheet || !index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole ||
        role == Qt::AccessibleTextRole)
        return Text(m_sheet->Cell(index.column() + 1, index.row() + 1));
    return {};
}

QVariant TDatasheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!m_sheet) return {};
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return Text(m_sheet->ColumnName(section + 1));
    if (orientation == Qt::Vertical && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return QString::number(section + 1);
    if (orientation == Qt::Vertical && role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags TDatasheetModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

bool TDatasheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_sheet || !index.isValid() || role != Qt::EditRole) return false;
    const QByteArray text = value.toString().toUtf8();
    try {
        if (!EditCell(*m_sheet, index.column() + 1, index.row() + 1,
                      std::string_view(text.constData(), static_cast<size_t>(text.size())), m_history))
            return false;
    } catch (const EDatasheetError& e) {
        emit EditRefused(QString::fromUtf8(e.what()));
        return false;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit CellEdited();
    return true;
}

void TDatasheetModel::MoveRow(int from, int to) {
    if (!m_sheet || from == to) return;
    beginResetModel();
    MoveRowRecorded(*m_sheet, from + 1, to + 1, m_history);
    endResetModel();
}

void TDatasheetModel::MoveColumn(int from, int to) {
    if (!m_sheet || from == to) return;
    beginResetModel();
    MoveColumnRecorded(*m_sheet, from + 1, to + 1, m_history);
    endResetModel();
}

} // namespace qbm
