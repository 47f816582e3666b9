#include "templates/TTemplate.h"

#include "ini/TIniFile.h"

namespace qbm {

TTemplate ReadTemplate(const TIniFile& library, const std::string& name) {
    const TTemplate d;
    TTemplate t;
    t.CodeType = library.ReadInteger(name, "CodeType", d.CodeType);
    t.TextContent = library.ReadInteger(name, "TextContent", d.TextContent);
    t.TextLayout = library.ReadInteger(name, "TextLayout", d.TextLayout);
    t.Height = library.ReadInteger(name, "Height", d.Height);
    t.BarWidth = library.ReadInteger(name, "BarWidth", d.BarWidth);
    t.Angle = library.ReadInteger(name, "Angle", d.Angle);
    t.ExtCaptionPosition = library.ReadInteger(name, "ExtCaptionPosition", d.ExtCaptionPosition);
    t.CheckSum = library.ReadBool(name, "CheckSum", d.CheckSum);
    t.XFontName = library.ReadString(name, "XFontName", "");
    t.CFontName = library.ReadString(name, "CFontName", "");
    t.XFontStyle = library.ReadString(name, "XFontStyle", "");
    t.CFontStyle = library.ReadString(name, "CFontStyle", "");
    t.XFontSize = library.ReadInteger(name, "XFontSize", d.XFontSize);
    t.CFontSize = library.ReadInteger(name, "CFontSize", d.CFontSize);
    return t;
}

} // namespace qbm
