// Label-design benchmark: shelf labels of a design (an EAN-13 of the row's code, the row's name and
// price as merge texts, a logo picture) printed to PDF at 600 dpi, 3 x 8 a page, beside the classic
// label (the EAN-13 alone) of the same rows in the same run. Labels per second for 10,000 labels;
// peak memory for 10,000 and 100,000 (a run's memory stays flat when the second is at most 1.5
// times the first).
//
//   qbm_bench_design [--labels N] [--large N]

#include "app/ProjectPrinting.h"
#include "barcode/TBarcode.h"
#include "data/TDatasheet.h"
#include "design/DesignJson.h"
#include "project/TLabelProject.h"
#include "surface/TBitmap.h"
#include "surface/TPdfPrinter.h"
#include "util/TUserPrompts.h"

#include "ChildRun.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using qbm::bench::MeasureInChild;
using qbm::bench::RunFigures;

// A 256 x 256 logo with colour and soft edges, as a shop's logo file is.
std::vector<uint8_t> Logo() {
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 30, 40));
    painter.drawEllipse(8, 8, 240, 240);
    painter.setBrush(Qt::white);
    painter.drawRect(70, 110, 116, 36);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.begin(), bytes.end()};
}

const char* kDesign = R"({"objects": [
    {"type": "text", "x_mm": 3, "y_mm": 2, "width_mm": 50, "height_mm": 7, "value": "{Name}", "size_pt": 14,
     "bold": true},
    {"type": "text", "x_mm": 3, "y_mm": 9, "width_mm": 40, "height_mm": 6, "value": "{Price} €", "size_pt": 12},
    {"type": "image", "x_mm": 56, "y_mm": 2, "width_mm": 12, "height_mm": 12, "file": "logo.png"},
    {"type": "barcode", "x_mm": 3, "y_mm": 15, "width_mm": 64, "height_mm": 20, "value": "{Code}",
     "symbology": "bcCodeEAN13"}]})";

int Print(long long labels, const std::string& pdf, bool design) {
    qbm::TLabelProject project;
    qbm::TDatasheet& sheet = project.Datasheet();
    sheet.Reset(4, static_cast<int>(labels) + 1);
    sheet.SetCell(1, 0, "Code");
    sheet.SetCell(2, 0, "Name");
    sheet.SetCell(3, 0, "Price");
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> digit(0, 9);
    static const char* const kNames[] = {"Käse", "Brot", "Äpfel", "Milch 1 l", "Butter", "Kaffee 500 g"};
    for (long long i = 0; i < labels; ++i) {
        std::string code(12, '0');
        for (char& c : code) c = static_cast<char>('0' + digit(rng));
        const int row = static_cast<int>(i + 1);
        sheet.SetCell(1, row, code);
        sheet.SetCell(2, row, kNames[i % 6]);
        sheet.SetCell(3, row, std::to_string(1 + i % 9) + "," + std::to_string(10 + i % 90));
    }
    project.SetLinearSource(qbm::TLinearSource::lsDatasheet);
    project.RebuildFieldList(qbm::kFieldPlaceholderDatasheet);
    project.SetCodeField(1);
    project.SetLinage(8);
    project.SetColumn(3);
    project.SetMarginLeft(0);
    project.SetMarginRight(0);
    project.SetMarginTop(0);
    project.SetMarginBottom(0);
    project.SetSplitMarks(false);
    if (design) {
        const std::vector<uint8_t> logo = Logo();
        project.SetDesign(qbm::DesignFromJson(kDesign, [&](const std::string&) { return logo; }));
    }

    // The classic label: an EAN-13 at its nominal size, module 0.33 mm, bars 22.85 mm.
    qbm::TBarcode main;
    main.SetTyp(qbm::bcCodeEAN13);
    main.SetModul(8);
    main.SetHeight(540);
    main.SetShowText(qbm::bcoCode);
    qbm::TFont font;
    font.SetName("DejaVu Sans");
    font.SetPixelsPerInch(600);
    font.SetSize(8);
    main.SetShowTextFont(font);

    qbm::TPdfPrinter printer(pdf, qbm::TPaperSize::A4(), 600);
    qbm::TBitmap picture(600, 600);
    qbm::TScriptedPrompts prompts;
    qbm::TPrintRunOptions options;
    options.verify = false;
    const auto r = qbm::PrintProject(project, printer, main, nullptr, picture, prompts, {}, {}, options);
    return r.labels == labels ? 0 : 1;
}

void Report(const char* what, long long labels, const RunFigures& f) {
    std::printf("%-34s %8lld labels %8.3f s %10.0f labels/s (CPU %9.0f/s) %8.1f MB PDF, peak %7.1f MB%s\n",
                what, labels, f.seconds, labels / f.seconds, labels / f.cpuSeconds, f.bytes / 1e6,
                f.peakKiB / 1024.0, f.ok ? "" : "  FAILED");
}

} // namespace

int main(int argc, char** argv) {
    long long labels = 10000, large = 100000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == "--labels") labels = std::atoll(argv[i + 1]);
        if (std::string(argv[i]) == "--large") large = std::atoll(argv[i + 1]);
    }
    char dirTemplate[] = "/tmp/qbm-bench-design-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    const std::string designPdf = dir + "/design.pdf", classicPdf = dir + "/classic.pdf";
    const RunFigures design = MeasureInChild([&] { return Print(labels, designPdf, true); }, designPdf);
    const RunFigures classic = MeasureInChild([&] { return Print(labels, classicPdf, false); }, classicPdf);
    const RunFigures designLarge = MeasureInChild([&] { return Print(large, designPdf, true); }, designPdf);
    Report("design (name, price, logo, EAN-13)", labels, design);
    Report("classic EAN-13 label (baseline)", labels, classic);
    Report("design, large run", large, designLarge);
    std::printf("\n%-46s %12s %12s %7s\n", "", "design", "baseline", "ratio");
    std::printf("%-46s %12.0f %12.0f %7.2f\n", "labels per second, 10,000 labels (wall)",
                labels / design.seconds, labels / classic.seconds, classic.seconds / design.seconds);
    std::printf("%-46s %12.1f %12.1f %7.2f\n", "peak MB, 100,000 labels beside 10,000",
                designLarge.peakKiB / 1024.0, design.peakKiB / 1024.0,
                1.0 * designLarge.peakKiB / design.peakKiB);
    std::system(("rm -rf " + dir).c_str());
    return design.ok && classic.ok && designLarge.ok ? 0 : 1;
}
