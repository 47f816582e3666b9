#include "output/TDesignFields.h"

#include "data/TDatasheet.h"

#include <ctime>

namespace qbm {

TDesignFields::TDesignFields(const TDatasheet* sheet) : m_sheet(sheet) {
    if (sheet)
        for (int c = 0; c < sheet->ColumnCount(); ++c)
            m_columns.emplace(std::string(sheet->ColumnName(c)), c);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    m_date = date;
}

TMergeValues TDesignFields::Values(const TLabelValue& label, long long counter) const {
    TMergeValues v;
    v.code = label.code;
    v.caption = label.caption;
    v.counter = counter;
    v.date = m_date;
    if (m_sheet && label.row > 0 && label.row < m_sheet->RowCount()) {
        const long long row = label.row;
        v.field = [this, row](std::string_view name) -> std::optional<std::string> {
            const auto it = m_columns.find(std::string(name));
            if (it == m_columns.end()) return std::nullopt;
            return std::string(m_sheet->Cell(it->second, static_cast<int>(row)));
        };
    } else {
        // Labels of other sources know the sheet's columns but not a row of them: the fields print empty.
        v.field = [this](std::string_view name) -> std::optional<std::string> {
            if (m_columns.count(std::string(name)) == 0) return std::nullopt;
            return std::string();
        };
    }
    return v;
}

} // namespace qbm
