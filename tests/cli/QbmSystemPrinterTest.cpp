// Printing through a real system printer: a CUPS queue whose printer writes PDF files (cups-pdf),
// set up by scripts/cups-queue.sh. The labels that come out are read back with a barcode decoder.

#include "project/ProjectFile.h"
#include "project/TLabelProject.h"
#include "templates/TemplateLibrary.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <QImage>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>

namespace qbm {
namespace {

namespace fs = std::filesystem;

constexpr const char* kQueue = "QBM_PDF";

// Where cups-pdf puts the jobs of this user: its "Out" setting, ${HOME} being the user's home.
fs::path CupsPdfOutput() {
    std::ifstream conf("/etc/cups/cups-pdf.conf");
    std::string line, out = "${HOME}/PDF";
    const std::regex setting(R"(^\s*Out\s+(\S+))");
    std::smatch m;
    while (std::getline(conf, line))
        if (std::regex_search(line, m, setting)) out = m[1];
    const passwd* user = ::getpwuid(::getuid());
    const std::string home = user ? user->pw_dir : "";
    if (const auto at = out.find("${HOME}"); at != std::string::npos) out.replace(at, 7, home);
    if (const auto at = out.find("${USER}"); at != std::string::npos)
        out.replace(at, 7, user ? user->pw_name : "");
    return out;
}

// The queue names its files after the job's title, so a new job may replace an older file: a job
// of this run is a PDF written since it started.
fs::path PdfWrittenSince(const fs::path& dir, fs::file_time_type start) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.path().extension() == ".pdf" && e.last_write_time(ec) >= start) return e.path();
    return {};
}

TEST(QbmSystemPrinter, EveryLabelPrintedOnTheQueueScansAsItsDatasheetValue) {
    if (std::system((std::string("lpstat -p ") + kQueue + " >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "no print queue " << kQueue << " (scripts/cups-queue.sh sets it up as root)";

    const std::string dir = test::MakeTempDir();
    WriteDefaultTemplates(dir + "/Templates.dat");
    const std::vector<std::string> codes = {"QBM-1001", "QBM-1002", "QBM-1003", "QBM-1004", "QBM-1005"};
    TLabelProject p;
    p.SetTemplateName("Code128B");
    p.SetLinearSource(TLinearSource::lsDatasheet);
    p.Datasheet().SetRowCount(int(codes.size()) + 1);
    for (int r = 1; r <= int(codes.size()); ++r) p.Datasheet().SetCell(1, r, codes[r - 1]);
    p.RebuildFieldList(kFieldPlaceholderDatasheet);
    p.SetCodeField(1);
    SaveProject(dir + "/labels.bpj", p, nullptr);

    const fs::path out = CupsPdfOutput();
    const fs::file_time_type start = fs::file_time_type::clock::now() - std::chrono::seconds(1);
    const test::TCliRun run = test::RunQbm(
        dir, {"print", dir + "/labels.bpj", "--printer", kQueue, "--library", dir + "/Templates.dat"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The queue converts and writes the job on its own time.
    fs::path job;
    for (int i = 0; i < 600 && job.empty(); ++i) {
        if (std::system((std::string("test -z \"$(lpstat -o ") + kQueue + ")\"").c_str()) == 0)
            job = PdfWrittenSince(out, start);
        if (job.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(job.empty()) << "nothing arrived in " << out;

    std::multiset<std::string> read;
    for (const QImage& page : test::RasterisePdf(job.string(), 200))
        for (const std::string& text : test::DecodeAll(page, ZXing::BarcodeFormat::Code128))
            read.insert(text);
    fs::remove(job);
    EXPECT_EQ(read, std::multiset<std::string>(codes.begin(), codes.end()));
}

} // namespace
} // namespace qbm
