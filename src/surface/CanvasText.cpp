#include "surface/CanvasText.h"

#include "util/Text.h"

#include <algorithm>

namespace qbm {
namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::optional<std::string> CanvasLatin1(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    if (!FitsLatin1(text)) return std::nullopt;
    return Utf8ToLatin1Replacing(text);
}

QString CanvasQString(std::string_view text) {
    if (const auto latin1 = CanvasLatin1(text))
        return QString::fromLatin1(latin1->data(), static_cast<qsizetype>(latin1->size()));
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace qbm
