#include "util/TempFileCleanup.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace qbm {
namespace {

// The handler may only read plain memory and call unlink, so paths live in fixed slots whose state
// is a lock-free atomic: free, being filled, or holding a path.
constexpr int kSlots = 64;
enum : int { kFree, kFilling, kHeld };

struct TSlot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
};

TSlot g_slots[kSlots];
TSlot g_folder;

// The note is written from one of two buffers, so that a new text can be filled in while the handler
// may be reading the other.
constexpr size_t kNoteSize = 1024;
struct TNote {
    std::atomic<int> state{kFree};
    char path[PATH_MAX];
    char text[2][kNoteSize];
    size_t length[2] = {0, 0};
    std::atomic<int> current{0};
};
TNote g_note;

// Removes the files of a folder; only system calls, as a handler may make.
void RemoveFilesIn(const char* path) {
    const int dir = ::open(path, O_RDONLY | O_DIRECTORY);
    if (dir < 0) return;
    alignas(8) char buffer[4096];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, dir, buffer, sizeof buffer);
        if (n <= 0) break;
        for (long at = 0; at < n;) {
            struct Entry {
                unsigned long long ino;
                long long off;
                unsigned short reclen;
                unsigned char type;
                char name[1];
            };
            const auto* e = reinterpret_cast<const Entry*>(buffer + at);
            const bool dots =
                e->name[0] == '.' && (e->name[1] == 0 || (e->name[1] == '.' && e->name[2] == 0));
            if (!dots) ::unlinkat(dir, e->name, 0);
            at += e->reclen;
        }
    }
    ::close(dir);
}

// The program's other threads go on while the handler runs and may add a file meanwhile: the folder
// is emptied again until it can be removed.
void RemoveFolder(const char* path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        RemoveFilesIn(path);
        if (::rmdir(path) == 0 || errno == ENOENT) return;
    }
}

void WriteNote() {
    const int which = g_note.current.load();
    const int fd = ::open(g_note.path, O_WRONLY | O_APPEND | O_NONBLOCK);
    if (fd < 0) return;
    [[maybe_unused]] const auto written = ::write(fd, g_note.text[which], g_note.length[which]);
    ::close(fd);
}

void OnStopSignal(int signalNumber) {
    for (TSlot& slot : g_slots)
        if (slot.state.load() == kHeld) ::unlink(slot.path);
    if (g_folder.state.load() == kHeld) RemoveFolder(g_folder.path);
    if (g_note.state.load() == kHeld) WriteNote();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

TTempFileGuard::TTempFileGuard(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].state.store(kHeld);
        m_slot = i;
        return;
    }
}

TTempFileGuard::~TTempFileGuard() {
    if (m_slot >= 0) g_slots[m_slot].state.store(kFree);
}

TTempFolderGuard::TTempFolderGuard(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    int expected = kFree;
    if (!g_folder.state.compare_exchange_strong(expected, kFilling)) return;
    std::memcpy(g_folder.path, path.c_str(), path.size() + 1);
    g_folder.state.store(kHeld);
    m_held = true;
}

TTempFolderGuard::~TTempFolderGuard() {
    if (m_held) g_folder.state.store(kFree);
}

TSignalNote::TSignalNote(const std::string& path, const std::string& line) {
    if (path.size() >= PATH_MAX) return;
    int expected = kFree;
    if (!g_note.state.compare_exchange_strong(expected, kFilling)) return;
    std::memcpy(g_note.path, path.c_str(), path.size() + 1);
    m_held = true;
    Set(line);
    g_note.state.store(kHeld);
}

TSignalNote::~TSignalNote() {
    if (m_held) g_note.state.store(kFree);
}

void TSignalNote::Set(const std::string& line) {
    if (!m_held) return;
    const int next = 1 - g_note.current.load();
    const size_t length = std::min(line.size(), kNoteSize);
    std::memcpy(g_note.text[next], line.data(), length);
    g_note.length[next] = length;
    g_note.current.store(next);
}

void RemoveTempFilesOnSignals() {
    static_assert(std::atomic<int>::is_always_lock_free);
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
        // A signal the caller chose to ignore (nohup) stays ignored.
        struct sigaction old {};
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(s, &action, nullptr);
    }
}

} // namespace qbm
