#pragma once
// The barcodes a project's labels are drawn with: the on-screen linear barcode, the two 2D
// components and the label picture, set from the template library for a device resolution.

#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "templates/TLabelPicture.h"

namespace qbm {

class TIniFile;
class TLabelProject;

struct TLabelSetup {
    TBarcode bcdMain;
    TStPDF417Barcode pdf417;
    TStMaxiCodeBarcode maxiCode;
    TLabelPicture label;

    // The 2D component of the project's format (PDF417 unless MaxiCode is chosen).
    TStCustom2DBarcode& Symbol2D(const TLabelProject& project);
};

// Applies the project's template (linear kind, at dpiX x dpiY, showing the first label's code) or
// the library's 2D settings (2D kind, showing the current 2D text). A first code that the symbology
// cannot draw throws the encoder's error for the caller to report; no label is drawn without it.
void ApplyProjectLabel(TLabelSetup& setup, TLabelProject& project, const TIniFile& library, int dpiX,
                       int dpiY);

} // namespace qbm
