#pragma once
// Runs the built qbm tool in a test: exit code, stdout and stderr.

#include "TestSupport.h"

#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace qbm::test {

struct TCliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `args` is appended to the command line as it stands (quote paths with blanks yourself);
// `dir` receives the captured output files.
inline TCliRun RunQbm(const std::string& dir, const std::string& args) {
    const std::string cmd =
        std::string(QBM_CLI_PATH) + " " + args + " >" + dir + "/cli.out 2>" + dir + "/cli.err";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(dir + "/cli.out"),
            ReadWholeFile(dir + "/cli.err")};
}

// The same with every file the tool writes limited to `blocks` x 512 bytes: a write beyond the limit
// fails as on a full disk (the signal that would end the tool instead is ignored), which needs
// neither a small file system nor root.
inline TCliRun RunQbmOnFullDisk(const std::string& dir, const std::string& args, int blocks = 1) {
    const std::string cmd = "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; " +
                            std::string(QBM_CLI_PATH) + " " + args + " >" + dir + "/cli.out 2>" + dir +
                            "/cli.err";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(dir + "/cli.out"),
            ReadWholeFile(dir + "/cli.err")};
}

// The same with the tool's address space limited to `kilobytes`: an allocation beyond it fails as
// when memory runs out.
inline TCliRun RunQbmWithMemoryLimit(const std::string& dir, const std::string& args, long kilobytes) {
    const std::string cmd = "ulimit -v " + std::to_string(kilobytes) + "; " + std::string(QBM_CLI_PATH) +
                            " " + args + " >" + dir + "/cli.out 2>" + dir + "/cli.err";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(dir + "/cli.out"),
            ReadWholeFile(dir + "/cli.err")};
}

// The same, also giving the tool's peak resident memory in kilobytes (its own, as the kernel counts
// it when the process ends).
struct TMeasuredCliRun : TCliRun {
    long peakKilobytes = 0;
};
inline TMeasuredCliRun RunQbmMeasured(const std::string& dir, const std::string& args) {
    const std::string cmd =
        "exec " + std::string(QBM_CLI_PATH) + " " + args + " >" + dir + "/cli.out 2>" + dir + "/cli.err";
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", cmd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    TMeasuredCliRun r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadWholeFile(dir + "/cli.out");
    r.err = ReadWholeFile(dir + "/cli.err");
    r.peakKilobytes = usage.ru_maxrss;
    return r;
}

// One shell word, whatever the argument holds.
inline std::string ShellQuote(const std::string& s) {
    std::string r = "'";
    for (const char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

// The same with the arguments passed as they are, each quoted.
inline TCliRun RunQbm(const std::string& dir, const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args) line += (line.empty() ? "" : " ") + ShellQuote(a);
    return RunQbm(dir, line);
}

} // namespace qbm::test
