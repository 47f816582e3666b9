#include "data/XlsWorkbook.h"

#include "data/NumberFormat.h"
#include "data/WorkbookText.h"
#include "util/Errors.h"
#include "util/Text.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace qbm {
namespace {

// Record types of the workbook stream (BIFF8).
constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kWindow1 = 0x003D;
constexpr uint16_t kFilePass = 0x002F;
constexpr uint16_t kDateMode = 0x0022;
constexpr uint16_t kSst = 0x00FC;
constexpr uint16_t kContinue = 0x003C;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kXf = 0x00E0;
constexpr uint16_t kNumber = 0x0203;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kMulRk = 0x00BD;
constexpr uint16_t kLabelSst = 0x00FD;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRString = 0x00D6;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;
constexpr uint16_t kString = 0x0207;

uint16_t U16(std::string_view b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t U32(std::string_view b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

double F64(std::string_view b, size_t at) {
    double value = 0;
    if (at + 8 <= b.size()) std::memcpy(&value, b.data() + at, 8);
    return value;
}

// A record's payload with the CONTINUE records that follow it: a text may run on into the next
// piece, where it starts again with a byte saying whether its characters take one byte or two.
class TPieces {
public:
    void Add(std::string_view piece) { m_pieces.push_back(piece); }
    bool AtEnd() const { return m_piece >= m_pieces.size(); }

    bool Byte(uint8_t& value) {
        if (!Settle()) return false;
        value = static_cast<uint8_t>(m_pieces[m_piece][m_at++]);
        return true;
    }
    bool U16(uint16_t& value) {
        uint8_t a = 0, b = 0;
        if (!Byte(a) || !Byte(b)) return false;
        value = static_cast<uint16_t>(a | b << 8);
        return true;
    }
    bool U32(uint32_t& value) {
        uint16_t a = 0, b = 0;
        if (!U16(a) || !U16(b)) return false;
        value = static_cast<uint32_t>(a) | static_cast<uint32_t>(b) << 16;
        return true;
    }
    bool Skip(uint64_t count) {
        while (count > 0) {
            if (!Settle()) return false;
            const size_t step =
                static_cast<size_t>(std::min<uint64_t>(count, m_pieces[m_piece].size() - m_at));
            m_at += step;
            count -= step;
        }
        return true;
    }
    // `count` characters of a text whose first option byte said `wide`.
    bool Characters(uint32_t count, bool wide, std::string& out) {
        while (count > 0) {
            if (m_piece < m_pieces.size() && m_at == m_pieces[m_piece].size()) {
                // The text runs on into the next piece, which says again how wide its characters are.
                uint8_t options = 0;
                ++m_piece;
                m_at = 0;
                if (!Byte(options)) return false;
                wide = options & 1;
            }
            if (m_piece >= m_pieces.size()) return false;
            const std::string_view piece = m_pieces[m_piece];
            const size_t width = wide ? 2 : 1;
            const size_t here = std::min<size_t>(count, (piece.size() - m_at) / width);
            if (here == 0) return false; // half a character at a piece's end: damaged
            for (size_t i = 0; i < here; ++i, m_at += width) {
                const auto low = static_cast<uint8_t>(piece[m_at]);
                AppendUtf8(out, wide ? low | static_cast<uint8_t>(piece[m_at + 1]) << 8 : low);
            }
            count -= static_cast<uint32_t>(here);
        }
        return true;
    }

private:
    // Moves past finished pieces; false at the end of the last.
    bool Settle() {
        while (m_piece < m_pieces.size() && m_at == m_pieces[m_piece].size()) {
            ++m_piece;
            m_at = 0;
        }
        return m_piece < m_pieces.size();
    }

    std::vector<std::string_view> m_pieces;
    size_t m_piece = 0;
    size_t m_at = 0;
};

// A text with a 16-bit (`longCount`) or 8-bit character count, its option byte, and the rich-text
// runs and phonetic data that may follow it.
bool ReadText(TPieces& in, bool longCount, std::string& out) {
    uint32_t count = 0;
    if (longCount) {
        uint16_t n = 0;
        if (!in.U16(n)) return false;
        count = n;
    } else {
        uint8_t n = 0;
        if (!in.Byte(n)) return false;
        count = n;
    }
    uint8_t options = 0;
    if (!in.Byte(options)) return false;
    uint16_t runs = 0;
    uint32_t phonetic = 0;
    if ((options & 0x08) && !in.U16(runs)) return false;
    if ((options & 0x04) && !in.U32(phonetic)) return false;
    if (count > 0 && !in.Characters(count, options & 1, out)) return false;
    return in.Skip(4ull * runs + phonetic);
}

// The RK form of a number: 30 bits of an integer or of a double's high part, perhaps hundredths.
double RkValue(uint32_t rk) {
    double value = 0;
    if (rk & 2) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFC) << 32;
        std::memcpy(&value, &bits, 8);
    }
    return rk & 1 ? value / 100 : value;
}

struct TRecord {
    uint16_t type;
    std::string_view data;
    size_t next; // offset of the record after it
};

class TRecords {
public:
    explicit TRecords(std::string_view stream) : m_stream(stream) {}
    bool Read(size_t at, TRecord& record) const {
        if (at + 4 > m_stream.size()) return false;
        const uint16_t length = U16(m_stream, at + 2);
        if (at + 4 + length > m_stream.size()) return false;
        record = {U16(m_stream, at), m_stream.substr(at + 4, length), at + 4 + length};
        return true;
    }
    size_t Size() const { return m_stream.size(); }

private:
    std::string_view m_stream;
};

struct TGlobals {
    std::vector<TWorkbookSheet> sheets;
    std::vector<uint32_t> offsets; // of each worksheet's BOF
    int active = 0;                // among the worksheets
    bool date1904 = false;
    std::string strings;            // the shared texts, one after another
    std::vector<size_t> stringEnds; // where each ends
    std::map<uint16_t, std::string> formats;
    std::vector<uint16_t> cellFormats; // the number format of each cell style
};

class TXlsBook {
public:
    TXlsBook(std::string_view stream, const std::string& path) : m_records(stream), m_path(path) {}

