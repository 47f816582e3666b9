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
    const int w = rgb.width(), h = rgb.height();
    std::string pbm = "P4\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
    const size_t header = pbm.size(), rowBytes = (static_cast<size_t>(w) + 7) / 8;
    pbm.resize(header + rowBytes * static_cast<size_t>(h));
    auto* out = reinterpret_cast<uint8_t*>(pbm.data() + header);
    for (int y = 0; y < h; ++y, out += rowBytes) {
        // Bars run down the label: a row like the one above is packed already.
        if (survey.sameAsAbove[static_cast<size_t>(y)])
            std::memcpy(out, out - rowBytes, rowBytes);
        else
            BitRow(rgb, y, out, true);
    }
    return pbm;
}

} // namespace qbm
