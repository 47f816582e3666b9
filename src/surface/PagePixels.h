#pragma once
// Looking at a finished page's pixels once, to store it in as few bits as keep what it shows.

#include <QImage>

#include <cstdint>
#include <vector>

namespace qbm {

enum class TPageColours { Bilevel, Grey, Colour };

struct TPageSurvey {
    TPageColours colours = TPageColours::Bilevel;
    // Per row: 1 where the row is the same as the one above it (bars repeat down a label).
    std::vector<uint8_t> sameAsAbove;
    // Per row: 1 where every pixel is opaque white, as a blank page is. Rows of colour pages may be
    // white without being marked.
    std::vector<uint8_t> white;
};

// The picture in a 32-bit form the functions below read (itself when it is one already).
QImage Rgb32Of(const QImage& picture);

// `page` is 32-bit (RGB32 or ARGB32; alpha is not looked at for the colours).
TPageSurvey SurveyPage(const QImage& page);

// Surveys a page that is seen in horizontal bands, top to bottom, as if it were seen whole: a page
// too large to hold at once is drawn a band at a time.
class TPageSurveyor {
public:
    // The first `rows` rows of `band` (32-bit, the page's width) are the page's next rows.
    void Add(const QImage& band, int rows);
    // The survey of every row added; the surveyor is spent.
    TPageSurvey Take();

private:
    TPageSurvey m_survey;
    std::vector<QRgb> m_lastRow; // the row above the next band's first
    bool m_bilevel = true;
    bool m_grey = true;
};

// Row `y` as one byte per pixel: its grey level (for a colour page, the lightness the eye sees).
void GreyRow(const QImage& page, int y, uint8_t* out);
// Row `y` as one bit per pixel, first pixel in the high bit: pixels darker than half grey are
// black. `blackIsOne` chooses how black is stored (PBM and fax pages: 1; PNG grey: 0).
void BitRow(const QImage& page, int y, uint8_t* out, bool blackIsOne);

} // namespace qbm
