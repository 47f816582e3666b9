#pragma once
// Binary PBM (P4) files of pages: one bit per pixel, pixels darker than half grey black. The format
// every raster filter reads; it has no place for the resolution.

#include "surface/TBitmap.h"

#include <cstdint>
#include <string>

class QImage;

namespace qbm {

struct TPageSurvey;

std::string EncodePbm(const TBitmap& picture);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
std::string EncodePbm(const TBitmap& picture, const TPageSurvey& survey);

// A PBM file built from a page's rows as they come, band by band.
class TPbmRows {
public:
    TPbmRows(int width, int height);
    // The first `rows` rows of `band` (32-bit); sameAsAbove[y] is 1 where row y repeats the row above.
    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove);
    // The whole file, once every row is added.
    std::string Finish() { return std::move(m_pbm); }

private:
    std::string m_pbm;
    size_t m_rowBytes;
    size_t m_next; // where the next row goes
};

} // namespace qbm
