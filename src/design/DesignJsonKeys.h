#pragma once
// Which keys of the design's JSON form each kind of object has; the reader refuses others and the
// writer writes exactly these.

#include "design/TDesignObject.h"

#include <array>
#include <string_view>

namespace qbm {

constexpr unsigned KindBit(TDesignKind kind) {
    return 1u << static_cast<unsigned>(kind);
}

inline constexpr unsigned kAllKinds = 0x3F;
inline constexpr unsigned kTextKinds = KindBit(TDesignKind::Text) | KindBit(TDesignKind::Barcode);
inline constexpr unsigned kOutlineKinds =
    KindBit(TDesignKind::Line) | KindBit(TDesignKind::Rect) | KindBit(TDesignKind::Ellipse);
inline constexpr unsigned kFilledKinds = KindBit(TDesignKind::Rect) | KindBit(TDesignKind::Ellipse);

struct TDesignKey {
    std::string_view name;
    unsigned kinds;
};

inline constexpr std::array<TDesignKey, 20> kDesignKeys{{
    {"type", kAllKinds},
    {"x_mm", kAllKinds},
    {"y_mm", kAllKinds},
    {"width_mm", kAllKinds},
    {"height_mm", kAllKinds},
    {"rotation", kAllKinds},
    {"value", kTextKinds},
    {"font", kTextKinds},
    {"size_pt", kTextKinds},
    {"bold", KindBit(TDesignKind::Text)},
    {"italic", KindBit(TDesignKind::Text)},
    {"align", KindBit(TDesignKind::Text)},
    {"shrink_to_fit", KindBit(TDesignKind::Text)},
    {"color", KindBit(TDesignKind::Text) | kOutlineKinds},
    {"symbology", KindBit(TDesignKind::Barcode)},
    {"show_text", KindBit(TDesignKind::Barcode)},
    {"file", KindBit(TDesignKind::Image)},
    {"line_mm", kOutlineKinds},
    {"fill", kFilledKinds},
    {"radius_mm", KindBit(TDesignKind::Rect)},
}};

} // namespace qbm
