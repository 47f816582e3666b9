#include "surface/TPixelRows.h"

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

// The rows a group of boxes covers, and the lanes (16 pixels from x = 0 each) that hold any of them.
struct TBand {
    int top;
    int bottom;
    int firstLane;
    int lastLane;
};

#if defined(__x86_64__)
bool HasMaskedStores() {
    static const bool has = __builtin_cpu_supports("avx512f");
    return has;
}

// A lane without bits costs a store that writes nothing, cheaper than a test in every row.
__attribute__((target("avx512f"))) void StoreMaskedRows(const TPixelRows& rows, const TBand& band,
                                                        const uint16_t* laneBits, uint32_t value) {
    const __m512i v = _mm512_set1_epi32(static_cast<int>(value));
    const std::ptrdiff_t step = rows.stride;
    uint8_t* row = rows.bits + band.top * step + std::ptrdiff_t{4} * kLanes * band.firstLane;
    const int lanes = band.lastLane - band.firstLane + 1;
    laneBits += band.firstLane;
    for (int y = band.top; y < band.bottom; ++y, row += step)
        for (int k = 0; k < lanes; ++k)
            _mm512_mask_storeu_epi32(row + std::ptrdiff_t{4} * kLanes * k, laneBits[k], v);
}
#else
bool HasMaskedStores() {
    return false;
}
void StoreMaskedRows(const TPixelRows&, const TBand&, const uint16_t*, uint32_t) {}
#endif

} // namespace

void TPixelRows::FillBoxes(std::span<const TPixelBox> boxes, uint32_t value) const {
    const auto oneByOne = [&] {
        for (const TPixelBox& b : boxes) Fill(b.left, b.top, b.right, b.bottom, value);
    };
    if (!HasMaskedStores()) return oneByOne();

    // A row of lane bits per band, with a spare lane: a box narrower than a lane is set in the two
    // lanes it can touch with one 32-bit mask.
    const int laneCount = (width + kLanes - 1) / kLanes + 1;
    std::vector<uint16_t> bits(kMaxBands * laneCount, 0);
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
        uint16_t* const laneBits = bits.data() + k * laneCount;
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
    for (size_t k = 0; k < bandCount; ++k)
        StoreMaskedRows(*this, bands[k], bits.data() + k * laneCount, value);
}

} // namespace qbm
