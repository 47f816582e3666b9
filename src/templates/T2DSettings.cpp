#include "templates/T2DSettings.h"

#include "ini/TIniFile.h"
#include "templates/TemplateLibrary.h"

namespace qbm {

T2DSettings Read2DSettings(const TIniFile& library) {
    const T2DSettings d;
    const char* s = kBarcode2DSection;
    T2DSettings r;
    r.PECC = library.ReadInteger(s, "PECC", d.PECC);
    r.PTruncated = library.ReadBool(s, "PTruncated", d.PTruncated);
    r.PBW = library.ReadInteger(s, "PBW", d.PBW);
    r.PBH = library.ReadInteger(s, "PBH", d.PBH);
    r.PCol = library.ReadInteger(s, "PCol", d.PCol);
    r.PRow = library.ReadInteger(s, "PRow", d.PRow);
    r.MMode = library.ReadInteger(s, "MMode", d.MMode);
    r.MMAS = library.ReadBool(s, "MMAS", d.MMAS);
    r.MCON = library.ReadInteger(s, "MCON", d.MCON);
    r.MSEV = library.ReadInteger(s, "MSEV", d.MSEV);
    r.MPST = library.ReadString(s, "MPST", d.MPST);
    r.MBarWidth = library.ReadInteger(s, "MBWH", d.MBarWidth);
    r.MBarHeight = library.ReadInteger(s, "MBWH", d.MBarHeight);
    return r;
}

} // namespace qbm
