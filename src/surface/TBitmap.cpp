#include "surface/TBitmap.h"

#include "surface/JpegWriter.h"
#include "surface/TBitmapImpl.h"
#include "util/Errors.h"

#include "util/AtomicFile.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>

namespace qbm {
namespace {

QImage::Format FormatOf(TBitmapPixels pixels) {
    return pixels == TBitmapPixels::Grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

QImage WhiteImage(int width, int height, int dpi, TBitmapPixels pixels) {
    QImage img(std::max(0, width), std::max(0, height), FormatOf(pixels));
    img.fill(Qt::white);
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    return img;
}

std::string LowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// The picture is encoded in memory first and then replaces the file in one step, so a full disk or
// any other failed write reports its cause and keeps the old file.
void SaveImage(const QImage& img, const std::string& path, const char* format) {
    // A picture too large for memory was never made; saying so beats a failed write.
    if (img.isNull())
        throw EInOutError("Cannot write file " + path + ": the picture is empty or too large to draw");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !img.save(&buffer, format))
        throw EInOutError("Cannot write file " + path + ": the picture cannot be encoded");
    try {
        WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const EInOutError& e) {
        throw EInOutError("Cannot write file " + path + ": " + e.what());
    }
}

} // namespace

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int width, int height, TBitmapPixels pixels) : m_impl(std::make_unique<Impl>()) {
    m_impl->image = WhiteImage(width, height, m_impl->dpi, pixels);
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other) : m_impl(std::make_unique<Impl>()) {
    m_impl->image = other.m_impl->Image().copy();
    m_impl->dpi = other.m_impl->dpi;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        QImage copy = other.m_impl->Image().copy();
        m_impl->Image() = std::move(copy);
        m_impl->dpi = other.m_impl->dpi;
        m_impl->canvas.reset();
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&&) noexcept = default;
TBitmap& TBitmap::operator=(TBitmap&&) noexcept = default;

int TBitmap::Width() const {
    return m_impl->image.width();
}
int TBitmap::Height() const {
    return m_impl->image.height();
}
TBitmapPixels TBitmap::Pixels() const {
    return m_impl->image.format() == QImage::Format_Grayscale8 ? TBitmapPixels::Grey : TBitmapPixels::Colour;
}

void TBitmap::SetWidth(int width) {
    SetSize(width, Height());
}
void TBitmap::SetHeight(int height) {
    SetSize(Width(), height);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height()) return;
    QImage next = WhiteImage(width, height, m_impl->dpi, Pixels());
    QImage& old = m_impl->Image();
    if (!old.isNull() && width > 0 && height > 0) {
        QPainter p(&next);
        p.drawImage(0, 0, old);
    }
    old = std::move(next);
    m_impl->canvas.reset();
}

void TBitmap::SetResolution(int dpi) {
    if (dpi <= 0) return;
    m_impl->dpi = dpi;
    QImage& img = m_impl->Image();
    const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    if (m_impl->canvas) m_impl->canvas->SetResolution(dpi, dpi);
}

int TBitmap::Resolution() const {
    return m_impl->dpi;
}

TCanvas& TBitmap::Canvas() {
    if (!m_impl->canvas) {
        m_impl->canvas = std::make_unique<QtPainterCanvas>(&m_impl->image);
        m_impl->canvas->SetResolution(m_impl->dpi, m_impl->dpi);
    }
    return *m_impl->canvas;
}

TColor TBitmap::Pixel(int x, int y) const {
    const QImage& img = m_impl->Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return clWhite;
    return FromQRgb(img.pixel(x, y));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    QImage& img = m_impl->Image();
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return;
    img.setPixel(x, y, ToQColor(color).rgb());
}

std::vector<uint8_t> TBitmap::Luminance() const {
    const QImage& image = m_impl->Image();
    if (image.format() == QImage::Format_RGB32) {
        // Every label read back passes through here: the plain weighted sum is a tenth of the cost of
        // Qt's colour-managed conversion, and black and white, all a label holds, come out the same.
        // The sizes are read once: asked in the loop, they are a library call for every pixel.
        const int width = image.width(), height = image.height();
        std::vector<uint8_t> bytes(static_cast<size_t>(width) * height);
        uint8_t* out = bytes.data();
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) *out++ = static_cast<uint8_t>(qGray(line[x]));
        }
        return bytes;
    }
    // Grey pictures are their own luminance.
    const QImage grey = image.format() == QImage::Format_Grayscale8
                            ? image
                            : image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<uint8_t> bytes(static_cast<size_t>(grey.width()) * grey.height());
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(),
                    bytes.begin() + static_cast<ptrdiff_t>(y) * grey.width());
    return bytes;
}

void TBitmap::SaveToBmpFile(const std::string& path) const {
    SaveImage(m_impl->Image(), path, "BMP");
}

TBitmap TBitmap::Smoothed(int width, int height) const {
    TBitmap result(width, height);
    if (width <= 0 || height <= 0 || Width() <= 0 || Height() <= 0) return result;
    result.m_impl->image = m_impl->Image()
                               .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                               .convertToFormat(result.m_impl->image.format());
    result.SetResolution(Resolution());
    return result;
}

void TBitmap::SaveToPngFile(const std::string& path) const {
    SaveImage(m_impl->Image(), path, "PNG");
}

void TBitmap::SaveToJpegFile(const std::string& path, int quality) const {
    const QImage rgb = m_impl->Image().convertToFormat(QImage::Format_RGB888);
    WriteJpegFile(path, rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine()),
                  quality, m_impl->dpi);
}

void TBitmap::SaveToFile(const std::string& path) const {
    const std::string ext = LowerExtension(path);
    if (ext == "bmp")
        SaveToBmpFile(path);
    else if (ext == "png")
        SaveToPngFile(path);
    else if (ext == "jpg" || ext == "jpeg")
        SaveToJpegFile(path);
    else
        throw EInOutError("Unsupported picture format: " + path + " (use .png, .bmp or .jpg)");
}

} // namespace qbm
