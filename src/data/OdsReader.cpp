#include "data/OdsReader.h"

#include "data/SheetBlock.h"
#include "data/TDatasheet.h"
#include "data/XmlPartReader.h"
#include "data/ZipArchive.h"
#include "util/TProgress.h"
#include "util/Text.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace qbm {
namespace {

constexpr uint64_t kMaxContentPart = 2ull << 30;
constexpr uint64_t kMaxSettingsPart = 16ull << 20;
// The packed cells gathered in the first pass over the tables; a document with more goes through a second.
constexpr uint64_t kMaxGathered = 256ull << 20;
constexpr int kAllTables = -1;
constexpr int kNoTable = -2; // only the tables' names

using Token = TXmlToken;

constexpr std::string_view kTableNs("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr std::string_view kOfficeNs("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr std::string_view kTextNs("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr std::string_view kStyleNs("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
constexpr std::string_view kConfigNs("urn:oasis:names:tc:opendocument:xmlns:config:1.0");

// "2024-03-05T13:45:00.5" as the datasheet writes dates: "2024-03-05 13:45:00".
std::string DateValueText(std::string_view value) {
    std::string text(value);
    // Beyond ASCII, each character as its Latin-1 byte or '?', as the stored value would convert.
    if (std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        text = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())).toLatin1().toStdString();
    if (const size_t t = text.find('T'); t != std::string::npos) text[t] = ' ';
    if (const size_t dot = text.find('.'); dot != std::string::npos) text.resize(dot);
    if (text.ends_with(" 00:00:00")) text.resize(text.size() - 9);
    return text;
}

// "PT13H45M00S" as "13:45:00".
std::string TimeValueText(std::string_view value) {
    long long parts[3] = {0, 0, 0};
    long long number = 0;
    for (const QChar c : QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))) {
        if (c.isDigit())
            number = std::min<long long>(number * 10 + c.digitValue(), 1000000);
        else if (c == u'H')
            parts[0] = number, number = 0;
        else if (c == u'M')
            parts[1] = number, number = 0;
        else if (c == u'S' || c == u'.') {
            if (c == u'S' || parts[2] == 0) parts[2] = number;
            number = 0;
        }
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", parts[0], parts[1], parts[2]);
    return buf;
}

int64_t Repeat(const TXmlPartReader& xml, std::string_view name) {
    const std::string_view value = xml.Value(kTableNs, name);
    if (value.empty()) return 1;
    const auto n = XmlLongLong(value);
    return n && *n >= 1 ? std::min<long long>(*n, kMaxSheetRows) : 1;
}

struct TOdsCell {
    std::string text;
    int64_t repeat = 1;
};

class TOdsDocument {
public:
    explicit TOdsDocument(const std::string& path) : m_zip(path, "OpenDocument spreadsheet") {}

    // Calls cell(table, row, column, repeatRows, text, repeatColumns) for every cell with a value and
    // rowEnd(table, row, repeatRows) after each row, in table `wanted` (from 0) or, with -1, in every
    // table of the document. The tables' names and whether they are hidden are noted on the way.
    // `start()` comes first in each attempt, so that whatever the calls gather starts afresh.
    template <typename Cell, typename RowEnd, typename Start>
    void ReadTables(TProgress* progress, int64_t base, int64_t total, int wanted, bool storedValues,
                    Cell cell, RowEnd rowEnd, Start start) {
        m_contentParser = ReadXmlPart(
            m_zip, "content.xml", kMaxContentPart,
            [&](TXmlPartReader& xml) {
                start();
                ReadTableTokens(xml, progress, base, total, wanted, storedValues, cell, rowEnd);
            },
            m_contentParser);
    }

    const std::vector<TWorkbookSheet>& Tables() const { return m_tables; }

    // The sheet the document was last shown on, from its view settings; -1 when it does not say.
    int ActiveTable() {
        if (!m_zip.Has("settings.xml")) return -1;
        std::string active;
        ReadXmlPart(m_zip, "settings.xml", kMaxSettingsPart, [&](TXmlPartReader& xml) {
            active.clear();
            bool inActive = false;
            for (Token t; (t = xml.Next()) != Token::EndDocument;) {
                if (t == Token::StartElement)
                    inActive = xml.Name() == "config-item" && xml.Value(kConfigNs, "name") == "ActiveTable";
                else if (t == Token::Characters && inActive)
                    active += xml.Text();
                else if (t == Token::EndElement && inActive)
                    break;
            }
        });
        for (size_t i = 0; i < m_tables.size(); ++i)
            if (m_tables[i].name == active) return static_cast<int>(i);
        return -1;
    }

