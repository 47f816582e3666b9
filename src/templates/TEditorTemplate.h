#pragma once
// One linear template as the template editor reads it: the editor has its own defaults (a narrow
// bar of 0.5 mm), which differ from those the main window applies templates with.

#include "surface/TFont.h"

#include <string>

namespace qbm {

class TIniFile;

struct TEditorTemplate {
    int CodeType = 0;           // TBarcodeType ordinal, the index of the format list
    int TextLayout = 0;         // "Left", "Right", "Center", "None"
    int ExtCaptionPosition = 0; // "Left", "Right", "Center"
    int Height = 30;            // millimetres
    int BarWidth = 50;          // hundredths of a millimetre
    bool CheckSum = false;
    std::string CFontName;
    int CFontSize = 0;
    std::string CFontStyle;
    std::string XFontName;
    int XFontSize = 0;
    std::string XFontStyle;
};

TEditorTemplate ReadEditorTemplate(const TIniFile& library, const std::string& name);

// A font as a template stores it over `current`: an empty name keeps the current name.
TFont StoredFont(const TFont& current, const std::string& name, int points, const std::string& letters);

} // namespace qbm
