#pragma once
// The profile store of the template library: every call reads or writes the file at once, so the
// store holds nothing but the file's path and there is nothing to flush.

#include "ini/TSectionList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qbm {

class TIniFile {
public:
    // Creating the store does not touch the file.
    explicit TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

    const std::string& FileName() const { return m_fileName; }

    // The value of the key's first line in the section; blanks around key and value do not count.
    // A missing or unreadable file, section or key gives `def`.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Every section name in file order, each name once.
    void ReadSections(TStrings& strings) const;
    // The key names of the section in order.
    void ReadSection(std::string_view section, TStrings& strings) const;
    // True only when the section holds at least one key.
    bool SectionExists(std::string_view section) const;

    // Replaces the key's value, or adds the key at the end of its section, or adds the section at the
    // end of the file (creating the file). Throws EInOutError "Unable to write to <path>"; the file is
    // replaced whole, so a failure leaves it as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Removes the section's header and lines (every section of that name).
    void EraseSection(std::string_view section);

private:
    std::string ReadContent() const;
    std::string ReadContentForWrite() const;
    void Store(const std::string& content) const;

    std::string m_fileName;
};

} // namespace qbm
