#include "Code39Workspace.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace qbm {
namespace {

namespace fs = std::filesystem;

// A folder with a template library and a project of `amount` Code 39 labels, 4 on a page.
struct Workspace : test::TCode39Workspace {
    std::string journal = project + ".log";

    explicit Workspace(int amount, int barWidth = 0) : TCode39Workspace(amount, barWidth) {}
    test::TCliRun Run(const std::string& args) const {
        return test::RunQbm(dir, args + " --library " + library);
    }
    std::vector<std::string> JournalLines() const {
        std::ifstream in(journal);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line.substr(line.find('\t') + 1));
        return lines;
    }
    // Starts qbm print with `output` (the rest of its command line), waits until a name in `folder`
    // begins with `started` and the run's process number, and a little longer, stops it with
    // `signalNumber` and gives its exit status.
    int PrintAndStop(const std::vector<std::string>& output, const std::string& folder,
                     const std::string& started, int signalNumber) const {
        const pid_t child = fork();
        if (child == 0) {
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
            freopen((dir + "/cli.err").c_str(), "w", stderr);
            freopen("/dev/null", "w", stdout);
            std::vector<std::string> words = {"qbm", "print", project, "--library", library};
            words.insert(words.end(), output.begin(), output.end());
            std::vector<char*> argv;
            for (std::string& w : words) argv.push_back(w.data());
            argv.push_back(nullptr);
            execv(QBM_CLI_PATH, argv.data());
            _exit(127);
        }
        const auto begun = [&] {
            for (const auto& e : fs::directory_iterator(folder))
                if (e.path().filename().string().rfind(started + std::to_string(child), 0) == 0) return true;
            return false;
        };
        for (int tries = 0; tries < 600 && !started.empty() && !begun(); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(started.empty() ? 3000 : 300));
        kill(child, signalNumber);
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }
};

// A run stopped part-way lists no page in the journal (none came out) and ends with a line saying why.
TEST(QbmStoppedRun, JournalListsNoPageOfAStoppedPdfRun) {
    const Workspace w(300000);
    const std::string pdf = w.dir + "/out.pdf";
    const int status = w.PrintAndStop({"--pdf", pdf}, w.dir, "out.pdf.part-", SIGINT);
    ASSERT_TRUE(WIFSIGNALED(status)) << test::ReadWholeFile(w.dir + "/cli.err");
    EXPECT_FALSE(fs::exists(pdf));
    const std::vector<std::string> lines = w.JournalLines();
    ASSERT_EQ(lines.size(), 1u) << test::ReadWholeFile(w.journal);
    EXPECT_EQ(lines[0].rfind("PDF\trun stopped by a signal after page ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(" was drawn; no page came out"), std::string::npos) << lines[0];
    for (const auto& e : fs::directory_iterator(w.dir))
        EXPECT_EQ(e.path().filename().string().find(".pending"), std::string::npos) << e.path();
}

TEST(QbmStoppedRun, JournalSaysAFullDiskRunFailedAndListsPagesOnlyWhenOut) {
    const Workspace w(60);
    const std::string pdf = w.dir + "/out.pdf";
    // Room for the journal but not for the PDF's pages.
    const test::TCliRun full = test::RunQbmOnFullDisk(
        w.dir, "print " + w.project + " --library " + w.library + " --pdf " + pdf + " --dpi 72", 8);
    EXPECT_EQ(full.exitCode, 1) << full.err;
    std::vector<std::string> lines = w.JournalLines();
    ASSERT_EQ(lines.size(), 1u) << test::ReadWholeFile(w.journal);
    EXPECT_EQ(lines[0].rfind("PDF\trun failed: Cannot write file " + pdf, 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("; no page came out"), std::string::npos) << lines[0];

    const test::TCliRun ok = w.Run("print " + w.project + " --pdf " + pdf);
    ASSERT_EQ(ok.exitCode, 0) << ok.err;
    lines = w.JournalLines();
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[1], "PDF\tpage 1\tlabel 1\tABC\tlabel 4\tABC");
    EXPECT_EQ(lines[15], "PDF\tpage 15\tlabel 57\tABC\tlabel 60\tABC");
}

// A run into a folder of an earlier run's pages that is stopped leaves those pages as they were, with
// nothing of the stopped run beside them.
TEST(QbmStoppedRun, StoppedPageRunKeepsTheEarlierPages) {
    const Workspace earlier(12), longer(400000);
    const std::string pages = earlier.dir + "/pages";
    ASSERT_EQ(
        earlier.Run("print " + earlier.project + " --no-journal --png-dir " + pages + " --dpi 30").exitCode,
        0);
    std::vector<std::string> before;
    for (int n = 1; n <= 3; ++n)
        before.push_back(test::ReadWholeFile(pages + "/page-000" + std::to_string(n) + ".png"));
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const int status = longer.PrintAndStop({"--no-journal", "--png-dir", pages, "--dpi", "30"},
                                               earlier.dir, ".pages.qbm-", signalNumber);
        EXPECT_TRUE(WIFSIGNALED(status)) << signalNumber;
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(pages)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"page-0001.png", "page-0002.png", "page-0003.png"}));
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(test::ReadWholeFile(pages + "/page-000" + std::to_string(n) + ".png"), before[n - 1]);
        for (const auto& e : fs::directory_iterator(earlier.dir))
            EXPECT_EQ(e.path().filename().string().find(".pages.qbm-"), std::string::npos) << e.path();
    }
}

