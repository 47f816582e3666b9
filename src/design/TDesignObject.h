#pragma once
// One object of a label design: where it sits on the label, in millimetres, and what it draws.

#include "surface/Graphics.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

enum class TDesignKind : uint8_t { Text, Barcode, Image, Line, Rect, Ellipse };

enum class TDesignAlign : uint8_t { Left, Center, Right };

// A picture travels inside the project, so that a project moved to another machine still prints it.
struct TDesignPicture {
    // "png", "jpeg" or "svg", as the bytes say.
    std::string format;
    std::vector<uint8_t> bytes;
    friend bool operator==(const TDesignPicture&, const TDesignPicture&) = default;
};

struct TDesignObject {
    TDesignKind kind = TDesignKind::Text;
    // The box on the label before rotation: top-left corner, width and height. A rotated object turns
    // about the centre of its box. A line runs from the top-left to the bottom-right corner.
    double xMm = 0;
    double yMm = 0;
    double widthMm = 10;
    double heightMm = 5;
    // 0, 90, 180 or 270 degrees, counter-clockwise as the other turned texts of the program.
    int rotation = 0;

    // Text and barcode: a constant, or a merge text holding {Field} names.
    std::string value;

    // Text.
    std::string font = "DejaVu Sans";
    double sizePt = 10;
    bool bold = false;
    bool italic = false;
    TDesignAlign align = TDesignAlign::Left;
    bool shrinkToFit = true;
    // Text, lines and outlines.
    TColor color = clBlack;

    // Barcode: the name qbm uses for the symbology ("bcCodeEAN13", "qrcode").
    std::string symbology;
    bool showText = true;

    TDesignPicture picture;

    // Line, rectangle and ellipse: the width of the line (0 draws no outline) and the fill.
    double lineMm = 0.3;
    std::optional<TColor> fill;
    double cornerRadiusMm = 0;

    friend bool operator==(const TDesignObject&, const TDesignObject&) = default;
};

// The words the design's JSON form and the properties panel use for a kind ("text", "rect").
const char* DesignKindName(TDesignKind kind);
std::optional<TDesignKind> DesignKindByName(std::string_view name);

} // namespace qbm
