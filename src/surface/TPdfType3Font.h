#pragma once
// A font of a PDF file made of the outlines of the glyphs its texts use: the digits under a barcode
// go out as a few bytes of text each, stay text a reader can search and copy, and need no font file
// of the machine's embedded. Character codes are the texts' own Latin-1 codes. Internal to the PDF
// printer.

#include "surface/TGlyphTable.h"

#include <array>
#include <memory>
#include <string_view>

namespace qbm {

class TPdfFile;

class TPdfType3Font {
public:
    explicit TPdfType3Font(std::shared_ptr<TGlyphTable> table) : m_table(std::move(table)) {}

    TGlyphTable& Table() const { return *m_table; }
    // Notes the characters of a text the table has laid out.
    void Use(std::string_view text);
    // Writes the font, its glyph outlines and the table that maps codes back to characters.
    void Write(TPdfFile& file, int id) const;

private:
    std::shared_ptr<TGlyphTable> m_table;
    std::array<bool, 256> m_used{};
};

} // namespace qbm
