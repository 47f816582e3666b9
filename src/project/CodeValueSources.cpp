#include "project/CodeValueSources.h"

#include "barcode/Code128Encoder.h"
#include "barcode/LinearSymbolGeometry.h"
#include "barcode/TBarcode.h"
#include "data/TDatasheet.h"
#include "project/TLabelProject.h"
#include "templates/LabelLimits.h"
#include "util/Text.h"

#include <algorithm>

namespace qbm {

int FindFieldColumn(const TDatasheet& sheet, std::string_view name) {
    const std::string wanted = Trim(name);
    const auto names = sheet.RowCells(0);
    for (size_t c = 1; c < names.size(); ++c)
        if (Trim(names[c]) == wanted) return static_cast<int>(c);
    // Columns past the last named one have empty headers, which only an empty name matches.
    if (wanted.empty() && static_cast<int>(names.size()) < sheet.ColumnCount())
        return std::max<int>(1, static_cast<int>(names.size()));
    return -1;
}

std::string FieldText(TDatasheet& sheet, std::string_view name, int row) {
    const int column = FindFieldColumn(sheet, name);
    if (column < 0) return {};
    sheet.SetCurrentColumn(column);
    return Trim(sheet.Cell(column, row));
}

std::string FieldValue(TDatasheet& sheet, std::string_view name, int row) {
    // The datasheet holds UTF-8; codes take the engines' Latin-1, as the symbologies encode them.
    return Utf8ToLatin1Replacing(FieldText(sheet, name, row));
}

bool ValidateCode(std::string_view text, TBarcodeType type) {
    if (type >= kBarcodeTypeCount) return false;
    const TBCdata& row = BCdata[type];
    // A view: the code may be very long, and only what it holds is looked at.
    const std::string_view value = TrimmedView(text);
    if (row.Num && !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (type == bcCode93 || IsGeometryType(type)) {
        // The Code 93 encoder refuses characters outside its set, the GS1 DataBar and Intelligent Mail
        // encoders values of the wrong length or form: their answer is the answer.
        try {
            EncodeLinear({value, type});
        } catch (const EBarcodeError&) {
            return false;
        }
    }
    if (row.MaxLen != -1 && static_cast<int>(value.size()) > row.MaxLen) return false;
    if (type == bcCodeEAN128C && !Ean128FixedLengthFits(value)) return false;
    return true;
}

std::string CodeProblem(std::string_view text, TBarcodeType type, bool checksum) {
    // The symbol encoders say what is wrong with a value ("GS1 DataBar Limited: ..."); their message
    // tells the user more than the fixed text.
    if (IsGeometryType(type)) {
        try {
            RefuseCodeWiderThanAnyLabel(text.size());
            EncodeLinear({text, type, checksum});
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }
    if (!ValidateCode(text, type)) return InvalidCodeText(type);
    try {
        RefuseCodeWiderThanAnyLabel(text.size());
    } catch (const EInOutError& e) {
        return e.what();
    }
    // The encoder refuses what no symbol can carry (a wrong check digit); it draws nothing. Numeric
    // codes are encoded trimmed, as the barcode trims them.
    const TBCdata& row = BCdata[type];
    try {
        EncodeLinear({row.Num ? TrimmedView(text) : text, type, checksum});
    } catch (const EBarcodeError& e) {
        return e.what();
    } catch (const std::exception&) {
        return InvalidCodeText(type);
    }
    return {};
}

std::string InvalidCodeMessage(TBarcodeType type) {
    return InvalidCodeText(type);
}

long long LabelCount(const TLabelProject& project) {
    if (project.Kind() == TBarcodeKind::bkLinear) {
        if (project.LinearSource() == TLinearSource::lsConstant) return project.FixedCodeAmount();
        return project.Datasheet().RowCount() - 1LL;
    }
    if (project.Source2D() == T2DSource::tsCodeList)
        return static_cast<long long>(project.CodeList2D().size());
    return project.Amount2D();
}

TCodeValue LabelValue(TLabelProject& project, long long number) {
    if (number < 0 || number >= LabelCount(project)) return {};
    if (project.Kind() == TBarcodeKind::bkLinear) {
        if (project.LinearSource() == TLinearSource::lsConstant)
            return {project.FixedCode(), project.ExtCaption()};
        TDatasheet& sheet = project.Datasheet();
        const int row = static_cast<int>(number + 1);
        // The caption is read last, so the caption field's column ends up current, as when printing.
        std::string code = FieldValue(sheet, project.CodeFieldName(), row);
        std::string caption = FieldText(sheet, project.CapFieldName(), row);
        return {std::move(code), std::move(caption)};
    }
    if (project.Source2D() == T2DSource::tsCodeList)
        return {Engine2DText(project, Trim(project.CodeList2D()[static_cast<size_t>(number)])), {}};
    return {Engine2DText(project, Trim(project.Text2D())), {}};
}

std::string Engine2DText(const TLabelProject& project, std::string_view text) {
    // QR Code, Data Matrix, Aztec and Micro QR encode UTF-8 (with its ECI); PDF417 and MaxiCode
    // encode Latin-1 bytes.
    if (project.Format2D() >= kFirstSymbolFormat) return std::string(text);
    return Utf8ToLatin1Replacing(text);
}

std::string Latin1Problem2D(const TLabelProject& project) {
    if (project.Format2D() >= kFirstSymbolFormat) return {};
    const std::string format = project.Format2D() == 1 ? "MaxiCode" : "PDF417";
    const auto problem = [&](const std::string& text, const std::string& where) {
        return format + " carries Latin-1 characters only, and " + where + " \"" + text +
               "\" has others. QR Code, Data Matrix and Aztec carry any script.";
    };
    if (project.Source2D() == T2DSource::tsCodeList) {
        const auto& list = project.CodeList2D();
        for (size_t i = 0; i < list.size(); ++i)
            if (!FitsLatin1(list[i])) return problem(list[i], "code " + std::to_string(i + 1));
        return {};
    }
    return FitsLatin1(project.Text2D()) ? std::string() : problem(project.Text2D(), "the fixed text");
}

std::string Current2DText(const TLabelProject& project) {
    if (project.Source2D() == T2DSource::tsCodeList && !project.CodeList2D().empty())
        return Engine2DText(project, project.CodeList2D().front());
    return Engine2DText(project, project.Text2D());
}

TNotedFields NoteFieldChoices(const TLabelProject& project) {
    TNotedFields noted;
    if (project.CodeField() >= 1) noted.code = Trim(project.CodeFieldName());
    if (project.CapField() >= 1) noted.caption = Trim(project.CapFieldName());
    return noted;
}

void RestoreFieldChoices(TLabelProject& project, const TNotedFields& noted) {
    project.RebuildFieldList(kFieldPlaceholderDatasheet);
    const auto select = [&project](const std::string& name) {
        const int column = name.empty() ? -1 : FindFieldColumn(project.Datasheet(), name);
        return column < 0 ? 0 : column;
    };
    project.SetCodeField(select(noted.code));
    project.SetCapField(select(noted.caption));
}

} // namespace qbm
