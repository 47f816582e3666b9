#pragma once
// One barcode saved as a picture file: BMP, PNG, JPEG, or as vector SVG/PDF for other documents.

#include <string>

namespace qbm {

class TBarcode;

// Draws the barcode with a quiet margin around everything it paints (bars, text, caption) and
// saves it by the file's extension: .bmp, .png, .jpg, .svg or .pdf. `dpi` is the resolution the
// barcode's pixel sizes are meant for. The barcode's Left and Top are restored afterwards.
void ExportBarcode(TBarcode& barcode, const std::string& path, int margin, int dpi);

} // namespace qbm
