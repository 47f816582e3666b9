#pragma once
// Temporary files that a stopped program must not leave behind. A file being written beside its
// target (a print run's PDF, a picture about to replace the old one) is registered while it exists;
// when the program is stopped by Ctrl+C, a terminal hang-up or a termination request, the registered
// files are removed before the program ends as the signal asks.

#include <string>

namespace qbm {

// Registers `path` for removal on those signals for the lifetime of the guard.
class TTempFileGuard {
public:
    explicit TTempFileGuard(const std::string& path);
    ~TTempFileGuard();
    TTempFileGuard(const TTempFileGuard&) = delete;
    TTempFileGuard& operator=(const TTempFileGuard&) = delete;

private:
    int m_slot = -1; // -1: no room left; the file is then only removed by the code that owns it
};

// Registers a folder of temporary files (a print run's pages before they are put in place): on those
// signals every file in it and the folder itself are removed. One at a time; a second is not
// registered and is then only removed by the code that owns it.
class TTempFolderGuard {
public:
    explicit TTempFolderGuard(const std::string& path);
    ~TTempFolderGuard();
    TTempFolderGuard(const TTempFolderGuard&) = delete;
    TTempFolderGuard& operator=(const TTempFolderGuard&) = delete;

private:
    bool m_held = false;
};

// A line appended to a file when the program is stopped by one of those signals: how a print run's
// journal learns that the run did not finish. One note at a time; Set replaces the text.
class TSignalNote {
public:
    TSignalNote(const std::string& path, const std::string& line);
    ~TSignalNote();
    TSignalNote(const TSignalNote&) = delete;
    TSignalNote& operator=(const TSignalNote&) = delete;
    void Set(const std::string& line);

private:
    bool m_held = false;
};

// Installs the handlers for SIGINT, SIGTERM and SIGHUP. Called once by programs without an event
// loop of their own (the command-line tool).
void RemoveTempFilesOnSignals();

} // namespace qbm
