#include "symbols/QrReedSolomon.h"

#include <algorithm>
#include <array>

namespace qbm {
namespace {

// Check codewords per block are at most 30.
constexpr int kMaxEcc = 30;

struct TGaloisField {
    std::array<uint8_t, 512> exp{};
    std::array<int, 256> log{};
    // Generator polynomials (x - a^0)(x - a^1)...(x - a^(n-1)) for every n up to kMaxEcc, as the
    // logarithms of their coefficients below the leading one, highest first.
    std::array<std::array<uint8_t, kMaxEcc>, kMaxEcc + 1> generatorLog{};

    TGaloisField() {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[static_cast<size_t>(i)] = exp[static_cast<size_t>(i + 255)] = static_cast<uint8_t>(x);
            log[static_cast<size_t>(x)] = i;
            x <<= 1;
            if (x & 0x100) x ^= 0x11D;
        }
        for (int n = 1; n <= kMaxEcc; ++n) {
            // Coefficients highest first, the leading 1 included.
            std::array<uint8_t, kMaxEcc + 1> g{};
            g[0] = 1;
            for (int root = 0; root < n; ++root) {
                for (int k = root + 1; k >= 1; --k)
                    g[static_cast<size_t>(k)] ^=
                        Multiply(g[static_cast<size_t>(k - 1)], exp[static_cast<size_t>(root)]);
            }
            for (int k = 0; k < n; ++k)
                generatorLog[static_cast<size_t>(n)][static_cast<size_t>(k)] =
                    static_cast<uint8_t>(log[g[static_cast<size_t>(k + 1)]]);
        }
    }
    uint8_t Multiply(uint8_t a, uint8_t b) const {
        if (!a || !b) return 0;
        return exp[static_cast<size_t>(log[a] + log[b])];
    }
};

const TGaloisField& Field() {
    static const TGaloisField field;
    return field;
}

} // namespace

void QrReedSolomon(std::span<const uint8_t> data, std::span<uint8_t> ecc) {
    const TGaloisField& f = Field();
    const size_t n = ecc.size();
    const auto& gen = f.generatorLog[n];
    std::fill(ecc.begin(), ecc.end(), uint8_t{0});
    // Polynomial division, the remainder kept in `ecc`, highest coefficient first.
    for (const uint8_t d : data) {
        const uint8_t factor = d ^ ecc[0];
        std::copy(ecc.begin() + 1, ecc.end(), ecc.begin());
        ecc[n - 1] = 0;
        if (!factor) continue;
        const int logFactor = f.log[factor];
        for (size_t k = 0; k < n; ++k) ecc[k] ^= f.exp[static_cast<size_t>(logFactor + gen[k])];
    }
}

} // namespace qbm
