// Random Code text, carrier fields and size settings through TStMaxiCodeBarcode: set them, render on
// screen and for a device, and check that every refusal keeps the previous value and that the
// symbol holds only 6-bit codewords with the right mode indicator.

#include "barcode2d/TStMaxiCodeBarcode.h"
#include "surface/GuiApplication.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using qbm::fuzz::Check;

template <typename F> bool Try(F&& f) {
    try {
        f();
        return true;
    } catch (const qbm::E2DBarcodeError&) {
    }
    return false;
}

void CheckSymbol(const qbm::TStMaxiCodeBarcode& bc) {
    const auto& cw = bc.Codewords();
    for (int i = 0; i < 144; ++i) Check(cw[i] < 64);
    const int indicator = cw[0] & 15;
    switch (bc.Mode()) {
    case qbm::cmMode2:
    case qbm::cmMode3:
        Check(indicator == 2 || indicator == 3);
        break;
    default:
        Check(indicator == bc.Mode() + 2);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 12) return 0;
    qbm::EnsureGuiApplication();
    static qbm::TStMaxiCodeBarcode bc; // one component across inputs, as the application keeps it
    const auto mode = static_cast<qbm::TStMaxiCodeMode>(data[0] % 5);
    int32_t country, service;
    std::memcpy(&country, data + 1, 4);
    std::memcpy(&service, data + 5, 4);
    const uint8_t flags = data[9];
    const int barSize = static_cast<int8_t>(data[10]) / 8; // -16..15, some negative
    const int dpi = data[11] % 4 == 0 ? 0 : 24 + data[11] % 128;
    std::string rest(reinterpret_cast<const char*>(data + 12), size - 12);
    // the postal code is the text up to the first '|', the Code what follows
    const size_t bar = rest.find('|');
    const std::string postal = bar == std::string::npos ? "123456" : rest.substr(0, bar);
    const std::string code = bar == std::string::npos ? rest : rest.substr(bar + 1);

    Try([&] { bc.SetCarrierPostalCode(postal); });
    Try([&] { bc.SetCarrierCountryCode(country); });
    Try([&] { bc.SetCarrierServiceClass(service); });
    const qbm::TStMaxiCodeMode modeBefore = bc.Mode();
    if (!Try([&] { bc.SetMode(mode); })) Check(bc.Mode() == modeBefore);
    Try([&] { bc.SetBarWidth(flags & 1 ? barSize : 0); });
    Try([&] { bc.SetBarHeight(flags & 2 ? barSize + 1 : 0); });
    Try([&] { bc.SetHorPixelsPerMM(flags & 4 ? 0.0 : 1.5 + (flags >> 4)); });
    Try([&] { bc.SetVerPixelsPerMM(flags & 8 ? 0.0 : 2.0 + (flags >> 5)); });
    Try([&] { bc.SetAutoScale(flags & 0x40); });
    CheckSymbol(bc);

    const std::string before = bc.Code();
    if (!Try([&] { bc.SetCode(code); })) Check(bc.Code() == before);
    CheckSymbol(bc);

    qbm::TBitmap target;
    target.SetResolution(dpi > 0 ? dpi : 96);
    bc.RenderToBitmap(target, dpi, dpi);
    return 0;
}
