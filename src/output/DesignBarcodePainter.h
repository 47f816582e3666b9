#pragma once
// A barcode object of a label design: its symbol for the label's code, as large as its box allows
// with whole-dot modules, centred in the box with its quiet zone.

#include "design/TDesignObject.h"

#include <string>

namespace qbm {

class TCanvas;

// Draws into the upright box of `width` x `height` pixels at the canvas's origin (a turned canvas
// turns it). The symbology's own errors (a code it cannot carry) are raised as they are.
void DrawDesignBarcode(TCanvas& canvas, const TDesignObject& object, const std::string& code, int width,
                       int height);

} // namespace qbm
