#include "project/ProjectFile.h"
#include "project/DesignSections.h"

#include "data/DatasheetStream.h"
#include "ini/TBigIniFile.h"
#include "project/TLabelProject.h"
#include "surface/TPrinter.h"
#include "util/Errors.h"
#include "util/IntConversion.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

namespace qbm {
namespace {

constexpr std::string_view kProperties = "Properties";
constexpr std::string_view k2DCodeSection = "B2DCode";
constexpr std::string_view k2DListSection = "Var2DCodeValue";
constexpr std::string_view kDatasheetSection = "VarCodeValue";
constexpr std::string_view kExact2DListSection = "Var2DCodeList";
constexpr std::string_view kExact2DTextSection = "B2DCodeText";
constexpr std::string_view kSettings2DSection = "Settings2D";
constexpr std::string_view kUnicodeDatasheetSection = "VarCodeValueUtf8";
// Texts of the [Properties] section with characters beyond Latin-1, as UTF-8 in hexadecimal.
constexpr std::string_view kUnicodePropertiesSection = "PropertiesUtf8";
// The 2D fixed text and code list, as UTF-8 in hexadecimal, when one of them goes beyond Latin-1.
constexpr std::string_view kUnicode2DSection = "B2DCodeUtf8";
constexpr std::string_view kPrintOptionsSection = "PrintOptions";

// Written only when they differ from the defaults, so a project that never changed them keeps the
// bytes older versions wrote.
void WritePrintPreferences(TBigIniFile& ini, const TPrintPreferences& p) {
    if (p == TPrintPreferences{}) return;
    ini.WriteBool(kPrintOptionsSection, "Verify", p.verify);
    ini.WriteInteger(kPrintOptionsSection, "StartCell", p.startCell);
    ini.WriteInteger(kPrintOptionsSection, "FirstPage", p.firstPage);
    ini.WriteInteger(kPrintOptionsSection, "LastPage", p.lastPage);
    ini.WriteString(kPrintOptionsSection, "FromLabel", IntToStr(p.fromLabel));
    ini.WriteBool(kPrintOptionsSection, "Journal", p.journal);
}

// Values outside what a run accepts fall back to the defaults; the run checks the rest against the
// layout it prints on.
TPrintPreferences ReadPrintPreferences(TBigIniFile& ini) {
    const TPrintPreferences d;
    TPrintPreferences p;
    p.verify = ini.ReadBool(kPrintOptionsSection, "Verify", d.verify);
    p.startCell = std::max(1, ini.ReadInteger(kPrintOptionsSection, "StartCell", d.startCell));
    p.firstPage = std::max(1, ini.ReadInteger(kPrintOptionsSection, "FirstPage", d.firstPage));
    p.lastPage = std::max(0, ini.ReadInteger(kPrintOptionsSection, "LastPage", d.lastPage));
    p.fromLabel = std::max<long long>(
        1, TryStrToInt64(ini.ReadString(kPrintOptionsSection, "FromLabel", "1")).value_or(d.fromLabel));
    p.journal = ini.ReadBool(kPrintOptionsSection, "Journal", d.journal);
    return p;
}
// QR Code, Data Matrix, Aztec and Micro QR: their format and options, in a section older readers pass
// over; "B2DFormat" keeps a format they know (PDF417).
constexpr std::string_view kSymbol2DSection = "Symbol2D";
// The template's own settings, as the library holds them, for a library that lacks or changed it.
constexpr std::string_view kTemplateCopySection = "LinearTemplate";
constexpr size_t kListedCells = 10;

// A CR or LF would end the line, and the character 26 ends an INI text where it stands.
constexpr std::string_view kLineBreakers("\r\n\x1a", 3);

bool FitsOnALine(std::string_view value) {
    return value.find_first_of(kLineBreakers) == std::string_view::npos;
}

// Writes a value, cut where the line form would break it, and notes its name when it was cut.
void WriteValue(TBigIniFile& ini, std::string_view section, std::string_view key, std::string_view value,
                TSaveReport& report) {
    if (!FitsOnALine(value)) {
        report.unstored.emplace_back(key);
        value = value.substr(0, value.find_first_of(kLineBreakers));
    }
    ini.WriteString(section, key, value);
}

// The entries the key-per-line section can carry, merged as writing them one by one would merge
// them: an entry equal to an earlier one ignoring case replaces its spelling at the earlier place.
// `exact` tells whether that section alone gives the list back unchanged.
TStrings KeyLines(const std::vector<std::string>& entries, bool& exact) {
    exact = true;
    TStrings lines;
    std::unordered_map<std::string, size_t> seen;
    for (const std::string& entry : entries) {
        if (entry.empty() || entry.find('=') != std::string::npos || !FitsOnALine(entry)) {
            exact = false;
            continue;
        }
        const auto [it, added] = seen.emplace(UpperCase(entry), lines.size());
        if (added) {
            lines.push_back(entry + "= ");
        } else {
            exact = false;
            lines[it->second] = entry + "= ";
        }
    }
    return lines;
}

std::string CellName(int column, int row) {
    return "Datasheet cell (" + IntToStr(column) + ", " + IntToStr(row) + ")";
}

void NoteChangedCells(const TDatasheet& sheet, TSaveReport& report) {
    size_t changed = 0;
    sheet.ForEachRowWithText([&](int r, const std::vector<std::string_view>& cells) {
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].find_first_of("\r\b") == std::string_view::npos) continue;
            if (CellAfterStream(cells[c]) == cells[c]) continue;
            if (++changed <= kListedCells) report.unstored.push_back(CellName(static_cast<int>(c), r));
        }
    });
    if (changed > kListedCells)
        report.unstored.push_back("and " + IntToStr(static_cast<int64_t>(changed - kListedCells)) +
                                  " more datasheet cells");
}

