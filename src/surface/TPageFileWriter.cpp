#include "surface/TPageFileWriter.h"

#include "surface/PagePixels.h"
#include "surface/TBitmapImpl.h"
#include "surface/TPageRowWriter.h"
#include "surface/TPixelRows.h"
#include "util/Errors.h"
#include "util/TempFileCleanup.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>

namespace qbm {
namespace {

// Pages in hand besides the one being drawn, per worker.
constexpr size_t kPagesPerWorker = 1;

// Makes a written page white again for the next one, on the worker that wrote it rather than on the
// thread that draws: only rows with ink need it.
void Blank(TBitmap& page, const std::vector<uint8_t>& whiteRows) {
    const TPixelRows& rows = *page.Canvas().PixelRows();
    const uint32_t white = rows.ValueOf(clWhite);
    const auto isWhite = [&](int y) {
        return static_cast<size_t>(y) < whiteRows.size() && whiteRows[static_cast<size_t>(y)];
    };
    for (int y = 0; y < rows.height;) {
        if (isWhite(y)) {
            ++y;
            continue;
        }
        const int top = y;
        while (y < rows.height && !isWhite(y)) ++y;
        rows.Fill(0, top, rows.width, y, white);
    }
}

// The hidden folder beside `folder` (same file system, so its pages move into place by renaming).
std::string StagingFolderFor(const std::string& folder) {
    static std::atomic<int> writers{0};
    std::filesystem::path target = std::filesystem::path(folder).lexically_normal();
    if (target.filename().empty()) target = target.parent_path();
    std::filesystem::path parent = target.parent_path();
    if (parent.empty()) parent = ".";
    return (parent / ("." + target.filename().string() + ".qbm-" + std::to_string(getpid()) + "-" +
                      std::to_string(++writers)))
        .string();
}

// The page number of a file named page-NNNN.EXT (four to nine digits), as the writer names them.
int PageNumberIn(const std::string& name, const std::string& extension) {
    const std::string prefix = "page-";
    if (name.size() <= prefix.size() + extension.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return 0;
    const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (digits.size() < 4 || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), digit)) return 0;
    return std::stoi(digits);
}

} // namespace

TPageFileWriter::TPageFileWriter(std::string folder, int threads, TPageFormat format)
    : m_folder(std::move(folder)), m_staging(StagingFolderFor(m_folder)), m_format(format) {
    const int n = threads > 0 ? threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    m_maxInHand = kPagesPerWorker * static_cast<size_t>(n) + 1;
    // Every page of the run is drawn on one of these few bitmaps: a page handed back is kept until
    // drawn on again, never freed and allocated anew (a fresh page costs the system zeroing it).
    m_maxSpare = m_maxInHand + 1;
    for (int i = 0; i < n; ++i) m_workers.emplace_back([this] { Work(); });
}

TPageFileWriter::~TPageFileWriter() {
    if (!m_workers.empty()) Abandon();
    RemoveStaging();
}

std::string TPageFileWriter::PagePath(int pageNumber) const {
    char name[40];
    std::snprintf(name, sizeof name, "/page-%04d.%s", pageNumber, PageExtension(m_format));
    return m_folder + name;
}

std::string TPageFileWriter::StagedPath(int pageNumber) const {
    return m_staging + PagePath(pageNumber).substr(m_folder.size());
}

void TPageFileWriter::StartRun(long long pageBytes) {
    const std::lock_guard lock(m_mutex);
    if (m_started) return;
    m_started = true;
    std::error_code error;
    std::filesystem::remove_all(m_staging, error); // left by a process of the same number that was killed
    if (!std::filesystem::create_directory(m_staging, error))
        throw EInOutError("Cannot write file " + PagePath(1) + ": cannot make the folder " + m_staging);
    m_stagingGuard = std::make_unique<TTempFolderGuard>(m_staging);
    const long long pages = std::max(1LL, kPageMemoryBudget / std::max(1LL, pageBytes));
    m_maxInHand = std::min<long long>(m_maxInHand, pages - 1);
    if (m_maxInHand == 0) {
        // One page at a time: the page drawn is written before the next one is drawn on it.
        m_synchronous = true;
        m_maxSpare = 1;
        return;
    }
    m_maxSpare =
        std::min<long long>(m_maxSpare, std::max(0LL, pages - 1 - static_cast<long long>(m_maxInHand)));
}

