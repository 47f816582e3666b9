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

// PNG and PBM files are built in memory (a PNG page is small once compressed; a PBM page takes a bit
// a pixel) and written whole at the end; a TIFF file is written as its rows come.
void Complete(TPngRows& rows, const std::string& path) {
    WriteWhole(path, rows.Finish());
}
void Complete(TPbmRows& rows, const std::string& path) {
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

} // namespace

std::unique_ptr<TPageRowWriter> MakePageRowWriter(TPageFormat format, const std::string& path, int width,
                                                  int height, int dpi, TPageColours colours) {
    switch (format) {
    case TPageFormat::Png:
        return std::make_unique<TRowsFile<TPngRows>>(path, width, height, dpi, colours);
    case TPageFormat::Pbm:
        return std::make_unique<TRowsFile<TPbmRows>>(path, width, height);
    case TPageFormat::Tiff:
        break;
    }
    return std::make_unique<TRowsFile<TTiffRows>>(path, path, width, height, dpi, colours);
}

} // namespace qbm
