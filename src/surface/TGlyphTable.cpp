#include "surface/TGlyphTable.h"

#include "surface/CanvasText.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>
#include <QTextOption>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <tuple>

namespace qbm {

namespace {

// Codes whose character is a control one (the canvas code page leaves five of 0x80-0x9F to them).
bool IsControl(unsigned char c) {
    const char32_t ch = CanvasCodeChar(c);
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}

QChar CodeChar(unsigned char c) {
    return QChar(static_cast<char16_t>(CanvasCodeChar(c)));
}

bool IsLatinScript(unsigned char c) {
    static const std::array<bool, 256> kLatin = [] {
        std::array<bool, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[c] = CodeChar(static_cast<unsigned char>(c)).script() == QChar::Script_Latin;
        return t;
    }();
    return kLatin[c];
}

// A distance in pixels as the shaper keeps it, in 1/64 pixel; nullopt when it is not one.
std::optional<int> ToFixed(qreal pixels) {
    const qreal v = pixels * 64;
    if (!std::isfinite(v) || v != std::floor(v) || std::abs(v) > 1e8) return std::nullopt;
    return static_cast<int>(v);
}

// The script rules of an OpenType layout table (GSUB, GPOS), read just far enough to tell whether
// the shaper picks the same rules for a script-neutral text as for a Latin one. Every offset is
// checked: the table comes from whatever font file the label names.
class TLayoutScripts {
public:
    explicit TLayoutScripts(QByteArray table) : m_t(std::move(table)) {}

    // Whether both kinds of text get the same language systems with the same features.
    bool LatinLikeDefault() const {
        if (m_t.isEmpty()) return true; // no rules at all
        const auto scriptList = U16(4);
        if (!scriptList) return false;
        const auto neutral = Choose(*scriptList, {"DFLT", "dflt", "latn"});
        const auto latin = Choose(*scriptList, {"latn", "DFLT", "dflt"});
        if (!neutral || !latin) return false;
        if (*neutral == *latin) return true;
        const auto a = Describe(*neutral), b = Describe(*latin);
        return a && b && *a == *b;
    }

private:
    std::optional<unsigned> U16(size_t at) const {
        if (at + 2 > static_cast<size_t>(m_t.size())) return std::nullopt;
        const auto* p = reinterpret_cast<const unsigned char*>(m_t.constData()) + at;
        return (p[0] << 8) | p[1];
    }
    bool TagAt(size_t at, const char* tag) const {
        return at + 4 <= static_cast<size_t>(m_t.size()) && std::memcmp(m_t.constData() + at, tag, 4) == 0;
    }
    // The script table's offset for the first tag present (0 when none is: no script rules apply).
    std::optional<size_t> Choose(size_t list, std::initializer_list<const char*> tags) const {
        const auto count = U16(list);
        if (!count) return std::nullopt;
        for (const char* tag : tags)
            for (unsigned i = 0; i < *count; ++i) {
                const size_t rec = list + 2 + 6 * i;
                if (!TagAt(rec, tag)) continue;
                const auto off = U16(rec + 4);
                if (!off) return std::nullopt;
                return list + *off;
            }
        return size_t{0};
    }
    using TLangSys = std::tuple<std::string, unsigned, std::vector<unsigned>>;
    std::optional<TLangSys> LangSys(const std::string& tag, size_t at) const {
        const auto required = U16(at + 2), count = U16(at + 4);
        if (!required || !count) return std::nullopt;
        std::vector<unsigned> features;
        for (unsigned i = 0; i < *count; ++i) {
            const auto f = U16(at + 6 + 2 * i);
            if (!f) return std::nullopt;
            features.push_back(*f);
        }
        std::sort(features.begin(), features.end());
        return TLangSys{tag, *required, std::move(features)};
    }
    std::optional<std::vector<TLangSys>> Describe(size_t script) const {
        std::vector<TLangSys> all;
        if (script == 0) return all;
        const auto def = U16(script), count = U16(script + 2);
        if (!def || !count) return std::nullopt;
        if (*def) {
            auto ls = LangSys("", script + *def);
            if (!ls) return std::nullopt;
            all.push_back(std::move(*ls));
        }
        for (unsigned i = 0; i < *count; ++i) {
            const size_t rec = script + 4 + 6 * i;
            const auto off = U16(rec + 4);
            if (!off || rec + 4 > static_cast<size_t>(m_t.size())) return std::nullopt;
            auto ls = LangSys(std::string(m_t.constData() + rec, 4), script + *off);
            if (!ls) return std::nullopt;
            all.push_back(std::move(*ls));
        }
        std::sort(all.begin(), all.end());
        return all;
    }

