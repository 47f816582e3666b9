#pragma once
// Carries the library's 2D settings into the PDF417 and MaxiCode components and paints the chosen
// one, with the current 2D text, into the label picture at screen resolution.

#include "templates/T2DSettings.h"
#include "templates/TLabelPicture.h"

#include <string>

namespace qbm {

class TIniFile;
class TStCustom2DBarcode;
class TStPDF417Barcode;
class TStMaxiCodeBarcode;

// The items of the 2D format list.
inline constexpr const char* kPdf417FormatItem = "PDF417 Format";
inline constexpr const char* kMaxiCodeFormatItem = "Maxicode Format";

// Gives the component the text and paints it into the label picture: symbol plus the quiet zone on
// every side. A symbol too large for a label picture is refused (E2DBarcodeError).
void Paint2DLabel(TStCustom2DBarcode& component, const std::string& text, TLabelPicture& label);

// Sets one component from the settings, aligned left; component errors (E2DBarcodeError) propagate.
void ApplyPdf417Settings(const T2DSettings& settings, TStPDF417Barcode& pdf417);
void ApplyMaxiCodeSettings(const T2DSettings& settings, TStMaxiCodeBarcode& maxiCode);
// Sets both components from the settings; component errors (E2DBarcodeError) propagate.
void Apply2DComponentSettings(const T2DSettings& settings, TStPDF417Barcode& pdf417,
                              TStMaxiCodeBarcode& maxiCode);

// Applies the settings and, for the format item chosen, gives its component the text and paints it
// into the label picture: symbol plus the quiet zone on every side. Another item leaves the picture.
void Apply2DSettings(const T2DSettings& settings, const std::string& formatItem, const std::string& text,
                     TStPDF417Barcode& pdf417, TStMaxiCodeBarcode& maxiCode, TLabelPicture& label);
// The same with the settings read from the library.
void Apply2DSettings(const TIniFile& library, const std::string& formatItem, const std::string& text,
                     TStPDF417Barcode& pdf417, TStMaxiCodeBarcode& maxiCode, TLabelPicture& label);

} // namespace qbm
