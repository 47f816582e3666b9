// Print-run benchmark: EAN-13 labels from a datasheet, 3 columns x 8 rows, printed to PDF at 600 dpi.
// Prints labels per second, output size and peak memory for 10,000 and 100,000 labels, and beside
// them gLabels' batch printer (glabels-3-batch) on the same codes as CSV, measured in the same run.
// Then the same labels as page files at 300 dpi (pages per second) in each format (PNG, PBM, TIFF),
// beside writing each page with Qt's PNG writer as it is finished, one after the other; and one
// page's encoding alone on one core, beside zlib compressing the same page as grey and as colour
// rows (how PNG pages were compressed before).
//
// 2D labels (PDF417, MaxiCode, QR Code and Data Matrix from a code list) are printed to PDF as well.
//
//   qbm_bench_print [--labels N] [--large N] [--2d-labels N] [--png-labels N] [--no-baseline]
//                   [--png-only] [--pdf-only] [--pages-only] [--2d-only] [--2d-format NAME]

#include "app/ProjectPrinting.h"
#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "data/TDatasheet.h"
#include "project/TLabelProject.h"
#include "surface/PngEncoder.h"
#include "surface/TBitmap.h"
#include "surface/TPageFileWriter.h"
#include "surface/TPdfPrinter.h"
#include "surface/TRasterPrinter.h"
#include "symbols/TStSymbolBarcode.h"
#include "templates/Apply2DSettings.h"
#include "templates/T2DSettings.h"
#include "templates/TLabelPicture.h"
#include "util/TUserPrompts.h"

#include "ChildRun.h"

#include <zlib.h>

#include <QImage>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using qbm::bench::MeasureInChild;
using qbm::bench::RunFigures;

std::vector<std::string> Codes(long long n) {
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<std::string> codes;
    codes.reserve(static_cast<size_t>(n));
    for (long long i = 0; i < n; ++i) {
        std::string c(12, '0');
        for (char& ch : c) ch = static_cast<char>('0' + digit(rng));
        codes.push_back(c);
    }
    return codes;
}

// Both runs print 3 x 8 labels to a page, edge to edge, without split marks.
void OnSheetOfThreeByEight(qbm::TLabelProject& project) {
    project.SetLinage(8);
    project.SetColumn(3);
    project.SetMarginLeft(0);
    project.SetMarginRight(0);
    project.SetMarginTop(0);
    project.SetMarginBottom(0);
    project.SetSplitMarks(false);
}

int PrintOurs(long long labels, qbm::TPrinter& printer, int dpi) {
    qbm::TLabelProject project;
    qbm::TDatasheet& sheet = project.Datasheet();
    const auto codes = Codes(labels);
    sheet.Reset(3, static_cast<int>(labels) + 1);
    sheet.SetCell(1, 0, "code");
    sheet.SetCell(2, 0, "caption");
    for (long long i = 0; i < labels; ++i)
        sheet.SetCell(1, static_cast<int>(i + 1), codes[static_cast<size_t>(i)]);

    // An EAN-13 at its nominal size: module 0.33 mm = 8 dots at 600 dpi, bars 22.85 mm = 540 dots.
    qbm::TBarcode main;
    main.SetTyp(qbm::bcCodeEAN13);
    main.SetChecksum(true);
    main.SetModul(8 * dpi / 600);
    main.SetHeight(540 * dpi / 600);
    main.SetShowText(qbm::bcoCode);
    qbm::TFont font;
    font.SetName("DejaVu Sans");
    font.SetPixelsPerInch(dpi);
    font.SetSize(8);
    main.SetShowTextFont(font);

    project.SetLinearSource(qbm::TLinearSource::lsDatasheet);
    project.RebuildFieldList(qbm::kFieldPlaceholderDatasheet);
    project.SetCodeField(1);
    OnSheetOfThreeByEight(project);

    qbm::TBitmap picture(600, 600);
    qbm::TScriptedPrompts prompts; // answers Yes to "print now?"
    const auto r = qbm::PrintProject(project, printer, main, nullptr, picture, prompts);
    return r.labels == labels ? 0 : 1;
}

