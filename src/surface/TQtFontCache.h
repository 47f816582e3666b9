#pragma once
// The Qt fonts of the last few surface fonts with their metrics, shared by the canvases that draw
// with Qt's fonts. A barcode switches between its code font and its caption font on every label,
// and building a Qt font asks the font configuration. Internal to the surface back ends.

#include "surface/TFont.h"
#include "surface/TGlyphTable.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qbm {

class TQtFontCache {
public:
    struct TEntry {
        TFont font;
        QFont qfont;
        QFontMetrics metrics;
        // Asked for every text; the metrics look the font up each time.
        int ascent;
        int height;
        // Widths as the metrics measure them, and the glyphs as the device draws them (a painter's
        // font is the same font made for its device: usually the very same table).
        std::shared_ptr<TGlyphTable> widths;
        std::shared_ptr<TGlyphTable> drawing;

        TGlyphTable& Widths();
    };

    // The entry of the font, made when it is not among the last few.
    TEntry& Select(const TFont& font);
    // The text's width in the font, as the font metrics give it; with shapeAll the text shaper
    // measures every text, as the glyph tables' results are checked against.
    int TextWidth(const TFont& font, const std::string& text, bool shapeAll);

private:
    std::vector<std::unique_ptr<TEntry>> m_fonts;
    size_t m_nextFontSlot = 0;
    TEntry* m_current = nullptr;
    // Widths of texts measured again and again (the guard digits' "A", a group of six digits).
    std::vector<std::pair<std::string, int>> m_widths;
    size_t m_nextWidthSlot = 0;
    const TEntry* m_widthsFor = nullptr;
};

} // namespace qbm
