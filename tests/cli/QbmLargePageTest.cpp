#include "Code39Workspace.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

// Width and height a PNG file's header gives.
std::pair<uint32_t, uint32_t> PngSize(const std::string& png) {
    const auto at = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(png.at(i))) << 24 |
               static_cast<uint32_t>(static_cast<uint8_t>(png.at(i + 1))) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(png.at(i + 2))) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(png.at(i + 3)));
    };
    return {at(16), at(20)};
}

// A4 at 2400 dpi (more than half a billion pixels), at 4800 dpi as PBM (a 278 MB file, written as
// its rows come) and the largest label stock sheet, SRA3, at 4800 dpi (5 billion pixels) come out
// whole, each as one page file, while the run holds well under a gigabyte.
TEST(QbmLargePage, A4At2400And4800DpiAndSra3At4800DpiPrintWithinAGigabyte) {
    const test::TCode39Workspace w(4, 20); // 0.2 mm bars: 38 dots at 4800 dpi
    const std::string pages = w.dir + "/pages";
    const std::string print = "print " + w.project + " --library " + w.library + " --png-dir " + pages;
    const test::TMeasuredCliRun png = test::RunQbmMeasured(w.dir, print + " --dpi 2400");
    ASSERT_EQ(png.exitCode, 0) << png.err;
    EXPECT_EQ(png.out, "4 labels on 1 page\n");
    const std::string file = test::ReadWholeFile(pages + "/page-0001.png");
    ASSERT_GT(file.size(), 24u);
    EXPECT_EQ(PngSize(file), (std::pair<uint32_t, uint32_t>{19843, 28063}));
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own memory is not the program's
    EXPECT_LT(png.peakKilobytes, 1024L * 1024) << "peak " << png.peakKilobytes / 1024 << " MB";
#endif

    const test::TMeasuredCliRun pbm = test::RunQbmMeasured(w.dir, print + " --dpi 4800 --format pbm");
    ASSERT_EQ(pbm.exitCode, 0) << pbm.err;
    const std::string header = "P4\n39685 56126\n";
    std::string start(header.size(), '\0');
    std::ifstream(pages + "/page-0001.pbm", std::ios::binary)
        .read(start.data(), std::streamsize(start.size()));
    EXPECT_EQ(start, header);
    EXPECT_EQ(std::filesystem::file_size(pages + "/page-0001.pbm"), header.size() + 4961ull * 56126);
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own memory is not the program's
    EXPECT_LT(pbm.peakKilobytes, 256L * 1024) << "peak " << pbm.peakKilobytes / 1024 << " MB";
#endif

    const test::TMeasuredCliRun sra3 =
        test::RunQbmMeasured(w.dir, print + " --dpi 4800 --paper 320x450mm --format tiff");
    ASSERT_EQ(sra3.exitCode, 0) << sra3.err;
    EXPECT_TRUE(std::filesystem::exists(pages + "/page-0001.tiff"));
#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own memory is not the program's
    EXPECT_LT(sra3.peakKilobytes, 1024L * 1024) << "peak " << sra3.peakKilobytes / 1024 << " MB";
#endif
}

// A page drawn in bands that cannot be written whole (a full disk, mid-page) fails the run with
// exit 1 and keeps the pages of the earlier run.
TEST(QbmLargePage, APageInBandsCutShortByAFullDiskKeepsTheEarlierPages) {
    const test::TCode39Workspace w(4, 20); // 0.2 mm bars: 38 dots at 4800 dpi
    const std::string pages = w.dir + "/pages";
    const std::string print = "print " + w.project + " --library " + w.library + " --png-dir " + pages;
    ASSERT_EQ(test::RunQbm(w.dir, print + " --format pbm --dpi 30").exitCode, 0);
    const std::string before = test::ReadWholeFile(pages + "/page-0001.pbm");
    const test::TCliRun full = test::RunQbmOnFullDisk(w.dir, print + " --format pbm --dpi 2400", 4000);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("Cannot write file " + pages + "/page-0001.pbm"), std::string::npos) << full.err;
    EXPECT_EQ(full.out, "");
    EXPECT_EQ(test::ReadWholeFile(pages + "/page-0001.pbm"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pages), {}), 1);
}

} // namespace
} // namespace qbm
