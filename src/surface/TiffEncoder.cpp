#include "surface/TiffEncoder.h"

#include "surface/PagePixels.h"
#include "surface/TBitmapImpl.h"
#include "util/Errors.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace qbm {
namespace {

// libtiff reports through handlers; the first error is kept for the exception instead of going to
// stderr (pages are written on worker threads, so each file has its own).
int KeepError(TIFF*, void* userData, const char* module, const char* format, va_list args) {
    auto& reason = *static_cast<std::string*>(userData);
    if (reason.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        reason = std::string(module ? module : "TIFF") + ": " + text;
    }
    return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};

} // namespace

void WriteTiff(const TBitmap& picture, const std::string& path) {
    WriteTiff(picture, SurveyPage(Rgb32Of(picture.Internal().Image())), path);
}

void WriteTiff(const TBitmap& picture, const TPageSurvey& survey, const std::string& path) {
    const QImage rgb = Rgb32Of(picture.Internal().Image());
    const int w = rgb.width(), h = rgb.height();
    const bool colour = survey.colours == TPageColours::Colour;

    std::string reason;
    const auto fail = [&] {
        throw EInOutError("Cannot write file " + path + (reason.empty() ? "" : " (" + reason + ")"));
    };
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, &reason);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    std::unique_ptr<TIFF, TCloser> tiff(TIFFOpenExt(path.c_str(), "w", options));
    TIFFOpenOptionsFree(options);
    if (!tiff) fail();
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(w));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(picture.Resolution()));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(picture.Resolution()));
    std::vector<uint8_t> row;
    if (colour) {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        TIFFSetField(t, TIFFTAG_ZIPQUALITY, 1);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        row.resize(static_cast<size_t>(w) * 3);
    } else {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE); // fax convention: 1 is black
        TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(std::max(h, 1)));
        row.resize((static_cast<size_t>(w) + 7) / 8);
    }
    for (int y = 0; y < h; ++y) {
        if (colour) {
            const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < w; ++x) {
                row[3 * x] = static_cast<uint8_t>(qRed(src[x]));
                row[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
                row[3 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
            }
        } else if (!survey.sameAsAbove[static_cast<size_t>(y)]) {
            BitRow(rgb, y, row.data(), true);
        }
        if (TIFFWriteScanline(t, row.data(), static_cast<uint32_t>(y), 0) < 0) fail();
    }
    if (!TIFFWriteDirectory(t)) fail();
    tiff.reset();
    if (!reason.empty()) fail();
}

} // namespace qbm
