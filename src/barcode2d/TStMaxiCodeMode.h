#pragma once
// The MaxiCode symbol modes; the ordinals are stored in templates.

#include <cstdint>

namespace qbm {

// cmMode2 and cmMode3 both mean a structured carrier message: the postal code decides which of the
// two the symbol carries.
enum TStMaxiCodeMode : uint8_t { cmMode2, cmMode3, cmMode4, cmMode5, cmMode6 };

} // namespace qbm
