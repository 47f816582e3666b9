#pragma once
// Runs the built qbm tool in a test: exit code, stdout and stderr.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace qbm::test {

struct TCliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// `args` is appended to the command line as it stands (quote paths with blanks yourself);
// `dir` receives the captured output files.
inline TCliRun RunQbm(const std::string& dir, const std::string& args) {
    const std::string cmd = std::string(QBM_CLI_PATH) + " " + args + " >" + dir + "/cli.out 2>" + dir + "/cli.err";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadWholeFile(dir + "/cli.out"),
            ReadWholeFile(dir + "/cli.err")};
}

} // namespace qbm::test