    QByteArray m_t;
};

// What the shaper makes of a short text in this font: its glyphs from the font itself (not from a
// stand-in font) with their pen positions, and its advance; nullopt when it needs any other font or
// draws characters in more than one run.
struct TShaped {
    std::vector<quint32> glyphs;
    std::vector<QPointF> positions;
    int advance = 0;
};

std::optional<TShaped> Shape(const QFont& font, const QRawFont& raw, const QString& text) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) return std::nullopt;
    line.setLineWidth(1e6);
    layout.endLayout();
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (runs.size() != 1 || runs[0].rawFont() != raw) return std::nullopt;
    const QList<quint32> glyphs = runs[0].glyphIndexes();
    const QList<QPointF> positions = runs[0].positions();
    const auto advance = ToFixed(QFontMetricsF(font).horizontalAdvance(text));
    if (glyphs.size() != positions.size() || !advance) return std::nullopt;
    return TShaped{{glyphs.begin(), glyphs.end()}, {positions.begin(), positions.end()}, *advance};
}

} // namespace

TGlyphTable::TGlyphTable(const QFont& font) : m_font(font), m_raw(QRawFont::fromFont(font)) {
    m_scriptsAgree = m_raw.isValid() && TLayoutScripts(m_raw.fontTable("GSUB")).LatinLikeDefault() &&
                     TLayoutScripts(m_raw.fontTable("GPOS")).LatinLikeDefault();
}

namespace {

struct TSharedTables {
    std::vector<std::shared_ptr<TGlyphTable>> tables; // the most recently used last
    ~TSharedTables();
};
thread_local TSharedTables tShared;
thread_local bool tSharedGone = false;
thread_local const QCoreApplication* tCleanupFor = nullptr;

TSharedTables::~TSharedTables() {
    tSharedGone = true;
}

// Fonts must be let go while the application still stands: it takes the font engines with it. An
// application that outlives the thread's tables finds them gone already.
void ReleaseSharedTables() {
    if (!tSharedGone) tShared.tables.clear();
}

} // namespace

std::shared_ptr<TGlyphTable> TGlyphTable::Shared(const QFont& font) {
    constexpr size_t kTables = 8;
    auto& tables = tShared.tables;
    const QCoreApplication* app = QCoreApplication::instance();
    if (app && app != tCleanupFor && QThread::currentThread() == app->thread()) {
        qAddPostRoutine(ReleaseSharedTables);
        tCleanupFor = app;
    }
    const QRawFont raw = QRawFont::fromFont(font);
    for (auto it = tables.begin(); it != tables.end(); ++it)
        if ((*it)->m_raw == raw && (*it)->m_font == font) {
            std::rotate(it, it + 1, tables.end());
            return tables.back();
        }
    if (tables.size() == kTables) tables.erase(tables.begin());
    tables.push_back(std::make_shared<TGlyphTable>(font));
    return tables.back();
}

