#pragma once
// Rounding shared by every layer: the product rounds halves to the even neighbour everywhere.

#include <cmath>

namespace qbm {

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int Rnd(double x) {
    return static_cast<int>(std::nearbyint(x)); // the default FP mode rounds half to even
}

// Millimetres to device dots at the given resolution.
inline int MmToDots(double mm, int dotsPerInch) { return Rnd(mm / 25.4 * dotsPerInch); }

// Hundredths of a millimetre to device dots at the given resolution.
inline int HundredthsMmToDots(double v, int dotsPerInch) { return Rnd(v / 2540.0 * dotsPerInch); }

} // namespace qbm
