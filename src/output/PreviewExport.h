#pragma once
// Saving what a template editor shows as a picture file. The chosen file's extension decides the
// format: the preview pixel for pixel (.bmp, .png; .jpg for 2D symbols), or the symbol at the size
// it prints with its bars as vector shapes (.svg, .pdf) for use in other documents.

#include <string>

namespace qbm {

class TTemplateEditor;
class T2DTemplateEditor;

// Linear editor: .bmp and .png hold the 257 x 246 preview; .svg and .pdf the barcode at the
// printer's resolution. A test code that cannot be drawn is refused with the encoder's error.
void ExportTemplatePreview(TTemplateEditor& editor, const std::string& path);

// 2D editor: .jpg (quality 90, colour, baseline), .png and .bmp hold the preview picture; .svg and
// .pdf the symbol of the current page as printed at `dpi`, its modules traced into rectangles.
void Export2DPreview(T2DTemplateEditor& editor, const std::string& path, int dpi);

} // namespace qbm
