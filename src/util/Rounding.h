#pragma once
// Rounding shared by every layer: the product rounds halves to the even neighbour everywhere.

#include <cmath>

namespace qbm {

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
inline int Rnd(double x) {
    // Adding and taking away 1.5 * 2^52 leaves an integer rounded in the default mode (half to
    // even), the same as nearbyint but without a library call: every bar and module edge of a
    // print run goes through here.
    constexpr double kShift = 0x1.8p52;
    if (std::fabs(x) < 0x1p51) return static_cast<int>((x + kShift) - kShift);
    return static_cast<int>(std::nearbyint(x));
}

// Millimetres to device dots at the given resolution.
inline int MmToDots(double mm, int dotsPerInch) {
    return Rnd(mm / 25.4 * dotsPerInch);
}

// Hundredths of a millimetre to device dots at the given resolution.
inline int HundredthsMmToDots(double v, int dotsPerInch) {
    return Rnd(v / 2540.0 * dotsPerInch);
}

// Device dots to the hundredths of a millimetre that convert back to the same dots.
inline int DotsToHundredthsMm(int dots, int dotsPerInch) {
    int v = Rnd(dots * 2540.0 / dotsPerInch);
    while (HundredthsMmToDots(v, dotsPerInch) > dots) --v;
    while (HundredthsMmToDots(v, dotsPerInch) < dots) ++v;
    return v;
}

} // namespace qbm
