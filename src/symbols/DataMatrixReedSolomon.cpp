#include "symbols/DataMatrixReedSolomon.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace qbm {
namespace {

// Check codewords per block are at most 68 (48 x 48, 96 x 96, 120 x 120).
constexpr int kMaxEcc = 68;
constexpr int kFieldPolynomial = 301;

struct TGaloisField {
    std::array<uint8_t, 512> exp{};
    std::array<int, 256> log{};
    // Generator polynomials (x - a^1)(x - a^2)...(x - a^n) for every n up to kMaxEcc, as the
    // logarithms of their coefficients below the leading one, highest first.
    std::array<std::array<uint8_t, kMaxEcc>, kMaxEcc + 1> generatorLog{};

    TGaloisField() {
        int x = 1;
        for (int i = 0; i < 255; ++i) {
            exp[static_cast<size_t>(i)] = exp[static_cast<size_t>(i + 255)] = static_cast<uint8_t>(x);
            log[static_cast<size_t>(x)] = i;
            x <<= 1;
            if (x & 0x100) x ^= kFieldPolynomial;
        }
        for (int n = 1; n <= kMaxEcc; ++n) {
            std::array<uint8_t, kMaxEcc + 1> g{};
            g[0] = 1;
            for (int root = 1; root <= n; ++root)
                for (int k = root; k >= 1; --k)
                    g[static_cast<size_t>(k)] ^=
                        Multiply(g[static_cast<size_t>(k - 1)], exp[static_cast<size_t>(root)]);
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

void AppendDataMatrixEcc(std::vector<uint8_t>& codewords, const TDataMatrixSize& size) {
    const TGaloisField& f = Field();
    const int blocks = size.blocks;
    const int n = size.eccCodewords / blocks;
    const auto& gen = f.generatorLog[static_cast<size_t>(n)];
    const size_t dataCount = static_cast<size_t>(size.dataCodewords);
    assert(codewords.size() == dataCount);
    codewords.resize(dataCount + static_cast<size_t>(size.eccCodewords));
    for (int b = 0; b < blocks; ++b) {
        // Polynomial division, the remainder kept highest coefficient first.
        std::array<uint8_t, kMaxEcc + 1> ecc{};
        for (size_t i = static_cast<size_t>(b); i < dataCount; i += static_cast<size_t>(blocks)) {
            const uint8_t factor = codewords[i] ^ ecc[0];
            std::copy(ecc.begin() + 1, ecc.begin() + n, ecc.begin());
            ecc[static_cast<size_t>(n - 1)] = 0;
            if (!factor) continue;
            const int logFactor = f.log[factor];
            for (int k = 0; k < n; ++k)
                ecc[static_cast<size_t>(k)] ^=
                    f.exp[static_cast<size_t>(logFactor + gen[static_cast<size_t>(k)])];
        }
        // 144 x 144 has blocks of 156 and of 155 data codewords; readers take the check codewords of
        // the two short blocks first, the placement every printer of it has used.
        const int place = size.rows == 144 ? (b + 2) % blocks : b;
        for (int k = 0; k < n; ++k)
            codewords[dataCount + static_cast<size_t>(k * blocks + place)] = ecc[static_cast<size_t>(k)];
    }
}

} // namespace qbm
