#include "surface/WideRowStores.h"

#include <algorithm>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace qbm {
namespace {

// More distinct heights than retail symbols and PostNet have: box by box is as quick then.
constexpr size_t kMaxBands = 4;
// The rows a group of boxes covers, and the lanes (a cache line of pixels from x = 0 each) that hold
// any of them.
struct TBand {
    int top;
    int bottom;
    int firstLane;
    int lastLane;
};

// A lane is the pixels of one 64-byte store, one mask bit each: 16 colour pixels or 64 grey ones.
template <typename TMask> constexpr int kLanes = 8 * sizeof(TMask);

// Bits from <= bit < to of a lane.
template <typename TMask> TMask LaneBitsBetween(int from, int to) {
    const TMask ones = ~TMask{0};
    const TMask below = to == kLanes<TMask> ? ones : static_cast<TMask>((TMask{1} << to) - 1);
    return static_cast<TMask>(below & (ones << from));
}

// Lane bits of a few bands in one buffer: one bit per pixel, pixel x in lane x / kLanes of its band.
// Each band has an empty lane -1, so a lane shifted by less than a lane can always take bits from its
// left neighbour.
// The buffer is shared by every symbol drawn on the thread: a symbol's rows take less time to write
// than a buffer takes to be allocated and freed.
template <typename TMask> class TLaneBits {
public:
    TLaneBits(size_t bands, int lanes) : m_lanes(lanes + 1) { Buffer().assign(bands * m_lanes, 0); }
    TMask* Band(size_t k) { return Buffer().data() + k * m_lanes + 1; }

private:
    static std::vector<TMask>& Buffer() {
        thread_local std::vector<TMask> bits;
        return bits;
    }

    size_t m_lanes;
};

// The mask of the store at `lane` of a row that starts `shift` pixels into its cache line.
template <typename TMask> TMask ShiftedMask(const TMask* laneBits, int lane, int shift) {
    if (shift == 0) return laneBits[lane];
    return static_cast<TMask>(laneBits[lane] << shift | laneBits[lane - 1] >> (kLanes<TMask> - shift));
}

#if defined(__x86_64__)
bool HasMaskedStores(int depth) {
    struct TFeatures {
        bool colour; // masked 32-bit stores
        bool grey;   // masked byte stores
    };
    static const TFeatures has = [] {
        __builtin_cpu_init(); // also right when the first symbol is drawn before main
        return TFeatures{__builtin_cpu_supports("avx512f") != 0, __builtin_cpu_supports("avx512bw") != 0};
    }();
    return depth == 1 ? has.grey : has.colour;
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
        const int shift = static_cast<int>(reinterpret_cast<uintptr_t>(row) / 4 % kLanes<uint16_t>);
        uint8_t* const lineStart = row - std::ptrdiff_t{4} * shift;
        const int last = band.lastLane + (shift != 0);
        for (int lane = band.firstLane; lane <= last; ++lane)
            _mm512_mask_storeu_epi32(lineStart + 64 * std::ptrdiff_t{lane},
                                     ShiftedMask(laneBits, lane, shift), v);
    }
}

// The same for grey rows, a byte a pixel.
__attribute__((target("avx512f,avx512bw"))) void StoreMaskedRows(const TPixelRows& rows, const TBand& band,
                                                                 const uint64_t* laneBits, uint32_t value) {
    const __m512i v = _mm512_set1_epi8(static_cast<char>(value));
    for (int y = band.top; y < band.bottom; ++y) {
        uint8_t* const row = rows.bits + y * rows.stride;
        const int shift = static_cast<int>(reinterpret_cast<uintptr_t>(row) % kLanes<uint64_t>);
        uint8_t* const lineStart = row - shift;
        const int last = band.lastLane + (shift != 0);
        for (int lane = band.firstLane; lane <= last; ++lane)
            _mm512_mask_storeu_epi8(lineStart + 64 * std::ptrdiff_t{lane}, ShiftedMask(laneBits, lane, shift),
                                    v);
    }
}
#else
bool HasMaskedStores(int) {
    return false;
}
template <typename TMask> void StoreMaskedRows(const TPixelRows&, const TBand&, const TMask*, uint32_t) {}
#endif

template <typename TMask>
bool FillMasked(const TPixelRows& rows, std::span<const TPixelBox> boxes, uint32_t value) {
    const int width = rows.width, height = rows.height;
    constexpr int lanePixels = kLanes<TMask>;
    // A spare lane past the picture's last: a row shifted into its cache line reaches one lane
    // further.
    const int laneCount = (width + lanePixels - 1) / lanePixels + 1;
    // The bands' lanes, and the lanes of the rows being written last.
    TLaneBits<TMask> bits(kMaxBands + 1, laneCount);
    TMask* const joined = bits.Band(kMaxBands);
    TBand bands[kMaxBands];
    size_t bandCount = 0;
    for (const TPixelBox& b : boxes) {
        const int l = std::max(b.left, 0), r = std::min(b.right, width);
        const int t = std::max(b.top, 0), bt = std::min(b.bottom, height);
        if (l >= r || t >= bt) continue;
        size_t k = 0;
        while (k < bandCount && (bands[k].top != t || bands[k].bottom != bt)) ++k;
        if (k == bandCount) {
            if (bandCount == kMaxBands) return false;
            bands[bandCount++] = {t, bt, l / lanePixels, 0};
        }
        TMask* const laneBits = bits.Band(k);
        const int first = l / lanePixels, last = (r - 1) / lanePixels;
        for (int lane = first; lane <= last; ++lane)
            laneBits[lane] |= LaneBitsBetween<TMask>(std::max(l - lane * lanePixels, 0),
                                                     std::min(r - lane * lanePixels, lanePixels));
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
        TBand band{e[0], e[1], laneCount, -1};
        std::fill(joined, joined + laneCount, TMask{0});
        for (size_t k = 0; k < bandCount; ++k) {
            if (bands[k].top > band.top || bands[k].bottom < band.bottom) continue;
            const TMask* const laneBits = bits.Band(k);
            for (int lane = bands[k].firstLane; lane <= bands[k].lastLane; ++lane)
                joined[lane] |= laneBits[lane];
            band.firstLane = std::min(band.firstLane, bands[k].firstLane);
            band.lastLane = std::max(band.lastLane, bands[k].lastLane);
        }
        if (band.firstLane <= band.lastLane) StoreMaskedRows(rows, band, joined, value);
    }
    return true;
}

} // namespace

bool HasWideRowStores(int depth) {
    return HasMaskedStores(depth);
}

bool FillBoxesWide(const TPixelRows& rows, std::span<const TPixelBox> boxes, uint32_t value) {
    return rows.depth == 1 ? FillMasked<uint64_t>(rows, boxes, value)
                           : FillMasked<uint16_t>(rows, boxes, value);
}

} // namespace qbm
