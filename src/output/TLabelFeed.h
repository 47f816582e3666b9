#pragma once
// The labels of a print run, as the current source gives them: how many, where the index starts,
// and the code and caption of the label at an index.

#include <string>

namespace qbm {

struct TLabelValue {
    std::string code;
    std::string caption;
    // The datasheet row the label comes from (the sheet's own index, its header row 0); -1 for
    // labels of other sources. A label design reads its merge fields there.
    long long row = -1;
};

class TLabelFeed {
public:
    virtual ~TLabelFeed() = default;
    // The loop's bound: labels are printed for FirstIndex() <= i <= Count() - 1.
    virtual long long Count() const = 0;
    virtual long long FirstIndex() const = 0;
    virtual TLabelValue Value(long long index) = 0;
};

} // namespace qbm