std::vector<std::string> ReadExactList(TBigIniFile& ini) {
    TStrings lines;
    ini.ReadSectionValues(kExact2DListSection, lines);
    std::vector<std::string> entries;
    entries.reserve(lines.size());
    for (const std::string& line : lines) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        entries.push_back(HexToStream(std::string_view(line).substr(eq + 1)));
    }
    return entries;
}

// The label stock's keys, in hundredths of a millimetre, written only when a stock is chosen; a
// reader that does not know them still finds the whole-millimetre margins.
struct TStockKey {
    std::string_view name;
    int TStockChoice::*field;
};
constexpr TStockKey kStockKeys[] = {
    {"StockMLeft", &TStockChoice::marginLeft},       {"StockMTop", &TStockChoice::marginTop},
    {"StockMRight", &TStockChoice::marginRight},     {"StockMBottom", &TStockChoice::marginBottom},
    {"StockPageWidth", &TStockChoice::pageWidth},    {"StockPageHeight", &TStockChoice::pageHeight},
    {"StockLabelWidth", &TStockChoice::labelWidth},  {"StockLabelHeight", &TStockChoice::labelHeight},
    {"StockLabelRound", &TStockChoice::labelRadius},
};
constexpr int kMaxStockSize = 100 * 2000; // hundredths of a millimetre: two metres
constexpr int kMissing = INT32_MIN;

void WriteStock(TBigIniFile& ini, const TStockChoice& stock, TSaveReport& report) {
    WriteValue(ini, kProperties, "StockBrand", stock.brand, report);
    WriteValue(ini, kProperties, "StockPart", stock.part, report);
    for (const TStockKey& key : kStockKeys) ini.WriteInteger(kProperties, key.name, stock.*key.field);
}

