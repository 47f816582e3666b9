#include "surface/PbmEncoder.h"

#include "surface/PagePixels.h"
#include "surface/TBitmapImpl.h"

#include <cstring>
#include <string>

namespace qbm {

std::string EncodePbm(const TBitmap& picture) {
    return EncodePbm(picture, SurveyPage(Rgb32Of(picture.Internal().Image())));
}

std::string EncodePbm(const TBitmap& picture, const TPageSurvey& survey) {
    const QImage rgb = Rgb32Of(picture.Internal().Image());
    TPbmRows pbm(rgb.width(), rgb.height());
    pbm.Add(rgb, rgb.height(), survey.sameAsAbove.data());
    return pbm.Finish();
}

TPbmRows::TPbmRows(int width, int height)
    : m_pbm("P4\n" + std::to_string(width) + " " + std::to_string(height) + "\n"),
      m_rowBytes((static_cast<size_t>(width) + 7) / 8), m_next(m_pbm.size()) {
    m_pbm.resize(m_next + m_rowBytes * static_cast<size_t>(height));
}

void TPbmRows::Add(const QImage& band, int rows, const uint8_t* sameAsAbove) {
    for (int y = 0; y < rows; ++y, m_next += m_rowBytes) {
        auto* out = reinterpret_cast<uint8_t*>(m_pbm.data() + m_next);
        // Bars run down the label: a row like the one above is packed already.
        if (sameAsAbove[y])
            std::memcpy(out, out - m_rowBytes, m_rowBytes);
        else
            BitRow(band, y, out, true);
    }
}

} // namespace qbm
