#include "barcode2d/MaxiCodeErrorCorrection.h"

#include <cassert>

namespace qbm {
namespace {

constexpr int kFieldPolynomial = 0x43; // x^6 + x + 1

struct TGf64Tables {
    std::array<uint8_t, 63> antilog{};
    std::array<uint8_t, 64> log{};
};

constexpr TGf64Tables MakeTables() {
    TGf64Tables t;
    t.antilog[0] = 1;
    for (int i = 1; i < 63; ++i) {
        int v = t.antilog[i - 1] * 2;
        if (v >= 64) v ^= kFieldPolynomial;
        t.antilog[i] = static_cast<uint8_t>(v);
        t.log[v] = static_cast<uint8_t>(i);
    }
    return t;
}

constexpr TGf64Tables kTables = MakeTables();

constexpr int Multiply(int a, int b) {
    if (a == 0 || b == 0) return 0;
    return kTables.antilog[(kTables.log[a] + kTables.log[b]) % 63];
}

// Every product, so that the check codewords of each symbol cost one lookup per step.
using TProducts = std::array<std::array<uint8_t, 64>, 64>;
constexpr TProducts MakeProducts() {
    TProducts p{};
    for (int a = 0; a < 64; ++a)
        for (int b = 0; b < 64; ++b) p[a][b] = static_cast<uint8_t>(Multiply(a, b));
    return p;
}

constexpr TProducts kProducts = MakeProducts();

// Expands (x - a)(x - a^2)...(x - a^n); subtraction is XOR in this field.
template <int N> constexpr std::array<uint8_t, N> MakeGenerator() {
    std::array<int, N + 1> g{};
    g[0] = 1;
    for (int i = 1; i <= N; ++i) {
        const int root = kTables.antilog[i % 63];
        for (int j = i; j >= 1; --j) g[j] = g[j - 1] ^ Multiply(g[j], root);
        g[0] = Multiply(g[0], root);
    }
    std::array<uint8_t, N> c{};
    for (int j = 0; j < N; ++j) c[j] = static_cast<uint8_t>(g[j]);
    return c;
}

constexpr std::array<uint8_t, 10> kGenerator10 = MakeGenerator<10>();
constexpr std::array<uint8_t, 20> kGenerator20 = MakeGenerator<20>();
constexpr std::array<uint8_t, 28> kGenerator28 = MakeGenerator<28>();

} // namespace

int MaxiCodeGfMultiply(int a, int b) {
    return Multiply(a & 63, b & 63);
}

std::span<const uint8_t> MaxiCodeGenerator(int checkCount) {
    switch (checkCount) {
    case 10:
        return kGenerator10;
    case 20:
        return kGenerator20;
    case 28:
        return kGenerator28;
    default:
        return {};
    }
}

void AddMaxiCodeCheckBlock(std::span<uint8_t> codewords, int first, int step, int count, int checkFirst,
                           int checkCount) {
    const std::span<const uint8_t> c = MaxiCodeGenerator(checkCount);
    assert(!c.empty());
    const int n = checkCount;
    std::array<uint8_t, 28> rem{};
    for (int k = 0; k < count; ++k) {
        const int f = (codewords[static_cast<size_t>(first + k * step)] & 63) ^ rem[n - 1];
        const std::array<uint8_t, 64>& times = kProducts[f];
        for (int j = n - 1; j >= 1; --j) rem[j] = static_cast<uint8_t>(rem[j - 1] ^ times[c[j]]);
        rem[0] = times[c[0]];
    }
    for (int k = 1; k <= n; ++k) codewords[static_cast<size_t>(checkFirst + (k - 1) * step)] = rem[n - k];
}

void CalcMaxiCodeErrorCorrection(std::span<uint8_t> codewords, bool enhanced) {
    assert(codewords.size() >= 144);
    AddMaxiCodeCheckBlock(codewords, 0, 1, 10, 10, 10);
    if (enhanced) {
        AddMaxiCodeCheckBlock(codewords, 21, 2, 34, 89, 28);
        AddMaxiCodeCheckBlock(codewords, 20, 2, 34, 88, 28);
    } else {
        AddMaxiCodeCheckBlock(codewords, 21, 2, 42, 105, 20);
        AddMaxiCodeCheckBlock(codewords, 20, 2, 42, 104, 20);
    }
}

} // namespace qbm
