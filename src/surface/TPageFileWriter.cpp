#include "surface/TPageFileWriter.h"

#include "surface/PagePixels.h"
#include "surface/PbmEncoder.h"
#include "surface/PngEncoder.h"
#include "surface/TBitmapImpl.h"
#include "surface/TPixelRows.h"
#include "surface/TiffEncoder.h"
#include "util/Errors.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

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

// Writes `data` to `path` whole, or throws.
void WriteWhole(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw EInOutError("Cannot write file " + path);
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    if (std::fclose(f) != 0 || !ok) throw EInOutError("Cannot write file " + path);
}

} // namespace

TPageFileWriter::TPageFileWriter(std::string folder, int threads, TPageFormat format)
    : m_folder(std::move(folder)), m_format(format) {
    const int n = threads > 0 ? threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    m_maxInHand = kPagesPerWorker * static_cast<size_t>(n) + 1;
    // Every page of the run is drawn on one of these few bitmaps: a page handed back is kept until
    // drawn on again, never freed and allocated anew (a fresh page costs the system zeroing it).
    m_maxSpare = m_maxInHand + 1;
    for (int i = 0; i < n; ++i) m_workers.emplace_back([this] { Work(); });
}

TPageFileWriter::~TPageFileWriter() {
    if (!m_workers.empty()) Abandon();
}

std::string TPageFileWriter::PagePath(int pageNumber) const {
    char name[40];
    std::snprintf(name, sizeof name, "/page-%04d.%s", pageNumber, PageExtension(m_format));
    return m_folder + name;
}

TBitmap TPageFileWriter::BlankPage(int width, int height, int dpi) {
    TBitmap page;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            page = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    if (page.Width() != width || page.Height() != height) page = TBitmap(width, height);
    page.SetResolution(dpi);
    return page;
}

void TPageFileWriter::Put(TBitmap page, int pageNumber) {
    page.Internal().Image(); // no painter left open on a page another thread reads
    std::unique_lock lock(m_mutex);
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
    TPageSurvey survey = SurveyPage(Rgb32Of(page.Internal().Image()));
    switch (m_format) {
    case TPageFormat::Png:
        WriteWhole(path, EncodePng(page, survey));
        break;
    case TPageFormat::Pbm:
        WriteWhole(path, EncodePbm(page, survey));
        break;
    case TPageFormat::Tiff:
        WriteTiff(page, survey, path);
        break;
    }
    return std::move(survey.white);
}

void TPageFileWriter::WriteOne(TJob& job, int turn) {
    const std::string path = PagePath(job.number);
    const std::string temp =
        m_folder + "/.page-" + std::to_string(job.number) + "." + std::to_string(getpid()) + ".part";
    std::exception_ptr failure;
    bool written = false;
    std::vector<uint8_t> whiteRows;
    try {
        try {
            whiteRows = Encode(job.page, temp);
        } catch (const EInOutError&) {
            // The user knows the page by its final name, not the temporary one.
            std::remove(temp.c_str());
            throw EInOutError("Cannot write file " + path);
        }
        written = true;
    } catch (...) {
        failure = std::current_exception();
    }
    Blank(job.page, whiteRows);
    // Files appear in page order: each waits for the pages before it.
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_nextToCommit == turn; });
    if (written) {
        if (m_failure || m_abandoned)
            std::remove(temp.c_str());
        else if (std::rename(temp.c_str(), path.c_str()) != 0) {
            std::remove(temp.c_str());
            failure = std::make_exception_ptr(EInOutError("Cannot write file " + path));
        }
    }
    if (failure && !m_failure) m_failure = failure;
    ++m_nextToCommit;
    --m_inHand;
    if (m_spare.size() < m_maxSpare) m_spare.push_back(std::move(job.page));
    m_changed.notify_all();
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
    const std::lock_guard lock(m_mutex);
    ThrowIfFailed();
}

void TPageFileWriter::Abandon() {
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
}

} // namespace qbm
