#pragma once
// Shared test helpers: exception-message assertions, paths of fixtures, decoding pictures with ZXing.

#include "surface/TBitmap.h"
#include "util/TProgress.h"

#include <ZXing/DecodeHints.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class QImage;

// Asserts that `stmt` throws `type` whose what() equals `msg`.
#define EXPECT_THROW_MSG(stmt, type, msg)                                                                    \
    do {                                                                                                     \
        try {                                                                                                \
            stmt;                                                                                            \
            ADD_FAILURE() << "expected " #type " \"" << (msg) << "\", nothing thrown";                       \
        } catch (const type& e_) {                                                                           \
            EXPECT_EQ(std::string(e_.what()), std::string(msg));                                             \
        } catch (const std::exception& e_) {                                                                 \
            ADD_FAILURE() << "expected " #type ", got another exception: " << e_.what();                     \
        }                                                                                                    \
    } while (0)

namespace qbm::test {

// A fixture under tests/data: reference/ holds the symbology tables, samples/ the sample databases.
std::string TestDataPath(const std::string& name);
// A fresh empty directory for one test's files.
std::string MakeTempDir();

struct Decoded {
    bool found = false;
    std::string text;   // as ZXing reports it (UTF-8)
    std::string bytes;  // raw decoded bytes
    std::string format; // ZXing's name of the symbology
    std::string ecLevel;
    std::string symbologyIdentifier;
};

// Decodes the first symbol in the picture. `tune` may adjust the hints (add-ons, pure mode).
Decoded Decode(const qbm::TBitmap& bitmap, ZXing::BarcodeFormats formats,
               const std::function<void(ZXing::DecodeHints&)>& tune = {});

// A picture as a bitmap, with `margin` white pixels added on every side (quiet zone for decoders).
qbm::TBitmap FromImage(const QImage& image, int margin = 0);
// A picture file (PNG, BMP, JPEG ...) read into a bitmap; an unreadable file gives an empty one.
qbm::TBitmap LoadPicture(const std::string& path, int margin = 0);
// A whole file's bytes; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);
// Replaces the file's content with `bytes`.
void WriteWholeFile(const std::string& path, const std::string& bytes);

// Every symbol on a page picture (a printed or rasterised page), as ZXing reports their texts.
std::vector<std::string> DecodeAll(const QImage& page, ZXing::BarcodeFormats formats);
// A page file as qbm writes them (PNG, PBM, or TIFF read with libtiff), in 32-bit colour with its
// resolution; a null image when it cannot be read.
QImage ReadPageFile(const std::string& path);
// The pages of a PDF file rasterised by pdftoppm at `dpi`; empty when the file cannot be rasterised.
std::vector<QImage> RasterisePdf(const std::string& pdfPath, int dpi);

// Hex dump of bytes, for readable failure messages of binary data.
std::string Hex(const std::string& bytes);

// Stops the work at its `cancelAt`-th report, counting the reports in `reports`.
class TCancelAt : public TProgress {
public:
    TCancelAt(int cancelAt, int& reports) : m_cancelAt(cancelAt), m_reports(reports) {}
    bool Update(int64_t, int64_t) override { return ++m_reports < m_cancelAt; }

private:
    int m_cancelAt;
    int& m_reports;
};

} // namespace qbm::test
