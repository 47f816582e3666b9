#include "design/TDesignObject.h"

#include <array>
#include <string_view>

namespace qbm {

namespace {
constexpr std::array<const char*, 6> kKindNames = {"text", "barcode", "image", "line", "rect", "ellipse"};
}

const char* DesignKindName(TDesignKind kind) {
    return kKindNames[static_cast<size_t>(kind)];
}

std::optional<TDesignKind> DesignKindByName(std::string_view name) {
    for (size_t i = 0; i < kKindNames.size(); ++i)
        if (name == kKindNames[i]) return static_cast<TDesignKind>(i);
    return std::nullopt;
}

} // namespace qbm
