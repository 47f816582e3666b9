#include "data/XlsxReader.h"

#include "data/NumberFormat.h"
#include "data/SheetBlock.h"
#include "data/TDatasheet.h"
#include "data/WorkbookSheets.h"
#include "data/WorkbookText.h"
#include "data/XmlPartReader.h"
#include "data/ZipArchive.h"
#include "util/TProgress.h"
#include "util/Text.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace qbm {
namespace {

constexpr uint64_t kMaxSmallPart = 16ull << 20;
constexpr uint64_t kMaxSharedStrings = 256ull << 20;
constexpr uint64_t kMaxSheetPart = 2ull << 30;
// The packed cells gathered in the first pass over a sheet; a sheet with more goes through a second.
constexpr uint64_t kMaxGathered = 256ull << 20;

using Token = TXmlToken;

// A cell reference "BC12" as column and row from 0; nullopt when it is not one.
std::optional<std::pair<int64_t, int64_t>> CellReference(QStringView ref) {
    int64_t column = 0, row = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        column = column * 26 + (ref[i].toUpper().unicode() - 'A' + 1);
        if (column > kMaxSheetColumns) return std::nullopt;
    }
    if (i == 0 || i == ref.size()) return std::nullopt;
    for (; i < ref.size(); ++i) {
        if (!ref[i].isDigit()) return std::nullopt;
        row = row * 10 + ref[i].digitValue();
        if (row > kMaxSheetRows) return std::nullopt;
    }
    if (row == 0) return std::nullopt;
    return std::make_pair(column - 1, row - 1);
}

// The same for the reference as the file holds it: ASCII letters and digits are read here, anything
// else as above.
std::optional<std::pair<int64_t, int64_t>> CellReference(std::string_view ref) {
    for (const char c : ref)
        if (static_cast<unsigned char>(c) >= 0x80)
            return CellReference(QString::fromUtf8(ref.data(), static_cast<qsizetype>(ref.size())));
    int64_t column = 0, row = 0;
    size_t i = 0;
    for (; i < ref.size(); ++i) {
        const char c = ref[i];
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        if (upper < 'A' || upper > 'Z') break;
        column = column * 26 + (upper - 'A' + 1);
        if (column > kMaxSheetColumns) return std::nullopt;
    }
    if (i == 0 || i == ref.size()) return std::nullopt;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') return std::nullopt;
        row = row * 10 + (ref[i] - '0');
        if (row > kMaxSheetRows) return std::nullopt;
    }
    if (row == 0) return std::nullopt;
    return std::make_pair(column - 1, row - 1);
}

class TXlsxWorkbook {
public:
    explicit TXlsxWorkbook(const std::string& path) : m_zip(path, "Excel workbook") {}

