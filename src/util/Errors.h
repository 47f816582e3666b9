#pragma once
// Error types shared by the layers. Each carries the system's fixed message text.

#include <stdexcept>
#include <string>

namespace qbm {

// A text that is not a valid number ("'%s' is not a valid integer value").
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qbm
