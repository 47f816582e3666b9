// Verification benchmark: labels read back per second for EAN-13, Code 128, PDF417 and MaxiCode at
// 600 dpi, on all cores and on one, beside the rate at which the same labels are only drawn; then
// `qbm print --verify` on the 10,000-label EAN-13 project beside `qbm print` of the same project.
//
//   qbm_bench_verify [--labels N] [--project-labels N]

#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "barcode2d/TStMaxiCodeBarcode.h"
#include "barcode2d/TStPDF417Barcode.h"
#include "data/TDatasheet.h"
#include "output/TLabelVerifier.h"
#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "surface/GuiApplication.h"
#include "templates/TemplateLibrary.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// CPU seconds of the whole process: beside the wall time, the figure a busy machine does not spoil.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

class CodeFeed : public qbm::TLabelFeed {
public:
    explicit CodeFeed(std::vector<std::string> codes) : m_codes(std::move(codes)) {}
    long long Count() const override { return static_cast<long long>(m_codes.size()); }
    long long FirstIndex() const override { return 0; }
    qbm::TLabelValue Value(long long i) override { return {m_codes[static_cast<size_t>(i)], ""}; }

private:
    std::vector<std::string> m_codes;
};

std::vector<std::string> Codes(long long n, const std::string& alphabet, int length) {
    std::mt19937 rng(20261209);
    std::vector<std::string> codes;
    for (long long i = 0; i < n; ++i) {
        std::string c;
        for (int k = 0; k < length; ++k) c += alphabet[rng() % alphabet.size()];
        codes.push_back(c);
    }
    return codes;
}

struct Symbology {
    const char* name;
    std::vector<std::string> codes;
    // A verifier for the labels, and the drawing of one label alone (the baseline).
    std::function<std::unique_ptr<qbm::TLabelVerifier>()> verifier;
    std::function<void(const std::string&)> draw;
};

void Measure(const Symbology& s) {
    CodeFeed feed(s.codes);
    const long long n = feed.Count();
    auto start = Clock::now();
    for (const std::string& c : s.codes) s.draw(c);
    const double drawn = n / Seconds(start);
    double rates[2] = {0, 0};
    double cpuPerLabel = 0;
    long long failed = 0;
    std::string firstFailures;
    const int threads[2] = {static_cast<int>(std::max(1u, std::thread::hardware_concurrency())), 1};
    for (int k = 0; k < 2; ++k) {
        auto v = s.verifier();
        v->SetThreads(threads[k]);
        start = Clock::now();
        const double cpuStart = CpuSeconds();
        const qbm::TVerifyReport report = v->Verify(feed, 0, n - 1);
        rates[k] = n / Seconds(start);
        if (threads[k] == 1) cpuPerLabel = (CpuSeconds() - cpuStart) / n;
        failed += report.failed;
        if (report.failed && firstFailures.empty()) firstFailures = qbm::VerifyFailuresMessage(report, false);
    }
    std::printf(
        "%-9s %6lld labels  verified %8.0f labels/s (%d threads)  %8.0f labels/s (1 thread, %.1f ms CPU "
        "a label)  drawn only %8.0f labels/s%s\n",
        s.name, n, rates[0], threads[0], rates[1], cpuPerLabel * 1000, drawn, failed ? "  (FAILURES)" : "");
    // A benchmark of a verification that fails measures the wrong thing: say which labels.
    if (!firstFailures.empty()) std::printf("%s\n", firstFailures.c_str());
}

// Runs qbm and returns its wall time; its stderr goes through.
double RunQbm(const std::string& args) {
    const auto start = Clock::now();
    const std::string cmd = std::string(QBM_CLI) + " " + args + " >/dev/null";
    if (std::system(cmd.c_str()) != 0) std::printf("  (qbm failed: %s)\n", args.c_str());
    return Seconds(start);
}

