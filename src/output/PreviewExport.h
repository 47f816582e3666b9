#pragma once
// Saving the symbol a template editor shows as a picture file. Every file holds the whole symbol
// with its quiet zone, so that it scans: raster pictures (BMP, PNG, JPEG, TIFF) at the resolution the
// user chose, with whole-pixel modules, and vector files (SVG, PDF) at the symbol's real size, its
// bars, modules, hexagons and rings as shapes. The editor's preview picture, pixel for pixel, stays
// available for those who want exactly that.

#include <optional>
#include <string>

namespace qbm {

class TTemplateEditor;
class T2DTemplateEditor;

enum class TPictureFormat { pfBmp, pfPng, pfJpeg, pfTiff, pfSvg, pfPdf };

// The format a file name asks for by its extension; nullopt for an extension no format has.
std::optional<TPictureFormat> PictureFormatOf(const std::string& path);

struct TPictureExport {
    static constexpr int kDefaultDpi = 300;
    static constexpr int kMinDpi = 72;
    static constexpr int kMaxDpi = 2400;
    int dpi = kDefaultDpi;
    // The editor's preview picture as shown (raster formats only).
    bool previewPicture = false;
};

// Linear editor: the test code drawn with the template's sizes for the chosen resolution, with a
// quiet zone of ten modules around bars and texts. A test code the template cannot draw is refused
// with its message.
void ExportTemplatePreview(TTemplateEditor& editor, const std::string& path,
                           const TPictureExport& choice = {});

// 2D editor: the symbol of the current page, centred in its quiet zone (two modules for PDF417, one
// for MaxiCode, never less than a millimetre). JPEG at quality 90, colour, baseline.
void Export2DPreview(T2DTemplateEditor& editor, const std::string& path, const TPictureExport& choice = {});

} // namespace qbm
