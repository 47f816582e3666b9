#pragma once
// Errors of the linear engine, carrying its fixed texts ("Barcode must be numeric", ...).

#include <stdexcept>

namespace qbm {

class EBarcodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qbm
