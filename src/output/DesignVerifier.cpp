#include "output/DesignVerifier.h"

#include "barcode/TBarcode.h"
#include "barcode/TBoundsCanvas.h"
#include "design/DesignSymbology.h"
#include "output/DesignBarcodePainter.h"
#include "output/ScanExpectation.h"
#include "output/SymbolReader.h"
#include "output/TDesignFields.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "surface/TTurnedCanvas.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <variant>

namespace qbm {

namespace {

// White round the symbol, as a scanner sees it on the label, whatever quiet zone the box leaves.
constexpr int kMargin = 40;

bool Readable(const TDesignObject& o) {
    if (o.kind != TDesignKind::Barcode) return false;
    const std::optional<TDesignSymbology> s = DesignSymbologyByName(o.symbology);
    if (!s) return false;
    if (const auto* type = std::get_if<TBarcodeType>(&*s)) return CanReadLinear(*type);
    if (const auto* symbol = std::get_if<TSymbology>(&*s)) return CanReadSymbology(*symbol);
    return false;
}

struct TReading {
    std::string expected;
    std::optional<std::string> read;
    bool matches = false;
};

TReading ReadBack(const TDesignObject& o, const std::string& code, int dpi, TLinearSizing& sizing,
                  TBoundsCanvas& bounds) {
    const int w = MmToDots(o.widthMm, dpi), h = MmToDots(o.heightMm, dpi);
    TBitmap picture(w + 2 * kMargin, h + 2 * kMargin, TBitmapPixels::Grey);
    picture.SetResolution(dpi);
    TTurnedCanvas canvas(picture.Canvas(), {kMargin, kMargin}, w, h, 0);
    DrawDesignBarcode(canvas, o, code, w, h, sizing, bounds);
    const TGreyPicture grey = TGreyPicture::Of(picture);
    const TDesignSymbology s = *DesignSymbologyByName(o.symbology);
    TReading r;
    if (const auto* type = std::get_if<TBarcodeType>(&s)) {
        TBarcode settings;
        settings.SetTyp(*type);
        r.expected = ExpectedLinearReading(settings, Utf8ToLatin1(code));
        r.read = ReadLinearSymbol(grey, *type, false);
        r.matches = r.read && ReadingMatches(*type, r.expected, *r.read);
    } else {
        r.expected = code;
        r.read = ReadSymbologyText(grey, std::get<TSymbology>(s));
        r.matches = r.read == r.expected;
    }
    return r;
}

} // namespace

std::string DesignNoReader(const TLabelDesign& design) {
    for (const TDesignObject& o : design.objects)
        if (Readable(o)) return {};
    return "the label design has no barcode a reader here knows";
}

TVerifyReport VerifyDesignLabels(const TLabelDesign& design, const TDatasheet* sheet, TLabelFeed& feed,
                                 long long first, long long last, int dpi, const TVerifyProgress& progress) {
    EnsureGuiApplication();
    TVerifyReport report;
    const TDesignFields fields(sheet);
    std::vector<TLinearSizing> sizings(design.objects.size());
    TBoundsCanvas bounds;
    const long long firstIndex = feed.FirstIndex();
    const long long total = last - first + 1;
    for (long long index = first; index <= last; ++index) {
        const long long label = index - firstIndex + 1;
        const TMergeValues values = fields.Values(feed.Value(index), label);
        for (size_t i = 0; i < design.objects.size(); ++i) {
            const TDesignObject& o = design.objects[i];
            if (!Readable(o)) continue;
            const TReading r = ReadBack(o, ExpandMergeText(o.value, values), dpi, sizings[i], bounds);
            ++report.checked;
            if (r.matches) continue;
            ++report.failed;
            if (report.failures.size() < TLabelVerifier::kKeptFailures) {
                const std::string object = "object " + std::to_string(i + 1) + ": ";
                report.failures.push_back(
                    {label, object + r.expected, r.read ? *r.read : "nothing", r.read.has_value()});
            }
        }
        if (progress && (index - first) % 64 == 63 && !progress(index - first + 1, total)) {
            report.cancelled = true;
            return report;
        }
    }
    if (progress) progress(total, total);
    return report;
}

} // namespace qbm
