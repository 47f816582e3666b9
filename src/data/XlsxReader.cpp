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

using Token = QXmlStreamReader::TokenType;
using namespace Qt::Literals::StringLiterals;

// The datasheet holds UTF-8.
std::string Utf8(QStringView text) {
    return text.toUtf8().toStdString();
}

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

class TXlsxWorkbook {
public:
    explicit TXlsxWorkbook(const std::string& path) : m_zip(path, "Excel workbook") {}

    void ReadStructure(const TWorkbookChoices& choices, const std::string& path) {
        std::vector<TWorkbookSheet> sheets;
        std::vector<std::string> ids;
        int active = 0;
        {
            TXmlPartReader xml(m_zip, "xl/workbook.xml", kMaxSmallPart);
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t != Token::StartElement) continue;
                const auto name = xml.Xml().name();
                const auto attributes = xml.Xml().attributes();
                if (name == u"workbookPr") {
                    const auto v = attributes.value("date1904"_L1);
                    m_date1904 = v == u"1" || v == u"true";
                } else if (name == u"workbookView" && !attributes.value("activeTab"_L1).isEmpty()) {
                    active = attributes.value("activeTab"_L1).toInt();
                } else if (name == u"sheet") {
                    std::string id;
                    for (const auto& a : attributes)
                        if (a.name() == u"id") id = Utf8(a.value());
                    const auto state = attributes.value("state"_L1);
                    sheets.push_back(
                        {Utf8(attributes.value("name"_L1)), state == u"hidden" || state == u"veryHidden"});
                    ids.push_back(id);
                }
            }
        }
        m_list = {sheets, active};
        if (m_listOnly) return;
        const size_t chosen = ChooseSheet(sheets, active, choices, "Excel workbook", path);
        const std::string sheetId = ids[chosen];
        m_sheetName = sheets[chosen].name;
        m_sheetPart.clear();
        if (m_zip.Has("xl/_rels/workbook.xml.rels")) {
            TXmlPartReader xml(m_zip, "xl/_rels/workbook.xml.rels", kMaxSmallPart);
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t != Token::StartElement || xml.Xml().name() != u"Relationship") continue;
                const auto attributes = xml.Xml().attributes();
                std::string target = Utf8(attributes.value("Target"_L1));
                target = target.starts_with('/') ? target.substr(1) : "xl/" + target;
                const auto type = attributes.value("Type"_L1);
                if (Utf8(attributes.value("Id"_L1)) == sheetId)
                    m_sheetPart = target;
                else if (type.endsWith(u"/sharedStrings"))
                    m_sharedStringsPart = target;
                else if (type.endsWith(u"/styles"))
                    m_stylesPart = target;
            }
        }
        if (m_sheetPart.empty()) m_zip.Fail("the sheet's part is not named in the workbook");
        m_storedValues = choices.storedValues;
    }

    void ReadSharedStrings() {
        if (!m_zip.Has(m_sharedStringsPart)) return;
        TXmlPartReader xml(m_zip, m_sharedStringsPart, kMaxSharedStrings);
        int depthInPhonetic = 0;
        bool inText = false;
        std::string current;
        for (Token t; (t = xml.Next()) != Token::EndDocument;) {
            const auto name = xml.Xml().name();
            if (t == Token::StartElement) {
                if (name == u"rPh")
                    ++depthInPhonetic;
                else if (name == u"t")
                    inText = depthInPhonetic == 0;
                else if (name == u"si")
                    current.clear();
            } else if (t == Token::EndElement) {
                if (name == u"rPh")
                    --depthInPhonetic;
                else if (name == u"t")
                    inText = false;
                else if (name == u"si") {
                    m_strings += current;
                    m_stringEnds.push_back(m_strings.size());
                }
            } else if (t == Token::Characters && inText) {
                current += Utf8(xml.Xml().text());
                if (current.size() > kMaxCellBytes)
                    m_zip.Fail("a shared text is too large (more than " +
                               std::to_string(kMaxCellBytes >> 20) + " MB)");
            }
        }
    }

    void ReadStyles() {
        if (!m_zip.Has(m_stylesPart)) return;
        TXmlPartReader xml(m_zip, m_stylesPart, kMaxSmallPart);
        std::vector<std::pair<int, std::string>> custom;
        std::vector<int> formats;
        bool inCellXfs = false;
        for (Token t; (t = xml.Next()) != Token::EndDocument;) {
            const auto name = xml.Xml().name();
            if (t == Token::EndElement && name == u"cellXfs") inCellXfs = false;
            if (t != Token::StartElement) continue;
            const auto attributes = xml.Xml().attributes();
            if (name == u"numFmt")
                custom.emplace_back(attributes.value("numFmtId"_L1).toInt(),
                                    Utf8(attributes.value("formatCode"_L1)));
            else if (name == u"cellXfs")
                inCellXfs = true;
            else if (name == u"xf" && inCellXfs)
                formats.push_back(attributes.value("numFmtId"_L1).toInt());
        }
        for (const int id : formats) {
            std::string code(BuiltInFormatCode(id));
            for (const auto& [customId, customCode] : custom)
                if (customId == id) code = customCode;
            m_formats.push_back(std::move(code));
        }
    }

    // Calls cell(row, column, text) for every cell with a value, row by row, and rowEnd(row) after
    // each row that had one.
    template <typename Cell, typename RowEnd>
    void ReadSheet(TProgress* progress, int64_t progressBase, int64_t progressTotal, Cell cell,
                   RowEnd rowEnd) {
        TXmlPartReader xml(m_zip, m_sheetPart, kMaxSheetPart);
        int64_t row = -1, column = -1, lastRow = -1;
        bool rowHasCells = false;
        QString type;
        int styleIndex = 0;
        std::string value;
        bool inValue = false, inInline = false, inFormula = false;
        int64_t elements = 0;
        bool rootSeen = false;
        for (Token t; (t = xml.Next()) != Token::EndDocument;) {
            if (t == Token::Characters) {
                if (inValue || inInline) {
                    value += Utf8(xml.Xml().text());
                    RefuseOversizedCell(value, m_sheetName, std::max<int64_t>(column, 0),
                                        std::max<int64_t>(row, 0),
                                        [&](const std::string& reason) { m_zip.Fail(reason); });
                }
                continue;
            }
            if (++elements % 65536 == 0)
                ReportProgress(progress, progressBase + static_cast<int64_t>(xml.BytesRead()), progressTotal);
            const auto name = xml.Xml().name();
            // The workbook may name any part as the sheet's: only a worksheet holds its cells.
            if (t == Token::StartElement && !rootSeen) {
                if (name != u"worksheet") m_zip.Fail("the part " + m_sheetPart + " is not a worksheet");
                rootSeen = true;
            }
            if (t == Token::StartElement) {
                const auto attributes = xml.Xml().attributes();
                if (name == u"row") {
                    const auto r = attributes.value("r"_L1);
                    const int64_t next = r.isEmpty() ? row + 1 : r.toLongLong() - 1;
                    if (next < 0 || next >= kMaxSheetRows) m_zip.Fail("a row number is out of range");
                    if (next < row) m_zip.Fail("the rows are out of order");
                    row = next;
                    column = -1;
                } else if (name == u"c") {
                    const auto ref = attributes.value("r"_L1);
                    if (!ref.isEmpty()) {
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
                    type = attributes.value("t"_L1).toString();
                    styleIndex = attributes.value("s"_L1).toInt();
                    value.clear();
                } else if (name == u"v") {
                    inValue = !inFormula;
                } else if (name == u"is") {
                    inInline = true;
                } else if (name == u"f") {
                    inFormula = true;
                } else if (name == u"rPh") {
                    inInline = false; // phonetic hints are not part of the text
                }
            } else if (t == Token::EndElement) {
                if (name == u"v")
                    inValue = false;
                else if (name == u"f")
                    inFormula = false;
                else if (name == u"is")
                    inInline = false;
                else if (name == u"c") {
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

    uint64_t SheetSize() const { return m_zip.StatedSize(m_sheetPart); }
    [[noreturn]] void Fail(const std::string& reason) const { m_zip.Fail(reason); }

private:
    std::string CellText(const QString& type, int styleIndex, const std::string& value) const {
        if (type == u"s") {
            bool ok = false;
            const qulonglong index = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))
                                         .trimmed()
                                         .toULongLong(&ok);
            if (!ok || index >= m_stringEnds.size())
                m_zip.Fail("a cell names a shared text that does not exist");
            const size_t start = index == 0 ? 0 : m_stringEnds[index - 1];
            return m_strings.substr(start, m_stringEnds[index] - start);
        }
        if (type == u"inlineStr" || type == u"str") return value;
        if (type == u"e") return {}; // error values are not written
        if (type == u"b") return value == "1" ? "TRUE" : value.empty() ? "" : "FALSE";
        if (type == u"d") {
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

    TZipArchive m_zip;
    std::string m_sheetPart;
    std::string m_sharedStringsPart = "xl/sharedStrings.xml";
    std::string m_stylesPart = "xl/styles.xml";
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

    // The block is known only after the whole sheet: a first pass finds it, a second writes it.
    TSheetBlock block;
    workbook.ReadSheet(
        progress, 0, total, [&](int64_t row, int64_t column, const std::string&) { block.Note(row, column); },
        [](int64_t) {});
    TSheetBlockWriter writer(sheet, block, [&](const std::string& reason) { workbook.Fail(reason); });
    workbook.ReadSheet(
        progress, total / 2, total,
        [&](int64_t, int64_t column, std::string text) { writer.Put(column, std::move(text)); },
        [&](int64_t row) { writer.EndRow(row); });
    return writer.Finish();
}

TWorkbookSheetList ListXlsxSheets(const std::string& path) {
    TXlsxWorkbook workbook(path);
    workbook.m_listOnly = true;
    workbook.ReadStructure({}, path);
    return workbook.m_list;
}

} // namespace qbm
