#pragma once
// The choice of a QR Code's data mask: the eight patterns scored by the four penalty rules of
// ISO/IEC 18004 (runs, 2 x 2 blocks, finder-like patterns, the balance of dark and light), the
// lowest score taken.

#include "symbols/QrCodeMatrix.h"

namespace qbm {

// The penalty of a finished symbol.
int QrPenalty(const TQrMatrix& m);

// Masks the codeword modules of `unmasked` (function patterns drawn, format light) with the best
// pattern and draws the format information; returns the mask's number. `columns` is `unmasked`
// transposed.
int QrApplyBestMask(TQrMatrix& unmasked, const TQrMatrix& columns, const TQrLayout& layout, TQrLevel level);

} // namespace qbm
