#pragma once
// The settings of the two 2D symbologies in the library's "Barcode2D" section, with the defaults
// that Apply2DSettings reads them with.

#include <string>

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
};

T2DSettings Read2DSettings(const TIniFile& library);

} // namespace qbm
