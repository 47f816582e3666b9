#pragma once
// PNG files of pages and pictures, at one bit per pixel when all black and white, eight when grey,
// colour otherwise; every file carries the picture's resolution.

#include "surface/TBitmap.h"

#include <string>

namespace qbm {

struct TPageSurvey;

std::string EncodePng(const TBitmap& picture);
// The same, with the page's pixels already surveyed (SurveyPage of its 32-bit picture).
std::string EncodePng(const TBitmap& picture, const TPageSurvey& survey);

} // namespace qbm
