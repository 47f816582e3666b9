#pragma once
// The error every 2D barcode component reports; it carries only its fixed message text.

#include <stdexcept>

namespace qbm {

class E2DBarcodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qbm
