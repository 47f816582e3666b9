#pragma once
// The settings of the two 2D symbologies in the library's "Barcode2D" section, with the defaults
// that Apply2DSettings reads them with.

#include "barcode2d/TMaxiCodeCarrier.h"

#include <string>
#include <string_view>

namespace qbm {

class TIniFile;

struct T2DSettings {
    int PECC = 1; // TStPDF417ECCLevels ordinal: 0 automatic, 1..9 levels 0..8
    bool PTruncated = false;
    int PBW = 1;
    int PBH = 3;
    int PCol = 0;
    int PRow = 0;
    int MMode = 4; // TStMaxiCodeMode ordinal: 0 = mode 2 ... 4 = mode 6
    bool MMAS = true;
    int MCON = 0;
    int MSEV = 0;
    std::string MPST = "0";
    int MBarWidth = 0;  // "MBWH" read with default 0
    int MBarHeight = 4; // "MBWH" read with default 4
    friend bool operator==(const T2DSettings&, const T2DSettings&) = default;
};

T2DSettings Read2DSettings(const TIniFile& library);

// The MaxiCode mode and carrier data the settings give the symbol: the postal code trimmed, a mode
// ordinal beyond the list (a hand-edited file) taken as the default.
TMaxiCodeCarrier CarrierOf(const T2DSettings& settings);

// The keys of a 2D settings section in the order the library writes them. A project file keeps its
// own copy under the same keys, so both are read and written by these two.
template <typename Ini> void Write2DSettingsKeys(Ini& ini, std::string_view section, const T2DSettings& s) {
    ini.WriteInteger(section, "PECC", s.PECC);
    ini.WriteBool(section, "PTruncated", s.PTruncated);
    ini.WriteInteger(section, "PBW", s.PBW);
    ini.WriteInteger(section, "PBH", s.PBH);
    ini.WriteInteger(section, "PCol", s.PCol);
    ini.WriteInteger(section, "PRow", s.PRow);
    ini.WriteInteger(section, "MMode", s.MMode);
    ini.WriteInteger(section, "MCON", s.MCON);
    ini.WriteInteger(section, "MSEV", s.MSEV);
    ini.WriteString(section, "MPST", s.MPST);
    ini.WriteBool(section, "MMAS", s.MMAS);
    ini.WriteInteger(section, "MBWH", s.MBarWidth);
}

// "MBWH" is read twice, as width and height, each with its own default.
template <typename Ini>
T2DSettings Read2DSettingsKeys(Ini& ini, std::string_view section, const T2DSettings& d) {
    T2DSettings r;
    r.PECC = ini.ReadInteger(section, "PECC", d.PECC);
    r.PTruncated = ini.ReadBool(section, "PTruncated", d.PTruncated);
    r.PBW = ini.ReadInteger(section, "PBW", d.PBW);
    r.PBH = ini.ReadInteger(section, "PBH", d.PBH);
    r.PCol = ini.ReadInteger(section, "PCol", d.PCol);
    r.PRow = ini.ReadInteger(section, "PRow", d.PRow);
    r.MMode = ini.ReadInteger(section, "MMode", d.MMode);
    r.MMAS = ini.ReadBool(section, "MMAS", d.MMAS);
    r.MCON = ini.ReadInteger(section, "MCON", d.MCON);
    r.MSEV = ini.ReadInteger(section, "MSEV", d.MSEV);
    r.MPST = ini.ReadString(section, "MPST", d.MPST);
    r.MBarWidth = ini.ReadInteger(section, "MBWH", d.MBarWidth);
    r.MBarHeight = ini.ReadInteger(section, "MBWH", d.MBarHeight);
    return r;
}

} // namespace qbm
