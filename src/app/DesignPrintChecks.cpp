#include "app/DesignPrintChecks.h"

#include "data/TDatasheet.h"
#include "design/DesignSymbology.h"
#include "design/MergeText.h"
#include "output/DesignTextLayout.h"
#include "output/TDesignFields.h"
#include "project/CodeValueSources.h"
#include "surface/GuiApplication.h"
#include "surface/TBitmap.h"
#include "symbols/ZintSymbolEncoder.h"
#include "util/Rounding.h"
#include "util/Text.h"

#include <variant>

namespace qbm {

namespace {

constexpr long long kListed = 20;

std::string ObjectName(const TLabelDesign& design, size_t i) {
    return "object " + std::to_string(i + 1) + " (" + DesignKindName(design.objects[i].kind) + ")";
}

// Why the object's symbology cannot carry the code, or empty.
std::string BarcodeProblem(const TDesignObject& object, const std::string& code) {
    const std::optional<TDesignSymbology> symbology = DesignSymbologyByName(object.symbology);
    if (!symbology) return "unknown symbology \"" + object.symbology + "\"";
    if (const auto* type = std::get_if<TBarcodeType>(&*symbology)) {
        if (!FitsLatin1(code)) return "the code \"" + code + "\" holds characters a bar code cannot carry";
        return CodeProblem(Utf8ToLatin1(code), *type, false);
    }
    if (const auto* symbol = std::get_if<TSymbology>(&*symbology)) {
        TSymbolSettings settings;
        settings.symbology = *symbol;
        try {
            EncodeSymbol(settings, code);
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }
    return "PDF417 and MaxiCode cannot be drawn in a label design yet";
}

} // namespace

std::string DesignPrintProblems(const TLabelDesign& design, const TDatasheet* sheet, TLabelFeed& feed,
                                long long first, long long last, int dpi) {
    std::string message;
    long long problems = 0;
    const auto note = [&](const std::string& text) {
        if (++problems > kListed) return;
        if (!message.empty()) message += "\n";
        message += text;
    };
    const std::vector<std::string> columns = sheet ? sheet->ColumnNames() : std::vector<std::string>{};
    for (size_t i = 0; i < design.objects.size(); ++i)
        for (const std::string& field : UnknownMergeFields(design.objects[i].value, columns))
            note(ObjectName(design, i) + ": the datasheet has no column \"" + field + "\"");
    if (problems > 0) return message;

    EnsureGuiApplication();
    TBitmap measure(1, 1);
    measure.SetResolution(dpi);
    const TDesignFields fields(sheet);
    const long long firstIndex = feed.FirstIndex();
    for (long long index = first; index <= last; ++index) {
        const TMergeValues values = fields.Values(feed.Value(index), index - firstIndex + 1);
        for (size_t i = 0; i < design.objects.size(); ++i) {
            const TDesignObject& o = design.objects[i];
            std::string problem;
            if (o.kind == TDesignKind::Barcode) {
                problem = BarcodeProblem(o, ExpandMergeText(o.value, values));
            } else if (o.kind == TDesignKind::Text && !o.shrinkToFit) {
                const TDesignTextLayout layout =
                    LayOutDesignText(measure.Canvas(), o, ExpandMergeText(o.value, values),
                                     MmToDots(o.widthMm, dpi), MmToDots(o.heightMm, dpi));
                if (!layout.fits)
                    problem = "the text does not fit its box (let it shrink, or make the box larger)";
            }
            if (!problem.empty())
                note("Label " + std::to_string(index - firstIndex + 1) + ", " + ObjectName(design, i) + ": " +
                     problem);
        }
    }
    if (problems > kListed) message += "\n... and " + std::to_string(problems - kListed) + " more";
    return message;
}

} // namespace qbm
