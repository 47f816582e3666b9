#pragma once
// Base of objects that copy their settings from another object with Assign; a source of another
// kind is ignored.

namespace qbm {

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual void Assign(const TPersistent* source) = 0;
};

} // namespace qbm
