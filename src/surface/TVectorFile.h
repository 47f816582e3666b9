#pragma once
// Pictures saved as vector files (SVG, PDF): the painting goes through a canvas, bars stay shapes.

#include <functional>
#include <string>

namespace qbm {

class TCanvas;

enum class TVectorFormat { vfSvg, vfPdf };

// Paints a picture of width x height device pixels at `dpi` into a file; the file is replaced only
// when the whole picture was written (EInOutError otherwise).
void SaveVectorPicture(const std::string& path, TVectorFormat format, int width, int height, int dpi,
                       const std::function<void(TCanvas&)>& paint);

} // namespace qbm