    [[noreturn]] void Fail(const std::string& reason) const {
        throw EInOutError("Cannot read Excel workbook " + m_path + ": " + reason);
    }

    TGlobals ReadGlobals() const {
        TGlobals g;
        TRecord r{};
        if (!m_records.Read(0, r) || r.type != kBof || U16(r.data, 0) != 0x0600)
            Fail("not an Excel 97-2003 workbook (the stream starts with no BIFF8 header)");
        int activeTab = 0, tab = 0;
        for (size_t at = r.next; m_records.Read(at, r); at = r.next) {
            switch (r.type) {
            case kBoundSheet: {
                // Charts and macro sheets take a tab but hold no cells.
                const bool worksheet = r.data.size() >= 8 && static_cast<uint8_t>(r.data[5]) == 0;
                if (worksheet) {
                    TPieces name;
                    name.Add(r.data.substr(6));
                    std::string text;
                    if (!ReadText(name, false, text)) Fail("a sheet's name is cut short");
                    if (tab == activeTab) g.active = static_cast<int>(g.sheets.size());
                    g.sheets.push_back({text, (static_cast<uint8_t>(r.data[4]) & 3) != 0});
                    g.offsets.push_back(U32(r.data, 0));
                }
                ++tab;
                break;
            }
            case kFilePass:
                Fail("the workbook is password protected");
            case kWindow1:
                activeTab = U16(r.data, 10);
                break;
            case kDateMode:
                g.date1904 = U16(r.data, 0) == 1;
                break;
            case kFormat: {
                TPieces code;
                code.Add(r.data.substr(std::min<size_t>(2, r.data.size())));
                std::string text;
                if (!ReadText(code, true, text)) Fail("a number format is cut short");
                g.formats[U16(r.data, 0)] = text;
                break;
            }
            case kXf:
                g.cellFormats.push_back(U16(r.data, 2));
                break;
            case kSst:
                ReadSharedTexts(r, g.strings, g.stringEnds);
                break;
            default:
                break;
            }
            if (r.type == kEof) break;
        }
        // The window's active tab counts every sheet; ours counts worksheets.
        int worksheetsBefore = 0;
        tab = 0;
        for (size_t at = 0; m_records.Read(at, r) && r.type != kEof; at = r.next) {
            if (r.type != kBoundSheet) continue;
            if (tab++ == activeTab) {
                g.active = worksheetsBefore;
                break;
            }
            if (r.data.size() >= 8 && static_cast<uint8_t>(r.data[5]) == 0) ++worksheetsBefore;
        }
        return g;
    }