// The stock keys as read, when they are whole and agree with the whole-millimetre margins; a file
// whose margins were edited without them no longer follows the stock.
std::optional<TStockChoice> ReadStock(TBigIniFile& ini, const TLabelProject& project) {
    TStockChoice stock;
    stock.brand = ini.ReadString(kProperties, "StockBrand", "");
    stock.part = ini.ReadString(kProperties, "StockPart", "");
    if (stock.brand.empty() && stock.part.empty()) return std::nullopt;
    for (const TStockKey& key : kStockKeys) {
        const int value = ini.ReadInteger(kProperties, key.name, kMissing);
        if (value < -kMaxStockSize || value > kMaxStockSize) return std::nullopt;
        stock.*key.field = value;
    }
    if (stock.pageWidth <= 0 || stock.pageHeight <= 0 || stock.labelWidth < 0 || stock.labelHeight < 0 ||
        stock.labelRadius < 0)
        return std::nullopt;
    // The whole millimetres are the exact margins rounded, a margin below zero held at zero.
    const auto agrees = [](int hundredths, int mm) {
        return std::abs(std::max(0, hundredths) - mm * 100) <= 50;
    };
    if (!agrees(stock.marginLeft, project.MarginLeft()) || !agrees(stock.marginTop, project.MarginTop()) ||
        !agrees(stock.marginRight, project.MarginRight()) ||
        !agrees(stock.marginBottom, project.MarginBottom()))
        return std::nullopt;
    return stock;
}

void WriteSymbolOptions(TBigIniFile& ini, const TLabelProject& project) {
    const TSymbolSettings& o = project.SymbolOptions2D();
    ini.WriteString(kSymbol2DSection, "Format", project.Format2DName());
    ini.WriteInteger(kSymbol2DSection, "QrEcc", static_cast<int>(o.qrEcc));
    ini.WriteInteger(kSymbol2DSection, "Version", o.version);
    ini.WriteInteger(kSymbol2DSection, "Shape", static_cast<int>(o.shape));
    ini.WriteInteger(kSymbol2DSection, "Rows", o.rows);
    ini.WriteInteger(kSymbol2DSection, "Columns", o.columns);
    ini.WriteBool(kSymbol2DSection, "GS1", o.gs1);
    ini.WriteInteger(kSymbol2DSection, "AztecEcc", o.aztecEccPercent);
}

// Values beyond their ranges (a hand-edited file) fall back to the defaults; the encoder refuses
// what is left (a size Data Matrix does not have) when the symbol is drawn.
void ReadSymbolOptions(TBigIniFile& ini, TLabelProject& project) {
    const std::string format = ini.ReadString(kSymbol2DSection, "Format", "");
    for (size_t i = kFirstSymbolFormat; i < k2DFormatNames.size(); ++i)
        if (format == k2DFormatNames[i]) project.SetFormat2D(static_cast<int>(i));
    const auto in = [&](std::string_view key, int lo, int hi, int def) {
        const int v = ini.ReadInteger(kSymbol2DSection, key, def);
        return v >= lo && v <= hi ? v : def;
    };
    TSymbolSettings o;
    o.qrEcc = static_cast<TQrEcc>(in("QrEcc", 0, 4, 0));
    o.version = in("Version", 0, 40, 0);
    o.shape = static_cast<TDataMatrixShape>(in("Shape", 0, 2, 0));
    o.rows = in("Rows", 0, 144, 0);
    o.columns = in("Columns", 0, 144, 0);
    o.gs1 = ini.ReadBool(kSymbol2DSection, "GS1", false);
    o.aztecEccPercent = in("AztecEcc", 0, 50, 0);
    project.SetSymbolOptions2D(o);
}

} // namespace

std::string TSaveReport::Message() const {
    if (unstored.empty()) return {};
    std::string names;
    for (const std::string& name : unstored) names += (names.empty() ? "" : ", ") + name;
    return "A project file cannot keep these values exactly (line breaks are not stored): " + names + ".";
}

