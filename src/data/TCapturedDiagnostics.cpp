#include "data/TCapturedDiagnostics.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace qbm {
namespace {

// The standard streams belong to the whole process: one capture at a time.
std::mutex g_streams;

} // namespace

TCapturedDiagnostics::TCapturedDiagnostics() : m_lock(g_streams) {
    std::fflush(stdout);
    std::fflush(stderr);
    char name[] = "/tmp/qbm-diagnostics-XXXXXX";
    m_capture = ::mkstemp(name);
    if (m_capture < 0) return; // nothing captured: the reader's own checks still apply
    ::unlink(name);
    Resume();
}

void TCapturedDiagnostics::Resume() {
    if (m_capture < 0 || m_savedOut >= 0) return;
    std::fflush(stdout);
    std::fflush(stderr);
    m_savedOut = ::dup(STDOUT_FILENO);
    m_savedErr = ::dup(STDERR_FILENO);
    if (m_savedOut < 0 || m_savedErr < 0) {
        Restore();
        return;
    }
    ::dup2(m_capture, STDOUT_FILENO);
    ::dup2(m_capture, STDERR_FILENO);
}

TCapturedDiagnostics::~TCapturedDiagnostics() {
    Restore();
    if (m_capture >= 0) ::close(m_capture);
}

void TCapturedDiagnostics::Restore() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (m_savedOut >= 0) {
        ::dup2(m_savedOut, STDOUT_FILENO);
        ::close(m_savedOut);
        m_savedOut = -1;
    }
    if (m_savedErr >= 0) {
        ::dup2(m_savedErr, STDERR_FILENO);
        ::close(m_savedErr);
        m_savedErr = -1;
    }
}

std::string TCapturedDiagnostics::Take() {
    Restore();
    std::string text;
    if (m_capture < 0) return text;
    ::lseek(m_capture, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = ::read(m_capture, buffer, sizeof buffer)) > 0 && text.size() < 65536;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(m_capture);
    m_capture = -1;
    return text;
}

} // namespace qbm
