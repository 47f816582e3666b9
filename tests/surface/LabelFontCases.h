#pragma once
// The fonts, texts and turns the text back ends are tried with.

#include "surface/TCanvas.h"

namespace qbm::test {

// Label fonts as stored in templates and projects (substituted on this system), a symbol font whose
// missing letters come from another font, and sizes from a caption at screen resolution to digits at
// printer resolution.
struct TFontCase {
    const char* name;
    int height; // negative: character height in pixels
    TFontStyles style;
};
inline constexpr TFontCase kFonts[] = {
    /* 0 */ {"Arial", -13, 0},
    /* 1 */ {"MS Sans Serif", -11, 0},
    /* 2 */ {"Tahoma", -17, fsBold},
    /* 3 */ {"Times New Roman", -15, fsItalic},
    /* 4 */ {"Courier New", -12, fsBold | fsItalic},
    /* 5 */ {"Liberation Sans", -24, 0},
    /* 6 */ {"DejaVu Sans", -9, 0},
    /* 7 */ {"DejaVu Sans", -20, fsBold},
    /* 8 */ {"URW Gothic", -16, 0},
    /* 9 */ {"C059", 19, 0}, // a cell height
    /* 10 */ {"Standard Symbols PS", -14, 0},
    /* 11 */ {"Liberation Sans", -70, 0}, // glyphs beyond the painter's glyph cache
    /* 12 */ {"Arial", -13, fsUnderline},
};

// Digits as under EAN and UPC symbols, kerning pairs, ligatures, punctuation, Latin-1 letters, and
// characters that draw nothing or are control codes.
inline const char* const kTexts[] = {
    /* 0 */ "5901234123457",
    /* 1 */ "11 1111 7171 0.5",
    /* 2 */ "AV AW Ta To Ty Vo We Yo",
    /* 3 */ "LT P. F, r. \"Wy\" L'",
    /* 4 */ "fi fl ffi office affluent",
    /* 5 */ "Quirbel 2026 abc",
    /* 6 */ "!#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
    /* 7 */
    "\xC4rger \xD6l \xDC"
    "ber Stra\xDF"
    "e caf\xE9",
    /* 8 */ "\xAB\xBB\xA1\xBF\xB0\xB1\xB2\xB3\xB5\xB6\xB7\xBC\xBD\xBE\xD7\xF7",
    /* 9 */ "\xC0\xC9\xCE\xD5\xDC\xF1\xE7\xF8\xE5\xE6\xFF\xD0\xDE\xFE",
    /* 10 */
    "a\xA0"
    "b co\xAD"
    "op",
    /* 11 */
    "tab\there \x9C"
    "end",
    /* 12 */ "",
    /* 13 */ "QUIRBEL-2026",
    // Windows-1252's characters in the code page's 0x80-0x9F, as UTF-8.
    /* 14 */
    "\u2013 1,50 \u20AC \u201EK\u00E4se\u201C \u2018x\u2019 \u2026 \u2122 \u2022 \u0152\u0153 "
    "\u0160\u0161 \u017D\u017E \u0178 \u0192 \u02C6\u02DC \u2030 \u2039\u203A \u201A\u2020\u2021",
};

inline constexpr int kTurns[] = {0, 900, 1800, 2700, 450, 3600};

inline void SetFont(TCanvas& c, const TFontCase& f, int turn) {
    c.Font().SetName(f.name);
    c.Font().SetHeight(f.height);
    c.Font().SetStyle(f.style);
    c.Font().SetOrientation(turn);
    c.Font().SetColor(RGBColor(20, 40, 160));
}

} // namespace qbm::test