TSaveReport SaveProject(const std::string& path, const TLabelProject& project, const TPrinter* printer) {
    TSaveReport report;
    // The engine starts from an empty content rather than an emptied file, so that the previous file
    // stays whole until the new one replaces it.
    TBigIniFile ini(path);
    ini.Clear();

    WriteValue(ini, kProperties, "Template", project.TemplateName(), report);
    ini.WriteBool(kProperties, "VariousCode", project.LinearSource() == TLinearSource::lsDatasheet);
    ini.WriteBool(kProperties, "SplitMark", project.SplitMarks());
    WriteValue(ini, kProperties, "FixedCode", project.FixedCode(), report);
    // The caption is UTF-8, the file's [Properties] Latin-1: one of Latin-1 characters only is written
    // as ever; one with others has its exact form in a section of its own, after the others.
    WriteValue(ini, kProperties, "ExtCaption", Utf8ToLatin1Replacing(project.ExtCaption()), report);
    ini.WriteInteger(kProperties, "CodeField", project.CodeField());
    ini.WriteInteger(kProperties, "CapField", project.CapField());
    ini.WriteInteger(kProperties, "FixedCodeAmount", project.FixedCodeAmount());
    ini.WriteInteger(kProperties, "Linage", project.Linage());
    ini.WriteInteger(kProperties, "Column", project.Column());
    ini.WriteInteger(kProperties, "MLeft", project.MarginLeft());
    ini.WriteInteger(kProperties, "MRight", project.MarginRight());
    ini.WriteInteger(kProperties, "MTop", project.MarginTop());
    ini.WriteInteger(kProperties, "MBottom", project.MarginBottom());
    if (printer && printer->PrinterCount() > 0)
        ini.WriteInteger(kProperties, "PaperZX",
                         printer->Orientation() == TPrinterOrientation::poPortrait ? 1 : 0);
    ini.WriteBool(kProperties, "Various2DCode", project.Source2D() == T2DSource::tsCodeList);
    ini.WriteInteger(kProperties, "B2DAmount", project.Amount2D());
    const bool symbolFormat = project.Format2D() >= kFirstSymbolFormat;
    ini.WriteString(kProperties, "B2DFormat", symbolFormat ? k2DFormatNames[0] : project.Format2DName());
    if (symbolFormat || project.SymbolOptions2D() != TSymbolSettings{}) WriteSymbolOptions(ini, project);
    // Absent reads as off, so a project that does not read its labels back is written as before.
    if (project.VerifyLabels()) ini.WriteBool(kProperties, "Verify", true);
    if (project.Stock()) WriteStock(ini, *project.Stock(), report);
    if (project.TemplateCopy()) WriteTemplateSection(ini, kTemplateCopySection, *project.TemplateCopy());
    if (project.Design()) WriteDesignSections(ini, *project.Design());

    // A fixed text of several lines keeps its first line in "Code" for older readers and travels
    // whole, in hexadecimal, in a section of its own written after the others.
    // The project holds the 2D texts as UTF-8, the file's sections Latin-1: texts of Latin-1
    // characters only are written exactly as ever; with others, those sections hold '?' for them and
    // the exact texts follow in a section of their own.
    const std::string text2D = Utf8ToLatin1Replacing(project.Text2D());
    std::vector<std::string> list2D;
    list2D.reserve(project.CodeList2D().size());
    bool latin1Texts2D = FitsLatin1(project.Text2D());
    for (const std::string& entry : project.CodeList2D()) {
        latin1Texts2D = latin1Texts2D && FitsLatin1(entry);
        list2D.push_back(Utf8ToLatin1Replacing(entry));
    }
    const bool text2DExact = FitsOnALine(text2D);
    ini.WriteString(k2DCodeSection, "Code", text2D.substr(0, text2D.find_first_of(kLineBreakers)));

    // The list goes in as whole sections: one write per entry would rescan the section each time.
    bool listExact = true;
    TStrings keyLines = KeyLines(list2D, listExact);
    if (!keyLines.empty()) {
        keyLines.insert(keyLines.begin(), "[" + std::string(k2DListSection) + "]");
        ini.SetStrings(keyLines);
    }

    NoteChangedCells(project.Datasheet(), report);
    // The datasheet holds UTF-8, the file's datasheet Latin-1: a datasheet of Latin-1 characters only
    // is written exactly as ever. One with other characters keeps them in a section of its own
    // written after the others, which older readers pass over ('?' stands for them in "Data").
    std::string stream = DatasheetToStream(project.Datasheet());
    const bool latin1 = FitsLatin1(stream);
    ini.WriteString(kDatasheetSection, "Data", StreamToHex(Utf8ToLatin1Replacing(stream)));
    if (latin1) stream = std::string();

    if (!listExact) {
        TStrings exactLines;
        exactLines.reserve(list2D.size() + 1);
        exactLines.push_back("[" + std::string(kExact2DListSection) + "]");
        int n = 0;
        for (const std::string& entry : list2D)
            exactLines.push_back("Item" + IntToStr(++n) + "=" + StreamToHex(entry));
        ini.SetStrings(exactLines);
    }

    if (!text2DExact) ini.WriteString(kExact2DTextSection, "Data", StreamToHex(text2D));
    WritePrintPreferences(ini, project.PrintPreferences());
    // Older readers ignore the section and take the library's 2D settings.
    if (const auto& settings = project.Settings2D()) {
        if (!FitsOnALine(settings->MPST)) report.unstored.emplace_back("MPST");
        T2DSettings stored = *settings;
        stored.MPST = stored.MPST.substr(0, stored.MPST.find_first_of(kLineBreakers));
        Write2DSettingsKeys(ini, kSettings2DSection, stored);
    }
    if (!latin1) ini.WriteString(kUnicodeDatasheetSection, "Data", StreamToHex(stream));
    if (!latin1Texts2D) {
        TStrings lines;
        lines.reserve(project.CodeList2D().size() + 3);
        lines.push_back("[" + std::string(kUnicode2DSection) + "]");
        lines.push_back("Text=" + StreamToHex(project.Text2D()));
        int n = 0;
        for (const std::string& entry : project.CodeList2D())
            lines.push_back("Item" + IntToStr(++n) + "=" + StreamToHex(entry));
        ini.SetStrings(lines);
    }
    if (const std::string& caption = project.ExtCaption(); !FitsLatin1(caption)) {
        const std::string line = caption.substr(0, caption.find_first_of(kLineBreakers));
        ini.WriteString(kUnicodePropertiesSection, "ExtCaption", StreamToHex(line));
    }

    ini.UpdateFile();
    return report;
}