int PrintPdf(long long labels, const std::string& pdf) {
    qbm::TPdfPrinter printer(pdf, qbm::TPaperSize::A4(), 600);
    return PrintOurs(labels, printer, 600);
}

// Pages through the page writer (all cores), or each saved by Qt's PNG writer when it is finished.
int PrintPng(long long labels, const std::string& dir, bool pipeline,
             qbm::TPageFormat format = qbm::TPageFormat::Png) {
    std::system(("mkdir -p " + dir).c_str());
    if (pipeline) {
        qbm::TRasterPrinter printer(qbm::TPaperSize::A4(), 300,
                                    std::make_unique<qbm::TPageFileWriter>(dir, 0, format));
        return PrintOurs(labels, printer, 300);
    }
    qbm::TRasterPrinter printer(qbm::TPaperSize::A4(), 300, [dir](const qbm::TBitmap& page, int n) {
        char name[32];
        std::snprintf(name, sizeof name, "/page-%04d.png", n);
        page.SaveToPngFile(dir + name);
    });
    return PrintOurs(labels, printer, 300);
}

long long FolderBytes(const std::string& dir, const char* extension = "png") {
    long long bytes = 0;
    for (int n = 1;; ++n) {
        char name[40];
        std::snprintf(name, sizeof name, "/page-%04d.%s", n, extension);
        struct stat st {};
        if (stat((dir + name).c_str(), &st) != 0) return bytes;
        bytes += st.st_size;
    }
}

// Shipping-label texts for the 2D code lists: an order line of about 60 characters.
std::vector<std::string> Texts2D(long long n) {
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(n));
    for (long long i = 0; i < n; ++i) {
        std::string t = "ORDER ";
        for (int k = 0; k < 8; ++k) t += static_cast<char>('0' + digit(rng));
        t += " LOT A" + std::to_string(i) + " SHIP TO 12 HARBOUR ROAD, QUAYSIDE ";
        for (int k = 0; k < 5; ++k) t += static_cast<char>('0' + digit(rng));
        texts.push_back(t);
    }
    return texts;
}

// 2D labels from a code list, 3 x 8 per A4 page, with the library's default symbol settings; `format`
// is the index of the 2D format list (PDF417, MaxiCode, QR Code, Data Matrix ...).
int Print2D(long long labels, const std::string& pdf, int format, bool pictures) {
    const bool maxiCode = format == 1;
    qbm::TLabelProject project;
    project.SetKind(qbm::TBarcodeKind::bk2D);
    project.SetFormat2D(format);
    project.SetSource2D(qbm::T2DSource::tsCodeList);
    project.CodeList2D() = Texts2D(labels);
    OnSheetOfThreeByEight(project);
    qbm::T2DSettings settings;
    settings.MMode = 2; // mode 4, standard symbol
    qbm::TStPDF417Barcode pdf417;
    qbm::TStMaxiCodeBarcode maxi;
    qbm::TLabelPicture label;
    qbm::Apply2DSettings(settings, maxiCode ? qbm::kMaxiCodeFormatItem : qbm::kPdf417FormatItem,
                         project.CodeList2D().front(), pdf417, maxi, label);
    qbm::TPdfPrinter printer(pdf, qbm::TPaperSize::A4(), 600);
    printer.SetPicturesAsRectangles(!pictures);
    qbm::TScriptedPrompts prompts;
    qbm::TStSymbolBarcode symbols;
    if (const auto s = project.Symbol2DSettings()) {
        symbols.SetSettings(*s);
        qbm::Paint2DLabel(symbols, project.CodeList2D().front(), label);
    }
    qbm::TStCustom2DBarcode& symbol = format >= qbm::kFirstSymbolFormat
                                          ? static_cast<qbm::TStCustom2DBarcode&>(symbols)
                                      : maxiCode ? static_cast<qbm::TStCustom2DBarcode&>(maxi)
                                                 : pdf417;
    symbol.SetShapesOnPages(!pictures);
    qbm::TBarcode unused;
    const auto r = qbm::PrintProject(project, printer, unused, &symbol, label.Bitmap, prompts);
    return r.labels == labels ? 0 : 1;
}

