#include "project/ProjectFile.h"
#include "project/TLabelProject.h"

#include "../stock/StockTestSupport.h"
#include "CliRun.h"

#include <QImage>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace qbm {
namespace {

struct Fixture {
    std::string dir = test::MakeTempDir();
    std::string library = dir + "/Templates.dat";
    std::string project = dir + "/labels.bpj";
    std::string stock = test::WriteStockFolder({{"paper-sizes.xml", test::kPaperSizes},
                                                {"known-templates.xml", test::kThreeSheets},
                                                {"broken-templates.xml", "<Glabels-templates>"}});

    // A constant EAN-8 code small enough for every sheet's labels (10 mm high, 0.25 mm modules, no
    // text), `amount` labels, split marks off so that the page holds labels only.
    explicit Fixture(int amount) {
        std::ofstream(library, std::ios::binary)
            << "[Small]\r\nCodeType=13\r\nTextContent=0\r\nTextLayout=3\r\nHeight=10\r\nBarWidth=25\r\n";
        TLabelProject p;
        p.SetTemplateName("Small");
        p.SetLinearSource(TLinearSource::lsConstant);
        p.SetFixedCode("1234567");
        p.SetFixedCodeAmount(amount);
        p.SetSplitMarks(false);
        SaveProject(project, p, nullptr);
    }
    test::TCliRun Run(std::vector<std::string> args) const {
        args.insert(args.end(), {"--stock-dir", stock});
        return test::RunQbm(dir, args);
    }
};

// The label rectangles of the three known sheets, millimetres from the sheet's top left corner.
struct Sheet {
    const char* name;
    double x0, y0, dx, dy, width, height;
    int nx, ny;
    int pageWidth, pageHeight; // at 300 dpi
};
constexpr double kPt = 25.4 / 72;
constexpr Sheet kSheets[] = {
    /* 0 */ {"Avery 5160", 0.15625 * 25.4, 12.7, 2.78125 * 25.4, 25.4, 2.625 * 25.4, 25.4, 3, 10, 2550, 3300},
    /* 1 */
    {"Avery L7163", 9.5 * kPt, 43 * kPt, 292 * kPt, 108 * kPt, 280.9 * kPt, 108 * kPt, 2, 7, 2480, 3508},
    /* 2 */ {"Hama 50450", 0, 0, 70, 37, 70, 37, 3, 8, 2480, 3508},
};

TEST(QbmStock, ListsTheMatchesOrTheGridOfTheOneNamed) {
    const Fixture f(1);
    const test::TCliRun list = f.Run({"stock", "avery"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out, "Avery 5160   Address Labels | US Letter | 66.7 x 25.4 mm | 3 x 10\n"
                        "Avery 7163   Mailing labels | A4 | 99.1 x 38.1 mm | 2 x 7\n"
                        "Avery L7163  Mailing labels | A4 | 99.1 x 38.1 mm | 2 x 7\n"
                        "3 of 4 label stocks\n");
    EXPECT_EQ(list.err, "skipped: broken-templates.xml: line 1: Premature end of document.\n");

    const test::TCliRun one = f.Run({"stock", "avery", "l7163"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    EXPECT_NE(one.out.find("same sheet as Avery 7163\n  rows 7, columns 2, portrait\n"
                           "  margins:     left 1.39 mm, top 15.17 mm, right 2.58 mm, bottom 15.13 mm\n"),
              std::string::npos)
        << one.out;
    EXPECT_EQ(f.Run({"stock", "nothing", "like", "this"}).exitCode, 1);
    EXPECT_EQ(test::RunQbm(f.dir, {"stock", "--stock-dir", f.dir + "/none"}).exitCode, 1);
}

TEST(QbmStock, EveryPrintedLabelLiesInsideItsStockRectangle) {
    for (const Sheet& sheet : kSheets) {
        const Fixture f(sheet.nx * sheet.ny);
        const test::TCliRun r = f.Run({"print", f.project, "--stock", sheet.name, "--png-dir",
                                       f.dir + "/pages", "--library", f.library});
        ASSERT_EQ(r.exitCode, 0) << sheet.name << ": " << r.err;
        EXPECT_EQ(r.out, std::to_string(sheet.nx * sheet.ny) + " labels on 1 page\n") << sheet.name;
        const QImage page(QString::fromStdString(f.dir + "/pages/page-0001.png"));
        ASSERT_EQ(page.width(), sheet.pageWidth) << sheet.name;
        ASSERT_EQ(page.height(), sheet.pageHeight) << sheet.name;

        // Every dark dot belongs to a label rectangle; every rectangle got ink, centred on it.
        const double dots = 300 / 25.4;
        const auto column = [&](int x) {
            return static_cast<int>(std::floor((x / dots - sheet.x0) / sheet.dx));
        };
        const auto row = [&](int y) {
            return static_cast<int>(std::floor((y / dots - sheet.y0) / sheet.dy));
        };
        struct Ink {
            int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
        };
        std::vector<Ink> ink(static_cast<size_t>(sheet.nx * sheet.ny));
        int outside = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) > 128) continue;
                const int c = column(x), rw = row(y);
                const double inX = x / dots - sheet.x0 - c * sheet.dx,
                             inY = y / dots - sheet.y0 - rw * sheet.dy;
                if (c < 0 || c >= sheet.nx || rw < 0 || rw >= sheet.ny || inX > sheet.width ||
                    inY > sheet.height) {
                    ++outside;
                    continue;
                }
                Ink& i = ink[static_cast<size_t>(rw * sheet.nx + c)];
                i = {std::min(i.left, x), std::max(i.right, x), std::min(i.top, y), std::max(i.bottom, y)};
            }
        EXPECT_EQ(outside, 0) << sheet.name;
        for (int n = 0; n < sheet.nx * sheet.ny; ++n) {
            const Ink& i = ink[static_cast<size_t>(n)];
            ASSERT_GE(i.right, 0) << sheet.name << ": label " << n << " has no ink";
            // The barcode's box is centred on the label; its ink is to a dot or two (text, guard bars).
            const double labelCentreX = sheet.x0 + (n % sheet.nx) * sheet.dx + sheet.width / 2;
            EXPECT_NEAR((i.left + i.right + 1) / 2.0 / dots, labelCentreX, 0.5)
                << sheet.name << ": label " << n;
        }
    }
}

TEST(QbmStock, UnknownOrUnusableStockPrintsNothing) {
    const Fixture f(3);
    const std::string out = f.dir + "/out.pdf";
    const test::TCliRun unknown =
        f.Run({"print", f.project, "--stock", "Avery 5161", "--pdf", out, "--library", f.library});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.err.find("No label stock \"Avery 5161\""), std::string::npos) << unknown.err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace
} // namespace qbm
