#pragma once
// The labels of the project's current source as the print loop walks them.

#include "output/TLabelFeed.h"

namespace qbm {

class TLabelProject;

// The datasheet from index 1 to its row count - 1, every other source from 0 to its count - 1.
class TSourceFeed : public TLabelFeed {
public:
    explicit TSourceFeed(TLabelProject& project) : m_project(project) {}
    long long Count() const override;
    long long FirstIndex() const override;
    TLabelValue Value(long long index) override;

private:
    bool DatasheetSource() const;
    TLabelProject& m_project;
};

} // namespace qbm