int PrintGlabels(long long labels, const std::string& dir) {
    std::ifstream in(QBM_GLABELS_TEMPLATE);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string doc = ss.str();
    const std::string csv = dir + "/codes.csv";
    doc.replace(doc.find("@CSV@"), 5, csv);
    std::ofstream(dir + "/labels.glabels") << doc;
    std::ofstream out(csv);
    out << "code\n";
    for (const auto& c : Codes(labels)) out << c << "\n";
    out.close();
    const std::string cmd =
        "glabels-3-batch -o " + dir + "/glabels.pdf " + dir + "/labels.glabels >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0 ? 0 : 1;
}

double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// zlib at its fastest, set for runs, over rows as PNG stores them (filter byte, then samples): the
// page encoder's former way, kept here as the baseline.
size_t ZlibRows(const QImage& page, bool colour) {
    const int w = page.width();
    const size_t rowBytes = 1 + static_cast<size_t>(w) * (colour ? 3 : 1);
    std::vector<uint8_t> row(rowBytes), out(1 << 20);
    z_stream z{};
    deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE);
    size_t total = 0;
    for (int y = 0; y < page.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (colour) {
                row[1 + 3 * x] = static_cast<uint8_t>(qRed(src[x]));
                row[2 + 3 * x] = static_cast<uint8_t>(qGreen(src[x]));
                row[3 + 3 * x] = static_cast<uint8_t>(qBlue(src[x]));
            } else {
                row[1 + x] = static_cast<uint8_t>(qBlue(src[x]));
            }
        }
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(rowBytes);
        const bool last = y == page.height() - 1;
        int rc = Z_OK;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            rc = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            total += out.size() - z.avail_out;
        } while (z.avail_in > 0 || (last && rc != Z_STREAM_END));
    }
    deflateEnd(&z);
    return total;
}

// One full page of the run, encoded again and again on one core: the page encoder beside zlib.
void EncoderAlone(long long pageLabels) {
    std::vector<qbm::TBitmap> pages;
    {
        qbm::TRasterPrinter printer(qbm::TPaperSize::A4(), 300);
        PrintOurs(pageLabels, printer, 300);
        pages = printer.Pages();
    }
    const qbm::TBitmap& page = pages.front();
    QImage img(page.Width(), page.Height(), QImage::Format_RGB32);
    for (int y = 0; y < page.Height(); ++y)
        for (int x = 0; x < page.Width(); ++x) {
            const qbm::TColor c = page.Pixel(x, y);
            img.setPixel(x, y, qRgb(qbm::RedOf(c), qbm::GreenOf(c), qbm::BlueOf(c)));
        }
    constexpr int kRounds = 20;
    const auto time = [&](const char* who, const std::function<size_t()>& encode) {
        size_t bytes = 0;
        const double start = CpuNow();
        for (int i = 0; i < kRounds; ++i) bytes = encode();
        const double perPage = (CpuNow() - start) / kRounds;
        std::printf("%-22s %7.2f ms CPU a page %8.1f pages/s  %7.1f KiB a page\n", who, perPage * 1e3,
                    1 / std::max(1e-9, perPage), bytes / 1024.0);
        return perPage;
    };
    std::printf("\none page's compression alone, on one core (%d x %d pixels, %zu pages drawn)\n",
                page.Width(), page.Height(), pages.size());
    const double ours = time("qbm png (grey)", [&] { return qbm::EncodePng(page).size(); });
    const double grey = time("zlib rle grey rows", [&] { return ZlibRows(img, false); });
    const double colour = time("zlib rle colour rows", [&] { return ZlibRows(img, true); });
    std::printf("speed-up over zlib: %.1fx on grey rows, %.1fx on colour rows\n", grey / ours, colour / ours);
}

