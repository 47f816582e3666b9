#pragma once
// The linear template editor's preview: the barcode drawn at printer resolution, then reduced to
// screen scale and centred in the editor's fixed preview area.

#include "surface/TBitmap.h"

#include <string>

namespace qbm {

class TBarcode;

inline constexpr int kTemplatePreviewWidth = 257;
inline constexpr int kTemplatePreviewHeight = 246;

// The barcode holds its module and height in dots of a `dpi` device and its fonts in points. The
// fonts are scaled to the device while drawing and restored afterwards, and the barcode is drawn
// with room for its caption on the left and above, its text below and a few characters to the
// right. Encoder errors propagate.
TBitmap DrawTemplatePreview(TBarcode& barcode, int dpi);

// A preview area that shows `message` instead of a barcode, so a code that cannot be encoded never
// leaves an empty or stale picture behind.
TBitmap MessagePreview(int width, int height, const std::string& message);

} // namespace qbm
