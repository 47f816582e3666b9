#pragma once
// The barcodes a project's labels are drawn with: the on-screen linear barcode, the two 2D
// components and the label picture, set from the template library for a device resolution.

#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "symbols/TStSymbolBarcode.h"
#include "templates/T2DSettings.h"
#include "templates/TLabelPicture.h"

namespace qbm {

class TIniFile;
class TLabelProject;

struct TLabelSetup {
    TBarcode bcdMain;
    TStPDF417Barcode pdf417;
    TStMaxiCodeBarcode maxiCode;
    // QR Code, Data Matrix, Aztec and Micro QR, set to the project's format and options.
    TStSymbolBarcode symbols;
    TLabelPicture label;

    // The 2D component of the project's format (PDF417 unless another is chosen).
    TStCustom2DBarcode& Symbol2D(const TLabelProject& project);
};

// Applies the 2D settings to PDF417 and MaxiCode and the project's options to the other formats, and
// paints the chosen format with the current 2D text into the label picture. Component errors
// (E2DBarcodeError) propagate.
void ApplyProjectLabel2D(TLabelSetup& setup, const TLabelProject& project, const T2DSettings& settings);

// Applies the project's template (linear kind, at dpiX x dpiY, showing the first label's code) or
// the library's 2D settings (2D kind, showing the current 2D text). A first code that the symbology
// cannot draw throws the encoder's error for the caller to report; no label is drawn without it.
void ApplyProjectLabel(TLabelSetup& setup, TLabelProject& project, const TIniFile& library, int dpiX,
                       int dpiY);

} // namespace qbm
