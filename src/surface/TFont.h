#pragma once
// A font as the drawing surface sees it: sizes in points, a signed pixel height, styles, colour
// and a turning angle.

#include "surface/Graphics.h"

#include <cstdint>
#include <string>

namespace qbm {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

class TFont {
public:
    TFont();

    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }

    // Size in points; writing it sets Height to -(size x PixelsPerInch / 72) rounded.
    int Size() const;
    void SetSize(int points);

    // Negative: character height in pixels; positive: cell height in pixels.
    int Height() const { return m_height; }
    void SetHeight(int height) { m_height = height; }

    // The resolution that turns Size into Height. Changing it keeps the point size.
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int ppi);

    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style) { m_style = style; }

    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }

    // Counter-clockwise turn in tenths of a degree.
    int Orientation() const { return m_orientation; }
    void SetOrientation(int tenths) { m_orientation = tenths; }

    // A copy turned counter-clockwise by the given tenths of a degree.
    TFont Turned(int tenths) const;

    // Copies every attribute, as the toolkit's font assignment does.
    void Assign(const TFont& other) { *this = other; }

    friend bool operator==(const TFont&, const TFont&) = default;

private:
    std::string m_name;
    int m_height;
    int m_pixelsPerInch;
    TFontStyles m_style = 0;
    TColor m_color = clBlack;
    int m_orientation = 0;
};

// The family actually used for a stored font name: fonts that the machine lacks ("MS Sans Serif")
// fall back to a metric-compatible installed sans font.
std::string ResolveFontFamily(const std::string& name);

} // namespace qbm
