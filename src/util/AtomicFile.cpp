#include "util/AtomicFile.h"

#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace qbm {
namespace {

[[noreturn]] void Fail(int error, const std::string& tempPath) {
    if (!tempPath.empty()) ::unlink(tempPath.c_str());
    throw EInOutError(InOutErrorMessage(error));
}

// A symbolic link stays a link: the file it points to is the one replaced.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

void WriteAll(int fd, std::string_view content, const std::string& tempPath) {
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            Fail(error, tempPath);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

} // namespace

std::string InOutErrorMessage(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    case ENOENT:
        return "Path not found";
    default:
        return "I/O error " + std::to_string(error);
    }
}

bool ReadFileIfExists(const std::string& path, std::string& content) {
    content.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throw EInOutError(InOutErrorMessage(errno));
    }
    if (S_ISDIR(st.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw EInOutError(InOutErrorMessage(errno));
    if (S_ISREG(st.st_mode) && st.st_size > 0) content.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            content.clear();
            throw EInOutError(InOutErrorMessage(error));
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = ResolveTarget(path);
    // A device or pipe named as the target (/dev/stdout) receives the content itself; renaming a
    // file over it would replace the device.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) Fail(errno, {});
        WriteAll(fd, content, {});
        if (::close(fd) != 0) Fail(errno, {});
        return;
    }
    // The name is registered before the file exists, so that a stop at any moment leaves nothing behind.
    std::string temp;
    std::optional<TTempFileGuard> guard;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        guard.emplace(temp);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt >= 1000)) Fail(errno, {});
    }

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);

    WriteAll(fd, content, temp);
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(error, temp);
    }
    if (::close(fd) != 0) Fail(errno, temp);
    if (::rename(temp.c_str(), target.c_str()) != 0) Fail(errno, temp);
}

} // namespace qbm
