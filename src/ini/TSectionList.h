#pragma once
// The sections of an INI text in file order, each owning the lines that follow its header.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// A caller's list of text lines (keys, names, whole lines).
using TStrings = std::vector<std::string>;

class TSectionList {
public:
    int Count() const { return static_cast<int>(m_entries.size()); }
    const std::string& Name(int index) const { return m_entries.at(static_cast<size_t>(index)).name; }
    TStrings& Lines(int index) { return *m_entries.at(static_cast<size_t>(index)).lines; }
    const TStrings& Lines(int index) const { return *m_entries.at(static_cast<size_t>(index)).lines; }

    // Appends a section without lines and returns its index. Duplicate names are allowed.
    int Add(std::string name);
    void Delete(int index);
    // Removes every section whose flag is set, keeping the order of the others.
    void DeleteMarked(const std::vector<bool>& marked);
    void Clear();

    // Finds a section by name, ignoring letter case. The search starts at the last match and wraps
    // around, so that a run of lookups on one section does not rescan the list each time.
    int IndexOf(std::string_view name);
    // Finds the first entry of the form name=value whose name matches, ignoring letter case.
    int IndexOfName(std::string_view name) const;

    int LastFound() const { return m_lastFound; }
    void ResetLastFound() { m_lastFound = 0; }

private:
    struct Entry {
        std::string name;
        std::unique_ptr<TStrings> lines;
    };
    std::vector<Entry> m_entries;
    int m_lastFound = 0;
};

} // namespace qbm
