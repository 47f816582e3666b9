#pragma once
// A design object placed on the label, as the tests of designs build them.

#include "design/TDesignObject.h"

namespace qbm::test {

inline TDesignObject Placed(TDesignKind kind, double x, double y, double w, double h, int rotation = 0) {
    TDesignObject o;
    o.kind = kind;
    o.xMm = x;
    o.yMm = y;
    o.widthMm = w;
    o.heightMm = h;
    o.rotation = rotation;
    return o;
}

} // namespace qbm::test