    // Calls add(row, column, text) for every cell with a text of its own (empty ones too),
    // shared(row, column, index) for every cell naming a shared text that is not empty, and
    // error(row, column) for every cell holding an error value, in the order of the sheet's records.
    template <typename Add, typename Shared, typename Error>
    void ForEachCell(const TGlobals& g, size_t sheet, bool storedValues, Add add, Shared shared,
                     Error error) const {
        TRecord r{};
        if (!m_records.Read(g.offsets[sheet], r) || r.type != kBof)
            Fail("a sheet's records are not where the workbook says");
        const auto formatOf = [&](uint16_t xf) -> std::string_view {
            if (xf >= g.cellFormats.size()) return {};
            const uint16_t id = g.cellFormats[xf];
            const auto custom = g.formats.find(id);
            return custom != g.formats.end() ? std::string_view(custom->second) : BuiltInFormatCode(id);
        };
        const auto number = [&](uint16_t row, uint16_t column, uint16_t xf, double value) {
            add(row, column,
                storedValues ? NumberText(value) : FormatNumber(value, formatOf(xf), g.date1904));
        };
        bool stringFollows = false; // a formula's text result comes in the STRING record after it
        uint16_t formulaRow = 0, formulaColumn = 0;
        for (size_t at = r.next; m_records.Read(at, r); at = r.next) {
            const std::string_view d = r.data;
            if (r.type == kEof || r.type == kBof) break;
            const uint16_t row = U16(d, 0), column = U16(d, 2), xf = U16(d, 4);
            // A formula's text result comes next; any other cell in between means there is none.
            const bool resultText = stringFollows && r.type == kString;
            if (r.type == kString || r.type == kNumber || r.type == kRk || r.type == kMulRk ||
                r.type == kLabelSst || r.type == kLabel || r.type == kRString || r.type == kBoolErr ||
                r.type == kFormula)
                stringFollows = false;
            switch (r.type) {
            case kNumber:
                if (d.size() >= 14) number(row, column, xf, F64(d, 6));
                break;
            case kRk:
                if (d.size() >= 10) number(row, column, xf, RkValue(U32(d, 6)));
                break;
            case kMulRk:
                for (size_t i = 4; i + 6 + 2 <= d.size(); i += 6)
                    number(row, static_cast<uint16_t>(column + (i - 4) / 6), U16(d, i),
                           RkValue(U32(d, i + 2)));
                break;
            case kLabelSst: {
                const uint32_t index = U32(d, 6);
                if (d.size() < 10 || index >= g.stringEnds.size())
                    Fail("a cell names a shared text that does not exist");
                const size_t start = index == 0 ? 0 : g.stringEnds[index - 1];
                if (g.stringEnds[index] > start) shared(row, column, index);
                break;
            }
            case kLabel:
            case kRString: {
                TPieces text;
                text.Add(d.substr(std::min<size_t>(6, d.size())));
                std::string value;
                if (!ReadText(text, true, value)) Fail("a cell's text is cut short");
                add(row, column, value);
                break;
            }
            case kBoolErr:
                if (d.size() < 8) break;
                if (d[7] == 1)
                    error(row, column);
                else
                    add(row, column, d[6] ? "TRUE" : "FALSE");
                break;
            case kFormula:
                if (d.size() < 14) break;
                if (U16(d, 12) != 0xFFFF) {
                    number(row, column, xf, F64(d, 6));
                } else if (d[6] == 0) {
                    stringFollows = true;
                    formulaRow = row;
                    formulaColumn = column;
                } else if (d[6] == 1) {
                    add(row, column, d[8] ? "TRUE" : "FALSE");
                } else if (d[6] == 2) {
                    error(row, column);
                } // 3: an empty text
                break;
            case kString:
                if (resultText) {
                    TPieces text;
                    text.Add(d);
                    for (TRecord c{}; m_records.Read(r.next, c) && c.type == kContinue; r = c)
                        text.Add(c.data);
                    std::string value;
                    if (!ReadText(text, true, value)) Fail("a formula's text result is cut short");
                    add(formulaRow, formulaColumn, value);
                }
                break;
            default:
                break;
            }
        }
    }

    size_t StreamSize() const { return m_records.Size(); }

private:
    void ReadSharedTexts(TRecord& sst, std::string& strings, std::vector<size_t>& ends) const {
        TPieces in;
        in.Add(sst.data.substr(std::min<size_t>(8, sst.data.size())));
        const uint32_t unique = U32(sst.data, 4);
        size_t raw = sst.data.size();
        for (TRecord c{}; m_records.Read(sst.next, c) && c.type == kContinue; sst = c) {
            in.Add(c.data);
            raw += c.data.size();
        }
        // The count is the file's word: it is never trusted for more room than the texts can fill.
        // Texts of one byte a character (the rule) take as many bytes as they fill in the file, and less
        // than that with their headers: the room for them is taken once rather than doubled as they come.
        ends.reserve(std::min<size_t>(unique, raw / 3));
        strings.reserve(raw);
        std::string text;
        for (uint32_t i = 0; i < unique && !in.AtEnd(); ++i) {
            text.clear();
            if (!ReadText(in, true, text)) Fail("the shared texts are cut short");
            strings += text;
            ends.push_back(strings.size());
        }
    }

