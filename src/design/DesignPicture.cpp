#include "design/DesignPicture.h"

#include "design/TLabelDesign.h"

#include <algorithm>
#include <string_view>

namespace qbm {

namespace {

bool StartsWith(const std::vector<uint8_t>& bytes, std::string_view magic) {
    return bytes.size() >= magic.size() &&
           std::equal(magic.begin(), magic.end(), bytes.begin(),
                      [](char m, uint8_t b) { return static_cast<uint8_t>(m) == b; });
}

// An SVG file is XML whose root element is <svg>; its first kilobytes name it after the prolog,
// comments and doctype.
bool LooksLikeSvg(const std::vector<uint8_t>& bytes) {
    const std::string_view head(reinterpret_cast<const char*>(bytes.data()),
                                std::min<size_t>(bytes.size(), 4096));
    const size_t start = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    if (start == std::string_view::npos || head[start] != '<') return false;
    return head.find("<svg") != std::string_view::npos;
}

} // namespace

std::optional<std::string> PictureFormatOf(const std::vector<uint8_t>& bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return "png";
    if (StartsWith(bytes, "\xFF\xD8\xFF")) return "jpeg";
    if (LooksLikeSvg(bytes)) return "svg";
    return std::nullopt;
}

TDesignPicture PictureFromBytes(std::vector<uint8_t> bytes, const std::string& fileName) {
    const std::optional<std::string> format = PictureFormatOf(bytes);
    if (!format) throw EDesignError("\"" + fileName + "\" is not a PNG, JPEG or SVG picture");
    return {*format, std::move(bytes)};
}

} // namespace qbm
