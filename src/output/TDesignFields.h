#pragma once
// The merge values of each label of a run: the datasheet row's cells by their column names, the
// label's code and caption, its number in the run and the day of printing.

#include "design/MergeText.h"
#include "output/TLabelFeed.h"

#include <string>
#include <unordered_map>

namespace qbm {

class TDatasheet;

class TDesignFields {
public:
    // `sheet` may be null: then only the label's own values are known. The date is taken once, so
    // that a run printed across midnight carries one date.
    explicit TDesignFields(const TDatasheet* sheet);

    TMergeValues Values(const TLabelValue& label, long long counter) const;

private:
    const TDatasheet* m_sheet;
    // Column by header name; of two columns with one name the first, as the field lists show them.
    std::unordered_map<std::string, int> m_columns;
    std::string m_date;
};

} // namespace qbm
