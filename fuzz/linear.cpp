// Random type (valid or not), settings and text through TBarcode: BuildPattern, Width and Draw on a
// bitmap and on the measuring canvas. Only the engine's own errors may come out.

#include "barcode/TBarcode.h"
#include "barcode/TBoundsCanvas.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "util/Errors.h"

#include "FuzzSupport.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace qbm;

using qbm::fuzz::Check;

using TReader = qbm::fuzz::TFuzzReader;

bool IsPatternCharacter(char c) {
    return (c >= '0' && c <= '3') || (c >= '5' && c <= '8') || (c >= 'A' && c <= 'D');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (EnsureGuiApplication(), true);
    (void)ready;
    TReader in(data, size);
    TBarcode bc;
    bc.SetTyp(static_cast<TBarcodeType>(in.Byte() % 32)); // 29..31 are types a damaged template may hold
    bc.SetModul(in.Byte() % 52);                          // 0, 50 and 51 must be ignored
    // Ratios from -8 to 8 in sixteenths: the types without a clamp see zero and negative widths.
    bc.SetRatio(static_cast<int8_t>(in.Byte()) / 16.0);
    const uint8_t flags = in.Byte();
    bc.SetChecksum(flags & 1);
    bc.SetCheckSumMethod(flags & 2 ? csmModulo10 : csmNone);
    bc.SetShowText(static_cast<TBarcodeOption>((flags >> 2) & 3));
    bc.SetShowTextPosition(static_cast<TShowTextPosition>(in.Byte() % 6));
    bc.ExtCaptionPosition = in.Byte() % 4;
    bc.SetAngle(in.Short() / 10.0);
    bc.SetHeight(in.Byte());
    bc.SetLeft(in.Byte() % 64 - 16);
    bc.SetTop(in.Byte() % 64 - 16);
    const size_t captionLength = in.Byte() % 8;
    bc.ExtCaption = in.Rest(captionLength);
    bc.SetText(in.Rest(256));

    const TBarcodeType type = bc.Typ();
    const std::string before = bc.Text();
    std::string pattern;
    try {
        pattern = bc.BuildPattern();
    } catch (const EBarcodeError&) {
        return 0;
    } catch (const EConvertError&) {
        return 0;
    }
    Check(type < kBarcodeTypeCount);
    for (const char c : pattern) Check(IsPatternCharacter(c));
    if (type == bcCode39Extended || type == bcCode93Extended) Check(bc.Text() == before);
    if (BCdata[type].Num)
        for (const char c : bc.Text()) Check(c >= '0' && c <= '9');
    Check(bc.Modul() >= 1 && bc.Modul() <= 49);

    TBitmap bitmap(160, 120);
    TCanvas& canvas = bitmap.Canvas();
    const TPen pen = canvas.Pen();
    const TBrush brush = canvas.Brush();
    const TFont font = canvas.Font();
    bc.Draw(canvas);
    Check(canvas.Pen() == pen && canvas.Brush() == brush && canvas.Font() == font);
    // The same symbol again gives the same pattern: every write-back is settled after one build.
    Check(bc.BuildPattern() == pattern);
    TBoundsCanvas bounds;
    bc.Draw(bounds);
    return 0;
}
