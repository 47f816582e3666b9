#pragma once
// A benchmark's work run in a child process, so that its peak memory is its own: wall and processor
// time, peak resident memory and the size of the file it wrote.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

namespace qbm::bench {

struct RunFigures {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0; // user + system time of the run
    long peakKiB = 0;
    long long bytes = 0;
};

// Runs `work` in a child process so its peak memory is its own.
inline RunFigures MeasureInChild(const std::function<int()>& work, const std::string& output) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) _exit(work());
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    RunFigures f;
    f.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    f.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    f.peakKiB = usage.ru_maxrss;
    f.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                   usage.ru_stime.tv_usec / 1e6;
    struct stat st {};
    if (stat(output.c_str(), &st) == 0) f.bytes = st.st_size;
    return f;
}

} // namespace qbm::bench
