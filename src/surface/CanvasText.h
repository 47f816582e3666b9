#pragma once
// Text handed to a canvas is UTF-8, any script: captions come from datasheets and typing. Text of
// Latin-1 characters only takes the fast path through the glyph tables, which are indexed by Latin-1
// code, and comes out exactly as before; other text goes through Qt's shaper, whose font fallback
// finds the glyphs the chosen font lacks. Bytes that are no UTF-8 at all are read as Latin-1, as the
// engines' own texts once were.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace qbm {

// The text as Latin-1 bytes when every character fits; nothing otherwise.
std::optional<std::string> CanvasLatin1(std::string_view text);

QString CanvasQString(std::string_view text);

} // namespace qbm