    void ReadStructure(const TWorkbookChoices& choices, const std::string& path) {
        std::vector<TWorkbookSheet> sheets;
        std::vector<std::string> ids;
        int active = 0;
        ReadXmlPart(m_zip, "xl/workbook.xml", kMaxSmallPart, [&](TXmlPartReader& xml) {
            sheets.clear(), ids.clear(), active = 0, m_date1904 = false;
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t != Token::StartElement) continue;
                const std::string_view name = xml.Name();
                if (name == "workbookPr") {
                    const std::string_view v = xml.Value("date1904");
                    m_date1904 = v == "1" || v == "true";
                } else if (name == "workbookView" && !xml.Value("activeTab").empty()) {
                    active = XmlInt(xml.Value("activeTab"));
                } else if (name == "sheet") {
                    std::string id;
                    for (const TXmlAttribute& a : xml.Attributes())
                        if (a.name == "id") id = a.value;
                    const std::string_view state = xml.Value("state");
                    sheets.push_back(
                        {std::string(xml.Value("name")), state == "hidden" || state == "veryHidden"});
                    ids.push_back(id);
                }
            }
        });
        m_list = {sheets, active};
        if (m_listOnly) return;
        const size_t chosen = ChooseSheet(sheets, active, choices, "Excel workbook", path);
        const std::string sheetId = ids[chosen];
        m_sheetName = sheets[chosen].name;
        if (m_zip.Has("xl/_rels/workbook.xml.rels")) {
            ReadXmlPart(m_zip, "xl/_rels/workbook.xml.rels", kMaxSmallPart, [&](TXmlPartReader& xml) {
                m_sheetPart.clear();
                m_sharedStringsPart = kSharedStringsPart;
                m_stylesPart = kStylesPart;
                for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                    if (t != Token::StartElement || xml.Name() != "Relationship") continue;
                    std::string target(xml.Value("Target"));
                    target = target.starts_with('/') ? target.substr(1) : "xl/" + target;
                    const std::string_view type = xml.Value("Type");
                    if (xml.Value("Id") == sheetId)
                        m_sheetPart = target;
                    else if (type.ends_with("/sharedStrings"))
                        m_sharedStringsPart = target;
                    else if (type.ends_with("/styles"))
                        m_stylesPart = target;
                }
            });
        }
        if (m_sheetPart.empty()) m_zip.Fail("the sheet's part is not named in the workbook");
        m_storedValues = choices.storedValues;
    }

    void ReadSharedStrings() {
        if (!m_zip.Has(m_sharedStringsPart)) return;
        ReadXmlPart(m_zip, m_sharedStringsPart, kMaxSharedStrings, [&](TXmlPartReader& xml) {
            m_strings.clear();
            m_stringEnds.clear();
            int depthInPhonetic = 0;
            bool inText = false;
            std::string current;
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t == Token::Characters) {
                    if (!inText) continue;
                    current += xml.Text();
                    if (current.size() > kMaxCellBytes)
                        m_zip.Fail("a shared text is too large (more than " +
                                   std::to_string(kMaxCellBytes >> 20) + " MB)");
                    continue;
                }
                const std::string_view name = xml.Name();
                if (t == Token::StartElement) {
                    if (name == "rPh")
                        ++depthInPhonetic;
                    else if (name == "t")
                        inText = depthInPhonetic == 0;
                    else if (name == "si")
                        current.clear();
                } else if (t == Token::EndElement) {
                    if (name == "rPh")
                        --depthInPhonetic;
                    else if (name == "t")
                        inText = false;
                    else if (name == "si") {
                        m_strings += current;
                        m_stringEnds.push_back(m_strings.size());
                    }
                }
            }
        });
    }

    void ReadStyles() {
        if (!m_zip.Has(m_stylesPart)) return;
        std::vector<std::pair<int, std::string>> custom;
        std::vector<int> formats;
        ReadXmlPart(m_zip, m_stylesPart, kMaxSmallPart, [&](TXmlPartReader& xml) {
            custom.clear(), formats.clear();
            bool inCellXfs = false;
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t == Token::Characters) continue;
                const std::string_view name = xml.Name();
                if (t == Token::EndElement && name == "cellXfs") inCellXfs = false;
                if (t != Token::StartElement) continue;
                if (name == "numFmt")
                    custom.emplace_back(XmlInt(xml.Value("numFmtId")), std::string(xml.Value("formatCode")));
                else if (name == "cellXfs")
                    inCellXfs = true;
                else if (name == "xf" && inCellXfs)
                    formats.push_back(XmlInt(xml.Value("numFmtId")));
            }
        });
        for (const int id : formats) {
            std::string code(BuiltInFormatCode(id));
            for (const auto& [customId, customCode] : custom)
                if (customId == id) code = customCode;
            m_formats.push_back(std::move(code));
        }
    }

    // Calls cell(row, column, text) for every cell with a value, row by row, and rowEnd(row) after
    // each row that had one. A first pass finds the parser for the sheet; the second goes straight to it.
    // `start()` comes first in each attempt, so that whatever the calls gather starts afresh.
    template <typename Cell, typename RowEnd, typename Start>
    void ReadSheet(TProgress* progress, int64_t progressBase, int64_t progressTotal, Cell cell, RowEnd rowEnd,
                   Start start) {
        m_sheetParser = ReadXmlPart(
            m_zip, m_sheetPart, kMaxSheetPart,
            [&](TXmlPartReader& xml) {
                start();
                ReadSheetTokens(xml, progress, progressBase, progressTotal, cell, rowEnd);
            },
            m_sheetParser);
    }

    uint64_t SheetSize() const { return m_zip.StatedSize(m_sheetPart); }
    [[noreturn]] void Fail(const std::string& reason) const { m_zip.Fail(reason); }

