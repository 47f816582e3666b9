#pragma once
// A label as a design: its objects, drawn in order, the last on top.

#include "design/TDesignObject.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace qbm {

// A design that cannot be read or is not whole; the text names what is wrong.
class EDesignError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TLabelDesign {
    std::vector<TDesignObject> objects;
    bool Empty() const { return objects.empty(); }
    friend bool operator==(const TLabelDesign&, const TLabelDesign&) = default;
};

// Objects that reach past the label's edges, one message each ("object 3 (text) reaches past the
// label's right edge"). They still print; the cell clips them.
std::vector<std::string> DesignPlacementWarnings(const TLabelDesign& design, double labelWidthMm,
                                                 double labelHeightMm);

} // namespace qbm
