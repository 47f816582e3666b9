#pragma once
// The design's JSON form, for scripts and for designs kept beside a project:
// {"objects": [{"type": "text", "x_mm": 2, "y_mm": 3, "width_mm": 40, "height_mm": 6, "value": "{Name}"}]}
// Pictures stay files beside the JSON; a design read from JSON embeds them again.

#include "design/TLabelDesign.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qbm {

// Writes an object's picture somewhere and says the name "file" holds; `objectNumber` counts from 1.
using TPictureSaver = std::function<std::string(const TDesignPicture& picture, int objectNumber)>;
// The bytes of a picture named by "file"; throws when it cannot be read.
using TPictureLoader = std::function<std::vector<uint8_t>(const std::string& file)>;

std::string DesignToJson(const TLabelDesign& design, const TPictureSaver& savePicture);

// The design of a JSON text. Keys a kind does not have, kinds, symbologies and values out of range
// are refused by name (EDesignError), so that a typing error in a script does not print a label
// that lacks what it meant.
TLabelDesign DesignFromJson(std::string_view json, const TPictureLoader& loadPicture);

} // namespace qbm
