#include "output/TPrintJournal.h"

#include "util/Errors.h"

#include <chrono>
#include <cstdio>
#include <ctime>

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
    : m_path(std::move(path)), m_printer(std::move(printerName)) {}

void TPrintJournal::CheckWritable() const {
    std::FILE* f = std::fopen(m_path.c_str(), "ab");
    if (!f) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    std::fclose(f);
}

void TPrintJournal::Page(int page, long long firstLabel, const std::string& firstValue, long long lastLabel,
                         const std::string& lastValue) const {
    Append(Now() + "\t" + OnOneLine(m_printer) + "\tpage " + std::to_string(page) + "\tlabel " +
           std::to_string(firstLabel) + "\t" + OnOneLine(firstValue) + "\tlabel " +
           std::to_string(lastLabel) + "\t" + OnOneLine(lastValue));
}

void TPrintJournal::Ended(const std::string& how) const {
    Append(Now() + "\t" + OnOneLine(m_printer) + "\trun " + OnOneLine(how));
}

void TPrintJournal::Append(const std::string& line) const {
    // Opened for each line and closed at once: what is written survives a crash of the run.
    std::FILE* f = std::fopen(m_path.c_str(), "ab");
    if (!f) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
    const std::string text = line + "\n";
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) throw EInOutError("Cannot write the print journal \"" + m_path + "\"");
}

} // namespace qbm
