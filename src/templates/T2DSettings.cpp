#include "templates/T2DSettings.h"

#include "ini/TIniFile.h"
#include "templates/TemplateLibrary.h"
#include "util/Text.h"

namespace qbm {

T2DSettings Read2DSettings(const TIniFile& library) {
    return Read2DSettingsKeys(library, kBarcode2DSection, T2DSettings{});
}

TMaxiCodeCarrier CarrierOf(const T2DSettings& s) {
    const int mode = s.MMode >= cmMode2 && s.MMode <= cmMode6 ? s.MMode : T2DSettings{}.MMode;
    return {static_cast<TStMaxiCodeMode>(mode), Trim(s.MPST), s.MCON, s.MSEV};
}

} // namespace qbm
