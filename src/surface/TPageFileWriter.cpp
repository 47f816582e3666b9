#include "surface/TPageFileWriter.h"

#include "surface/TBitmapImpl.h"
#include "util/Errors.h"

#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qbm {
namespace {

// Pages in hand besides the one being drawn, per worker.
constexpr size_t kPagesPerWorker = 1;
constexpr size_t kSparePages = 2;

enum class TPageColours { Bilevel, Grey, Colour };

// Label pages are mostly white: pixels are looked at eight at a time, and eight white ones (all
// 0xFFFFFFFF in the 32-bit picture) are passed over at once.
constexpr uint64_t kWhitePair = ~uint64_t{0};

[[gnu::always_inline]] inline uint64_t PairAt(const QRgb* row, int x) {
    uint64_t v;
    std::memcpy(&v, row + x, sizeof v);
    return v;
}

// Eight pixels from x on, all white: the common case, decided with four 64-bit compares.
[[gnu::always_inline]] inline bool WhiteEight(const QRgb* row, int x) {
    return (PairAt(row, x) & PairAt(row, x + 2) & PairAt(row, x + 4) & PairAt(row, x + 6)) == kWhitePair;
}

TPageColours ColoursOf(const QImage& img) {
    const int w = img.width(), h = img.height(), w8 = w & ~7;
    bool bilevel = true;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        // False once the pixel is neither black nor white nor grey.
        const auto look = [&](QRgb px) {
            const QRgb p = px & 0xFFFFFFu;
            if (p == 0xFFFFFFu || p == 0u) return true;
            bilevel = false;
            return qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
        };
        int x = 0;
        for (; x < w8; x += 8) {
            if (WhiteEight(row, x)) continue;
            for (int k = 0; k < 8; ++k)
                if (!look(row[x + k])) return TPageColours::Colour;
        }
        for (; x < w; ++x)
            if (!look(row[x])) return TPageColours::Colour;
    }
    return bilevel ? TPageColours::Bilevel : TPageColours::Grey;
}

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
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<uint32_t>(crc));
}

// Deflates rows as they are produced; white runs (most of a label page) compress best and fastest
// as runs of one byte.
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

} // namespace

std::string EncodePng(const TBitmap& picture) {
    const QImage& img = picture.Internal().Image();
    const QImage rgb = img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32
                           ? img
                           : img.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width(), h = rgb.height();
    const TPageColours colours = ColoursOf(rgb);
    const int depth = colours == TPageColours::Bilevel ? 1 : 8;
    const int channels = colours == TPageColours::Colour ? 3 : 1;
    const size_t rowBytes = 1 + (static_cast<size_t>(w) * channels * depth + 7) / 8;

    TRowDeflater deflater;
    std::vector<uint8_t> row(rowBytes);
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* out = row.data() + 1; // filter byte 0: the row as it is
        switch (colours) {
        case TPageColours::Bilevel:
            for (int x = 0; x < w; x += 8) {
                uint8_t bits = 0;
                const int n = std::min(8, w - x);
                if (n == 8 && WhiteEight(src, x)) {
                    bits = 0xFF;
                } else {
                    for (int k = 0; k < n; ++k)
                        if (src[x + k] & 0xFFu) bits |= static_cast<uint8_t>(0x80u >> k);
                }
                out[x >> 3] = bits;
            }
            break;
        case TPageColours::Grey: {
            int x = 0;
            for (; x + 8 <= w; x += 8) {
                if (WhiteEight(src, x)) {
                    std::memset(out + x, 0xFF, 8);
                    continue;
                }
                for (int k = 0; k < 8; ++k) out[x + k] = static_cast<uint8_t>(qBlue(src[x + k]));
            }
            for (; x < w; ++x) out[x] = static_cast<uint8_t>(qBlue(src[x]));
            break;
        }
        case TPageColours::Colour:
            for (int x = 0; x < w; ++x) {
                out[3 * x] = static_cast<uint8_t>(qRed(src[x]));
                out[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
                out[3 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
            }
            break;
        }
        deflater.Add(row.data(), rowBytes, y == h - 1);
    }
    if (h == 0) deflater.Add(nullptr, 0, true);

    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<uint32_t>(w));
    PutBigEndian(ihdr, static_cast<uint32_t>(h));
    ihdr += static_cast<char>(depth);
    ihdr += static_cast<char>(colours == TPageColours::Colour ? 2 : 0);
    ihdr.append(3, '\0'); // deflate, adaptive filtering (rows use none), no interlace
    PutChunk(png, "IHDR", ihdr);
    std::string phys;
    const auto dpm = static_cast<uint32_t>(std::lround(picture.Resolution() / 0.0254));
    PutBigEndian(phys, dpm);
    PutBigEndian(phys, dpm);
    phys += '\1'; // metres
    PutChunk(png, "pHYs", phys);
    PutChunk(png, "IDAT", deflater.Take());
    PutChunk(png, "IEND", {});
    return png;
}

