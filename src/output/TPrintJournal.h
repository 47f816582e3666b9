#pragma once
// The print journal beside a project (NAME.bpj.log): one line per page that came out, so that after a
// jam the user sees what went out and can print again from a label. A page is listed only once the
// output holds it (a PDF committed, page files in place, a job handed to the printer); a run that
// does not get there ends with a line that says so and why, also when it is stopped by a signal.

#include <memory>
#include <string>

namespace qbm {

class TSignalNote;
class TTempFileGuard;

// "labels.bpj" -> "labels.bpj.log".
std::string JournalPathFor(const std::string& projectPath);

class TPrintJournal {
public:
    TPrintJournal(std::string path, std::string printerName);
    ~TPrintJournal();
    TPrintJournal(const TPrintJournal&) = delete;
    TPrintJournal& operator=(const TPrintJournal&) = delete;

    // Throws EInOutError when the journal cannot be written or is not a regular file, so a run finds
    // out before its first page.
    void CheckWritable() const;
    // Notes a page drawn: time, printer, page, first and last label number and value, separated by
    // tabs. It is listed by Commit.
    void Page(int page, long long firstLabel, const std::string& firstValue, long long lastLabel,
              const std::string& lastValue);
    // The output holds every page noted: they are listed.
    void Commit();
    // A closing line for a run that did not finish ("cancelled after page 2", "failed: ..."); the
    // pages noted did not come out and are not listed.
    void Ended(const std::string& how);

private:
    void Append(const std::string& path, const std::string& line) const;
    std::string Line(const std::string& what) const;
    void DropPending();

    std::string m_path;
    std::string m_printer;
    std::string m_pending; // the lines of pages drawn, beside the journal until the output holds them
    std::unique_ptr<TTempFileGuard> m_pendingGuard;
    std::unique_ptr<TSignalNote> m_stopNote;
    int m_pagesNoted = 0;
};

} // namespace qbm