void Report(const char* who, long long labels, const RunFigures& f) {
    std::printf("%-8s %8lld labels  %6.2f s wall %9.0f labels/s  %6.2f s CPU %9.0f labels/s  %7.1f MiB peak  "
                "%6.1f MiB "
                "output%s\n",
                who, labels, f.seconds, labels / f.seconds, f.cpuSeconds,
                labels / std::max(1e-9, f.cpuSeconds), f.peakKiB / 1024.0, f.bytes / 1048576.0,
                f.ok ? "" : "  (FAILED)");
}

// Both 2D symbologies, each as the run chooses (shapes or rectangles) and as pictures.
bool Run2D(long long labels2D, const std::string& dir, bool withPictures, const std::string& only) {
    std::printf("\n2D labels from a code list, 3 x 8 per A4 page, PDF at 600 dpi\n");
    bool ok2D = true;
    const char* const names[] = {"pdf417", "maxicode", "qrcode", "datamatrix"};
    for (int format = 0; format < 4; ++format)
        for (const bool pictures : {false, true}) {
            if (!only.empty() && only != names[format]) continue;
            // QR Code and Data Matrix go out as module rows only.
            if (pictures && (!withPictures || format >= qbm::kFirstSymbolFormat)) continue;
            const std::string out = dir + "/" + names[format] + (pictures ? "-pictures.pdf" : ".pdf");
            const RunFigures f =
                MeasureInChild([&] { return Print2D(labels2D, out, format, pictures); }, out);
            std::printf("%-11s ", pictures ? "pictures" : "automatic");
            Report(names[format], labels2D, f);
            ok2D = ok2D && f.ok;
        }
    return ok2D;
}

} // namespace