TPageFileWriter::TPageFileWriter(std::string folder, int threads) : m_folder(std::move(folder)) {
    const int n = threads > 0 ? threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    m_maxInHand = kPagesPerWorker * static_cast<size_t>(n) + 1;
    for (int i = 0; i < n; ++i) m_workers.emplace_back([this] { Work(); });
}

TPageFileWriter::~TPageFileWriter() {
    if (!m_workers.empty()) Abandon();
}

std::string TPageFileWriter::PagePath(int pageNumber) const {
    char name[32];
    std::snprintf(name, sizeof name, "/page-%04d.png", pageNumber);
    return m_folder + name;
}

TBitmap TPageFileWriter::BlankPage(int width, int height, int dpi) {
    TBitmap page;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            page = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (page.Width() != width || page.Height() != height) {
        page = TBitmap(width, height);
    } else {
        const TPixelRows& rows = *page.Canvas().PixelRows();
        rows.Fill(0, 0, width, height, TPixelRows::Value(clWhite));
    }
    page.SetResolution(dpi);
    return page;
}

void TPageFileWriter::Put(TBitmap page, int pageNumber) {
    page.Internal().Image(); // no painter left open on a page another thread reads
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_inHand < m_maxInHand || m_failure; });
    ThrowIfFailed();
    m_queue.push_back({std::move(page), pageNumber});
    ++m_inHand;
    m_changed.notify_all();
}

void TPageFileWriter::ThrowIfFailed() {
    if (m_failure) std::rethrow_exception(m_failure);
}

void TPageFileWriter::Work() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty()) return;
        TJob job = std::move(m_queue.front());
        m_queue.pop_front();
        const int turn = m_nextTicket++;
        lock.unlock();
        WriteOne(job, turn);
    }
}

void TPageFileWriter::WriteOne(TJob& job, int turn) {
    const std::string path = PagePath(job.number);
    const std::string temp = m_folder + "/.page-" + std::to_string(job.number) + "." + std::to_string(getpid()) + ".part";
    std::exception_ptr failure;
    bool written = false;
    try {
        const std::string png = EncodePng(job.page);
        FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) throw EInOutError("Cannot write file " + path);
        const bool ok = std::fwrite(png.data(), 1, png.size(), f) == png.size();
        if (std::fclose(f) != 0 || !ok) {
            std::remove(temp.c_str());
            throw EInOutError("Cannot write file " + path);
        }
        written = true;
    } catch (...) {
        failure = std::current_exception();
    }
    // Files appear in page order: each waits for the pages before it.
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_nextToCommit == turn; });
    if (written) {
        if (m_failure || m_abandoned) std::remove(temp.c_str());
        else if (std::rename(temp.c_str(), path.c_str()) != 0) {
            std::remove(temp.c_str());
            failure = std::make_exception_ptr(EInOutError("Cannot write file " + path));
        }
    }
    if (failure && !m_failure) m_failure = failure;
    ++m_nextToCommit;
    --m_inHand;
    if (m_spare.size() < kSparePages) m_spare.push_back(std::move(job.page));
    m_changed.notify_all();
}

void TPageFileWriter::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (auto& t : m_workers) t.join();
    m_workers.clear();
}

void TPageFileWriter::Finish() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_inHand == 0; });
    }
    Stop();
    const std::lock_guard lock(m_mutex);
    ThrowIfFailed();
}

void TPageFileWriter::Abandon() {
    {
        std::unique_lock lock(m_mutex);
        m_abandoned = true;
        // Pages not started are dropped (they have no turn yet); pages being written finish and
        // remove their temporary files.
        m_inHand -= m_queue.size();
        m_queue.clear();
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_inHand == 0; });
    }
    Stop();
}

} // namespace qbm
