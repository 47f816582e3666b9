#pragma once
// The wide path of TPixelRows::FillBoxes: AVX-512 masked stores that write a symbol's rows one cache
// line at a time. Kept apart so that the plain path stays the one every processor runs and tests.

#include "surface/TPixelRows.h"

#include <cstdint>
#include <span>

namespace qbm {

// Whether the processor has the masked stores for rows of `depth` bytes a pixel.
bool HasWideRowStores(int depth);

// Fills every box with masked row stores; false, with nothing written, when the boxes come in more
// heights than are grouped. Only where HasWideRowStores(rows.depth).
bool FillBoxesWide(const TPixelRows& rows, std::span<const TPixelBox> boxes, uint32_t value);

} // namespace qbm
