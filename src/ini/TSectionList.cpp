#include "ini/TSectionList.h"

#include "util/Text.h"

#include <stdexcept>

namespace qbm {

int TSectionList::Add(std::string name) {
    m_entries.push_back(Entry{std::move(name), std::make_unique<TStrings>()});
    return Count() - 1;
}

void TSectionList::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds");
    m_entries.erase(m_entries.begin() + index);
}

void TSectionList::DeleteMarked(const std::vector<bool>& marked) {
    std::vector<Entry> kept;
    kept.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (i >= marked.size() || !marked[i]) kept.push_back(std::move(m_entries[i]));
    m_entries = std::move(kept);
}

void TSectionList::Clear() {
    m_entries.clear();
    m_lastFound = 0;
}

int TSectionList::IndexOf(std::string_view name) {
    const int count = Count();
    if (count == 0) return -1;
    const int start = m_lastFound >= 0 && m_lastFound < count ? m_lastFound : 0;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (SameText(m_entries[static_cast<size_t>(i)].name, name)) {
            m_lastFound = i;
            return i;
        }
    }
    return -1;
}

int TSectionList::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& entry = m_entries[static_cast<size_t>(i)].name;
        const size_t eq = entry.find('=');
        if (eq == std::string::npos) continue;
        if (SameText(std::string_view(entry).substr(0, eq), name)) return i;
    }
    return -1;
}

} // namespace qbm
