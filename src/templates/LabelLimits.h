#pragma once
// Sizes no real label reaches. Settings read from a library, a project or the command line are held
// to them before anything is drawn, so a damaged or hostile value is reported by name instead of
// exhausting memory or time in the drawing.

#include "util/Errors.h"

#include <cstddef>
#include <string>

namespace qbm {

// A bar's height in a linear template, in millimetres (the editor offers up to 800).
inline constexpr int kMaxTemplateHeightMm = 1000;
// A linear template's narrow bar width, in hundredths of a millimetre (the editor offers up to 800).
inline constexpr int kMaxTemplateBarWidth = 10000;
// A 2D module or bar width in pixels: a 2 mm module at 2400 dpi is 189 pixels.
inline constexpr int kMax2DModulePixels = 200;
// PDF417 row height as a multiple of the bar width (the editor offers up to 4).
inline constexpr int kMaxPdf417HeightToWidth = 100;
// A label picture's side in pixels: two metres at 1200 dpi.
inline constexpr int kMaxLabelPixels = 100000;
// A label picture's area in pixels (a gigabyte of picture memory).
inline constexpr long long kMaxLabelArea = 1LL << 28;

// Every symbology gives each character at least one pixel, so a code longer than a label is wide is
// refused before its pattern (ten times its length) is built or measured.
inline bool CodeWiderThanAnyLabel(size_t characters) {
    return characters > static_cast<size_t>(kMaxLabelPixels);
}
inline void RefuseCodeWiderThanAnyLabel(size_t characters) {
    if (CodeWiderThanAnyLabel(characters))
        throw EInOutError("The label would be more than " + std::to_string(kMaxLabelPixels) +
                          " pixels wide, more than a label picture can hold; the code has " +
                          std::to_string(characters) + " characters.");
}

} // namespace qbm
