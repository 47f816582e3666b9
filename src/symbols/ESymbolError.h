#pragma once
// A text a symbology cannot hold, or settings it does not have; the message names the symbology or
// the GS1 application identifier at fault.

#include <stdexcept>

namespace qbm {

class ESymbolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace qbm
