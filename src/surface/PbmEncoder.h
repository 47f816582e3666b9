#pragma once
// Binary PBM (P4) files of pages: one bit per pixel, pixels darker than half grey black. The format
// every raster filter reads; it has no place for the resolution.

#include "surface/TBitmap.h"

#include <string>

namespace qbm {

struct TPageSurvey;

std::string EncodePbm(const TBitmap& picture);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
std::string EncodePbm(const TBitmap& picture, const TPageSurvey& survey);

} // namespace qbm
