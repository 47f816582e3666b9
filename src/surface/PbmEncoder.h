#pragma once
// Binary PBM (P4) files of pages: one bit per pixel, pixels darker than half grey black. The format
// every raster filter reads; it has no place for the resolution.

#include "surface/TBitmap.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QImage;

namespace qbm {

struct TPageSurvey;

std::string EncodePbm(const TBitmap& picture);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
std::string EncodePbm(const TBitmap& picture, const TPageSurvey& survey);

// A PBM file made from a page's rows as they come, band by band: the bytes made so far are taken
// as they are written, so a page of any size takes only its band's rows in memory.
class TPbmRows {
public:
    TPbmRows(int width, int height);
    // The first `rows` rows of `band` (32-bit); sameAsAbove[y] is 1 where row y repeats the row above.
    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove);
    // The file's bytes made since the last call (the header first).
    std::string Take() { return std::exchange(m_out, {}); }

private:
    std::string m_out;
    std::vector<uint8_t> m_last; // the row above the next one, packed
};

} // namespace qbm
