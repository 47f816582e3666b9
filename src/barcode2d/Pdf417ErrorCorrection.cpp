#include "barcode2d/Pdf417ErrorCorrection.h"

#include <array>
#include <bit>
#include <cstddef>

namespace qbm {
namespace {

constexpr int kPrime = 929;
constexpr int kLevels = 9;

std::vector<int> GeneratorFor(int k) {
    // poly[j] is the coefficient of x^j; start with 1 and multiply by (x - 3^i) for i = 1..k.
    std::vector<int> poly{1};
    int root = 1;
    for (int i = 1; i <= k; ++i) {
        root = root * 3 % kPrime;
        std::vector<int> next(poly.size() + 1, 0);
        for (std::size_t j = 0; j < poly.size(); ++j) {
            next[j + 1] = (next[j + 1] + poly[j]) % kPrime;
            next[j] = (next[j] + kPrime - poly[j] * root % kPrime) % kPrime;
        }
        poly = std::move(next);
    }
    poly.pop_back(); // the leading 1 of x^k
    return poly;
}

} // namespace

const std::vector<int>& Pdf417GeneratorCoefficients(int level) {
    static const std::array<std::vector<int>, kLevels> tables = [] {
        std::array<std::vector<int>, kLevels> t;
        for (int l = 0; l < kLevels; ++l) t[l] = GeneratorFor(2 << l);
        return t;
    }();
    return tables.at(level);
}

void CalcPdf417ErrorCorrection(uint16_t* codewords, int n, int k) {
    const int level = std::countr_zero(static_cast<unsigned>(k)) - 1;
    const std::vector<int>& a = Pdf417GeneratorCoefficients(level);
    std::vector<int> e(k, 0);
    for (int i = 0; i < n; ++i) {
        const int t1 = (codewords[i] + e[k - 1]) % kPrime;
        for (int j = k - 1; j >= 1; --j) {
            // e[j - 1] - t2 lies between -kPrime and kPrime: one correction instead of a division.
            const int v = e[j - 1] - t1 * a[j] % kPrime;
            e[j] = v < 0 ? v + kPrime : v;
        }
        e[0] = (kPrime - t1 * a[0] % kPrime) % kPrime;
    }
    for (int j = 0; j < k; ++j) e[j] = (kPrime - e[j]) % kPrime;
    for (int i = 0; i < k; ++i) codewords[n + i] = static_cast<uint16_t>(e[k - 1 - i]);
}

} // namespace qbm
