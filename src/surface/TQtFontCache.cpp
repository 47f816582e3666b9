#include "surface/TQtFontCache.h"

#include "surface/CanvasText.h"
#include "surface/QtPainterCanvas.h"

namespace qbm {

TGlyphTable& TQtFontCache::TEntry::Widths() {
    if (!widths) widths = TGlyphTable::Shared(qfont);
    return *widths;
}

TQtFontCache::TEntry& TQtFontCache::Select(const TFont& font) {
    constexpr size_t kFonts = 4;
    if (m_current && m_current->font == font) return *m_current;
    for (const auto& e : m_fonts)
        if (e->font == font) return *(m_current = e.get());
    QFont qfont = ToQFont(font);
    const QFontMetrics metrics(qfont);
    auto entry = std::make_unique<TEntry>(
        TEntry{font, qfont, metrics, metrics.ascent(), metrics.height(), nullptr, nullptr});
    if (m_fonts.size() < kFonts) {
        m_fonts.push_back(std::move(entry));
        m_current = m_fonts.back().get();
    } else {
        if (m_widthsFor == m_fonts[m_nextFontSlot].get()) m_widthsFor = nullptr;
        m_fonts[m_nextFontSlot] = std::move(entry);
        m_current = m_fonts[m_nextFontSlot].get();
        m_nextFontSlot = (m_nextFontSlot + 1) % kFonts;
    }
    return *m_current;
}

int TQtFontCache::TextWidth(const TFont& font, const std::string& text, bool shapeAll) {
    constexpr size_t kWidths = 8;
    TEntry& e = Select(font);
    int w = 0;
    const auto codes = CanvasSingleBytes(text);
    if (!shapeAll && codes && e.Widths().Width(*codes, w)) return w;
    if (m_widthsFor != &e) {
        m_widths.clear();
        m_nextWidthSlot = 0;
        m_widthsFor = &e;
    }
    for (const auto& [t, cached] : m_widths)
        if (t == text) return cached;
    w = e.metrics.horizontalAdvance(CanvasQString(text));
    if (m_widths.size() < kWidths) {
        m_widths.emplace_back(text, w);
    } else {
        m_widths[m_nextWidthSlot] = {text, w};
        m_nextWidthSlot = (m_nextWidthSlot + 1) % kWidths;
    }
    return w;
}

} // namespace qbm