void TGlyphTable::MeasureChar(TContext& context, unsigned char c) {
    context.charState[c] = kShaped;
    if (IsControl(c) || !m_raw.isValid()) return;
    const qsizetype lead = context.lead.size();
    const auto s = Shape(m_font, m_raw, context.lead + CodeChar(c));
    if (!s || s->glyphs.size() != static_cast<size_t>(lead) + 1 || s->glyphs[lead] == 0) return;
    const auto origin = ToFixed(s->positions[lead].x());
    if (!origin || s->positions[lead].y() != s->positions[0].y() || (lead == 0 && *origin != 0)) return;
    if (&context != &m_alone) {
        // The character's glyph and advance must be those it has alone.
        if (!Char(m_alone, c) || s->glyphs[lead] != m_glyph[c] || s->advance - *origin != m_advance[c])
            return;
    } else {
        m_glyph[c] = s->glyphs[0];
        m_advance[c] = s->advance;
    }
    context.charState[c] = kPlain;
}

void TGlyphTable::MeasurePair(TContext& context, unsigned char a, unsigned char b) {
    const size_t at = a * 256u + b;
    context.pairState[at] = kShaped;
    const qsizetype lead = context.lead.size();
    const QChar pair[2] = {CodeChar(a), CodeChar(b)};
    const auto s = Shape(m_font, m_raw, context.lead + QString(pair, 2));
    if (!s || s->glyphs.size() != static_cast<size_t>(lead) + 2) return;
    if (s->glyphs[lead] != m_glyph[a] || s->glyphs[lead + 1] != m_glyph[b]) return; // joined or replaced
    const auto first = ToFixed(s->positions[lead].x()), second = ToFixed(s->positions[lead + 1].x());
    if (!first || !second || s->positions[lead + 1].y() != s->positions[lead].y()) return;
    if (lead == 0 && *first != 0) return;
    const int kern = s->advance - *first - m_advance[a] - m_advance[b];
    // Kerning widens or narrows the first glyph's advance; a second glyph set off on its own would
    // not carry over into a longer text the same way.
    if (*second - *first != m_advance[a] + kern || kern < INT16_MIN || kern > INT16_MAX) return;
    context.kern[at] = static_cast<int16_t>(kern);
    context.pairState[at] = kern == 0 ? kPlain : kKerned;
}

bool TGlyphTable::Char(TContext& context, unsigned char c) {
    if (context.charState[c] == kUnknown) MeasureChar(context, c);
    return context.charState[c] == kPlain;
}

bool TGlyphTable::Pair(TContext& context, unsigned char a, unsigned char b, int& kern) {
    if (context.pairState.empty()) {
        context.pairState.assign(256 * 256, kUnknown);
        context.kern.assign(256 * 256, 0);
    }
    const size_t at = a * 256u + b;
    if (context.pairState[at] == kUnknown) MeasurePair(context, a, b);
    kern = context.kern[at];
    return context.pairState[at] != kShaped;
}

bool TGlyphTable::Lay(std::string_view text, int& advance, TLayout* layout) {
    const bool latinText = std::any_of(text.begin(), text.end(),
                                       [](char c) { return IsLatinScript(static_cast<unsigned char>(c)); });
    TContext& context = latinText && !m_scriptsAgree ? m_latin : m_alone;
    int x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!Char(context, c)) return false;
        if (i > 0) {
            int kern = 0;
            if (!Pair(context, static_cast<unsigned char>(text[i - 1]), c, kern)) return false;
            x += kern;
        }
        if (layout) {
            layout->glyphs.push_back(m_glyph[c]);
            layout->positions.emplace_back(x / 64.0, 0.0);
        }
        x += m_advance[c];
    }
    advance = x;
    return true;
}

bool TGlyphTable::Layout(std::string_view text, TLayout& layout) {
    layout.glyphs.clear();
    layout.positions.clear();
    return Lay(text, layout.advance, &layout);
}

bool TGlyphTable::Width(std::string_view text, int& width) {
    int advance = 0;
    if (!Lay(text, advance, nullptr)) return false;
    width = (advance + 32) >> 6; // the metrics round half a pixel up
    return true;
}

} // namespace qbm
