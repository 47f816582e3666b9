#include "util/IsolatedRun.h"

#include "util/Errors.h"

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace qbm {
namespace {

bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

TIsolatedResult
RunIsolated(const std::function<void(const std::function<void(const void*, size_t)>& write)>& work) {
    int fds[2];
    if (::pipe(fds) != 0) throw EInOutError("Cannot start a reader process");
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw EInOutError("Cannot start a reader process");
    }
    if (pid == 0) {
        ::close(fds[0]);
        // A reader that stops early must not leave the child blocked on a full pipe.
        ::signal(SIGPIPE, SIG_DFL);
        int status = 0;
        try {
            work([&](const void* data, size_t size) {
                if (!WriteAll(fds[1], data, size)) ::_exit(3);
            });
        } catch (...) {
            status = 2;
        }
        // _exit: the child leaves without running the parent's exit handlers or flushing its streams.
        ::_exit(status);
    }
    ::close(fds[1]);
    TIsolatedResult result;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

} // namespace qbm
