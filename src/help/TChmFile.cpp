#include "help/TChmFile.h"

#include "util/Errors.h"

#include <chm_lib.h>

#include <sys/stat.h>

namespace qbm {

TChmFile::TChmFile(const std::string& path) : m_path(path) {
    // chmlib opens whatever it is given; a folder or a device must not get that far.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        throw EInOutError("The help file \"" + path + "\" cannot be found.");
    m_file = chm_open(path.c_str());
    if (!m_file) throw EInOutError("The help file \"" + path + "\" cannot be read: it is not a help file.");
}

TChmFile::~TChmFile() {
    if (m_file) chm_close(m_file);
}

bool TChmFile::Contains(std::string_view objectPath) const {
    chmUnitInfo info{};
    return chm_resolve_object(m_file, std::string(objectPath).c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::string> TChmFile::Read(std::string_view objectPath) const {
    chmUnitInfo info{};
    if (chm_resolve_object(m_file, std::string(objectPath).c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > kMaxObjectSize) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(info.length), '\0');
    if (bytes.empty()) return bytes;
    const LONGUINT64 got = chm_retrieve_object(m_file, &info, reinterpret_cast<unsigned char*>(bytes.data()),
                                               0, static_cast<LONGINT64>(info.length));
    if (got != info.length) return std::nullopt;
    return bytes;
}

std::vector<std::string> TChmFile::ObjectPaths() const {
    std::vector<std::string> paths;
    chm_enumerate(
        m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES,
        [](chmFile*, chmUnitInfo* info, void* context) {
            static_cast<std::vector<std::string>*>(context)->emplace_back(info->path);
            return CHM_ENUMERATOR_CONTINUE;
        },
        &paths);
    return paths;
}

std::string ChmTopicPath(std::string_view topic) {
    if (const auto marker = topic.find("::"); marker != std::string_view::npos)
        topic.remove_prefix(marker + 2);
    if (const auto anchor = topic.find('#'); anchor != std::string_view::npos)
        topic = topic.substr(0, anchor);
    std::string path = "/";
    for (const char c : topic) {
        const char slash = c == '\\' ? '/' : c;
        if (slash == '/' && path.back() == '/') continue;
        path += slash;
    }
    return path;
}

} // namespace qbm
