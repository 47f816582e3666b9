#pragma once
// The project's stored settings as one value: what an undo step puts back. The datasheet is not part
// of it (it can hold millions of cells and has its own window); the field choices are kept as indexes.

#include "project/TLabelProject.h"

#include <optional>
#include <string>
#include <vector>

namespace qbm {

struct TProjectSettings {
    std::string templateName;
    TLinearSource linearSource = TLinearSource::lsConstant;
    std::string fixedCode;
    std::string extCaption;
    int fixedCodeAmount = 1;
    int codeField = 0;
    int capField = 0;
    T2DSource source2D = T2DSource::tsFixedText;
    std::vector<std::string> codeList2D;
    std::string text2D;
    int amount2D = 1;
    int format2D = 0;
    std::optional<T2DSettings> settings2D;
    TPrintPreferences printPreferences;
    TSymbolSettings symbolOptions2D;
    std::vector<std::string> linearCodeList;
    int linage = 2;
    int column = 2;
    int marginLeft = 10;
    int marginRight = 10;
    int marginTop = 10;
    int marginBottom = 10;
    bool splitMarks = true;
    TPrinterOrientation orientation = TPrinterOrientation::poPortrait;
    std::optional<TStockChoice> stock;

    static TProjectSettings Capture(const TLabelProject& project);
    void RestoreInto(TLabelProject& project) const;
    bool operator==(const TProjectSettings&) const = default;
};

} // namespace qbm
