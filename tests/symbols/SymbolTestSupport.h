#pragma once
// Drawing symbol geometries for the readers, and random texts of the kinds labels carry.

#include "surface/SymbolRasterPainter.h"
#include "surface/TBitmap.h"
#include "surface/TCanvas.h"
#include "symbols/Gs1ElementString.h"

#include <random>
#include <string>

namespace qbm::test {

// The geometry at `dotsPerModule` with `margin` white dots around its own quiet zone.
inline TBitmap DrawSymbol(const TSymbolGeometry& g, int dotsPerModule, int margin = 0) {
    TSymbolPlacement p;
    p.dotsPerModule = dotsPerModule;
    p.origin = {margin, margin};
    const TRect b = p.Bounds(g);
    TBitmap picture(b.right + margin, b.bottom + margin);
    PaintSymbolPixels(picture.Canvas(), g, p);
    return picture;
}

inline void AppendUtf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class TRandomTexts {
public:
    explicit TRandomTexts(unsigned seed) : m_rng(seed) {}

    int Between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    // Printable Latin-1, accents and signs included.
    std::string Latin1(int length) {
        std::string s;
        for (int i = 0; i < length; ++i)
            AppendUtf8(s, Between(0, 3) ? Between(0x20, 0x7E) : Between(0xA0, 0xFF));
        return s;
    }
    // Cyrillic, Greek, Hebrew, Arabic, CJK and an emoji now and then, among Latin letters.
    std::string OtherScripts(int length) {
        static constexpr char32_t kBlocks[][2] = {{0x410, 0x44F}, {0x391, 0x3C9},   {0x5D0, 0x5EA},
                                                  {0x627, 0x64A}, {0x4E00, 0x9FA5}, {0x1F600, 0x1F64F},
                                                  {0x61, 0x7A}};
        std::string s;
        for (int i = 0; i < length; ++i) {
            const auto& block = kBlocks[Between(0, static_cast<int>(std::size(kBlocks)) - 1)];
            AppendUtf8(
                s, static_cast<char32_t>(Between(static_cast<int>(block[0]), static_cast<int>(block[1]))));
        }
        return s;
    }
    std::string Url() {
        return "https://example.com/" + Alphanumeric(Between(1, 30)) + "?id=" + Digits(Between(1, 12)) +
               "&q=" + Alphanumeric(Between(0, 10));
    }
    std::string Digits(int length) {
        std::string s;
        for (int i = 0; i < length; ++i) s += static_cast<char>('0' + Between(0, 9));
        return s;
    }
    std::string Alphanumeric(int length) {
        static constexpr std::string_view kChars =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";
        std::string s;
        for (int i = 0; i < length; ++i) s += kChars[static_cast<size_t>(Between(0, kChars.size() - 1))];
        return s;
    }
    // A GTIN-14 with its check digit.
    std::string Gtin() {
        const std::string body = Digits(13);
        return body + static_cast<char>('0' + Gs1CheckDigit(body));
    }
    std::string Date() {
        char buf[7];
        std::snprintf(buf, sizeof buf, "%02d%02d%02d", Between(0, 99), Between(1, 12), Between(1, 28));
        return buf;
    }
    // "(01)GTIN" with some of expiry date, weight, batch and serial; `longest` limits batch and serial.
    // With `beyondGtin` the GTIN never stands alone.
    std::string ElementString(int longest = 20, bool beyondGtin = false) {
        std::string s = "(01)" + Gtin();
        if (beyondGtin || Between(0, 1)) s += "(17)" + Date();
        if (Between(0, 1)) s += "(3103)" + Digits(6);
        if (Between(0, 1)) s += "(10)" + Alphanumeric(Between(1, longest));
        if (Between(0, 1)) s += "(21)" + Alphanumeric(Between(1, longest));
        return s;
    }

private:
    std::mt19937 m_rng;
};

} // namespace qbm::test
