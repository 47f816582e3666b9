#include "TestSupport.h"

#include <ZXing/ReadBarcode.h>

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace qbm::test {

std::string SharedDataPath(const std::string& name) { return std::string(QBM_SHARED_DATA_DIR) + "/" + name; }

std::string TestDataPath(const std::string& name) { return std::string(QBM_TEST_DATA_DIR) + "/" + name; }

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
