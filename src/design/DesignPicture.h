#pragma once
// Pictures of a design: which kind of file the bytes are.

#include "design/TDesignObject.h"

#include <optional>
#include <string>
#include <vector>

namespace qbm {

// "png", "jpeg" or "svg" as the bytes begin; nullopt for anything else.
std::optional<std::string> PictureFormatOf(const std::vector<uint8_t>& bytes);

// The picture of a file's bytes; EDesignError names the file when it is none of the three kinds.
TDesignPicture PictureFromBytes(std::vector<uint8_t> bytes, const std::string& fileName);

} // namespace qbm