TBitmap TPageFileWriter::BlankPage(int width, int height, int dpi) {
    StartRun(4LL * width * height);
    TBitmap page;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            page = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (page.Width() != width || page.Height() != height) page = TBitmap(width, height);
    if (page.Width() != width || page.Height() != height)
        throw EInOutError("Not enough memory for a page of " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels");
    page.SetResolution(dpi);
    return page;
}

void TPageFileWriter::Put(TBitmap page, int pageNumber) {
    page.Internal().Image(); // no painter left open on a page another thread reads
    std::unique_lock lock(m_mutex);
    if (m_synchronous) {
        ThrowIfFailed();
        ++m_inHand;
        TJob job{std::move(page), pageNumber};
        const int turn = m_nextTicket++;
        lock.unlock();
        WriteOne(job, turn);
        lock.lock();
        ThrowIfFailed();
        return;
    }
    m_changed.wait(lock, [&] { return m_inHand < m_maxInHand || m_failure; });
    ThrowIfFailed();
    m_queue.push_back({std::move(page), pageNumber});
    ++m_inHand;
    m_changed.notify_all();
}

void TPageFileWriter::ThrowIfFailed() {
    if (m_failure) std::rethrow_exception(m_failure);
}

void TPageFileWriter::Work() {
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_stopping; });
        if (m_queue.empty()) return;
        TJob job = std::move(m_queue.front());
        m_queue.pop_front();
        const int turn = m_nextTicket++;
        lock.unlock();
        WriteOne(job, turn);
    }
}

std::vector<uint8_t> TPageFileWriter::Encode(const TBitmap& page, const std::string& path) {
    const QImage rgb = Rgb32Of(page.Internal().Image());
    TPageSurvey survey = SurveyPage(rgb);
    const auto writer =
        MakePageRowWriter(m_format, path, rgb.width(), rgb.height(), page.Resolution(), survey.colours);
    writer->Add(rgb, rgb.height(), survey.sameAsAbove.data());
    writer->Finish();
    return std::move(survey.white);
}

std::string TPageFileWriter::TempPath(int pageNumber) const {
    return m_staging + "/.page-" + std::to_string(pageNumber) + ".part";
}

void TPageFileWriter::WriteOne(TJob& job, int turn) {
    const std::string temp = TempPath(job.number);
    std::exception_ptr failure;
    bool written = false;
    std::vector<uint8_t> whiteRows;
    try {
        try {
            whiteRows = Encode(job.page, temp);
        } catch (const EInOutError&) {
            // The user knows the page by its final name, not the temporary one.
            std::remove(temp.c_str());
            throw EInOutError("Cannot write file " + PagePath(job.number));
        }
        written = true;
    } catch (...) {
        failure = std::current_exception();
    }
    Blank(job.page, whiteRows);
    Commit(turn, job.number, temp, written, failure);
    const std::lock_guard lock(m_mutex);
    --m_inHand;
    if (m_spare.size() < m_maxSpare) m_spare.push_back(std::move(job.page));
    m_changed.notify_all();
}

void TPageFileWriter::Commit(int turn, int pageNumber, const std::string& temp, bool written,
                             std::exception_ptr failure) {
    // Files appear in page order: each waits for the pages before it.
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_nextToCommit == turn; });
    if (written) {
        if (m_failure || m_abandoned)
            std::remove(temp.c_str());
        else if (std::rename(temp.c_str(), StagedPath(pageNumber).c_str()) != 0) {
            std::remove(temp.c_str());
            failure = std::make_exception_ptr(EInOutError("Cannot write file " + PagePath(pageNumber)));
        }
    }
    if (failure && !m_failure) m_failure = failure;
    if (written && !failure) m_pagesWritten = std::max(m_pagesWritten, pageNumber);
    ++m_nextToCommit;
    m_changed.notify_all();
}

