#include "surface/TPdfType3Font.h"

#include "surface/CanvasText.h"

#include "surface/PdfPaths.h"
#include "surface/TPdfFile.h"

#include <QRectF>

#include <cmath>
#include <cstdio>
#include <vector>

namespace qbm {

namespace {

// Glyph space is 1/64 pixel, the unit the glyph tables keep advances in, with y up.
constexpr double kUnitsPerPixel = 64;

std::string Hex2(int c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", c);
    return buf;
}

std::string ToUnicodeMap(const std::array<bool, 256>& used) {
    std::string entries;
    int count = 0;
    std::string map = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
    auto flush = [&] {
        if (count == 0) return;
        map += std::to_string(count) + " beginbfchar\n" + entries + "endbfchar\n";
        entries.clear();
        count = 0;
    };
    for (int c = 0; c < 256; ++c) {
        if (!used[c]) continue;
        const char32_t ch = CanvasCodeChar(static_cast<unsigned char>(c));
        entries += "<" + Hex2(c) + "> <" + Hex2(static_cast<int>(ch >> 8)) +
                   Hex2(static_cast<int>(ch & 0xFF)) + ">\n";
        if (++count == 100) flush(); // a block holds at most 100 entries
    }
    flush();
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return map;
}

} // namespace

void TPdfType3Font::Use(std::string_view text) {
    for (const char c : text) m_used[static_cast<unsigned char>(c)] = true;
}

void TPdfType3Font::Write(TPdfFile& file, int id) const {
    const QRawFont& raw = m_table->RawFont();
    const QTransform toGlyphSpace = QTransform::fromScale(kUnitsPerPixel, -kUnitsPerPixel);
    int first = -1, last = -1;
    QRectF fontBox;
    std::string procs, differences, widths;
    for (int c = 0; c < 256; ++c) {
        if (!m_used[c]) continue;
        if (first < 0) first = c;
        last = c;
        const QPainterPath outline = raw.pathForGlyph(m_table->Glyph(static_cast<unsigned char>(c)));
        const QRectF box = toGlyphSpace.mapRect(outline.boundingRect());
        fontBox = fontBox.united(box);
        std::string proc;
        AppendInt(proc, m_table->Advance(static_cast<unsigned char>(c)));
        proc += " 0 ";
        for (const double v : {std::floor(box.left()), std::floor(box.top()), std::ceil(box.right()),
                               std::ceil(box.bottom())}) {
            AppendNumber(proc, v);
            proc += ' ';
        }
        proc += "d1\n";
        AppendPath(proc, outline, toGlyphSpace);
        if (!outline.isEmpty()) proc += "f\n";
        const int procId = file.Reserve();
        file.Stream(procId, "", proc);
        procs += " /g" + std::to_string(c) + ' ' + std::to_string(procId) + " 0 R";
        differences += ' ' + std::to_string(c) + " /g" + std::to_string(c);
    }
    if (first < 0) first = last = 32; // a font no text used: still a valid font
    for (int c = first; c <= last; ++c) {
        widths += ' ';
        AppendInt(widths, m_used[c] ? m_table->Advance(static_cast<unsigned char>(c)) : 0);
    }
    const int toUnicode = file.Reserve();
    file.Stream(toUnicode, "", ToUnicodeMap(m_used));
    std::string dict = "<< /Type /Font /Subtype /Type3 /FontBBox [";
    for (const double v : {std::floor(fontBox.left()), std::floor(fontBox.top()), std::ceil(fontBox.right()),
                           std::ceil(fontBox.bottom())}) {
        dict += ' ';
        AppendNumber(dict, v);
    }
    dict += " ] /FontMatrix [0.015625 0 0 0.015625 0 0] /CharProcs <<" + procs +
            " >> /Encoding << /Type /Encoding /Differences [" + differences + " ] >> /FirstChar " +
            std::to_string(first) + " /LastChar " + std::to_string(last) + " /Widths [" + widths +
            " ] /ToUnicode " + std::to_string(toUnicode) + " 0 R /Resources << >> >>";
    file.Object(id, dict);
}

} // namespace qbm
