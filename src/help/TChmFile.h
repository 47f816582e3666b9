#pragma once
// Read access to a compiled HTML help file (.chm): the pages, style sheets and pictures it holds.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace qbm {

class TChmFile {
public:
    // A help file never holds a page or picture this large; a bigger entry is a damaged file.
    static constexpr std::size_t kMaxObjectSize = 32u << 20;

    // Opens the file; throws EInOutError naming the path when it is missing or not a help file.
    explicit TChmFile(const std::string& path);
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    const std::string& Path() const { return m_path; }
    bool Contains(std::string_view objectPath) const;
    // The bytes of an entry ("/html/plovet.htm"); nullopt when the file has no such entry or the entry
    // cannot be read completely.
    std::optional<std::string> Read(std::string_view objectPath) const;
    // Every entry of the file that holds data, in the file's order.
    std::vector<std::string> ObjectPaths() const;

private:
    std::string m_path;
    chmFile* m_file = nullptr;
};

// The entry path of a help topic as programs name it: "html\plovet.htm", "::/html\plovet.htm",
// "/html/datasheet.htm#import" all name "/html/…" inside the file. The anchor is dropped.
std::string ChmTopicPath(std::string_view topic);

} // namespace qbm
