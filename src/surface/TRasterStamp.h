#pragma once
// A small drawing rasterised once and then copied wherever it is needed again: the same module or
// ring drawn at many places of a bitmap. Drawing is opaque and not antialiased, so a shape moved by
// whole pixels covers the same pixels moved by the same amount, and a copy of those pixels is what
// drawing it again would give.

#include "surface/Graphics.h"
#include "surface/TPixelRows.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace qbm {

class TCanvas;

class TRasterStamp {
public:
    TRasterStamp() = default;

    // Runs `paint` on a scratch bitmap of width x height pixels filled with `scratchBackground` (a
    // colour the drawing does not use) and keeps every pixel it changed, relative to the scratch's
    // origin. Shapes drawn with a thick pen come out slightly differently at different places (their
    // outlines are computed in floating point): record those at the very coordinates they will have.
    static TRasterStamp Record(int width, int height, TColor scratchBackground,
                               const std::function<void(TCanvas&)>& paint);

    bool Empty() const { return m_runs.empty(); }
    // Whether the drawing reached the scratch's border (then it may have been cut off).
    bool TouchesBorder() const { return m_touchesBorder; }
    // The changed pixels' box, relative to the scratch's origin.
    const TRect& Bounds() const { return m_bounds; }

    // Writes the kept pixels with the scratch origin placed at (x, y), clipped to the picture.
    void Stamp(const TPixelRows& rows, int x, int y) const;
    // Whether a pixel the stamp would write at (x, y) already holds `value`.
    bool AnyPixelIs(const TPixelRows& rows, int x, int y, uint32_t value) const;

private:
    struct TRun {
        int y;
        int left;
        int right; // exclusive
        uint32_t value;
    };
    std::vector<TRun> m_runs;
    TRect m_bounds;
    bool m_touchesBorder = false;
};

// The last few stamps, each with the settings it was recorded for (a screen picture and a printer
// picture of the same symbol need one each).
template <typename TKey, size_t N = 2> class TStampCache {
public:
    template <typename TMake> const TRasterStamp& Get(const TKey& key, TMake&& make) {
        for (const auto& e : m_entries)
            if (e.used && e.key == key) return e.stamp;
        TEntry& e = m_entries[m_next];
        m_next = (m_next + 1) % N;
        e.stamp = make();
        e.key = key;
        e.used = true;
        return e.stamp;
    }

private:
    struct TEntry {
        bool used = false;
        TKey key{};
        TRasterStamp stamp;
    };
    std::array<TEntry, N> m_entries{};
    size_t m_next = 0;
};

} // namespace qbm