    uint64_t ContentSize() const { return m_zip.StatedSize("content.xml"); }
    [[noreturn]] void Fail(const std::string& reason) const { m_zip.Fail(reason); }

private:
    template <typename Cell, typename RowEnd>
    void ReadTableTokens(TXmlPartReader& xml, TProgress* progress, int64_t base, int64_t total, int wanted,
                         bool storedValues, Cell& cell, RowEnd& rowEnd) {
        m_tables.clear();
        std::set<std::string, std::less<>> hiddenStyles;
        std::string tableStyle;
        int tableDepth = 0; // nesting inside the current table
        int table = -1;
        bool reading = false;
        int64_t row = 0, column = 0, rowRepeat = 1;
        bool inCell = false;
        int skipDepth = 0; // inside annotations, whose text is not the cell's
        int paragraphs = 0;
        std::string text, shown, number;
        int64_t cellRepeat = 1;
        bool isError = false;
        int64_t elements = 0;
        const auto fail = [&](const std::string& reason) { m_zip.Fail(reason); };
        for (Token t; (t = xml.Next()) != Token::EndDocument;) {
            if (t == Token::Characters) {
                if (reading && inCell && skipDepth == 0 && paragraphs > 0) {
                    text += xml.Text();
                    if (text.size() > kMaxCellBytes)
                        RefuseOversizedCell(text, m_tables.back().name, column, row, fail);
                }
                continue;
            }
            if (++elements % 65536 == 0)
                ReportProgress(progress, base + static_cast<int64_t>(xml.BytesRead()), total);
            const std::string_view name = xml.Name();
            if (t == Token::StartElement && tableDepth == 0) {
                // Styles come before the tables: a table style that does not display hides its sheet.
                if (name == "style" && xml.Value(kStyleNs, "family") == "table")
                    tableStyle = xml.Value(kStyleNs, "name");
                else if (name == "table-properties" && xml.Value(kTableNs, "display") == "false")
                    hiddenStyles.insert(tableStyle);
                else if (name == "table") {
                    ++table;
                    tableDepth = 1;
                    reading = wanted == kAllTables || table == wanted;
                    row = 0;
                    m_tables.push_back({std::string(xml.Value(kTableNs, "name")),
                                        hiddenStyles.contains(xml.Value(kTableNs, "style-name"))});
                }
                continue;
            }
            if (tableDepth == 0) continue;
            if (t == Token::StartElement) {
                if (!reading) {
                    ++tableDepth;
                    continue;
                }
                ++tableDepth;
                if (name == "table-row") {
                    rowRepeat = Repeat(xml, "number-rows-repeated");
                    column = 0;
                } else if (name == "table-cell" || name == "covered-table-cell") {
                    inCell = true;
                    cellRepeat = Repeat(xml, "number-columns-repeated");
                    text.clear();
                    paragraphs = 0;
                    shown.clear();
                    isError = false;
                    const std::string_view type = xml.Value(kOfficeNs, "value-type");
                    for (const TXmlAttribute& a : xml.Attributes())
                        if (a.name == "value-type" && a.value == "error") isError = true;
                    if (type.empty() && xml.Find(kTableNs, "formula")) isError = true;
                    // Only the cell's own value: a date or time without one is not given the number
                    // of the cell before it.
                    number.clear();
                    if (type == "date")
                        shown = DateValueText(xml.Value(kOfficeNs, "date-value"));
                    else if (type == "time")
                        shown = TimeValueText(xml.Value(kOfficeNs, "time-value"));
                    else if (type == "float" || type == "percentage" || type == "currency")
                        number = xml.Value(kOfficeNs, "value");
                } else if (inCell && skipDepth > 0) {
                    ++skipDepth;
                } else if (inCell && name == "annotation") {
                    skipDepth = 1;
                } else if (inCell && name == "p") {
                    if (paragraphs++ > 0) text += "\r\n";
                } else if (inCell && name == "s") {
                    const std::string_view c = xml.Value(kTextNs, "c");
                    text.append(static_cast<size_t>(std::clamp(c.empty() ? 1 : XmlInt(c), 1, 1000)), ' ');
                    RefuseOversizedCell(text, m_tables.back().name, column, row, fail);
                } else if (inCell && name == "tab") {
                    text += '\t';
                } else if (inCell && name == "line-break") {
                    text += "\r\n";
                }
            } else if (t == Token::EndElement) {
                if (--tableDepth == 0) {
                    if (reading && wanted >= 0) break; // the wanted table is read
                    reading = false;
                    continue;
                }
                if (!reading) continue;
                if (skipDepth > 0) {
                    --skipDepth;
                } else if (name == "table-cell" || name == "covered-table-cell") {
                    inCell = false;
                    // The cell's paragraphs are the text the suite shows; the value attributes hold
                    // what it stores.
                    const std::string& stored = !shown.empty() ? shown : number;
                    std::string value = isError                           ? std::string()
                                        : storedValues && !stored.empty() ? stored
                                        : !text.empty()                   ? text
                                                                          : stored;
                    if (!value.empty()) cell(table, row, column, rowRepeat, std::move(value), cellRepeat);
                    column += cellRepeat;
                    if (column > kMaxSheetColumns) column = kMaxSheetColumns;
                } else if (name == "table-row") {
                    rowEnd(table, row, rowRepeat);
                    row += rowRepeat;
                    if (row > kMaxSheetRows) row = kMaxSheetRows;
                }
            }
        }
        if (table < 0) m_zip.Fail("the document holds no sheet");
    }

