#pragma once
// What a third-party reader prints while it works. The database library reports damage (pages beyond
// the end of a cut file, records it cannot decode) only by printing to the standard streams and
// carrying on with what it could read; capturing that output lets the import call such a file
// damaged instead of importing part of it, and keeps the noise off the user's console.

#include <mutex>
#include <string>

namespace qbm {

class TCapturedDiagnostics {
public:
    // Standard output and error go to a temporary file until Take() or destruction.
    TCapturedDiagnostics();
    ~TCapturedDiagnostics();
    TCapturedDiagnostics(const TCapturedDiagnostics&) = delete;
    TCapturedDiagnostics& operator=(const TCapturedDiagnostics&) = delete;

    // Restores the streams for a while (other code's output is its own) and captures again.
    void Pause() { Restore(); }
    void Resume();
    // Restores the streams and returns what was printed while they were captured.
    std::string Take();

private:
    void Restore();

    std::unique_lock<std::mutex> m_lock;
    int m_savedOut = -1;
    int m_savedErr = -1;
    int m_capture = -1;
};

} // namespace qbm
