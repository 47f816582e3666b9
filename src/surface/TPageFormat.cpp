#include "surface/TPageFormat.h"

namespace qbm {

std::optional<TPageFormat> ParsePageFormat(std::string_view name) {
    if (name == "png") return TPageFormat::Png;
    if (name == "pbm") return TPageFormat::Pbm;
    if (name == "tiff" || name == "tif") return TPageFormat::Tiff;
    return std::nullopt;
}

const char* PageExtension(TPageFormat format) {
    switch (format) {
    case TPageFormat::Pbm:
        return "pbm";
    case TPageFormat::Tiff:
        return "tiff";
    case TPageFormat::Png:
        break;
    }
    return "png";
}

} // namespace qbm