private:
    template <typename Cell, typename RowEnd>
    void ReadSheetTokens(TXmlPartReader& xml, TProgress* progress, int64_t progressBase,
                         int64_t progressTotal, Cell& cell, RowEnd& rowEnd) {
        int64_t row = -1, column = -1, lastRow = -1;
        bool rowHasCells = false;
        std::string type;
        int styleIndex = 0;
        std::string value;
        bool inValue = false, inInline = false, inFormula = false;
        int64_t elements = 0;
        bool rootSeen = false;
        for (Token t; (t = xml.Next()) != Token::EndDocument;) {
            if (t == Token::Characters) {
                if (inValue || inInline) {
                    value += xml.Text();
                    if (value.size() > kMaxCellBytes)
                        RefuseOversizedCell(value, m_sheetName, std::max<int64_t>(column, 0),
                                            std::max<int64_t>(row, 0),
                                            [&](const std::string& reason) { m_zip.Fail(reason); });
                }
                continue;
            }
            if (++elements % 65536 == 0)
                ReportProgress(progress, progressBase + static_cast<int64_t>(xml.BytesRead()), progressTotal);
            const std::string_view name = xml.Name();
            // The workbook may name any part as the sheet's: only a worksheet holds its cells.
            if (t == Token::StartElement && !rootSeen) {
                if (name != "worksheet") m_zip.Fail("the part " + m_sheetPart + " is not a worksheet");
                rootSeen = true;
            }
            if (t == Token::StartElement) {
                if (name == "row") {
                    const std::string_view r = xml.Value("r");
                    const int64_t next = r.empty() ? row + 1 : XmlLongLong(r).value_or(0) - 1;
                    if (next < 0 || next >= kMaxSheetRows) m_zip.Fail("a row number is out of range");
                    if (next < row) m_zip.Fail("the rows are out of order");
                    row = next;
                    column = -1;
                } else if (name == "c") {
                    const std::string_view ref = xml.Value("r");
                    if (!ref.empty()) {
                        const auto at = CellReference(ref);
                        if (!at) m_zip.Fail("a cell reference is not valid");
                        column = at->first;
                        if (at->second != row) {
                            if (at->second < row) m_zip.Fail("the rows are out of order");
                            row = at->second;
                        }
                    } else {
                        ++column;
                    }
                    if (row < 0) row = 0;
                    if (column >= kMaxSheetColumns) m_zip.Fail("a cell lies beyond the last column");
                    type = xml.Value("t");
                    styleIndex = XmlInt(xml.Value("s"));
                    value.clear();
                } else if (name == "v") {
                    inValue = !inFormula;
                } else if (name == "is") {
                    inInline = true;
                } else if (name == "f") {
                    inFormula = true;
                } else if (name == "rPh") {
                    inInline = false; // phonetic hints are not part of the text
                }
            } else if (t == Token::EndElement) {
                if (name == "v")
                    inValue = false;
                else if (name == "f")
                    inFormula = false;
                else if (name == "is")
                    inInline = false;
                else if (name == "c") {
                    std::string text = CellText(type, styleIndex, value);
                    if (!text.empty()) {
                        if (lastRow != row && rowHasCells) rowEnd(lastRow);
                        cell(row, column, std::move(text));
                        lastRow = row;
                        rowHasCells = true;
                    }
                }
            }
        }
        if (rowHasCells) rowEnd(lastRow);
    }

    std::string CellText(std::string_view type, int styleIndex, const std::string& value) const {
        if (type == "s") {
            const auto index = XmlULongLong(value);
            if (!index || *index >= m_stringEnds.size())
                m_zip.Fail("a cell names a shared text that does not exist");
            const size_t start = *index == 0 ? 0 : m_stringEnds[*index - 1];
            return m_strings.substr(start, m_stringEnds[*index] - start);
        }
        if (type == "inlineStr" || type == "str") return value;
        if (type == "e") return {}; // error values are not written
        if (type == "b") return value == "1" ? "TRUE" : value.empty() ? "" : "FALSE";
        if (type == "d") {
            std::string text = value;
            if (const size_t t = text.find('T'); t != std::string::npos) text[t] = ' ';
            if (const size_t dot = text.find('.'); dot != std::string::npos) text.resize(dot);
            if (text.ends_with(" 00:00:00")) text.resize(text.size() - 9);
            return text;
        }
        if (value.empty()) return {};
        char* end = nullptr;
        const double number = std::strtod(value.c_str(), &end);
        if (end == value.c_str()) return value;
        if (m_storedValues) return NumberText(number);
        const std::string& code = styleIndex >= 0 && static_cast<size_t>(styleIndex) < m_formats.size()
                                      ? m_formats[static_cast<size_t>(styleIndex)]
                                      : kGeneral;
        return FormatNumber(number, code, m_date1904);
    }

    inline static const std::string kSharedStringsPart = "xl/sharedStrings.xml";
    inline static const std::string kStylesPart = "xl/styles.xml";
    TZipArchive m_zip;
    std::string m_sheetPart;
    std::string m_sharedStringsPart = kSharedStringsPart;
    std::string m_stylesPart = kStylesPart;
    TXmlParser m_sheetParser = TXmlParser::xpScanner;
    bool m_date1904 = false;
    bool m_storedValues = false;
    std::string m_sheetName;

