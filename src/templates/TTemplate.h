#pragma once
// One linear template as ApplyTemplate reads it from the library, with the reader's defaults.

#include <string>
#include <string_view>

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

    bool operator==(const TTemplate&) const = default;
};

// A template's keys in one section of a settings file (the library, or the copy a project carries);
// `Ini` is either kind of settings file.
template <class Ini> TTemplate ReadTemplateSection(Ini& ini, std::string_view section) {
    const TTemplate d;
    TTemplate t;
    t.CodeType = ini.ReadInteger(section, "CodeType", d.CodeType);
    t.TextContent = ini.ReadInteger(section, "TextContent", d.TextContent);
    t.TextLayout = ini.ReadInteger(section, "TextLayout", d.TextLayout);
    t.Height = ini.ReadInteger(section, "Height", d.Height);
    t.BarWidth = ini.ReadInteger(section, "BarWidth", d.BarWidth);
    t.Angle = ini.ReadInteger(section, "Angle", d.Angle);
    t.ExtCaptionPosition = ini.ReadInteger(section, "ExtCaptionPosition", d.ExtCaptionPosition);
    t.CheckSum = ini.ReadBool(section, "CheckSum", d.CheckSum);
    t.XFontName = ini.ReadString(section, "XFontName", "");
    t.CFontName = ini.ReadString(section, "CFontName", "");
    t.XFontStyle = ini.ReadString(section, "XFontStyle", "");
    t.CFontStyle = ini.ReadString(section, "CFontStyle", "");
    t.XFontSize = ini.ReadInteger(section, "XFontSize", d.XFontSize);
    t.CFontSize = ini.ReadInteger(section, "CFontSize", d.CFontSize);
    return t;
}

template <class Ini> void WriteTemplateSection(Ini& ini, std::string_view section, const TTemplate& t) {
    ini.WriteInteger(section, "CodeType", t.CodeType);
    ini.WriteInteger(section, "TextContent", t.TextContent);
    ini.WriteInteger(section, "TextLayout", t.TextLayout);
    ini.WriteInteger(section, "Height", t.Height);
    ini.WriteInteger(section, "BarWidth", t.BarWidth);
    ini.WriteInteger(section, "Angle", t.Angle);
    ini.WriteInteger(section, "ExtCaptionPosition", t.ExtCaptionPosition);
    ini.WriteBool(section, "CheckSum", t.CheckSum);
    ini.WriteString(section, "XFontName", t.XFontName);
    ini.WriteString(section, "CFontName", t.CFontName);
    ini.WriteString(section, "XFontStyle", t.XFontStyle);
    ini.WriteString(section, "CFontStyle", t.CFontStyle);
    ini.WriteInteger(section, "XFontSize", t.XFontSize);
    ini.WriteInteger(section, "CFontSize", t.CFontSize);
}

// A missing section or key gives the defaults above, so a deleted template applies with all of them.
TTemplate ReadTemplate(const TIniFile& library, const std::string& name);

} // namespace qbm
