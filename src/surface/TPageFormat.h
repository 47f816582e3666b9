#pragma once
// The file formats raster pages can be written in.

#include <optional>
#include <string_view>

namespace qbm {

enum class TPageFormat { Png, Pbm, Tiff };

// "png", "pbm" or "tiff" (as typed after --format); nothing for other names.
std::optional<TPageFormat> ParsePageFormat(std::string_view name);
// The file name extension, without the dot.
const char* PageExtension(TPageFormat format);

} // namespace qbm
