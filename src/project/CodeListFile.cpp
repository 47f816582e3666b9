#include "project/CodeListFile.h"

#include "data/TextEncoding.h"
#include "util/AtomicFile.h"
#include "util/Errors.h"
#include "util/Text.h"

namespace qbm {

std::vector<std::string> SplitCodeLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

void ImportCodeList(const std::string& path, std::vector<std::string>& list, TCodeListText text) {
    list.clear();
    std::string content;
    if (!ReadFileIfExists(path, content))
        throw EInOutError("Cannot open file \"" + path + "\". No such file or directory");
    const TDetectedEncoding detected = DetectTextEncoding(content);
    list =
        SplitCodeLines(DecodeToUtf8(std::string_view(content).substr(detected.bomLength), detected.encoding));
    if (text == TCodeListText::ctLatin1)
        for (std::string& code : list) code = Utf8ToLatin1Replacing(code);
}

} // namespace qbm
