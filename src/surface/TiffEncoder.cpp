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

} // namespace

void WriteTiff(const TBitmap& picture, const std::string& path) {
    WriteTiff(picture, SurveyPage(Rgb32Of(picture.Internal().Image())), path);
}

void WriteTiff(const TBitmap& picture, const TPageSurvey& survey, const std::string& path) {
    const QImage rgb = Rgb32Of(picture.Internal().Image());
    TTiffRows tiff(path, rgb.width(), rgb.height(), picture.Resolution(), survey.colours);
    tiff.Add(rgb, rgb.height(), survey.sameAsAbove.data());
    tiff.Finish();
}

TTiffRows::TTiffRows(const std::string& path, int width, int height, int dpi, TPageColours colours)
    : m_path(path), m_reason(std::make_unique<std::string>()), m_width(width),
      m_colour(colours == TPageColours::Colour) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, m_reason.get());
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreWarning, nullptr);
    m_tiff = TIFFOpenExt(path.c_str(), "w", options);
    TIFFOpenOptionsFree(options);
    if (!m_tiff) Fail();
    TIFF* t = m_tiff;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(dpi));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(dpi));
    if (m_colour) {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        TIFFSetField(t, TIFFTAG_ZIPQUALITY, 1);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
        m_row.resize(static_cast<size_t>(width) * 3);
    } else {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE); // fax convention: 1 is black
        TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(std::max(height, 1)));
        m_row.resize((static_cast<size_t>(width) + 7) / 8);
    }
}

TTiffRows::~TTiffRows() {
    if (m_tiff) TIFFClose(m_tiff);
}

void TTiffRows::Fail() const {
    throw EInOutError("Cannot write file " + m_path + (m_reason->empty() ? "" : " (" + *m_reason + ")"));
}

void TTiffRows::Add(const QImage& band, int rows, const uint8_t* sameAsAbove) {
    for (int y = 0; y < rows; ++y, ++m_next) {
        if (m_colour) {
            const auto* src = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            for (int x = 0; x < m_width; ++x) {
                m_row[3 * x] = static_cast<uint8_t>(qRed(src[x]));
                m_row[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
                m_row[3 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
            }
        } else if (!sameAsAbove[y]) {
            BitRow(band, y, m_row.data(), true);
        }
        if (TIFFWriteScanline(m_tiff, m_row.data(), static_cast<uint32_t>(m_next), 0) < 0) Fail();
    }
}

void TTiffRows::Finish() {
    if (!TIFFWriteDirectory(m_tiff)) Fail();
    TIFFClose(m_tiff);
    m_tiff = nullptr;
    if (!m_reason->empty()) Fail();
}

} // namespace qbm
