#pragma once
// TIFF files of pages, through libtiff, with the page's resolution. Pages without colour (black bars,
// text whose edges are grey) are stored as one bit per pixel with fax (CCITT group 4) compression,
// pixels darker than half grey black: the form raster printers and document archives take. Pages
// with colour keep it, Deflate-compressed.

#include "surface/TBitmap.h"

#include <string>

namespace qbm {

struct TPageSurvey;

// Writes `picture` to `path`; throws EInOutError with libtiff's reason when it cannot.
void WriteTiff(const TBitmap& picture, const std::string& path);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
void WriteTiff(const TBitmap& picture, const TPageSurvey& survey, const std::string& path);

} // namespace qbm
