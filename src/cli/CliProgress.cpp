#include "cli/CliProgress.h"

#include <iostream>

namespace qbm::cli {
namespace {

constexpr auto kQuietFor = std::chrono::seconds(1);

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
    }
    if (Clock::now() - m_started < kQuietFor) return;
    const long long tenth = done * 10 / total;
    if (tenth > m_tenth || done == total || !m_said) {
        m_tenth = tenth;
        Write(line);
    }
}

void TRunProgress::Write(const std::string& line) {
    std::cerr << line << std::endl;
    m_said = true;
}

} // namespace qbm::cli
