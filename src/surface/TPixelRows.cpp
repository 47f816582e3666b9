#include "surface/TPixelRows.h"

#include <algorithm>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qbm {
namespace {

// Pixels a masked store covers, one mask bit each.
constexpr int kLanes = 16;
// More distinct heights than retail symbols and PostNet have: box by box is as quick then.
constexpr size_t kMaxBands = 4;
// What one masked store of a row costs, in rows of a box filled on its own.
constexpr long long kMaskedStoreCost = 2;

// The rows a group of boxes covers, and the lanes (16 pixels from x = 0 each) that hold any of them.
struct TBand {
    int top;
    int bottom;
    int firstLane;
    int lastLane;
};

// Lane bits of a few bands in one buffer: one bit per pixel, pixel x in lane x / 16 of its band.
// Each band has an empty lane -1, so a lane shifted by less than 16 pixels can always take bits from
// its left neighbour.
class TLaneBits {
public:
    TLaneBits(size_t bands, int lanes) : m_lanes(lanes + 1), m_bits(bands * m_lanes, 0) {}
    uint16_t* Band(size_t k) { return m_bits.data() + k * m_lanes + 1; }

private:
    size_t m_lanes;
    std::vector<uint16_t> m_bits;
};

#if defined(__x86_64__)
bool HasMaskedStores() {
    static const bool has = [] {
        __builtin_cpu_init(); // also right when the first symbol is drawn before main
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return has;
}

// A store within one cache line is much cheaper than one across two, and rows rarely start on a
// line: each row's stores start at the line boundary before its first pixel, with the lane bits
// shifted by as many pixels. A lane without bits costs a store that writes nothing, cheaper than a
// test in every row.
__attribute__((target("avx512f"))) void StoreMaskedRows(const TPixelRows& rows, const TBand& band,
                                                        const uint16_t* laneBits, uint32_t value) {
    const __m512i v = _mm512_set1_epi32(static_cast<int>(value));
    for (int y = band.top; y < band.bottom; ++y) {
        uint8_t* const row = rows.bits + y * rows.stride;
        const int shift = static_cast<int>(reinterpret_cast<uintptr_t>(row) / 4 % kLanes);
        uint8_t* const lineStart = row - std::ptrdiff_t{4} * shift;
        const int last = band.lastLane + (shift != 0);
        for (int lane = band.firstLane; lane <= last; ++lane) {
            const uint32_t pair = uint32_t{laneBits[lane]} << kLanes | laneBits[lane - 1];
            _mm512_mask_storeu_epi32(lineStart + std::ptrdiff_t{4} * kLanes * lane,
                                     static_cast<__mmask16>(pair >> (kLanes - shift)), v);
        }
    }
}
#else
bool HasMaskedStores() {
    return false;
}
void StoreMaskedRows(const TPixelRows&, const TBand&, const uint16_t*, uint32_t) {}
#endif

} // namespace

// A masked row store costs about as much as two rows of a box: row by row pays where bars are dense
// (Code 39, Code 128), box by box where they are few or far apart (PostNet, add-ons).
bool TPixelRows::WorthMasking(std::span<const TPixelBox> boxes) const {
    long long boxRows = 0;
    int left = width, right = 0, top = height, bottom = 0;
    for (const TPixelBox& b : boxes) {
        const int l = std::max(b.left, 0), r = std::min(b.right, width);
        const int t = std::max(b.top, 0), bt = std::min(b.bottom, height);
        if (l >= r || t >= bt) continue;
        boxRows += bt - t;
        left = std::min(left, l);
        right = std::max(right, r);
        top = std::min(top, t);
        bottom = std::max(bottom, bt);
    }
    if (boxRows == 0) return false;
    const long long laneRows = static_cast<long long>(bottom - top) * ((right - left) / kLanes + 2);
    return boxRows >= kMaskedStoreCost * laneRows;
}

void TPixelRows::FillBoxes(std::span<const TPixelBox> boxes, uint32_t value) const {
    const auto oneByOne = [&] {
        for (const TPixelBox& b : boxes) Fill(b.left, b.top, b.right, b.bottom, value);
    };
    if (!HasMaskedStores() || !WorthMasking(boxes)) return oneByOne();

    // A spare lane past the picture's last: a box narrower than a lane is set in the two lanes it
    // can touch with one 32-bit mask.
    const int laneCount = (width + kLanes - 1) / kLanes + 1;
    // The bands' lanes, and the lanes of the rows being written last.
    TLaneBits bits(kMaxBands + 1, laneCount);
    uint16_t* const joined = bits.Band(kMaxBands);
    TBand bands[kMaxBands];
    size_t bandCount = 0;
    for (const TPixelBox& b : boxes) {
        const int l = std::max(b.left, 0), r = std::min(b.right, width);
        const int t = std::max(b.top, 0), bt = std::min(b.bottom, height);
        if (l >= r || t >= bt) continue;
        size_t k = 0;
        while (k < bandCount && (bands[k].top != t || bands[k].bottom != bt)) ++k;
        if (k == bandCount) {
            if (bandCount == kMaxBands) return oneByOne();
            bands[bandCount++] = {t, bt, l / kLanes, 0};
        }
        uint16_t* const laneBits = bits.Band(k);
        const int first = l / kLanes, last = (r - 1) / kLanes;
        if (r - l <= kLanes) {
            const uint32_t m = ((1u << (r - l)) - 1) << (l % kLanes);
            laneBits[first] |= static_cast<uint16_t>(m);
            laneBits[first + 1] |= static_cast<uint16_t>(m >> kLanes);
        } else {
            for (int lane = first; lane <= last; ++lane) {
                const int from = std::max(l - lane * kLanes, 0), to = std::min(r - lane * kLanes, kLanes);
                laneBits[lane] |= static_cast<uint16_t>(((1u << to) - 1) & ~((1u << from) - 1));
            }
        }
        bands[k].firstLane = std::min(bands[k].firstLane, first);
        bands[k].lastLane = std::max(bands[k].lastLane, last);
    }

    // Each row is written once: between two band edges, the lanes of every band that covers those
    // rows are joined (the short bars of PostNet and the guards of retail symbols share rows with
    // the full bars).
    int edges[2 * kMaxBands];
    for (size_t k = 0; k < bandCount; ++k) {
        edges[2 * k] = bands[k].top;
        edges[2 * k + 1] = bands[k].bottom;
    }
    std::sort(edges, edges + 2 * bandCount);
    int* const edgesEnd = std::unique(edges, edges + 2 * bandCount);
    for (const int* e = edges; e + 1 < edgesEnd; ++e) {
        TBand rows{e[0], e[1], laneCount, -1};
        std::fill(joined, joined + laneCount, uint16_t{0});
        for (size_t k = 0; k < bandCount; ++k) {
            if (bands[k].top > rows.top || bands[k].bottom < rows.bottom) continue;
            const uint16_t* const laneBits = bits.Band(k);
            for (int lane = bands[k].firstLane; lane <= bands[k].lastLane; ++lane)
                joined[lane] |= laneBits[lane];
            rows.firstLane = std::min(rows.firstLane, bands[k].firstLane);
            rows.lastLane = std::max(rows.lastLane, bands[k].lastLane);
        }
        if (rows.firstLane <= rows.lastLane) StoreMaskedRows(*this, rows, joined, value);
    }
}

} // namespace qbm
