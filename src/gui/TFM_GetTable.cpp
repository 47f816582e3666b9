#include "gui/TFM_GetTable.h"

#include "gui/EditorSupport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qbm {

TFM_GetTable::TFM_GetTable(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FM_GetTable"));
    setWindowTitle(QStringLiteral("Select Tabel from Access Database"));
    auto* label = new QLabel(QStringLiteral("Please Select a Table to Import:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_tables = new QComboBox(this);
    m_tables->setObjectName(QStringLiteral("CBX_Table"));
    m_tables->setAccessibleName(label->text());
    m_tables->setMinimumWidth(260);
    label->setBuddy(m_tables);
    QHBoxLayout* buttons = OkCancelRow(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_tables);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFM_GetTable::SetTables(const std::vector<std::string>& names) {
    m_tables->clear();
    for (const std::string& name : names)
        m_tables->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    m_tables->setCurrentIndex(names.empty() ? -1 : 0);
}

std::string TFM_GetTable::SelectedTable() const {
    return m_tables->currentText().toStdString();
}

std::optional<std::string> TFM_GetTable::Pick(const std::vector<std::string>& names) {
    SetTables(names);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return SelectedTable();
}

} // namespace qbm
