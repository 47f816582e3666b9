// Random Code text and settings through TStPDF417Barcode: set them, render on screen and for a
// device, and check that every refusal keeps the previous code and a drawable symbol.

#include "barcode2d/TStPDF417Barcode.h"
#include "surface/GuiApplication.h"
#include "util/Errors.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using qbm::fuzz::Check;

// Applies one setter; a refusal must be one of the component's errors.
template <typename F> bool Try(F&& f) {
    try {
        f();
        return true;
    } catch (const qbm::E2DBarcodeError&) {
    } catch (const qbm::EConvertError&) {
    }
    return false;
}

void CheckSymbol(qbm::TStPDF417Barcode& bc) {
    const qbm::TPdf417Dimensions d = bc.CalcDimensions();
    Check(d.columns >= 1 && d.columns <= 30 && d.rows >= 1 && d.rows <= 90);
    Check(bc.CodewordCount() >= 1 && bc.CodewordCount() <= qbm::kPdf417BufferSize);
    // A symbol the component accepted must be drawable: every codeword in range.
    for (int v : bc.SymbolCodewords()) Check(v >= 0 && v <= 928);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    qbm::EnsureGuiApplication();
    static qbm::TStPDF417Barcode bc; // one component across inputs, as the application keeps it
    const uint8_t ecc = data[0] % 10;
    const int columns = data[1] % 33 - 1;
    const int rows = data[2] % 93 - 1;
    const uint8_t flags = data[3];
    const int barWidth = data[4] % 5;
    const int dpi = data[5] % 4 == 0 ? 0 : 24 + data[5];
    const std::string code(reinterpret_cast<const char*>(data + 6), size - 6);

    Try([&] { bc.SetECCLevel(static_cast<qbm::TStPDF417ECCLevels>(ecc)); });
    Try([&] { bc.SetNumColumns(columns); });
    Try([&] { bc.SetNumRows(rows); });
    Try([&] { bc.SetTruncated(flags & 1); });
    Try([&] { bc.SetBarWidth(barWidth); });
    Try([&] { bc.SetBarHeight((flags >> 1) & 3); });
    Try([&] { bc.SetBarHeightToWidth((flags >> 3) & 3); });
    Try([&] { bc.SetRelativeBarHeight(flags & 0x20); });
    Try([&] { bc.SetCaptionLayout(static_cast<qbm::TTextLayout>((flags >> 6) % 3)); });
    Try([&] { bc.SetCaption(flags & 0x80 ? "Fuzz" : ""); });
    CheckSymbol(bc);

    const std::string before = bc.Code();
    if (!Try([&] { bc.SetCode(code); })) Check(bc.Code() == before);
    CheckSymbol(bc);

    qbm::TBitmap target;
    target.SetResolution(dpi > 0 ? dpi : 96);
    Try([&] { bc.RenderToBitmap(target, dpi, dpi); });
    return 0;
}
