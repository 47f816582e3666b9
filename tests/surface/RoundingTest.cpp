#include "util/Rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace qbm {
namespace {

// Every edge of every bar and module is rounded here; a rounding that differs from the library's
// half-to-even by one pixel anywhere moves a bar.
TEST(Rounding, AgreesWithTheLibraryOnHalvesLargeValuesAndRandomOnes) {
    const double table[] = {0.0,       -0.0,         0.5,           1.5,         2.5,       -0.5,
                            -1.5,      -2.5,         0.49999,       0.50001,     1e9 + 0.5, -1e9 - 0.5,
                            2147483.5, 2147483646.5, -2147483647.5, 123456.4999, 7.0000001, -7.4999999};
    for (const double x : table) EXPECT_EQ(Rnd(x), static_cast<int>(std::nearbyint(x))) << x;
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> any(-1e6, 1e6);
    for (int i = 0; i < 100000; ++i) {
        const double x = i % 2 ? any(rng) : std::floor(any(rng)) + 0.5; // half of them exact halves
        ASSERT_EQ(Rnd(x), static_cast<int>(std::nearbyint(x))) << x;
    }
}

} // namespace
} // namespace qbm