    TZipArchive m_zip;
    TXmlParser m_contentParser = TXmlParser::xpScanner;
    std::vector<TWorkbookSheet> m_tables;
};

} // namespace

int ReadOdsFile(TDatasheet& sheet, const std::string& path, TProgress* progress,
                const TWorkbookChoices& choices) {
    TOdsDocument document(path);
    const int64_t total = 2 * static_cast<int64_t>(document.ContentSize());
    std::vector<TSheetBlock> blocks;
    auto outOfRange = [&](int64_t row, int64_t column) {
        if (row >= kMaxSheetRows || column >= kMaxSheetColumns)
            document.Fail("a cell lies beyond the sheet's limits");
    };
    // A table's block is known only after the whole table, and which table to read only after all of
    // them: a first pass finds every table's block, its names and what it holds, and gathers the cells
    // and row ends of all of them, packed, while they stay within the content's size. A second pass over
    // the chosen table is needed only for a document whose cells do not.
    struct TSize { // counts stop growing far beyond any budget
        int64_t rows = 0, cells = 0, textBytes = 0;
    };
    std::vector<TSize> sizes;
    bool rowHasCells = false;
    int64_t events = 0;
    constexpr int64_t kEnough = int64_t(1) << 40;
    enum : int64_t { kCell, kRowEnd };
    // kind, table, row, column, rows, columns
    TGatheredCells gathered(std::min<uint64_t>(document.ContentSize(), kMaxGathered), 6);
    document.ReadTables(
        progress, 0, total, -1, choices.storedValues,
        [&](int table, int64_t row, int64_t column, int64_t rows, const std::string& text, int64_t columns) {
            outOfRange(row + rows - 1, column + columns - 1);
            if (blocks.size() <= static_cast<size_t>(table)) {
                blocks.resize(static_cast<size_t>(table) + 1);
                sizes.resize(static_cast<size_t>(table) + 1);
            }
            blocks[static_cast<size_t>(table)].Note(row, column, rows, columns);
            TSize& size = sizes[static_cast<size_t>(table)];
            size.cells = std::min(kEnough, size.cells + rows * columns);
            size.textBytes =
                std::min(kEnough, size.textBytes + static_cast<int64_t>(text.size()) * rows * columns);
            rowHasCells = true;
            gathered.Add({kCell, table, row, column, rows, columns}, text);
            ++events;
        },
        [&](int table, int64_t row, int64_t rows) {
            if (rowHasCells && static_cast<size_t>(table) < sizes.size())
                sizes[static_cast<size_t>(table)].rows += rows;
            rowHasCells = false;
            gathered.Add({kRowEnd, table, row, 0, rows, 0});
            ++events;
        },
        [&] {
            blocks.clear();
            sizes.clear();
            rowHasCells = false;
            events = 0;
            gathered.Clear();
        });
    const std::vector<TWorkbookSheet> tables = document.Tables();
    const size_t chosen =
        ChooseSheet(tables, document.ActiveTable(), choices, "OpenDocument spreadsheet", path);
    blocks.resize(tables.size());
    sizes.resize(tables.size());
    TSheetBlockWriter writer(sheet, blocks[chosen],
                             [&](const std::string& reason) { document.Fail(reason); });
    writer.Reserve(sizes[chosen].rows, sizes[chosen].cells, sizes[chosen].textBytes);
    if (gathered.Complete()) {
        int64_t written = 0;
        gathered.ForEach([&](const int64_t* at, std::string_view text) {
            if (++written % 65536 == 0)
                ReportProgress(progress, total / 2 + total / 2 * written / events, total);
            if (at[1] != static_cast<int64_t>(chosen)) return;
            if (at[0] == kCell)
                writer.Put(at[3], text, at[5]);
            else
                writer.EndRow(at[2], at[4]);
        });
    } else {
        document.ReadTables(
            progress, total / 2, total, static_cast<int>(chosen), choices.storedValues,
            [&](int, int64_t, int64_t column, int64_t, std::string text, int64_t columns) {
                writer.Put(column, std::move(text), columns);
            },
            [&](int, int64_t row, int64_t rows) { writer.EndRow(row, rows); }, [] {});
    }
    return writer.Finish();
}

TWorkbookSheetList ListOdsSheets(const std::string& path) {
    TOdsDocument document(path);
    document.ReadTables(
        nullptr, 0, 0, kNoTable, false, [](int, int64_t, int64_t, int64_t, const std::string&, int64_t) {},
        [](int, int64_t, int64_t) {}, [] {});
    return {document.Tables(), document.ActiveTable()};
}

} // namespace qbm
