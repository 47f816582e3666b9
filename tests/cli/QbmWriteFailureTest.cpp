#include "Code39Workspace.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace qbm {
namespace {

namespace fs = std::filesystem;

struct Workspace : test::TCode39Workspace {
    explicit Workspace(int amount = 8) : TCode39Workspace(amount) {}
    // Names in the folder other than the files the workspace made and the captured output.
    std::vector<std::string> Strays() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string n = e.path().filename().string();
            if (n != "Templates.dat" && n != "p.bpj" && n != "cli.out" && n != "cli.err" &&
                n.rfind("old.", 0) != 0)
                names.push_back(n);
        }
        return names;
    }
};

TEST(QbmWriteFailure, FullDiskKeepsThePreviousFileAndFails) {
    const Workspace w;
    const std::string lib = " --library " + w.library;
    const struct {
        std::string file;
        std::string args;
    } cases[] = {
        /* 0 */ {"old.png", "render bcCode128B HELLOWORLD --modul 4 --out "},
        /* 1 */ {"old.pdf", "render bcCode128B HELLOWORLD --out "},
        /* 2 */ {"old.svg", "render bcCode128B HELLOWORLD --out "},
        /* 3 */ {"old.bmp", "render bcCode128B HELLOWORLD --out "},
        /* 4 */ {"old.png", "label Code39 ABC" + lib + " --out "},
        /* 5 */ {"old.png", "pdf417 " + std::string(300, '7') + " --out "},
        /* 6 */ {"old.png", "maxicode HELLOWORLD --out "},
        /* 7 */ {"old.png", "preview " + w.project + lib + " --out "},
        /* 8 */ {"old.pdf", "print " + w.project + lib + " --no-journal --pdf "},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string path = w.dir + "/" + c.file;
        test::WriteWholeFile(path, "previous content");
        const test::TCliRun r = test::RunQbmOnFullDisk(w.dir, c.args + path);
        EXPECT_EQ(r.exitCode, 1) << "case " << i << ": " << r.out << r.err;
        EXPECT_NE(r.err.find("Cannot write file " + path), std::string::npos)
            << "case " << i << ": " << r.err;
        EXPECT_EQ(r.out.find("wrote"), std::string::npos) << "case " << i;
        EXPECT_EQ(test::ReadWholeFile(path), "previous content") << "case " << i;
        EXPECT_EQ(w.Strays(), std::vector<std::string>{}) << "case " << i << ": temporary files left";
    }
}

TEST(QbmWriteFailure, StoppedPrintRunLeavesNoTemporaryFile) {
    const Workspace w(200000);
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const std::string out = w.dir + "/old.pdf";
        test::WriteWholeFile(out, "previous content");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A hang-up ignored by whoever started the tests (nohup) would otherwise stay ignored here.
            for (const int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, SIG_DFL);
            const std::string err = w.dir + "/cli.err";
            freopen(err.c_str(), "w", stderr);
            freopen("/dev/null", "w", stdout);
            execl(QBM_CLI_PATH, "qbm", "print", w.project.c_str(), "--library", w.library.c_str(),
                  "--no-journal", "--pdf", out.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const std::string part = out + ".part-" + std::to_string(child);
        for (int tries = 0; tries < 600 && !fs::exists(part); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(fs::exists(part)) << "the run never started writing";
        kill(child, signalNumber);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << "signal " << signalNumber;
        EXPECT_FALSE(fs::exists(part)) << "signal " << signalNumber;
        EXPECT_EQ(test::ReadWholeFile(out), "previous content");
        EXPECT_EQ(w.Strays(), std::vector<std::string>{}) << "signal " << signalNumber;
    }
}

} // namespace
} // namespace qbm
