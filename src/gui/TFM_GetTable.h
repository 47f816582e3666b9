#pragma once
// The table picker of a database import: the tables of the .mdb file, the first one selected.

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace qbm {

class TFM_GetTable : public QDialog {
    Q_OBJECT
public:
    explicit TFM_GetTable(QWidget* parent = nullptr);
    // Refills the list and selects its first name.
    void SetTables(const std::vector<std::string>& names);
    std::string SelectedTable() const;
    // Shows the picker modally; the chosen name, nullopt when cancelled.
    std::optional<std::string> Pick(const std::vector<std::string>& names);

    QComboBox* Tables() const { return m_tables; }

private:
    QComboBox* m_tables;
};

} // namespace qbm
