#include "surface/TPaperSize.h"

#include "util/Text.h"

#include <cstdlib>

namespace qbm {

std::optional<TPaperSize> TPaperSize::Parse(const std::string& text) {
    if (SameText(text, "A4")) return A4();
    if (SameText(text, "Letter")) return Letter();
    const std::string lower = LowerCase(text);
    if (lower.size() < 5 || lower.compare(lower.size() - 2, 2, "mm") != 0) return std::nullopt;
    const std::string dims = lower.substr(0, lower.size() - 2);
    const auto x = dims.find('x');
    if (x == std::string::npos) return std::nullopt;
    char* end = nullptr;
    const std::string ws = dims.substr(0, x), hs = dims.substr(x + 1);
    const double w = std::strtod(ws.c_str(), &end);
    if (ws.empty() || *end) return std::nullopt;
    const double h = std::strtod(hs.c_str(), &end);
    if (hs.empty() || *end) return std::nullopt;
    if (!(w >= 10 && w <= 2000 && h >= 10 && h <= 2000)) return std::nullopt;
    return TPaperSize{w, h};
}

} // namespace qbm