std::vector<std::string> LoadProject(const std::string& path, TLabelProject& project,
                                     const TProjectEnvironment& env) {
    std::vector<std::string> warnings;
    TBigIniFile ini(path);

    const std::string name = Trim(ini.ReadString(kProperties, "Template", " "));
    project.SetTemplateCopy(ini.SectionExists(kTemplateCopySection)
                                ? std::optional(ReadTemplateSection(ini, kTemplateCopySection))
                                : std::nullopt);
    // Files written before projects carried their template print as they always did: unverified.

    if (!env.templateNames) {
        project.SetTemplateName(name);
    } else if (std::find(env.templateNames->begin(), env.templateNames->end(), name) !=
                   env.templateNames->end() ||
               (project.TemplateCopy() && !name.empty())) {
        // A template the library lacks is drawn from the project's own copy.
        project.SetTemplateName(name);
    } else {
        project.SetTemplateName({});
        warnings.push_back("Template: \"" + name + "\" has been removed!");
    }

    project.SetLinearSource(ini.ReadBool(kProperties, "VariousCode", true) ? TLinearSource::lsDatasheet
                                                                           : TLinearSource::lsConstant);
    project.SetSource2D(ini.ReadBool(kProperties, "Various2DCode", false) ? T2DSource::tsCodeList
                                                                          : T2DSource::tsFixedText);
    project.SetSplitMarks(ini.ReadBool(kProperties, "SplitMark", true));
    project.SetFixedCode(ini.ReadString(kProperties, "FixedCode", ""));
    project.SetExtCaption(ini.ValueExists(kUnicodePropertiesSection, "ExtCaption")
                              ? HexToStream(ini.ReadString(kUnicodePropertiesSection, "ExtCaption", ""))
                              : Latin1ToUtf8(ini.ReadString(kProperties, "ExtCaption", "")));
    project.SetLinage(ini.ReadInteger(kProperties, "Linage", 1));
    project.SetColumn(ini.ReadInteger(kProperties, "Column", 1));
    project.SetMarginLeft(ini.ReadInteger(kProperties, "MLeft", 10));
    project.SetMarginRight(ini.ReadInteger(kProperties, "MRight", 10));
    project.SetMarginTop(ini.ReadInteger(kProperties, "MTop", 10));
    project.SetMarginBottom(ini.ReadInteger(kProperties, "MBottom", 10));
    project.SetFixedCodeAmount(ini.ReadInteger(kProperties, "FixedCodeAmount", 1));

    const int paper = ini.ReadInteger(kProperties, "PaperZX", 1);
    project.SetOrientation(paper == 1 ? TPrinterOrientation::poPortrait : TPrinterOrientation::poLandscape);
    if (env.printer && env.printer->PrinterCount() > 0)
        env.printer->SetOrientation(paper != 0 ? TPrinterOrientation::poPortrait
                                               : TPrinterOrientation::poLandscape);

    // The stock's sheet says how it lies, printer or not.
    project.SetStock(ReadStock(ini, project));
    if (project.Stock()) {
        const TPrinterOrientation lies = project.Stock()->pageWidth > project.Stock()->pageHeight
                                             ? TPrinterOrientation::poLandscape
                                             : TPrinterOrientation::poPortrait;
        project.SetOrientation(lies);
        if (env.printer && env.printer->PrinterCount() > 0) env.printer->SetOrientation(lies);
    }

    project.SetAmount2D(ini.ReadInteger(kProperties, "B2DAmount", 1));
    const bool unicode2D = ini.SectionExists(kUnicode2DSection);
    if (unicode2D)
        project.SetText2D(HexToStream(ini.ReadString(kUnicode2DSection, "Text", "")));
    else if (ini.SectionExists(kExact2DTextSection))
        project.SetText2D(Latin1ToUtf8(HexToStream(ini.ReadString(kExact2DTextSection, "Data", ""))));
    else
        project.SetText2D(Latin1ToUtf8(ini.ReadString(k2DCodeSection, "Code", "")));

    const std::string format = ini.ReadString(kProperties, "B2DFormat", "");
    project.SetFormat2D(format == k2DFormatNames[1] ? 1 : 0);
    if (ini.SectionExists(kSymbol2DSection)) ReadSymbolOptions(ini, project);

    std::vector<std::string>& list = project.CodeList2D();
    list.clear();
    if (unicode2D) {
        // One pass over the section: a key looked up per entry would rescan it each time.
        TStrings lines;
        ini.ReadSectionValues(kUnicode2DSection, lines);
        for (const std::string& line : lines)
            if (line.rfind("Item", 0) == 0 && line.find('=') != std::string::npos)
                list.push_back(HexToStream(std::string_view(line).substr(line.find('=') + 1)));
    } else {
        if (ini.SectionExists(kExact2DListSection))
            list = ReadExactList(ini);
        else
            ini.ReadSection(k2DListSection, list);
        for (std::string& entry : list) entry = Latin1ToUtf8(entry);
    }

    const std::string stream = ini.SectionExists(kUnicodeDatasheetSection)
                                   ? HexToStream(ini.ReadString(kUnicodeDatasheetSection, "Data", ""))
                                   : Latin1ToUtf8(HexToStream(ini.ReadString(kDatasheetSection, "Data", "")));
    if (const std::string damage = DatasheetStreamDamage(stream); !damage.empty())
        throw EInOutError("The datasheet in \"" + path + "\" is damaged: " + damage + ".");
    DatasheetFromStream(project.Datasheet(), stream, env.progress);

    project.SetDesign(ReadDesignSections(ini, path));
    project.SetPrintPreferences(ReadPrintPreferences(ini));
    // Reading back is on where the file says so; a file from before the setting prints as it did.
    if (!ini.ValueExists(kPrintOptionsSection, "Verify"))
        project.SetVerifyLabels(ini.ReadBool(kProperties, "Verify", false));
    project.SetSettings2D(ini.SectionExists(kSettings2DSection)
                              ? std::optional(Read2DSettingsKeys(ini, kSettings2DSection, T2DSettings{}))
                              : std::nullopt);

    project.RebuildFieldList(kFieldPlaceholderLoaded);
    project.SetCodeField(ini.ReadInteger(kProperties, "CodeField", 0));
    project.SetCapField(ini.ReadInteger(kProperties, "CapField", 0));
    return warnings;
}

} // namespace qbm
