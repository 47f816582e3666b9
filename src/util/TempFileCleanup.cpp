#include "util/TempFileCleanup.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
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

void OnStopSignal(int signalNumber) {
    for (TSlot& slot : g_slots)
        if (slot.state.load() == kHeld) ::unlink(slot.path);
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