void ProjectRun(long long labels) {
    char tmpl[] = "/tmp/qbm-bench-verify-XXXXXX";
    const std::string dir = mkdtemp(tmpl);
    const std::string library = dir + "/Templates.dat", project = dir + "/labels.bpj";
    qbm::WriteDefaultTemplates(library);
    qbm::TLabelProject p;
    p.SetTemplateName("EAN13 (ISBN)");
    p.SetLinearSource(qbm::TLinearSource::lsDatasheet);
    qbm::TDatasheet& sheet = p.Datasheet();
    sheet.Reset(2, static_cast<int>(labels) + 1);
    sheet.SetCell(1, 0, "code");
    // The template adds no check digit: each value carries its own.
    const auto codes = Codes(labels, "0123456789", 12);
    for (long long i = 0; i < labels; ++i) {
        const std::string& c = codes[static_cast<size_t>(i)];
        sheet.SetCell(1, static_cast<int>(i + 1), c + qbm::Modulo10CheckDigit(c));
    }
    p.RebuildFieldList(qbm::kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    p.SetLinage(8);
    p.SetColumn(3);
    qbm::SaveProject(project, p, nullptr);
    const std::string common =
        "print " + project + " --library " + library + " --no-journal --pdf " + dir + "/out.pdf";
    std::printf("qbm print, %lld EAN-13 labels from a datasheet, 3 x 8 a page, PDF at 600 dpi\n", labels);
    const double plain = RunQbm(common);
    std::printf("  qbm print           %8.2f s  %8.0f labels/s\n", plain, labels / plain);
    const double verified = RunQbm(common + " --verify");
    std::printf("  qbm print --verify  %8.2f s  %8.0f labels/s (reading back and printing)\n", verified,
                labels / verified);
    std::system(("rm -rf " + dir).c_str());
}

} // namespace

int main(int argc, char** argv) {
    long long labels = 2000, projectLabels = 10000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--labels" && i + 1 < argc)
            labels = std::atoll(argv[++i]);
        else if (a == "--project-labels" && i + 1 < argc)
            projectLabels = std::atoll(argv[++i]);
    }
    qbm::EnsureGuiApplication();
    constexpr int dpi = 600;
    auto linear = [&](const char* name, qbm::TBarcodeType type, int modul, const std::string& alphabet,
                      int length) {
        auto bc = std::make_shared<qbm::TBarcode>();
        bc->SetTyp(type);
        bc->SetChecksum(true);
        bc->SetModul(modul);
        bc->SetHeight(540);
        bc->SetShowText(qbm::bcoCode);
        qbm::TFont font;
        font.SetName("DejaVu Sans");
        font.SetPixelsPerInch(dpi);
        font.SetSize(8);
        bc->SetShowTextFont(font);
        return Symbology{name, Codes(labels, alphabet, length),
                         [bc] { return std::make_unique<qbm::TLabelVerifier>(*bc); },
                         [bc](const std::string& c) {
                             bc->SetText(c);
                             qbm::RenderBarcode(*bc, 10 * bc->Modul(), qbm::TBitmapPixels::Grey);
                         }};
    };
    auto twoD = [&](const char* name, std::shared_ptr<qbm::TStCustom2DBarcode> bc, bool maxi, int length) {
        return Symbology{name, Codes(labels / 4, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ", length),
                         [bc, maxi] { return std::make_unique<qbm::TLabelVerifier>(*bc, 600, 600, maxi); },
                         [bc](const std::string& c) {
                             bc->SetCode(c);
                             qbm::SizeToSymbol(*bc);
                             qbm::TBitmap picture;
                             bc->RenderToBitmap(picture, 600, 600);
                         }};
    };
    std::printf("labels drawn at %d dpi and read back (EAN-13 module 8 dots, Code 128 module 4 dots)\n", dpi);
    Measure(linear("EAN-13", qbm::bcCodeEAN13, 8, "0123456789", 12));
    Measure(linear("Code 128", qbm::bcCode128B, 4, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-", 16));
    Measure(twoD("PDF417", std::make_shared<qbm::TStPDF417Barcode>(), false, 60));
    Measure(twoD("MaxiCode", std::make_shared<qbm::TStMaxiCodeBarcode>(), true, 40));
    ProjectRun(projectLabels);
    return 0;
}
