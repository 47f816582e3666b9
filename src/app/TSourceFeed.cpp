#include "app/TSourceFeed.h"

#include "project/CodeValueSources.h"
#include "project/TLabelProject.h"

namespace qbm {

bool TSourceFeed::DatasheetSource() const {
    return m_project.Kind() == TBarcodeKind::bkLinear &&
           m_project.LinearSource() == TLinearSource::lsDatasheet;
}

long long TSourceFeed::Count() const {
    return DatasheetSource() ? m_project.Datasheet().RowCount() : LabelCount(m_project);
}

long long TSourceFeed::FirstIndex() const {
    return DatasheetSource() ? 1 : 0;
}

TLabelValue TSourceFeed::Value(long long index) {
    TCodeValue v = LabelValue(m_project, DatasheetSource() ? index - 1 : index);
    return {std::move(v.code), std::move(v.caption), DatasheetSource() ? index : -1};
}

} // namespace qbm
