#pragma once
// Writes a run's pages as numbered PNG files on all cores: pages are compressed side by side, each
// written to a temporary file and renamed into place in page order, so a file that exists is
// complete and every page before it exists too. At most a few pages are in hand at once.
// Pages whose pixels are all black or white are stored with one bit per pixel, grey pages with
// eight, others in colour; every file carries the page's resolution.

#include "surface/TPageOutput.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qbm {

class TPageFileWriter : public TPageOutput {
public:
    // Files are `folder`/page-0001.png, page-0002.png, ... `threads` 0: one per core.
    explicit TPageFileWriter(std::string folder, int threads = 0);
    ~TPageFileWriter() override;
    TPageFileWriter(const TPageFileWriter&) = delete;
    TPageFileWriter& operator=(const TPageFileWriter&) = delete;

    TBitmap BlankPage(int width, int height, int dpi) override;
    void Put(TBitmap page, int pageNumber) override;
    void Finish() override;
    void Abandon() override;

    std::string PagePath(int pageNumber) const;

private:
    struct TJob {
        TBitmap page;
        int number;
    };
    void Work();
    void WriteOne(TJob& job, int turn);
    void Stop();
    void ThrowIfFailed();

    std::string m_folder;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<TJob> m_queue;
    std::vector<TBitmap> m_spare;
    size_t m_maxInHand = 0;
    size_t m_inHand = 0; // queued or being written
    int m_nextTicket = 1;   // turns are taken in page order, when a worker takes a page
    int m_nextToCommit = 1; // the turn whose file is renamed into place next
    bool m_stopping = false;
    bool m_abandoned = false;
    std::exception_ptr m_failure;
    std::vector<std::thread> m_workers;
};

// PNG file content for a picture (bit depth chosen by its colours as above), for tests and callers
// that write files themselves.
std::string EncodePng(const TBitmap& picture);

} // namespace qbm
