#include "Code39Workspace.h"

#include <cstdint>

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

// A4 at 2400 dpi, more than half a billion pixels, comes out whole as one page file while the run
// holds well under a gigabyte; absurd pages are still refused by name before anything is drawn.
TEST(QbmLargePage, A4At2400DpiPrintsWithinAGigabyte) {
    const test::TCode39Workspace w(4);
    const std::string pages = w.dir + "/pages";
    const test::TMeasuredCliRun run = test::RunQbmMeasured(
        w.dir, "print " + w.project + " --library " + w.library + " --png-dir " + pages + " --dpi 2400");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "4 labels on 1 page\n");
    const std::string png = test::ReadWholeFile(pages + "/page-0001.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(PngSize(png), (std::pair<uint32_t, uint32_t>{19843, 28063}));
    EXPECT_LT(run.peakKilobytes, 1024L * 1024) << "peak " << run.peakKilobytes / 1024 << " MB";

    const test::TCliRun huge =
        test::RunQbm(w.dir, "print " + w.project + " --library " + w.library + " --png-dir " + pages +
                                " --paper 1000x1000mm --dpi 2400");
    EXPECT_EQ(huge.exitCode, 1);
    EXPECT_NE(huge.err.find("A page of 94488 x 94488 pixels at 2400 dpi is larger than a page picture may be"),
              std::string::npos)
        << huge.err;
    EXPECT_EQ(test::ReadWholeFile(pages + "/page-0001.png"), png);
}

} // namespace
} // namespace qbm
