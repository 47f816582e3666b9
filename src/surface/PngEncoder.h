#pragma once
// PNG files of pages and pictures, at one bit per pixel when all black and white, eight when grey,
// colour otherwise; every file carries the picture's resolution.

#include "surface/TBitmap.h"

#include <memory>
#include <string>
#include <vector>

class QImage;

namespace qbm {

enum class TPageColours;
struct TPageSurvey;

class TRunDeflater;
class TRowDeflater;

std::string EncodePng(const TBitmap& picture);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
std::string EncodePng(const TBitmap& picture, const TPageSurvey& survey);

// A PNG file built from a page's rows as they come, band by band, once the page is surveyed.
class TPngRows {
public:
    TPngRows(int width, int height, int dpi, TPageColours colours);
    ~TPngRows();
    TPngRows(const TPngRows&) = delete;
    TPngRows& operator=(const TPngRows&) = delete;

    // The first `rows` rows of `band` (32-bit); sameAsAbove[y] is 1 where row y repeats the row above.
    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove);
    // The whole file, once every row is added.
    std::string Finish();

private:
    int m_width, m_height, m_dpi;
    TPageColours m_colours;
    size_t m_rowBytes;
    int m_added = 0;
    std::vector<uint8_t> m_row; // filter byte 0 (the row as it is), then the row
    std::unique_ptr<TRunDeflater> m_runs;
    std::unique_ptr<TRowDeflater> m_colour;
};

} // namespace qbm
