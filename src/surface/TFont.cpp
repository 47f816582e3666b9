#include "surface/TFont.h"

#include "util/Rounding.h"

#include <cmath>

namespace qbm {
namespace {
constexpr int kScreenPixelsPerInch = 96;
constexpr int kDefaultPoints = 8;
} // namespace

TFont::TFont()
    : m_name("MS Sans Serif"), m_height(-Rnd(kDefaultPoints * kScreenPixelsPerInch / 72.0)),
      m_pixelsPerInch(kScreenPixelsPerInch) {}

int TFont::Size() const {
    // The toolkit reports the size back from the height: -height x 72 / ppi, rounded.
    return -Rnd(m_height * 72.0 / m_pixelsPerInch);
}

void TFont::SetSize(int points) {
    m_height = -Rnd(points * static_cast<double>(m_pixelsPerInch) / 72.0);
}

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi <= 0 || ppi == m_pixelsPerInch) return;
    const int points = Size();
    m_pixelsPerInch = ppi;
    SetSize(points);
}

TFont TFont::Turned(int tenths) const {
    TFont f = *this;
    f.m_orientation = tenths;
    return f;
}

} // namespace qbm
