#include "surface/TPageRowWriter.h"

#include "surface/PbmEncoder.h"
#include "surface/PngEncoder.h"
#include "surface/TiffEncoder.h"
#include "util/Errors.h"

#include <cstdio>
#include <utility>

namespace qbm {
namespace {

// Writes `data` to `path` whole, or throws.
void WriteWhole(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw EInOutError("Cannot write file " + path);
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !ok) throw EInOutError("Cannot write file " + path);
}

// A PNG file is built in memory (a page is small once compressed) and written whole at the end; a
// TIFF file is written as its rows come.
void Complete(TPngRows& rows, const std::string& path) {
    WriteWhole(path, rows.Finish());
}
void Complete(TTiffRows& rows, const std::string&) {
    rows.Finish();
}

template <class Rows> class TRowsFile : public TPageRowWriter {
public:
    template <class... Args>
    explicit TRowsFile(std::string path, Args&&... args)
        : m_path(std::move(path)), m_rows(std::forward<Args>(args)...) {}
    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove) override {
        m_rows.Add(band, rows, sameAsAbove);
    }
    void Finish() override { Complete(m_rows, m_path); }

private:
    std::string m_path;
    Rows m_rows;
};

// A PBM file takes a bit a pixel: its rows are written as they come.
class TPbmFile : public TPageRowWriter {
public:
    TPbmFile(std::string path, int width, int height)
        : m_path(std::move(path)), m_file(std::fopen(m_path.c_str(), "wb")), m_rows(width, height) {
        if (!m_file) throw EInOutError("Cannot write file " + m_path);
    }
    ~TPbmFile() override {
        if (m_file) std::fclose(m_file);
    }
    TPbmFile(const TPbmFile&) = delete;
    TPbmFile& operator=(const TPbmFile&) = delete;

    void Add(const QImage& band, int rows, const uint8_t* sameAsAbove) override {
        m_rows.Add(band, rows, sameAsAbove);
        const std::string bytes = m_rows.Take();
        if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
            throw EInOutError("Cannot write file " + m_path);
    }
    void Finish() override {
        const bool closed = std::fclose(std::exchange(m_file, nullptr)) == 0;
        if (!closed) throw EInOutError("Cannot write file " + m_path);
    }

private:
    std::string m_path;
    std::FILE* m_file;
    TPbmRows m_rows;
};

} // namespace

std::unique_ptr<TPageRowWriter> MakePageRowWriter(TPageFormat format, const std::string& path, int width,
                                                  int height, int dpi, TPageColours colours) {
    switch (format) {
    case TPageFormat::Png:
        return std::make_unique<TRowsFile<TPngRows>>(path, width, height, dpi, colours);
    case TPageFormat::Pbm:
        return std::make_unique<TPbmFile>(path, width, height);
    case TPageFormat::Tiff:
        break;
    }
    return std::make_unique<TRowsFile<TTiffRows>>(path, path, width, height, dpi, colours);
}

} // namespace qbm