// A page too large to hold whole is written by the thread that draws it, band by band: the pages
// before it are out first, and nothing else is in hand meanwhile.
struct TPageFileWriter::TBandedPage {
    int width, height, dpi, number;
    TPageSurveyor surveyor;
    TPageSurvey survey;
    std::unique_ptr<TPageRowWriter> rows;
    int written = 0; // rows of the page written so far
};

void TPageFileWriter::BeginBandedPage(int width, int height, int dpi, int pageNumber) {
    StartRun(4LL * width * height);
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_inHand == 0; });
        ThrowIfFailed();
    }
    m_banded = std::make_unique<TBandedPage>(TBandedPage{width, height, dpi, pageNumber, {}, {}, {}, 0});
}

void TPageFileWriter::SurveyBand(const TBitmap& band, int rows) {
    m_banded->surveyor.Add(Rgb32Of(band.Internal().Image()), rows);
}

void TPageFileWriter::WriteBand(const TBitmap& band, int rows) {
    TBandedPage& page = *m_banded;
    try {
        if (!page.rows) {
            page.survey = page.surveyor.Take();
            page.rows = MakePageRowWriter(m_format, TempPath(page.number), page.width, page.height, page.dpi,
                                          page.survey.colours);
        }
        page.rows->Add(Rgb32Of(band.Internal().Image()), rows, page.survey.sameAsAbove.data() + page.written);
        page.written += rows;
    } catch (const EInOutError&) {
        page.rows.reset();
        std::remove(TempPath(page.number).c_str());
        throw EInOutError("Cannot write file " + PagePath(page.number));
    }
}

void TPageFileWriter::EndBandedPage() {
    const std::unique_ptr<TBandedPage> page = std::move(m_banded);
    const std::string temp = TempPath(page->number);
    std::exception_ptr failure;
    try {
        page->rows->Finish();
    } catch (const EInOutError&) {
        std::remove(temp.c_str());
        failure = std::make_exception_ptr(EInOutError("Cannot write file " + PagePath(page->number)));
    }
    page->rows.reset();
    int turn = 0;
    {
        const std::lock_guard lock(m_mutex);
        turn = m_nextTicket++;
    }
    Commit(turn, page->number, temp, !failure, failure);
    const std::lock_guard lock(m_mutex);
    ThrowIfFailed();
}

void TPageFileWriter::Stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    for (auto& t : m_workers) t.join();
    m_workers.clear();
}

void TPageFileWriter::Finish() {
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_inHand == 0; });
    }
    Stop();
    {
        const std::lock_guard lock(m_mutex);
        if (m_failure) {
            RemoveStaging();
            std::rethrow_exception(m_failure);
        }
    }
    PutInPlace();
}

void TPageFileWriter::PutInPlace() {
    namespace fs = std::filesystem;
    std::error_code error;
    // Pages are numbered from 1 in every run: files beyond this run's last page are left from an
    // earlier, longer run and would be printed with it. Only names of the page pattern are touched.
    const std::string extension = std::string(".") + PageExtension(m_format);
    for (const auto& entry : fs::directory_iterator(m_folder, error)) {
        const int number = PageNumberIn(entry.path().filename().string(), extension);
        if (number > m_pagesWritten && fs::remove(entry.path(), error)) ++m_staleRemoved;
    }
    for (int n = 1; n <= m_pagesWritten; ++n)
        if (std::rename(StagedPath(n).c_str(), PagePath(n).c_str()) != 0) {
            RemoveStaging();
            throw EInOutError("Cannot write file " + PagePath(n));
        }
    RemoveStaging();
}

void TPageFileWriter::RemoveStaging() {
    if (!m_stagingGuard) return;
    std::error_code error;
    std::filesystem::remove_all(m_staging, error);
    m_stagingGuard.reset();
}

void TPageFileWriter::Abandon() {
    m_banded.reset(); // its file, half written, goes with the hidden folder
    {
        std::unique_lock lock(m_mutex);
        m_abandoned = true;
        // Pages not started are dropped (they have no turn yet); pages being written finish and
        // remove their temporary files.
        m_inHand -= m_queue.size();
        m_queue.clear();
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_inHand == 0; });
    }
    Stop();
    RemoveStaging();
}

} // namespace qbm
