#pragma once
// A symbol geometry saved as a picture file: PNG, BMP or JPEG, or as vector SVG / PDF.

#include "surface/TSymbolGeometry.h"

#include <string>

namespace qbm {

// Whether the path names a file ExportSymbol writes (.png, .bmp, .jpg, .svg, .pdf).
bool IsSymbolExportPath(const std::string& path);

// Draws the geometry, quiet zone included, with `dotsPerModule` device dots a module, and saves it by
// the file's extension; `dpi` is the resolution recorded in a picture or giving a vector page its
// size. EInOutError when the file cannot be written (an old file stays as it was).
void ExportSymbol(const TSymbolGeometry& geometry, const std::string& path, int dotsPerModule, int dpi);

} // namespace qbm
