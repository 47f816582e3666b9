#include "surface/PagePixels.h"

#include <algorithm>
#include <cstring>

namespace qbm {
namespace {

// Label pages are mostly white: pixels are looked at eight at a time, and eight white ones (all
// 0xFFFFFFFF in the 32-bit picture) are passed over at once.
constexpr uint64_t kWhitePair = ~uint64_t{0};

[[gnu::always_inline]] inline uint64_t PairAt(const QRgb* row, int x) {
    uint64_t v;
    std::memcpy(&v, row + x, sizeof v);
    return v;
}

[[gnu::always_inline]] inline bool WhiteEight(const QRgb* row, int x) {
    return (PairAt(row, x) & PairAt(row, x + 2) & PairAt(row, x + 4) & PairAt(row, x + 6)) == kWhitePair;
}

const QRgb* RowOf(const QImage& page, int y) {
    return reinterpret_cast<const QRgb*>(page.constScanLine(y));
}

bool IsGrey(QRgb p) {
    return qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
}

uint8_t GreyOf(QRgb p) {
    return static_cast<uint8_t>(IsGrey(p) ? qBlue(p) : qGray(p));
}

} // namespace

QImage Rgb32Of(const QImage& picture) {
    const auto f = picture.format();
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32
               ? picture
               : picture.convertToFormat(QImage::Format_RGB32);
}

TPageSurvey SurveyPage(const QImage& page) {
    TPageSurveyor surveyor;
    surveyor.Add(page, page.height());
    return surveyor.Take();
}

void TPageSurveyor::Add(const QImage& band, int rows) {
    const int w = band.width(), w8 = w & ~7;
    const size_t first = m_survey.white.size();
    m_survey.sameAsAbove.resize(first + static_cast<size_t>(rows), 0);
    m_survey.white.resize(first + static_cast<size_t>(rows), 0);
    const auto look = [&](QRgb px) {
        const QRgb p = px & 0xFFFFFFu;
        if (p == 0xFFFFFFu || p == 0u) return;
        m_bilevel = false;
        m_grey = m_grey && IsGrey(p);
    };
    const size_t rowBytes = static_cast<size_t>(w) * 4;
    for (int y = 0; y < rows; ++y) {
        const QRgb* row = RowOf(band, y);
        const QRgb* above = y > 0 ? RowOf(band, y - 1) : first > 0 ? m_lastRow.data() : nullptr;
        const size_t i = first + static_cast<size_t>(y);
        if (above && std::memcmp(row, above, rowBytes) == 0) {
            m_survey.sameAsAbove[i] = 1;
            m_survey.white[i] = m_survey.white[i - 1];
            continue;
        }
        if (!m_grey) continue; // colour already: only the repeats are still wanted
        bool white = true;
        int x = 0;
        for (; x < w8; x += 8)
            if (!WhiteEight(row, x)) {
                white = false;
                for (int k = 0; k < 8; ++k) look(row[x + k]);
            }
        for (; x < w; ++x) {
            white = white && row[x] == 0xFFFFFFFFu;
            look(row[x]);
        }
        m_survey.white[i] = white ? 1 : 0;
    }
    if (rows > 0) {
        const QRgb* last = RowOf(band, rows - 1);
        m_lastRow.assign(last, last + w);
    }
}

TPageSurvey TPageSurveyor::Take() {
    m_survey.colours = m_bilevel ? TPageColours::Bilevel : m_grey ? TPageColours::Grey : TPageColours::Colour;
    return std::move(m_survey);
}

void GreyRow(const QImage& page, int y, uint8_t* out) {
    const QRgb* src = RowOf(page, y);
    const int w = page.width();
    int x = 0;
    for (; x + 8 <= w; x += 8) {
        if (WhiteEight(src, x)) {
            std::memset(out + x, 0xFF, 8);
            continue;
        }
        for (int k = 0; k < 8; ++k) out[x + k] = GreyOf(src[x + k]);
    }
    for (; x < w; ++x) out[x] = GreyOf(src[x]);
}

void BitRow(const QImage& page, int y, uint8_t* out, bool blackIsOne) {
    const QRgb* src = RowOf(page, y);
    const int w = page.width();
    const uint8_t flip = blackIsOne ? 0xFF : 0x00;
    for (int x = 0; x < w; x += 8) {
        uint8_t white = 0;
        const int n = std::min(8, w - x);
        if (n == 8 && WhiteEight(src, x)) {
            white = 0xFF;
        } else {
            for (int k = 0; k < n; ++k)
                if (GreyOf(src[x + k]) >= 128) white |= static_cast<uint8_t>(0x80u >> k);
            // Bits past the right edge are padding; they are stored as white.
            if (n < 8) white |= static_cast<uint8_t>(0xFFu >> n);
        }
        out[x >> 3] = white ^ flip;
    }
}

} // namespace qbm
