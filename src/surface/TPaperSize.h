#pragma once
// Paper sizes the file and raster printers offer.

#include <optional>
#include <string>

namespace qbm {

struct TPaperSize {
    double widthMm = 210.0;
    double heightMm = 297.0;

    static TPaperSize A4() { return {210.0, 297.0}; }
    static TPaperSize Letter() { return {215.9, 279.4}; }
    // "A4", "Letter" or "WxHmm" (e.g. "100x150mm"); nullopt for anything else.
    static std::optional<TPaperSize> Parse(const std::string& text);
};

} // namespace qbm