int main(int argc, char** argv) {
    long long labels = 10000, large = 100000, pngLabels = 2400, labels2D = 10000;
    bool baseline = true, pngOnly = false, pdfOnly = false, pagesOnly = false, only2D = false;
    bool pictures2D = true;
    std::string format2D; // all four when empty
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--labels" && i + 1 < argc)
            labels = std::atoll(argv[++i]);
        else if (a == "--large" && i + 1 < argc)
            large = std::atoll(argv[++i]);
        else if (a == "--png-labels" && i + 1 < argc)
            pngLabels = std::atoll(argv[++i]);
        else if (a == "--2d-labels" && i + 1 < argc)
            labels2D = std::atoll(argv[++i]);
        else if (a == "--no-baseline")
            baseline = false;
        else if (a == "--png-only")
            pngOnly = true;
        else if (a == "--pdf-only")
            pdfOnly = true;
        else if (a == "--pages-only")
            pagesOnly = true; // the page-file section alone
        else if (a == "--2d-only")
            only2D = true; // the 2D section alone
        else if (a == "--2d-no-pictures")
            pictures2D = false; // 2D symbols as shapes only
        else if (a == "--2d-format" && i + 1 < argc)
            format2D = argv[++i]; // one of them alone, for profiling: pdf417, maxicode, qrcode, datamatrix
    }
    char tmpl[] = "/tmp/qbm-bench-print-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    if (pngOnly) { // for profiling the page pipeline
        const bool ok = PrintPng(pngLabels, dir + "/png", true) == 0;
        if (!std::getenv("QBM_BENCH_KEEP"))
            std::system(("rm -rf " + dir).c_str());
        else
            std::printf("kept %s\n", dir.c_str());
        return ok ? 0 : 1;
    }
    if (only2D) {
        const bool ok = Run2D(labels2D, dir, pictures2D, format2D);
        if (!std::getenv("QBM_BENCH_KEEP"))
            std::system(("rm -rf " + dir).c_str());
        else
            std::printf("kept %s\n", dir.c_str());
        return ok ? 0 : 1;
    }
    if (pdfOnly) { // for profiling the PDF path
        const bool ok = PrintPdf(labels, dir + "/ours.pdf") == 0;
        std::system(("rm -rf " + dir).c_str());
        return ok ? 0 : 1;
    }
    bool pdfOk = true;
    if (!pagesOnly) {
        std::printf("EAN-13 labels from a datasheet, 3 x 8 per A4 page, PDF at 600 dpi\n");
        const RunFigures ours =
            MeasureInChild([&] { return PrintPdf(labels, dir + "/ours.pdf"); }, dir + "/ours.pdf");
        Report("qbm", labels, ours);
        const RunFigures oursLarge =
            MeasureInChild([&] { return PrintPdf(large, dir + "/ours-large.pdf"); }, dir + "/ours-large.pdf");
        Report("qbm", large, oursLarge);
        std::printf("peak memory %lld labels / %lld labels: %.2f\n", large, labels,
                    static_cast<double>(oursLarge.peakKiB) / std::max(1L, ours.peakKiB));
        if (baseline) {
            if (std::system("command -v glabels-3-batch >/dev/null 2>&1") != 0) {
                std::printf(
                    "gLabels baseline: glabels-3-batch is not installed (scripts/bench.sh installs it)\n");
            } else {
                const RunFigures gl =
                    MeasureInChild([&] { return PrintGlabels(labels, dir); }, dir + "/glabels.pdf");
                Report("glabels", labels, gl);
                std::printf("speed-up over gLabels: %.1fx\n", gl.seconds / ours.seconds);
            }
        }
        const bool ok2D = Run2D(labels2D, dir, pictures2D, format2D);
        pdfOk = ours.ok && oursLarge.ok && ok2D;
    }
    const long long pngPages = (pngLabels + 23) / 24;
    std::printf("\nthe same labels as page files, A4 at 300 dpi, %lld labels on %lld pages\n", pngLabels,
                pngPages);
    const auto reportPages = [&](const char* who, const RunFigures& f) {
        std::printf("%-8s %8lld pages   %6.2f s wall %9.1f pages/s   %6.2f s CPU %9.1f pages/s   %7.1f MiB "
                    "peak  %6.1f "
                    "MiB output%s\n",
                    who, pngPages, f.seconds, pngPages / f.seconds, f.cpuSeconds,
                    pngPages / std::max(1e-9, f.cpuSeconds), f.peakKiB / 1024.0, f.bytes / 1048576.0,
                    f.ok ? "" : "  (FAILED)");
    };
    struct TFormatRun {
        const char* who;
        qbm::TPageFormat format;
    };
    RunFigures png;
    bool pagesOk = true;
    for (const TFormatRun& run :
         {TFormatRun{"qbm png", qbm::TPageFormat::Png}, TFormatRun{"qbm pbm", qbm::TPageFormat::Pbm},
          TFormatRun{"qbm tiff", qbm::TPageFormat::Tiff}}) {
        const std::string out = dir + "/" + qbm::PageExtension(run.format);
        RunFigures f =
            MeasureInChild([&] { return PrintPng(pngLabels, out, true, run.format); }, dir + "/none");
        f.bytes = FolderBytes(out, qbm::PageExtension(run.format));
        std::system(("rm -rf " + out).c_str());
        reportPages(run.who, f);
        pagesOk = pagesOk && f.ok;
        if (run.format == qbm::TPageFormat::Png) png = f;
    }
    RunFigures pngQt =
        MeasureInChild([&] { return PrintPng(pngLabels, dir + "/png-qt", false); }, dir + "/none");
    pngQt.bytes = FolderBytes(dir + "/png-qt");
    std::system(("rm -rf " + dir + "/png-qt").c_str());
    reportPages("qt-png", pngQt);
    std::printf(
        "speed-up of PNG pages over one page at a time through Qt's PNG writer: %.1fx wall, %.1fx CPU\n",
        pngQt.seconds / png.seconds, pngQt.cpuSeconds / std::max(1e-9, png.cpuSeconds));
    EncoderAlone(std::min<long long>(pngLabels, 24));
    if (!std::getenv("QBM_BENCH_KEEP"))
        std::system(("rm -rf " + dir).c_str());
    else
        std::printf("kept %s\n", dir.c_str());
    return pdfOk && pagesOk ? 0 : 1;
}
