#include "surface/PbmEncoder.h"

#include "surface/PagePixels.h"
#include "surface/TBitmapImpl.h"

#include <algorithm>
#include <string>

namespace qbm {

std::string EncodePbm(const TBitmap& picture) {
    return EncodePbm(picture, SurveyPage(Rgb32Of(picture.Internal().Image())));
}

std::string EncodePbm(const TBitmap& picture, const TPageSurvey& survey) {
    const QImage rgb = Rgb32Of(picture.Internal().Image());
    TPbmRows pbm(rgb.width(), rgb.height());
    pbm.Add(rgb, rgb.height(), survey.sameAsAbove.data());
    return pbm.Take();
}

TPbmRows::TPbmRows(int width, int height)
    : m_out("P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n"),
      m_last((static_cast<size_t>(width) + 7) / 8) {}

void TPbmRows::Add(const QImage& band, int rows, const uint8_t* sameAsAbove) {
    const size_t rowBytes = m_last.size();
    m_out.reserve(m_out.size() + rowBytes * static_cast<size_t>(std::max(rows, 0)));
    for (int y = 0; y < rows; ++y) {
        // Bars run down the label: a row like the one above is packed already.
        if (!sameAsAbove[y]) BitRow(band, y, m_last.data(), true);
        m_out.append(reinterpret_cast<const char*>(m_last.data()), rowBytes);
    }
}

} // namespace qbm
