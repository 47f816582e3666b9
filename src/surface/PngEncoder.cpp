#include "surface/PngEncoder.h"

#include "surface/PagePixels.h"
#include "surface/TBitmapImpl.h"
#include "surface/TRunDeflater.h"
#include "util/Errors.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qbm {

// Colour pages hold pictures (logos, photos) whose rows rarely repeat: zlib's own search, set for
// runs, compresses them.
class TRowDeflater {
public:
    TRowDeflater() {
        if (deflateInit2(&m_z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
            throw EInOutError("Cannot compress picture");
    }
    ~TRowDeflater() { deflateEnd(&m_z); }
    TRowDeflater(const TRowDeflater&) = delete;
    TRowDeflater& operator=(const TRowDeflater&) = delete;

    void Add(const uint8_t* data, size_t size, bool last) {
        m_z.next_in = const_cast<Bytef*>(data);
        m_z.avail_in = static_cast<uInt>(size);
        int rc = Z_OK;
        do {
            if (m_out.size() - m_used < 65536) m_out.resize(std::max<size_t>(m_out.size() * 2, 262144));
            m_z.next_out = reinterpret_cast<Bytef*>(m_out.data() + m_used);
            m_z.avail_out = static_cast<uInt>(m_out.size() - m_used);
            rc = deflate(&m_z, last ? Z_FINISH : Z_NO_FLUSH);
            m_used = m_out.size() - m_z.avail_out;
        } while (m_z.avail_in > 0 || (last && rc != Z_STREAM_END));
    }
    std::string Take() {
        m_out.resize(m_used);
        return std::move(m_out);
    }

private:
    z_stream m_z{};
    std::string m_out;
    size_t m_used = 0;
};

namespace {

void PutBigEndian(std::string& out, uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
    out.append(b, 4);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto crc =
        crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<uint32_t>(crc));
}

} // namespace

std::string EncodePng(const TBitmap& picture) {
    return EncodePng(picture, SurveyPage(Rgb32Of(picture.Internal().Image())));
}

std::string EncodePng(const TBitmap& picture, const TPageSurvey& survey) {
    const QImage rgb = Rgb32Of(picture.Internal().Image());
    TPngRows png(rgb.width(), rgb.height(), picture.Resolution(), survey.colours);
    png.Add(rgb, rgb.height(), survey.sameAsAbove.data());
    return png.Finish();
}

TPngRows::TPngRows(int width, int height, int dpi, TPageColours colours)
    : m_width(width), m_height(height), m_dpi(dpi), m_colours(colours) {
    const int depth = colours == TPageColours::Bilevel ? 1 : 8;
    const int channels = colours == TPageColours::Colour ? 3 : 1;
    m_rowBytes = 1 + (static_cast<size_t>(width) * channels * depth + 7) / 8;
    m_row.assign(m_rowBytes, 0);
    if (colours == TPageColours::Colour)
        m_colour = std::make_unique<TRowDeflater>();
    else
        m_runs = std::make_unique<TRunDeflater>(m_rowBytes);
}

TPngRows::~TPngRows() = default;

void TPngRows::Add(const QImage& band, int rows, const uint8_t* sameAsAbove) {
    for (int y = 0; y < rows; ++y, ++m_added) {
        if (m_colour) {
            const auto* src = reinterpret_cast<const QRgb*>(band.constScanLine(y));
            uint8_t* out = m_row.data() + 1;
            for (int x = 0; x < m_width; ++x) {
                out[3 * x] = static_cast<uint8_t>(qRed(src[x]));
                out[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
                out[3 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
            }
            m_colour->Add(m_row.data(), m_rowBytes, m_added == m_height - 1);
        } else if (sameAsAbove[y]) {
            m_runs->RepeatRow();
        } else {
            if (m_colours == TPageColours::Bilevel)
                BitRow(band, y, m_row.data() + 1, false);
            else
                GreyRow(band, y, m_row.data() + 1);
            m_runs->AddRow(m_row.data());
        }
    }
}

std::string TPngRows::Finish() {
    if (m_colour && m_height == 0) m_colour->Add(nullptr, 0, true);
    const std::string data = m_colour ? m_colour->Take() : m_runs->Finish();
    const bool colour = m_colours == TPageColours::Colour;
    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<uint32_t>(m_width));
    PutBigEndian(ihdr, static_cast<uint32_t>(m_height));
    ihdr += static_cast<char>(m_colours == TPageColours::Bilevel ? 1 : 8);
    ihdr += static_cast<char>(colour ? 2 : 0);
    ihdr.append(3, '\0'); // deflate, adaptive filtering (rows use none), no interlace
    PutChunk(png, "IHDR", ihdr);
    std::string phys;
    const auto dpm = static_cast<uint32_t>(std::lround(m_dpi / 0.0254));
    PutBigEndian(phys, dpm);
    PutBigEndian(phys, dpm);
    phys += '\1'; // metres
    PutChunk(png, "pHYs", phys);
    PutChunk(png, "IDAT", data);
    PutChunk(png, "IEND", {});
    return png;
}

} // namespace qbm