public:
    bool m_listOnly = false;
    TWorkbookSheetList m_list;
    std::string m_strings;
    std::vector<size_t> m_stringEnds;
    std::vector<std::string> m_formats; // the number format code of each cell style
    inline static const std::string kGeneral;
};

} // namespace

int ReadXlsxFile(TDatasheet& sheet, const std::string& path, TProgress* progress,
                 const TWorkbookChoices& choices) {
    TXlsxWorkbook workbook(path);
    workbook.ReadStructure(choices, path);
    workbook.ReadSharedStrings();
    workbook.ReadStyles();
    const int64_t total = 2 * static_cast<int64_t>(workbook.SheetSize());

    // The block is known only after the whole sheet. A first pass finds it and gathers the cells, packed,
    // while they stay within the sheet XML's size; a second pass over the sheet is needed only for
    // those that do not.
    TSheetBlock block;
    int64_t rows = 0, cells = 0, textBytes = 0;
    TGatheredCells gathered(std::min<uint64_t>(workbook.SheetSize(), kMaxGathered), 2);
    workbook.ReadSheet(
        progress, 0, total,
        [&](int64_t row, int64_t column, const std::string& text) {
            block.Note(row, column);
            ++cells;
            textBytes += static_cast<int64_t>(text.size());
            gathered.Add({row, column}, text);
        },
        [&](int64_t) { ++rows; },
        [&] {
            block = {};
            rows = cells = textBytes = 0;
            gathered.Clear();
        });
    TSheetBlockWriter writer(sheet, block, [&](const std::string& reason) { workbook.Fail(reason); });
    writer.Reserve(rows, cells, textBytes);
    if (gathered.Complete()) {
        int64_t lastRow = -1, written = 0;
        gathered.ForEach([&](const int64_t* at, std::string_view text) {
            const int64_t row = at[0], column = at[1];
            if (++written % 65536 == 0)
                ReportProgress(progress, total / 2 + total / 2 * written / cells, total);
            if (row != lastRow && lastRow >= 0) writer.EndRow(lastRow);
            writer.Put(column, text);
            lastRow = row;
        });
        if (lastRow >= 0) writer.EndRow(lastRow);
    } else {
        workbook.ReadSheet(
            progress, total / 2, total,
            [&](int64_t, int64_t column, std::string text) { writer.Put(column, std::move(text)); },
            [&](int64_t row) { writer.EndRow(row); }, [] {});
    }
    return writer.Finish();
}

TWorkbookSheetList ListXlsxSheets(const std::string& path) {
    TXlsxWorkbook workbook(path);
    workbook.m_listOnly = true;
    workbook.ReadStructure({}, path);
    return workbook.m_list;
}

} // namespace qbm