    TRecords m_records;
    std::string m_path;
};

} // namespace

std::string_view TXlsSheetCells::Text(const TCell& cell) const {
    if (cell.text & kShared) {
        const size_t index = cell.text & ~kShared;
        const size_t start = index == 0 ? 0 : sharedEnds[index - 1];
        return std::string_view(shared).substr(start, sharedEnds[index] - start);
    }
    size_t at = cell.text, length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<uint8_t>(m_own[at++]);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80)) break;
    }
    return std::string_view(m_own).substr(at, length);
}

bool TXlsSheetCells::Add(uint16_t row, uint16_t column, std::string_view text) {
    if (text.empty()) return true; // nothing to write, and no cell it would clear
    if (m_own.size() + text.size() + 5 >= kShared) return false;
    cells.push_back({row, column, static_cast<uint32_t>(m_own.size())});
    for (size_t n = text.size();; n >>= 7) {
        m_own += static_cast<char>((n & 0x7F) | (n > 0x7F ? 0x80 : 0));
        if (n <= 0x7F) break;
    }
    m_own += text;
    return true;
}

struct TXlsSheetReader::TImpl {
    TXlsBook book;
    TGlobals globals;
    size_t sheet = 0;
    bool storedValues = false;
};

TXlsSheetReader::TXlsSheetReader(std::string_view stream, const TWorkbookChoices& choices,
                                 const std::string& path)
    : m(std::make_unique<TImpl>(TImpl{TXlsBook(stream, path), {}, 0, choices.storedValues})) {
    m->globals = m->book.ReadGlobals();
    m->sheet = ChooseSheet(m->globals.sheets, m->globals.active, choices, "Excel workbook", path);
}

TXlsSheetReader::~TXlsSheetReader() = default;

void TXlsSheetReader::ForEachCell(const std::function<void(uint16_t, uint16_t, std::string_view)>& cell,
                                  const std::function<void(uint16_t, uint16_t)>& error) const {
    const TGlobals& g = m->globals;
    m->book.ForEachCell(
        g, m->sheet, m->storedValues,
        [&](uint16_t row, uint16_t column, std::string_view text) {
            if (!text.empty()) cell(row, column, text);
        },
        [&](uint16_t row, uint16_t column, uint32_t index) {
            const size_t start = index == 0 ? 0 : g.stringEnds[index - 1];
            cell(row, column, std::string_view(g.strings).substr(start, g.stringEnds[index] - start));
        },
        error);
}

TXlsSheetCells TXlsSheetReader::Cells() {
    TXlsSheetCells out;
    // One cell record of at least 14 bytes, or six bytes of a MULRK, is a cell at most: room for that
    // many cells is an upper bound that costs memory only as far as it is filled.
    out.cells.reserve(m->book.StreamSize() / 6);
    m->book.ForEachCell(
        m->globals, m->sheet, m->storedValues,
        [&](uint16_t row, uint16_t column, std::string_view text) {
            if (!out.Add(row, column, text))
                m->book.Fail("the sheet holds more text than the datasheet takes");
        },
        [&](uint16_t row, uint16_t column, uint32_t index) { out.AddShared(row, column, index); },
        [&](uint16_t row, uint16_t column) {
            out.errors.push_back({row, column});
        });
    // Sheets come in order as a rule; sorting (which needs room for a copy) is for those that do not.
    const auto before = [](const TXlsSheetCells::TCell& a, const TXlsSheetCells::TCell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    };
    if (!std::is_sorted(out.cells.begin(), out.cells.end(), before))
        std::stable_sort(out.cells.begin(), out.cells.end(), before);
    out.shared = std::move(m->globals.strings);
    out.sharedEnds = std::move(m->globals.stringEnds);
    return out;
}

TWorkbookSheetList ListXlsSheets(std::string_view stream, const std::string& path) {
    const TGlobals globals = TXlsBook(stream, path).ReadGlobals();
    return {globals.sheets, globals.active};
}

} // namespace qbm
