#pragma once
// The print journal beside a project (NAME.bpj.log): one line per page sent to the printer, so that
// after a jam the user sees what went out and can print again from a label.

#include <string>

namespace qbm {

// "labels.bpj" -> "labels.bpj.log".
std::string JournalPathFor(const std::string& projectPath);

class TPrintJournal {
public:
    TPrintJournal(std::string path, std::string printerName);

    // Throws EInOutError when the journal cannot be written, so a run finds out before its first page.
    void CheckWritable() const;
    // Time, printer, page, first and last label number and value, separated by tabs.
    void Page(int page, long long firstLabel, const std::string& firstValue, long long lastLabel,
              const std::string& lastValue) const;
    // A closing line for a run that did not finish: "cancelled" or "failed: ...".
    void Ended(const std::string& how) const;

private:
    void Append(const std::string& line) const;
    std::string m_path;
    std::string m_printer;
};

} // namespace qbm
