// Random symbology, settings and text through EncodeSymbol and ParseGs1ElementString; every module of
// an accepted symbol lies within the picture, and a second encoding gives the same geometry.

#include "symbols/ESymbolError.h"
#include "symbols/Gs1ElementString.h"
#include "symbols/ZintSymbolEncoder.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <string>

using qbm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qbm::fuzz::TFuzzReader in(data, size);
    qbm::TSymbolSettings s;
    s.symbology = static_cast<qbm::TSymbology>(in.Range(0, qbm::kSymbologyCount - 1));
    s.qrEcc = static_cast<qbm::TQrEcc>(in.Range(0, 4));
    s.version = in.Range(-1, 41);
    s.shape = static_cast<qbm::TDataMatrixShape>(in.Range(0, 2));
    if (in.Byte() & 1) {
        s.rows = in.Range(0, 150);
        s.columns = in.Range(0, 150);
    }
    s.gs1 = in.Byte() & 1;
    s.aztecEccPercent = in.Range(-1, 60);
    s.showText = in.Byte() & 1;
    const std::string text = in.Rest(3000);

    try {
        qbm::ParseGs1ElementString(text);
    } catch (const qbm::ESymbolError&) {
    }
    try {
        const qbm::TSymbolGeometry g = qbm::EncodeSymbol(s, text);
        Check(g.width > 0 && g.height > 0);
        for (const qbm::TModuleRect& r : g.rects)
            Check(r.x >= 0 && r.y >= 0 && r.x + r.width <= g.width + 1e-3 &&
                  r.y + r.height <= g.height + 1e-3);
        // The module rows of a matrix symbol hold as many dark modules as its rectangles cover.
        if (!g.modules.bits.empty()) {
            double area = 0;
            for (const qbm::TModuleRect& r : g.rects) area += r.width * r.height;
            long dark = 0;
            for (int y = 0; y < g.modules.rows; ++y)
                for (int x = 0; x < g.modules.columns; ++x) dark += g.modules.Dark(y, x);
            Check(area == static_cast<double>(dark));
        }
        Check(qbm::EncodeSymbol(s, text) == g);
    } catch (const qbm::ESymbolError&) {
    }
    return 0;
}
