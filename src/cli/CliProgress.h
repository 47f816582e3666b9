#pragma once
// Progress lines of long runs on stderr. A run says it is under way within a second of its start,
// also while it is still checking its labels before the first page, and then how far it is.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace qbm::cli {

class TRunProgress {
public:
    // `opening` is the line written when a second has passed and nothing was reported yet.
    explicit TRunProgress(std::string opening);
    ~TRunProgress();
    TRunProgress(const TRunProgress&) = delete;
    TRunProgress& operator=(const TRunProgress&) = delete;

    // Writes `line` once a second has passed since the start: the first report of each `phase` of the
    // run (checking, printing), then when the phase has moved on by a tenth or five seconds have passed
    // since the last line, and when `done` == `total`.
    void Report(const std::string& phase, long long done, long long total, const std::string& line);

private:
    using Clock = std::chrono::steady_clock;
    void Write(const std::string& line);

    const Clock::time_point m_started = Clock::now();
    std::string m_opening;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_finished = false;
    bool m_said = false;
    bool m_phaseSaid = false;
    Clock::time_point m_lastLine;
    std::string m_phase;
    long long m_tenth = 0;
    std::thread m_watch;
};

} // namespace qbm::cli
