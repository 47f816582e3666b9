#pragma once
// Carries a linear template into the on-screen barcode at the printer's resolution and draws the
// label picture.

#include "templates/TLabelPicture.h"
#include "templates/TTemplate.h"

#include <string>

namespace qbm {

class TBarcode;
class TIniFile;

// Resolution used when no printer is installed.
inline constexpr int kDefaultPrinterDpi = 300;

// Sets the barcode's symbology, text option and position, height and module width in printer dots,
// caption position, fonts and check digit, then draws it into the label picture, sized to the
// barcode. Afterwards the fonts hold their nominal point sizes again (the print loop relies on it).
// Encoder errors propagate.
void ApplyTemplate(const TTemplate& settings, TBarcode& barcode, TLabelPicture& label, int dpiX, int dpiY);
// The same for the template of that name in the library.
void ApplyTemplate(const TIniFile& library, const std::string& name, TBarcode& barcode, TLabelPicture& label,
                   int dpiX, int dpiY);

} // namespace qbm
