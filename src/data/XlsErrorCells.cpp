#include "data/XlsErrorCells.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace qbm {
namespace {

// Compound file sector markers.
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr size_t kHeaderSize = 512;
constexpr size_t kHeaderDifatEntries = 109;
constexpr size_t kDirectoryEntrySize = 128;

// Workbook records.
constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kBoundSheet = 0x0085;
constexpr uint16_t kBoolErr = 0x0205;
constexpr uint16_t kFormula = 0x0006;

uint16_t U16(std::string_view b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t U32(std::string_view b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

class TCompoundFile {
public:
    explicit TCompoundFile(std::string_view file) : m_file(file) {}

    // The named stream's bytes, or nothing when the structure cannot be followed.
    std::optional<std::string> Stream(const char* const names[], size_t count) {
        if (m_file.size() < kHeaderSize ||
            std::memcmp(m_file.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) != 0)
            return std::nullopt;
        const unsigned shift = U16(m_file, 0x1E), miniShift = U16(m_file, 0x20);
        if ((shift != 9 && shift != 12) || miniShift != 6) return std::nullopt;
        m_sectorSize = size_t{1} << shift;
        // The header takes the whole first sector: 512 bytes, or 4096 in files of 4096-byte sectors.
        if (m_file.size() < m_sectorSize) return std::nullopt;
        m_sectorCount = (m_file.size() - m_sectorSize + m_sectorSize - 1) / m_sectorSize;
        if (!ReadFat()) return std::nullopt;
        const auto directory =
            Chain(m_fat, U32(m_file, 0x30), m_sectorSize, [&](uint32_t s) { return Sector(s); });
        if (!directory) return std::nullopt;
        const uint32_t miniCutoff = U32(m_file, 0x38);
        for (size_t at = 0; at + kDirectoryEntrySize <= directory->size(); at += kDirectoryEntrySize) {
            const std::string_view entry(directory->data() + at, kDirectoryEntrySize);
            const uint8_t type = static_cast<uint8_t>(entry[66]);
            if (type != 2) continue; // not a stream
            const std::string name = EntryName(entry);
            bool wanted = false;
            for (size_t i = 0; i < count; ++i) wanted = wanted || name == names[i];
            if (!wanted) continue;
            const uint32_t start = U32(entry, 116);
            const uint32_t size = U32(entry, 120);
            std::optional<std::string> bytes;
            if (size < miniCutoff)
                bytes = MiniStream(*directory, start);
            else
                bytes = Chain(
                    m_fat, start, m_sectorSize, [&](uint32_t s) { return Sector(s); }, size);
            if (!bytes || bytes->size() < size) return std::nullopt;
            bytes->resize(size);
            return bytes;
        }
        return std::nullopt;
    }

private:
    std::string_view Sector(uint32_t s) const {
        if (s >= m_sectorCount) return {};
        const size_t at = (static_cast<size_t>(s) + 1) * m_sectorSize;
        return m_file.substr(at, std::min(m_sectorSize, m_file.size() - at));
    }

    bool ReadFat() {
        std::vector<uint32_t> fatSectors;
        const uint32_t fatCount = U32(m_file, 0x2C);
        if (fatCount > m_sectorCount) return false;
        for (size_t i = 0; i < kHeaderDifatEntries && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(U32(m_file, 0x4C + 4 * i));
        uint32_t difat = U32(m_file, 0x44);
        for (size_t guard = 0; fatSectors.size() < fatCount && difat <= kMaxRegularSector; ++guard) {
            if (guard > m_sectorCount) return false;
            const std::string_view s = Sector(difat);
            if (s.size() < m_sectorSize) return false;
            for (size_t i = 0; i + 1 < m_sectorSize / 4 && fatSectors.size() < fatCount; ++i)
                fatSectors.push_back(U32(s, 4 * i));
            difat = U32(s, m_sectorSize - 4);
        }
        for (const uint32_t f : fatSectors) {
            const std::string_view s = Sector(f);
            if (s.size() < m_sectorSize) return false;
            for (size_t i = 0; i < m_sectorSize / 4; ++i) m_fat.push_back(U32(s, 4 * i));
        }
        return true;
    }

    // Follows a chain of the table `fat`; a loop or a link out of the file ends in nothing. Room for
    // `expected` bytes (the size the directory states, never trusted beyond the file's) is taken at
    // once: a buffer that doubles as it grows would hold twice the stream, and three times while it moves.
    template <typename Read>
    std::optional<std::string> Chain(const std::vector<uint32_t>& fat, uint32_t start, size_t unit, Read read,
                                     size_t expected = 0) const {
        std::string bytes;
        bytes.reserve(std::min(expected, m_file.size()) + unit);
        for (uint32_t s = start; s != kEndOfChain;) {
            if (s >= fat.size() || bytes.size() > m_file.size()) return std::nullopt;
            const std::string_view part = read(s);
            if (part.size() < unit && fat[s] != kEndOfChain) return std::nullopt;
            bytes.append(part);
            s = fat[s];
        }
        return bytes;
    }

    std::optional<std::string> MiniStream(const std::string& directory, uint32_t start) {
        const auto container =
            Chain(m_fat, U32(directory, 116), m_sectorSize, [&](uint32_t s) { return Sector(s); });
        const auto miniFatBytes =
            Chain(m_fat, U32(m_file, 0x3C), m_sectorSize, [&](uint32_t s) { return Sector(s); });
        if (!container || !miniFatBytes) return std::nullopt;
        std::vector<uint32_t> miniFat;
        for (size_t i = 0; i + 4 <= miniFatBytes->size(); i += 4) miniFat.push_back(U32(*miniFatBytes, i));
        const std::string_view mini(*container);
        return Chain(miniFat, start, 64, [&](uint32_t s) {
            const size_t at = static_cast<size_t>(s) * 64;
            return at < mini.size() ? mini.substr(at, 64) : std::string_view();
        });
    }

    static std::string EntryName(std::string_view entry) {
        const size_t length = std::min<size_t>(U16(entry, 64), 64);
        std::string name;
        for (size_t i = 0; i + 1 < length; i += 2) {
            const uint16_t c = U16(entry, i);
            if (c == 0) break;
            name += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return name;
    }

    std::string_view m_file;
    size_t m_sectorSize = 512;
    size_t m_sectorCount = 0;
    std::vector<uint32_t> m_fat;
};

} // namespace

constexpr const char* kWorkbookNames[] = {"Workbook", "Book"};

std::optional<std::string> XlsWorkbookStream(std::string_view file) {
    return TCompoundFile(file).Stream(kWorkbookNames, 2);
}

bool HasWholeWorkbookStream(std::string_view file) {
    return TCompoundFile(file).Stream(kWorkbookNames, 2).has_value();
}

std::vector<TXlsCell> XlsErrorCells(std::string_view file, unsigned sheetIndex) {
    const auto stream = TCompoundFile(file).Stream(kWorkbookNames, 2);
    std::vector<TXlsCell> cells;
    if (!stream) return cells;
    const std::string_view s(*stream);

    // The workbook globals list the sheets and where their records begin.
    std::vector<uint32_t> sheetOffsets;
    size_t at = 0;
    while (at + 4 <= s.size()) {
        const uint16_t type = U16(s, at), length = U16(s, at + 2);
        if (type == kBoundSheet && length >= 6 && U16(s, at + 8) >> 8 == 0) // worksheets only
            sheetOffsets.push_back(U32(s, at + 4));
        at += 4 + length;
        if (type == kEof) break;
    }
    // The library counts worksheets the same way.
    if (sheetIndex >= sheetOffsets.size()) return cells;
    at = sheetOffsets[sheetIndex];
    if (at + 4 > s.size() || U16(s, at) != kBof) return cells;
    at += 4 + U16(s, at + 2);
    while (at + 4 <= s.size()) {
        const uint16_t type = U16(s, at), length = U16(s, at + 2);
        const std::string_view data = s.substr(at + 4, std::min<size_t>(length, s.size() - at - 4));
        if (type == kEof || type == kBof) break;
        // BOOLERR: row, column, format, value, 1 when the value is an error code.
        if (type == kBoolErr && data.size() >= 8 && data[7] == 1)
            cells.push_back({U16(data, 0), U16(data, 2)});
        // FORMULA: a result whose last two bytes are 0xFFFF and first byte 2 is an error code.
        if (type == kFormula && data.size() >= 14 && data[6] == 2 && U16(data, 12) == 0xFFFF)
            cells.push_back({U16(data, 0), U16(data, 2)});
        at += 4 + length;
    }
    return cells;
}

} // namespace qbm
