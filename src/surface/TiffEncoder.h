#pragma once
// TIFF files of pages, through libtiff, with the page's resolution. Pages without colour (black bars,
// text whose edges are grey) are stored as one bit per pixel with fax (CCITT group 4) compression,
// pixels darker than half grey black: the form raster printers and document archives take. Pages
// with colour keep it, Deflate-compressed.

#include "surface/TBitmap.h"

#include <memory>
#include <string>
#include <vector>

typedef struct tiff TIFF;

class QImage;

namespace qbm {

enum class TPageColours;
struct TPageSurvey;

// Writes `picture` to `path`; throws EInOutError with libtiff's reason when it cannot.
void WriteTiff(const TBitmap& picture, const std::string& path);

// A TIFF file written from a page's rows as they come, band by band. Throws EInOutError with
// libtiff's reason when the file cannot be written.
class TTiffRows {
public:
    TTiffRows(const std::string& path, int width, int height, int dpi, TPageColours colours);
    ~TTiffRows();
    TTiffRows(const TTiffRows&) = delete;
    TTiffRows& operator=(const TTiffRows&) = delete;

    // The first `rows` rows of `band` (32-bit); sameAsAbove[y] is 1 where row y repeats the row above.
    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove);
    // Completes the file, once every row is added.
    void Finish();

private:
    [[noreturn]] void Fail() const;

    std::string m_path;
    std::unique_ptr<std::string> m_reason; // where libtiff's handlers keep its first error
    TIFF* m_tiff = nullptr;
    int m_width;
    bool m_colour;
    int m_next = 0;
    std::vector<uint8_t> m_row;
};
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
void WriteTiff(const TBitmap& picture, const TPageSurvey& survey, const std::string& path);

} // namespace qbm
