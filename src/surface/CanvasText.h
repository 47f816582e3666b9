#pragma once
// Text handed to a canvas is UTF-8, any script: captions come from datasheets and typing. Text whose
// characters all have a code in the canvas code page takes the fast path through the glyph tables,
// which are indexed by that code; other text goes through Qt's shaper, whose font fallback finds the
// glyphs the chosen font lacks. Bytes that are no UTF-8 at all are read as Latin-1, as the engines'
// own texts once were.
//
// The code page is Latin-1 with the printable characters of Windows-1252 in place of the control
// codes 0x80-0x9F: labels are full of "€", "–" and quotes, and those stay on the fast path (and PDF
// text of a font of our own) with the Latin-1 text exactly as before.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace qbm {

// The character of a code of the canvas code page (U+20AC for 0x80); the five codes Windows-1252
// leaves free stay the control characters Latin-1 has there.
char32_t CanvasCodeChar(unsigned char code);

// The text as codes of the canvas code page when every character has one; nothing otherwise.
std::optional<std::string> CanvasSingleBytes(std::string_view text);

QString CanvasQString(std::string_view text);

} // namespace qbm
