#include "cli/CliProgress.h"

#include <iostream>

namespace qbm::cli {
namespace {

constexpr auto kQuietFor = std::chrono::seconds(1);
// A run of hundreds of millions of labels moves a tenth in minutes: it still says how far it is.
constexpr auto kSilentAtMost = std::chrono::seconds(5);

} // namespace

TRunProgress::TRunProgress(std::string opening) : m_opening(std::move(opening)) {
    m_watch = std::thread([this] {
        std::unique_lock lock(m_mutex);
        if (m_ended.wait_until(lock, m_started + kQuietFor, [this] { return m_finished; })) return;
        if (!m_said) Write(m_opening);
    });
}

TRunProgress::~TRunProgress() {
    {
        const std::lock_guard lock(m_mutex);
        m_finished = true;
    }
    m_ended.notify_all();
    m_watch.join();
}

void TRunProgress::Report(const std::string& phase, long long done, long long total,
                          const std::string& line) {
    if (total <= 0) return;
    const std::lock_guard lock(m_mutex);
    if (phase != m_phase) {
        m_phase = phase;
        m_tenth = 0;
        m_phaseSaid = false;
    }
    const Clock::time_point now = Clock::now();
    if (now - m_started < kQuietFor) return;
    const long long tenth = done * 10 / total;
    if (tenth > m_tenth || done == total || !m_phaseSaid || now - m_lastLine >= kSilentAtMost) {
        m_tenth = tenth;
        m_phaseSaid = true;
        Write(line);
    }
}

void TRunProgress::Write(const std::string& line) {
    std::cerr << line << std::endl;
    m_said = true;
    m_lastLine = Clock::now();
}

} // namespace qbm::cli
