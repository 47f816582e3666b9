#include "output/DesignTextLayout.h"

#include "surface/TCanvas.h"
#include "util/Rounding.h"

#include <algorithm>

namespace qbm {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (true) {
        const size_t end = text.find('\n', from);
        std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) return lines;
        from = end + 1;
    }
}

struct TMeasure {
    int width = 0;
    int lineHeight = 0;
    int height = 0;
};

TMeasure Measure(TCanvas& canvas, const std::vector<std::string>& lines) {
    TMeasure m;
    for (const std::string& line : lines) m.width = std::max(m.width, canvas.TextWidth(line));
    m.lineHeight = canvas.TextHeight("Ag");
    m.height = m.lineHeight * static_cast<int>(lines.size());
    return m;
}

} // namespace

TDesignTextLayout LayOutDesignText(TCanvas& canvas, const TDesignObject& object, const std::string& text,
                                   int width, int height) {
    TDesignTextLayout layout;
    TFont& font = layout.font;
    font.SetName(object.font);
    font.SetPixelsPerInch(canvas.ResolutionY());
    font.SetStyle(static_cast<TFontStyles>((object.bold ? fsBold : 0) | (object.italic ? fsItalic : 0)));
    font.SetColor(object.color);
    int pixels = std::max(1, Rnd(object.sizePt * canvas.ResolutionY() / 72.0));
    font.SetHeight(-pixels);
    canvas.SetFont(font);

    const std::vector<std::string> lines = Lines(text);
    TMeasure m = Measure(canvas, lines);
    const auto fits = [&] { return m.width <= width && m.height <= height; };
    if (object.shrinkToFit && !fits()) {
        // One step to about the right size, then a pixel at a time: text widths do not scale exactly.
        const double scale =
            std::min(1.0 * width / std::max(1, m.width), 1.0 * height / std::max(1, m.height));
        pixels = std::max(1, std::min(pixels - 1, static_cast<int>(pixels * scale)));
        for (;; --pixels) {
            font.SetHeight(-pixels);
            canvas.SetFont(font);
            m = Measure(canvas, lines);
            if (fits() || pixels == 1) break;
        }
    }
    layout.fits = fits();

    int y = 0;
    for (const std::string& line : lines) {
        const int w = canvas.TextWidth(line);
        int x = 0;
        if (object.align == TDesignAlign::Center) x = (width - w) / 2;
        if (object.align == TDesignAlign::Right) x = width - w;
        layout.lines.push_back({line, x, y});
        y += m.lineHeight;
    }
    return layout;
}

void DrawDesignText(TCanvas& canvas, const TDesignTextLayout& layout) {
    canvas.SetFont(layout.font);
    canvas.Brush().style = TBrushStyle::bsClear;
    for (const TDesignTextLine& line : layout.lines)
        if (!line.text.empty()) canvas.TextOut(line.x, line.y, line.text);
}

} // namespace qbm
