#pragma once
// A barcode object of a label design: its symbol for the label's code, as large as its box allows
// with whole-dot modules, centred in the box with its quiet zone.

#include "design/TDesignObject.h"

#include <cstddef>
#include <string>

namespace qbm {

class TBoundsCanvas;
class TTurnedCanvas;

// The size a linear object's symbol was given for its last code: the labels of a run mostly carry
// codes of one length, which then take one layout a label instead of one for every module tried.
struct TLinearSizing {
    size_t codeLength = 0;
    int modul = 0;
    int barHeight = 0;
    int textPixels = 0;
};

// Draws into the object's upright box of `width` x `height` pixels (the canvas turns it); linear
// symbols are measured on `bounds`, which keeps its fonts from label to label. The symbology's own
// errors (a code it cannot carry) are raised as they are.
void DrawDesignBarcode(TTurnedCanvas& canvas, const TDesignObject& object, const std::string& code, int width,
                       int height, TLinearSizing& sizing, TBoundsCanvas& bounds);

} // namespace qbm
