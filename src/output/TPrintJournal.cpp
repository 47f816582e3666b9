#include "output/TPrintJournal.h"

#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

namespace qbm {
namespace {

// Tabs and line ends inside a value would break the journal's lines.
std::string OnOneLine(const std::string& s) {
    std::string r;
    for (const unsigned char c : s) {
        if (c == '\\') {
            r += "\\\\";
        } else if (c < 32 || c == 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            r += buf;
        } else {
            r += static_cast<char>(c);
        }
    }
    return r;
}

std::string Now() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&t, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

} // namespace

std::string JournalPathFor(const std::string& projectPath) {
    return projectPath + ".log";
}

TPrintJournal::TPrintJournal(std::string path, std::string printerName)
    : m_path(std::move(path)), m_printer(std::move(printerName)),
      m_pending(m_path + ".pending-" + std::to_string(getpid())),
      m_stopNote(std::make_unique<TSignalNote>(
          m_path, Line("run stopped by a signal before its first page was drawn; no page came out") + "\n")) {
}

TPrintJournal::~TPrintJournal() {
    DropPending();
}

void TPrintJournal::CheckWritable() const {
    // A pipe or a device in the journal's place would block the run or swallow its lines.
    std::error_code error;
    const auto status = std::filesystem::status(m_path, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw EInOutError("Cannot write the print journal \"" + m_path + "\": not a regular file");
    std::FILE* f = std::fopen(m_path.c_str(), "ab");
    if (!f) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    std::fclose(f);
}

std::string TPrintJournal::Line(const std::string& what) const {
    return Now() + "\t" + OnOneLine(m_printer) + "\t" + what;
}

void TPrintJournal::Page(int page, long long firstLabel, const std::string& firstValue, long long lastLabel,
                         const std::string& lastValue) {
    if (!m_pendingGuard) {
        std::remove(m_pending.c_str());
        m_pendingGuard = std::make_unique<TTempFileGuard>(m_pending);
    }
    Append(m_pending, Line("page " + std::to_string(page) + "\tlabel " + std::to_string(firstLabel) + "\t" +
                           OnOneLine(firstValue) + "\tlabel " + std::to_string(lastLabel) + "\t" +
                           OnOneLine(lastValue)));
    ++m_pagesNoted;
    const std::string stopped =
        Line("run stopped by a signal after page " + std::to_string(page) + " was drawn; no page came out") +
        "\n";
    if (m_stopNote) m_stopNote->Set(stopped);
}

void TPrintJournal::Commit() {
    m_stopNote.reset();
    if (m_pagesNoted == 0) return;
    // Copied in pieces: a run of millions of pages has a pending list larger than memory should hold.
    std::ifstream in(m_pending, std::ios::binary);
    std::FILE* f = std::fopen(m_path.c_str(), "ab");
    if (!in || !f) {
        if (f) std::fclose(f);
        throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    }
    std::vector<char> piece(1 << 16);
    bool ok = true;
    while (ok && in) {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        const auto got = static_cast<size_t>(in.gcount());
        ok = std::fwrite(piece.data(), 1, got, f) == got;
    }
    ok = ok && in.eof();
    if (std::fclose(f) != 0 || !ok) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    DropPending();
}

void TPrintJournal::Ended(const std::string& how) {
    m_stopNote.reset();
    DropPending();
    Append(m_path, Line("run " + OnOneLine(how) + "; no page came out"));
}

void TPrintJournal::DropPending() {
    if (m_pendingGuard) std::remove(m_pending.c_str());
    m_pendingGuard.reset();
    m_pagesNoted = 0;
}

void TPrintJournal::Append(const std::string& path, const std::string& line) const {
    // Opened for each line and closed at once: what is written survives a crash of the run.
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    const std::string text = line + "\n";
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
}

} // namespace qbm
