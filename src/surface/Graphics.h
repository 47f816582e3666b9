#pragma once
// Value types of the drawing surface: colours, points, rectangles, pens and brushes.

#include <cstdint>

namespace qbm {

// 24-bit colour stored as 0x00BBGGRR.
using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;

constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(TColor c) {
    return c & 0xFF;
}
constexpr int GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Half-open: left <= x < right, top <= y < bottom.
struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TPenStyle { psSolid, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor color = clBlack;
    int width = 1;
    TPenStyle style = TPenStyle::psSolid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor color = clWhite;
    TBrushStyle style = TBrushStyle::bsSolid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

enum class TPrinterOrientation { poPortrait, poLandscape };

} // namespace qbm
