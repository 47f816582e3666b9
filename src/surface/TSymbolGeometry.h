#pragma once
// A symbol as a value: its dark modules, bars, hexagons and rings and its human-readable text, in
// module units, with the overall size its quiet zone included. Encoders produce it; painters draw it.

#include "surface/Graphics.h"
#include "util/Rounding.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qbm {

// A dark box: a bar, a module, or a run of modules.
struct TModuleRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const TModuleRect&, const TModuleRect&) = default;
};

// A MaxiCode module: a hexagon with its point up, given by its centre and the diameter of the circle
// through its corners.
struct TModuleHexagon {
    double x = 0;
    double y = 0;
    double diameter = 0;
    friend bool operator==(const TModuleHexagon&, const TModuleHexagon&) = default;
};

// A finder ring: centre, outer diameter and the width of the dark line.
struct TModuleRing {
    double x = 0;
    double y = 0;
    double diameter = 0;
    double lineWidth = 0;
    friend bool operator==(const TModuleRing&, const TModuleRing&) = default;
};

enum class TTextAlign { Left, Centre, Right };

// Human-readable text: `x` is where the text is aligned, `top` the top of its cell, `size` the
// cell height.
struct TTextRun {
    std::string text;
    double x = 0;
    double top = 0;
    double size = 0;
    TTextAlign align = TTextAlign::Centre;
    friend bool operator==(const TTextRun&, const TTextRun&) = default;
};

// A matrix symbol's modules row by row, for painters that write rows of pixels: column c of a row is
// bit c % 8 of the row's byte c / 8, 1 for dark.
struct TModuleRows {
    int columns = 0;
    int rows = 0;
    int bytesPerRow = 0;
    // Where column 0 of row 0 lies: the quiet zone.
    int x = 0;
    int y = 0;
    std::vector<uint8_t> bits;

    const uint8_t* Row(int row) const { return bits.data() + static_cast<size_t>(row) * bytesPerRow; }
    bool Dark(int row, int column) const { return (Row(row)[column >> 3] >> (column & 7)) & 1; }
    // Calls f(start, end) for each run of dark modules [start, end) of a row, left to right.
    template <typename F> void ForEachRun(int row, F&& f) const {
        const uint8_t* bits = Row(row);
        for (int column = 0; column < columns;) {
            // The modules from `column` on, as many as one word holds, the first in bit 0.
            const uint64_t ahead = Word(bits, column);
            if (ahead == 0) {
                column += 64 - (column & 7);
                continue;
            }
            column += std::countr_zero(ahead);
            if (column >= columns) return;
            const int start = column;
            for (;;) {
                const int span = 64 - (column & 7);
                const int dark = std::countr_one(Word(bits, column));
                column += dark;
                if (dark < span) break;
            }
            f(start, std::min(column, columns));
        }
    }
    friend bool operator==(const TModuleRows&, const TModuleRows&) = default;

private:
    // 64 - (column % 8) modules of a row from `column` on (none past the row's end).
    uint64_t Word(const uint8_t* row, int column) const {
        const int byte = column >> 3;
        uint64_t word = 0;
        if (byte + 8 <= bytesPerRow)
            std::memcpy(&word, row + byte, 8);
        else if (byte < bytesPerRow)
            std::memcpy(&word, row + byte, static_cast<size_t>(bytesPerRow - byte));
        if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
        return word >> (column & 7);
    }
};

// A hexagonal module fitted to whole dots, for a geometry computed at one dot a unit for the device it
// is drawn on: the box it stands in, its corners at the middle of the box's top and bottom edges and a
// quarter of the box's height in from them on its sides, outlined one dot wide in the ink. A module
// too small to show its corners is the ellipse inside the box instead.
struct TDotHexagon {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool ellipse = false;
    friend bool operator==(const TDotHexagon&, const TDotHexagon&) = default;
};

// Concentric elliptical rings fitted to whole dots (a finder pattern), in the same units: ellipses
// round one centre, outermost first, each outlined `penWidth` dots wide in the ink and filled with the
// paper, so that every inner one cuts the light ring out of the one around it.
struct TDotRings {
    int x = 0;
    int y = 0;
    int penWidth = 1;
    // Horizontal and vertical radius of each ellipse; none for a symbol without such a finder.
    std::vector<TPoint> radii;
    friend bool operator==(const TDotRings&, const TDotRings&) = default;
};

struct TSymbolGeometry {
    // The whole picture, quiet zone included; the symbol's origin is its top-left corner.
    double width = 0;
    double height = 0;
    // Quiet zone on the left and on top, part of width and height.
    double quietX = 0;
    double quietY = 0;
    std::vector<TModuleRect> rects;
    std::vector<TModuleHexagon> hexagons;
    std::vector<TModuleRing> rings;
    std::vector<TTextRun> texts;
    // Matrix symbols: the dark modules of `rects` once more, as rows; empty for other symbols.
    TModuleRows modules;
    // A stacked symbol (PDF417) gives its modules as rows alone, not as `rects`: row r lies
    // `stackedRowHeight` units high at quietY + r * stackedRowHeight, its column 0 at quietX (the
    // rows' own x and y are unused). Painters take each row's dark runs as bars.
    TModuleRows stacked;
    double stackedRowHeight = 0;
    // Shapes that are rounded to the dots of one device where they lie (a MaxiCode symbol computed
    // for a printer), drawn after the rectangles; only painted at one dot a unit.
    std::vector<TDotHexagon> dotHexagons;
    TDotRings dotRings;
    friend bool operator==(const TSymbolGeometry&, const TSymbolGeometry&) = default;
};

// The bars of a stacked symbol's rows, one for each run of dark modules, row by row.
std::vector<TModuleRect> StackedBars(const TSymbolGeometry& geometry);

// Where and how large a geometry lands on a device: module units to device dots. Every edge is
// rounded on its own, so neighbouring modules share their edge and no gap opens between them.
struct TSymbolPlacement {
    TPoint origin;
    double dotsPerModule = 1;
    TColor ink = clBlack;
    TColor paper = clWhite;
    // Whether the picture's area (quiet zone included) is filled with the paper colour first.
    bool fillPaper = true;
    // Whether the canvas is a picture's pixels rather than a page's shapes: a picture's hexagons are
    // outlined and flood-filled, as pictures have always drawn them.
    bool onPicture = false;
    // Whether the area the geometry covers holds nothing but the paper yet (a picture just filled
    // with it): a stacked symbol's rows of bars may then be filled in one pixel row and copied.
    bool plainPaper = false;
    std::string fontName = "DejaVu Sans";

    int X(double modules) const { return origin.x + Rnd(modules * dotsPerModule); }
    int Y(double modules) const { return origin.y + Rnd(modules * dotsPerModule); }
    TRect Box(const TModuleRect& r) const { return {X(r.x), Y(r.y), X(r.x + r.width), Y(r.y + r.height)}; }
    // The whole picture's box on the device.
    TRect Bounds(const TSymbolGeometry& g) const { return {origin.x, origin.y, X(g.width), Y(g.height)}; }
};

} // namespace qbm
