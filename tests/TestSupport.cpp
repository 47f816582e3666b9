#include "TestSupport.h"

#include <ZXing/ReadBarcode.h>

#include <QImage>

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace qbm::test {

std::string TestDataPath(const std::string& name) {
    return std::string(QBM_TEST_DATA_DIR) + "/" + name;
}

std::string MakeTempDir() {
    char tmpl[] = "/tmp/qbm-test-XXXXXX";
    const char* dir = mkdtemp(tmpl);
    if (!dir) throw std::runtime_error("mkdtemp failed");
    return dir;
}

Decoded Decode(const qbm::TBitmap& bitmap, ZXing::BarcodeFormats formats,
               const std::function<void(ZXing::DecodeHints&)>& tune) {
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<uint8_t> gray(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const qbm::TColor c = bitmap.Pixel(x, y);
            gray[static_cast<size_t>(y) * w + x] =
                static_cast<uint8_t>((qbm::RedOf(c) + qbm::GreenOf(c) + qbm::BlueOf(c)) / 3);
        }
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    if (tune) tune(hints);
    const ZXing::ImageView view(gray.data(), w, h, ZXing::ImageFormat::Lum);
    const ZXing::Result r = ZXing::ReadBarcode(view, hints);
    Decoded d;
    d.found = r.isValid();
    if (d.found) {
        d.text = r.text();
        d.bytes.assign(r.bytes().begin(), r.bytes().end());
        d.format = ZXing::ToString(r.format());
        d.ecLevel = r.ecLevel();
        d.symbologyIdentifier = r.symbologyIdentifier();
    }
    return d;
}

namespace {

// Whites out a symbol the decoder has read, grown up and down over the rest of its bars: the decoder
// reports a linear symbol only over the lines it scanned.
void EraseSymbol(QImage& gray, const ZXing::Position& where) {
    int x0 = gray.width(), y0 = gray.height(), x1 = -1, y1 = -1;
    for (const auto& p : where) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    x0 = std::max(0, x0 - 2), y0 = std::max(0, y0 - 2);
    x1 = std::min(gray.width() - 1, x1 + 2), y1 = std::min(gray.height() - 1, y1 + 2);
    const auto darkRow = [&](int y) {
        const uchar* row = gray.constScanLine(y);
        return std::any_of(row + x0, row + x1 + 1, [](uchar v) { return v < 128; });
    };
    while (y0 > 0 && darkRow(y0 - 1)) --y0;
    while (y1 < gray.height() - 1 && darkRow(y1 + 1)) ++y1;
    for (int y = y0; y <= y1; ++y) std::fill(gray.scanLine(y) + x0, gray.scanLine(y) + x1 + 1, uchar(255));
}

} // namespace

std::vector<std::string> DecodeAll(const QImage& page, ZXing::BarcodeFormats formats) {
    // One symbol at a time: this ZXing trips its own assertion when it gathers several linear
    // symbols of one page in a single pass.
    QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setFormats(formats);
    hints.setTryHarder(true);
    std::vector<std::string> texts;
    for (int found = 0; found < 100000; ++found) {
        const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                    int(gray.bytesPerLine()));
        const ZXing::Result r = ZXing::ReadBarcode(view, hints);
        if (!r.isValid()) break;
        texts.push_back(r.text());
        EraseSymbol(gray, r.position());
    }
    return texts;
}

QImage ReadPageFile(const std::string& path) {
    if (std::filesystem::path(path).extension() != ".tiff")
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (!tiff) return {};
    uint32_t w = 0, h = 0;
    float dpi = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &dpi);
    std::vector<uint32_t> abgr(static_cast<size_t>(w) * h);
    const bool ok = TIFFReadRGBAImageOriented(tiff, w, h, abgr.data(), ORIENTATION_TOPLEFT, 0) == 1;
    TIFFClose(tiff);
    if (!ok) return {};
    QImage image(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t p = abgr[static_cast<size_t>(y) * w + x];
            image.setPixel(static_cast<int>(x), static_cast<int>(y),
                           qRgb(static_cast<int>(TIFFGetR(p)), static_cast<int>(TIFFGetG(p)),
                                static_cast<int>(TIFFGetB(p))));
        }
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
    return image;
}

std::vector<QImage> RasterisePdf(const std::string& pdfPath, int dpi) {
    const std::string prefix = MakeTempDir() + "/page";
    const std::string cmd =
        "pdftoppm -r " + std::to_string(dpi) + " -gray -png '" + pdfPath + "' '" + prefix + "'";
    std::vector<QImage> pages;
    if (std::system(cmd.c_str()) != 0) return pages;
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(prefix).parent_path()))
        files.push_back(e.path());
    std::sort(files.begin(), files.end()); // pdftoppm pads the page numbers to one width
    for (const auto& f : files) pages.emplace_back(QString::fromStdString(f.string()));
    return pages;
}

qbm::TBitmap FromImage(const QImage& image, int margin) {
    qbm::TBitmap bitmap(image.width() + 2 * margin, image.height() + 2 * margin);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            bitmap.SetPixel(x + margin, y + margin, qbm::RGBColor(qRed(p), qGreen(p), qBlue(p)));
        }
    return bitmap;
}

qbm::TBitmap LoadPicture(const std::string& path, int margin) {
    return FromImage(QImage(QString::fromStdString(path)), margin);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string Hex(const std::string& bytes) {
    std::string r;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", c);
        r += buf;
    }
    return r;
}

} // namespace qbm::test
