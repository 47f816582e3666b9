#pragma once
// Writes a run's pages as numbered files on all cores: pages are compressed side by side, each
// written to a temporary file and renamed into place in page order, so a file that exists is
// complete and every page before it exists too. At most a few pages are in hand at once.

#include "surface/TPageFormat.h"
#include "surface/TPageOutput.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qbm {

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

    std::string PagePath(int pageNumber) const;

private:
    struct TJob {
        TBitmap page;
        int number;
    };
    void Work();
    void WriteOne(TJob& job, int turn);
    std::vector<uint8_t> Encode(const TBitmap& page, const std::string& path);
    void Stop();
    void ThrowIfFailed();

    std::string m_folder;
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
};

} // namespace qbm
