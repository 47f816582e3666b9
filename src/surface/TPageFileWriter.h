#pragma once
// Writes a run's pages as numbered files on all cores: pages are compressed side by side into a
// hidden folder beside the target, and only a run that completes puts its pages in place (removing
// pages an earlier, longer run left). A run that fails or is stopped leaves the folder as it was.
// At most a few pages are in hand at once, fewer the larger they are, so that the pages of a run
// stay within a fixed memory budget.

#include "surface/TPageFormat.h"
#include "surface/TPageOutput.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qbm {

class TTempFolderGuard;

// What the pages a run holds at once (drawn, in hand and kept for reuse) may take together.
inline constexpr long long kPageMemoryBudget = 1024LL << 20;

class TPageFileWriter : public TPageOutput {
public:
    // Files are `folder`/page-0001.png, page-0002.png, ... (or .pbm, .tiff). `threads` 0: one per core.
    explicit TPageFileWriter(std::string folder, int threads = 0, TPageFormat format = TPageFormat::Png);
    ~TPageFileWriter() override;
    TPageFileWriter(const TPageFileWriter&) = delete;
    TPageFileWriter& operator=(const TPageFileWriter&) = delete;

    TBitmap BlankPage(int width, int height, int dpi) override;
    void Put(TBitmap page, int pageNumber) override;
    void Finish() override;
    void Abandon() override;
    void BeginBandedPage(int width, int height, int dpi, int pageNumber) override;
    void SurveyBand(const TBitmap& band, int rows) override;
    void WriteBand(const TBitmap& band, int rows) override;
    void EndBandedPage() override;

    std::string PagePath(int pageNumber) const;
    // Pages of an earlier, longer run that the finished run removed from the folder.
    int StalePagesRemoved() const { return m_staleRemoved; }

private:
    struct TJob {
        TBitmap page;
        int number;
    };
    void Work();
    void WriteOne(TJob& job, int turn);
    std::vector<uint8_t> Encode(const TBitmap& page, const std::string& path);
    // Moves a written page's file into the run's folder in its turn (pages appear in order).
    void Commit(int turn, int pageNumber, const std::string& temp, bool written, std::exception_ptr failure);
    std::string TempPath(int pageNumber) const;
    void Stop();
    void ThrowIfFailed();
    // Makes the hidden folder and fits the pages in hand to the memory budget, at the first page.
    void StartRun(long long pageBytes);
    std::string StagedPath(int pageNumber) const;
    void PutInPlace();
    void RemoveStaging();

    std::string m_folder;
    std::string m_staging; // the hidden folder beside m_folder that holds the run's pages until it ends
    std::unique_ptr<TTempFolderGuard> m_stagingGuard;
    int m_pagesWritten = 0;
    int m_staleRemoved = 0;
    bool m_started = false;
    bool m_synchronous = false; // pages so large that each is written before the next is drawn
    TPageFormat m_format;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<TJob> m_queue;
    std::vector<TBitmap> m_spare; // written pages, white again, to draw the next ones on
    size_t m_maxSpare = 0;
    size_t m_maxInHand = 0;
    size_t m_inHand = 0;    // queued or being written
    int m_nextTicket = 1;   // turns are taken in page order, when a worker takes a page
    int m_nextToCommit = 1; // the turn whose file is renamed into place next
    bool m_stopping = false;
    bool m_abandoned = false;
    std::exception_ptr m_failure;
    std::vector<std::thread> m_workers;

    // The page coming in bands: surveyed first, then written row by row.
    struct TBandedPage;
    std::unique_ptr<TBandedPage> m_banded;
};

} // namespace qbm
