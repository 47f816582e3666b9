#include "symbols/QrCodeMask.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>

namespace qbm {
namespace {

// Inlined into the scoring's copies for each processor (see ChooseMaskForSize).
#define QBM_INLINE [[gnu::always_inline]] inline

constexpr int kMasks = 8;
// Every mask repeats after 12 rows and 12 columns.
constexpr int kPeriod = 12;

bool MaskCovers(int mask, int row, int column) {
    switch (mask) {
    case 0:
        return (row + column) % 2 == 0;
    case 1:
        return row % 2 == 0;
    case 2:
        return column % 3 == 0;
    case 3:
        return (row + column) % 3 == 0;
    case 4:
        return (row / 2 + column / 3) % 2 == 0;
    case 5:
        return (row * column) % 2 + (row * column) % 3 == 0;
    case 6:
        return ((row * column) % 2 + (row * column) % 3) % 2 == 0;
    default:
        return ((row + column) % 2 + (row * column) % 3) % 2 == 0;
    }
}

// Each mask's rows by row modulo 12, and its columns (as rows of the transposed symbol) likewise.
struct TMaskPatterns {
    TQrRow rows[kMasks][kPeriod];
    TQrRow columns[kMasks][kPeriod];
    TMaskPatterns() {
        for (int m = 0; m < kMasks; ++m)
            for (int p = 0; p < kPeriod; ++p) {
                rows[m][p] = columns[m][p] = TQrRow{};
                for (int j = 0; j < kQrRowWords * 64; ++j) {
                    const uint64_t bit = uint64_t{1} << (j & 63);
                    if (MaskCovers(m, p, j)) rows[m][p][static_cast<size_t>(j >> 6)] |= bit;
                    if (MaskCovers(m, j, p)) columns[m][p][static_cast<size_t>(j >> 6)] |= bit;
                }
            }
    }
};

const TMaskPatterns& Patterns() {
    static const TMaskPatterns patterns;
    return patterns;
}

// A row of W words with the shifts the rules need: Down(k) moves module j + k to j, Up(k) module j - k
// to j, `fill` coming in from below module 0.
template <int W> struct TBits {
    uint64_t w[W];

    QBM_INLINE TBits operator&(const TBits& o) const {
        TBits r;
        for (int i = 0; i < W; ++i) r.w[i] = w[i] & o.w[i];
        return r;
    }
    QBM_INLINE TBits operator|(const TBits& o) const {
        TBits r;
        for (int i = 0; i < W; ++i) r.w[i] = w[i] | o.w[i];
        return r;
    }
    QBM_INLINE TBits operator^(const TBits& o) const {
        TBits r;
        for (int i = 0; i < W; ++i) r.w[i] = w[i] ^ o.w[i];
        return r;
    }
    QBM_INLINE TBits operator~() const {
        TBits r;
        for (int i = 0; i < W; ++i) r.w[i] = ~w[i];
        return r;
    }
    QBM_INLINE TBits Down(int k, bool fill = false) const {
        TBits r;
        for (int i = 0; i < W; ++i)
            r.w[i] = (w[i] >> k) | (i + 1 < W ? w[i + 1] << (64 - k) : fill ? ~uint64_t{0} << (64 - k) : 0);
        return r;
    }
    QBM_INLINE TBits Up(int k, bool fill = false) const {
        TBits r;
        for (int i = 0; i < W; ++i)
            r.w[i] = (w[i] << k) | (i > 0 ? w[i - 1] >> (64 - k) : fill ? (uint64_t{1} << k) - 1 : 0);
        return r;
    }
    QBM_INLINE int Count() const {
        int n = 0;
        for (int i = 0; i < W; ++i) n += std::popcount(w[i]);
        return n;
    }
};

template <int W> QBM_INLINE TBits<W> Load(const TQrRow& row) {
    TBits<W> b;
    for (int i = 0; i < W; ++i) b.w[i] = row[static_cast<size_t>(i)];
    return b;
}

// The modules 0 to n - 1 of a row.
template <int W> TBits<W> Ones(int n) {
    TBits<W> b;
    for (int i = 0; i < W; ++i) {
        const int bits = std::min(64, std::max(0, n - 64 * i));
        b.w[i] = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
    }
    return b;
}

// Penalties of one line of n modules: runs of five or more of one colour (3 plus 1 a module beyond
// five) and 1:1:3:1:1 finder-like patterns with four light modules before or after (40 each).
template <int W> struct TLineRules {
    TBits<W> pairs;  // modules 0 .. n - 2: module j and j + 1 both exist
    TBits<W> inside; // modules 0 .. n - 1

    explicit TLineRules(int n) : pairs(Ones<W>(n - 1)), inside(Ones<W>(n)) {}

    QBM_INLINE int Score(const TBits<W>& x) const {
        const TBits<W> same = ~(x ^ x.Down(1)) & pairs;
        const TBits<W> five = same & same.Down(1) & same.Down(2) & same.Down(3);
        // A run of L holds L - 4 windows of five, and its first window adds 2: L - 2 = 3 + (L - 5).
        const int runs = five.Count() + 2 * (five & ~five.Up(1)).Count();
        // Beyond the symbol lies the light quiet zone.
        const TBits<W> light = ~x;
        const TBits<W> finder =
            x & light.Down(1) & x.Down(2) & x.Down(3) & x.Down(4) & light.Down(5) & x.Down(6) & inside;
        constexpr bool fill = true;
        const TBits<W> after =
            light.Down(7, fill) & light.Down(8, fill) & light.Down(9, fill) & light.Down(10, fill);
        const TBits<W> before = light.Up(1, fill) & light.Up(2, fill) & light.Up(3, fill) & light.Up(4, fill);
        // Light on both sides counts once.
        const int finders = (finder & (after | before)).Count();
        return runs + 40 * finders;
    }
};

int BalancePenalty(int dark, int total) {
    // 10 for every full 5 % the share of dark modules lies away from half.
    return 10 * (std::abs(dark * 20 - total * 10) / total);
}

// The format information's modules for one level and mask: the row 8 and the column 8 they lie in.
struct TFormatLines {
    TQrRow row8{};
    TQrRow column8{};
};

TFormatLines FormatLines(int size, TQrLevel level, int mask) {
    const uint32_t bits = QrFormatBits(level, mask);
    TFormatLines f;
    for (int i = 0; i < 15; ++i) {
        if (!((bits >> i) & 1)) continue;
        for (const bool second : {false, true}) {
            const auto [r, c] = QrFormatPlace(i, size, second);
            if (r == 8) f.row8[static_cast<size_t>(c >> 6)] |= uint64_t{1} << (c & 63);
            if (c == 8) f.column8[static_cast<size_t>(r >> 6)] |= uint64_t{1} << (r & 63);
        }
    }
    return f;
}

// The line `index` of the masked symbol: rows of the symbol or rows of its transpose, with the format
// information of the mask (light in `base`, outside the data area) laid over it.
template <int W>
QBM_INLINE TBits<W> MaskedLine(const TQrRow& base, const TQrRow& data, const TQrRow& pattern,
                               const TFormatLines& format, bool columns, int index) {
    TBits<W> line = Load<W>(base) ^ (Load<W>(pattern) & Load<W>(data));
    const TQrRow& across = columns ? format.row8 : format.column8;
    if (index == 8) return line | Load<W>(columns ? format.column8 : format.row8);
    line.w[0] |= ((across[static_cast<size_t>(index >> 6)] >> (index & 63)) & 1) << 8;
    return line;
}

template <int W>
QBM_INLINE int MaskPenalty(const TQrMatrix& base, const TQrMatrix& baseColumns, const TQrLayout& layout,
                           const TQrMatrix& dataColumns, const TFormatLines& format, int mask, int best) {
    const int n = base.size;
    const TMaskPatterns& p = Patterns();
    const TLineRules<W> rules(n);
    int score = 0, dark = 0;
    TBits<W> above{};
    for (int r = 0; r < n; ++r) {
        const auto i = static_cast<size_t>(r);
        const TBits<W> row =
            MaskedLine<W>(base.rows[i], layout.dataArea.rows[i], p.rows[mask][r % kPeriod], format, false, r);
        score += rules.Score(row);
        dark += row.Count();
        if (r > 0) {
            // 2 x 2 blocks of one colour, 3 each.
            const TBits<W> same = ~(row ^ above);
            const TBits<W> across = ~(row ^ row.Down(1));
            score += 3 * (same & same.Down(1) & across & rules.pairs).Count();
        }
        above = row;
    }
    score += BalancePenalty(dark, n * n);
    // A mask already scoring no better than the best one is not scored to the end.
    for (int c = 0; c < n && score < best; ++c) {
        const auto i = static_cast<size_t>(c);
        score += rules.Score(MaskedLine<W>(baseColumns.rows[i], dataColumns.rows[i],
                                           p.columns[mask][c % kPeriod], format, true, c));
    }
    return score;
}

template <int W>
QBM_INLINE int ChooseMask(const TQrMatrix& base, const TQrMatrix& baseColumns, const TQrLayout& layout,
                          TQrLevel level) {
    const TQrMatrix& dataColumns = layout.dataColumns;
    int bestMask = 0, best = std::numeric_limits<int>::max();
    for (int mask = 0; mask < kMasks; ++mask) {
        const int score = MaskPenalty<W>(base, baseColumns, layout, dataColumns,
                                         FormatLines(base.size, level, mask), mask, best);
        if (score < best) {
            best = score;
            bestMask = mask;
        }
    }
    return bestMask;
}

// Counting bits is most of the scoring: where the processor has an instruction for it, a copy of the
// scoring that uses it is taken at load time.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target_clones("popcnt", "default")))
#endif
int ChooseMaskForSize(const TQrMatrix& base, const TQrMatrix& columns, const TQrLayout& layout, TQrLevel level) {
    const int n = base.size;
    return n <= 64    ? ChooseMask<1>(base, columns, layout, level)
           : n <= 128 ? ChooseMask<2>(base, columns, layout, level)
                      : ChooseMask<3>(base, columns, layout, level);
}

} // namespace

int QrPenalty(const TQrMatrix& m) {
    // Scored as a symbol whose every module is a function module: no mask changes it.
    TQrLayout plain;
    plain.dataArea = TQrMatrix(m.size);
    const TFormatLines none;
    return MaskPenalty<kQrRowWords>(m, QrTransposed(m), plain, QrTransposed(plain.dataArea), none, 0,
                                    std::numeric_limits<int>::max());
}

int QrApplyBestMask(TQrMatrix& unmasked, const TQrMatrix& columns, const TQrLayout& layout, TQrLevel level) {
    const int n = unmasked.size;
    const int mask = ChooseMaskForSize(unmasked, columns, layout, level);
    const TMaskPatterns& p = Patterns();
    for (int r = 0; r < n; ++r) {
        const auto i = static_cast<size_t>(r);
        for (size_t w = 0; w < kQrRowWords; ++w)
            unmasked.rows[i][w] ^= p.rows[mask][r % kPeriod][w] & layout.dataArea.rows[i][w];
    }
    QrDrawFormat(unmasked, level, mask);
    return mask;
}

} // namespace qbm
