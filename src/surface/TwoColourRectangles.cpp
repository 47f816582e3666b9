#include "surface/TwoColourRectangles.h"

#include <algorithm>

namespace qbm {

std::optional<TTwoColourRectangles> TwoColourRectangles(const uint8_t* bits, std::ptrdiff_t stride, int width,
                                                        int height, size_t maxRects) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const auto row = [&](int y) { return reinterpret_cast<const uint32_t*>(bits + y * stride); };
    TTwoColourRectangles out;
    out.background = row(0)[0];
    if (out.background >> 24 != 0xFF) return std::nullopt;
    bool haveInk = false;
    // Runs of the pixel row above still open (left, right), and the index of their rectangle.
    std::vector<std::pair<int, int>> open, runs;
    std::vector<size_t> openRect;
    for (int y = 0; y < height; ++y) {
        const uint32_t* line = row(y);
        runs.clear();
        for (int x = 0; x < width;) {
            const uint32_t v = line[x];
            if (v == out.background) {
                ++x;
                continue;
            }
            if (!haveInk) {
                if (v >> 24 != 0xFF) return std::nullopt;
                out.ink = v;
                haveInk = true;
            } else if (v != out.ink) {
                return std::nullopt;
            }
            const int left = x;
            while (x < width && line[x] == out.ink) ++x;
            if (x < width && line[x] != out.background) return std::nullopt;
            runs.emplace_back(left, x);
        }
        if (runs == open) { // the row repeats the one above: the open rectangles grow by a row
            for (const size_t k : openRect) ++out.inkRects[k].bottom;
            continue;
        }
        if (out.inkRects.size() + runs.size() > maxRects) return std::nullopt;
        openRect.clear();
        for (const auto& [left, right] : runs) {
            openRect.push_back(out.inkRects.size());
            out.inkRects.push_back(TRect{left, y, right, y + 1});
        }
        open.swap(runs);
    }
    return out;
}

} // namespace qbm
