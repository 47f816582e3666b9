#pragma once
// The glyphs and advances of one Qt font for Latin-1 texts, so that the texts printed on every label
// (the digits under a barcode, a caption) are laid out without running the text shaper each time.
// Internal to the surface back ends.

#include <QFont>
#include <QPointF>
#include <QRawFont>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qbm {

class TGlyphTable {
public:
    explicit TGlyphTable(const QFont& font);
    // The table of the same font made last on this thread: a barcode drawn onto a fresh picture of
    // its own each time finds its glyphs measured already.
    static std::shared_ptr<TGlyphTable> Shared(const QFont& font);

    const QFont& Font() const { return m_font; }
    const QRawFont& RawFont() const { return m_raw; }

    struct TLayout {
        std::vector<quint32> glyphs;
        // Pen positions from the start of the text, on its baseline.
        std::vector<QPointF> positions;
        // The text's advance in 1/64 pixel, as the shaper sums it.
        int advance = 0;
    };
    // False when only the shaper can lay the text out exactly: a character the font lacks (another
    // font would stand in), one that draws nothing or is a control code, two neighbours the font
    // joins into one glyph or moves apart other than by kerning.
    bool Layout(std::string_view text, TLayout& layout);
    // The text's advance rounded to whole pixels as the font metrics round it; false as for Layout.
    bool Width(std::string_view text, int& width);
    // A character's glyph and unkerned advance in 1/64 pixel, once a layout has used it.
    quint32 Glyph(unsigned char c) const { return m_glyph[c]; }
    int Advance(unsigned char c) const { return m_advance[c]; }

private:
    enum TState : uint8_t { kUnknown, kPlain, kKerned, kShaped };
    // What is known of characters and neighbours in one kind of text.
    struct TContext {
        // Shaped before each measured text so that it is shaped as this kind of text.
        QString lead;
        std::array<TState, 256> charState{};
        std::vector<TState> pairState;
        std::vector<int16_t> kern;
    };
    bool Char(TContext& context, unsigned char c);
    bool Pair(TContext& context, unsigned char a, unsigned char b, int& kern);
    // The advance in 1/64 pixel, and the glyphs when asked for.
    bool Lay(std::string_view text, int& advance, TLayout* layout);
    void MeasureChar(TContext& context, unsigned char c);
    void MeasurePair(TContext& context, unsigned char a, unsigned char b);

    QFont m_font;
    QRawFont m_raw;
    // The shaper takes a text of digits and punctuation as script-neutral and a text with a letter as
    // Latin. Fonts whose Latin rules are their default rules shape a character alike in both kinds of
    // text; for the others, the digits, spaces and signs of a Latin text are measured after a Latin
    // letter, as the shaper meets them there.
    bool m_scriptsAgree = false;
    TContext m_alone;
    TContext m_latin{QStringLiteral("H"), {}, {}, {}};
    // A character's glyph and advance are the same in both kinds of text, or it is left to the shaper.
    std::array<quint32, 256> m_glyph{};
    std::array<int, 256> m_advance{};
};

} // namespace qbm