// A page larger than a page picture may be is refused by name; one that cannot be allocated fails the
// run; either way no page is claimed and the earlier pages stay.
TEST(QbmStoppedRun, PagesTooLargeOrWithoutMemoryFailAndKeepTheEarlierPages) {
    const Workspace w(4, 20); // 0.2 mm bars: 19 dots at 2400 dpi
    const std::string pages = w.dir + "/pages";
    ASSERT_EQ(w.Run("print " + w.project + " --png-dir " + pages + " --dpi 30").exitCode, 0);
    const std::string before = test::ReadWholeFile(pages + "/page-0001.png");
    const test::TCliRun huge =
        w.Run("print " + w.project + " --png-dir " + pages + " --paper 1000x1000mm --dpi 2400");
    EXPECT_EQ(huge.exitCode, 1);
    EXPECT_NE(
        huge.err.find("A page of 94488 x 94488 pixels at 2400 dpi is larger than a page picture may be (6000 "
                      "million pixels); choose 1967 dpi or less, or a smaller paper"),
        std::string::npos)
        << huge.err;
    EXPECT_EQ(huge.out, "");
#if defined(__SANITIZE_ADDRESS__)
    // The address sanitizer reserves its shadow memory at start: a process with a memory limit cannot
    // start at all, so the allocation failure is checked in the plain build only.
    GTEST_SKIP() << "a memory limit stops a sanitized qbm before it starts";
#endif
    // A4 at 1400 dpi (760 MB) fits the cap but not a process limited to 700 MB.
    const test::TCliRun starved = test::RunQbmWithMemoryLimit(
        w.dir, "print " + w.project + " --library " + w.library + " --png-dir " + pages + " --dpi 1400",
        700000);
    EXPECT_EQ(starved.exitCode, 1);
    EXPECT_NE(starved.err.find("Not enough memory for a page of 11575 x 16370 pixels"), std::string::npos)
        << starved.err;
    EXPECT_EQ(starved.out, "");
    EXPECT_EQ(test::ReadWholeFile(pages + "/page-0001.png"), before);
    const std::vector<std::string> lines = w.JournalLines();
    ASSERT_EQ(lines.size(), 2u) << "the first run's page and the failed run";
    EXPECT_EQ(lines[1],
              "PNG\trun failed: Not enough memory for a page of 11575 x 16370 pixels; no page came out");
}

// A run of millions of labels says how far its reading back is within seconds, not after a tenth.
TEST(QbmStoppedRun, VerifyingManyLabelsReportsProgressEarly) {
    const Workspace w(20000000);
    const int status =
        w.PrintAndStop({"--no-journal", "--verify", "--pdf", w.dir + "/out.pdf"}, w.dir, "", SIGINT);
    EXPECT_TRUE(WIFSIGNALED(status));
    const std::string err = test::ReadWholeFile(w.dir + "/cli.err");
    EXPECT_NE(err.find("printing 20000000 labels ..."), std::string::npos) << err;
    EXPECT_NE(err.find(" of 20000000 labels\n"), std::string::npos) << err;
}

// A constant code longer than any label is refused by the commands that use it, before its pattern
// is built (a 200 MB code once took 19 GB and minutes).
TEST(QbmStoppedRun, ACodeLongerThanAnyLabelIsRefused) {
    const Workspace w(3);
    TLabelProject p;
    p.SetTemplateName("Code39");
    p.SetLinearSource(TLinearSource::lsConstant);
    p.SetFixedCode(std::string(2000000, 'A'));
    p.SetFixedCodeAmount(3);
    SaveProject(w.project, p, nullptr);
    for (const std::string& command :
         {"labels " + w.project, "print " + w.project + " --pdf " + w.dir + "/out.pdf"}) {
        const test::TCliRun r = w.Run(command);
        EXPECT_EQ(r.exitCode, 1) << command;
        EXPECT_NE(r.err.find("The label would be more than 100000 pixels wide, more than a label picture can "
                             "hold; the code has "
                             "2000000 characters."),
                  std::string::npos)
            << r.err.substr(0, 300);
        EXPECT_EQ(r.out, "") << command;
    }
    EXPECT_FALSE(fs::exists(w.dir + "/out.pdf"));
}

TEST(QbmStoppedRun, AJournalThatIsNotARegularFileIsRefused) {
    const Workspace w(4);
    ASSERT_EQ(mkfifo(w.journal.c_str(), 0600), 0);
    const test::TCliRun r = w.Run("print " + w.project + " --pdf " + w.dir + "/out.pdf");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Cannot write the print journal \"" + w.journal + "\": not a regular file"),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(w.dir + "/out.pdf"));
}

} // namespace
} // namespace qbm
