#include "templates/TEditorTemplate.h"

#include "ini/TIniFile.h"
#include "templates/FontStyleLetters.h"

namespace qbm {

TEditorTemplate ReadEditorTemplate(const TIniFile& library, const std::string& name) {
    const TEditorTemplate d;
    TEditorTemplate t;
    t.CodeType = library.ReadInteger(name, "CodeType", d.CodeType);
    t.ExtCaptionPosition = library.ReadInteger(name, "ExtCaptionPosition", d.ExtCaptionPosition);
    t.TextLayout = library.ReadInteger(name, "TextLayout", d.TextLayout);
    t.Height = library.ReadInteger(name, "Height", d.Height);
    t.BarWidth = library.ReadInteger(name, "BarWidth", d.BarWidth);
    t.CheckSum = library.ReadBool(name, "CheckSum", d.CheckSum);
    t.XFontName = library.ReadString(name, "XFontName", "");
    t.XFontSize = library.ReadInteger(name, "XFontSize", d.XFontSize);
    t.XFontStyle = library.ReadString(name, "XFontStyle", "");
    t.CFontName = library.ReadString(name, "CFontName", "");
    t.CFontSize = library.ReadInteger(name, "CFontSize", d.CFontSize);
    t.CFontStyle = library.ReadString(name, "CFontStyle", "");
    return t;
}

TFont StoredFont(const TFont& current, const std::string& name, int points, const std::string& letters) {
    TFont font = current;
    if (!name.empty()) font.SetName(name);
    font.SetSize(points);
    font.SetStyle(LettersToStyle(letters));
    return font;
}

} // namespace qbm
