#pragma once
// One linear template as ApplyTemplate reads it from the library, with the reader's defaults.

#include <string>

namespace qbm {

class TIniFile;

struct TTemplate {
    int CodeType = 0;           // TBarcodeType ordinal
    int TextContent = 0;        // TBarcodeOption ordinal
    int TextLayout = 0;         // 0 left, 1 right, 2 centre, 3 none; also the text position ordinal
    int Height = 30;            // millimetres
    int BarWidth = 64;          // hundredths of a millimetre
    int Angle = 0;              // read and not used
    int ExtCaptionPosition = 0; // 0 left, 1 right, 2 centre
    bool CheckSum = false;
    std::string XFontName;
    std::string CFontName;
    std::string XFontStyle;
    std::string CFontStyle;
    int XFontSize = 0; // points
    int CFontSize = 0; // points
};

// A missing section or key gives the defaults above, so a deleted template applies with all of them.
TTemplate ReadTemplate(const TIniFile& library, const std::string& name);

} // namespace qbm
