#include "output/TLabelVerifier.h"

#include "barcode/BarcodeRender.h"
#include "barcode/TBarcode.h"
#include "barcode2d/TStCustom2DBarcode.h"
#include "output/ScanExpectation.h"
#include "output/SymbolReader.h"
#include "output/TGreyPicture.h"
#include "symbols/TStSymbolBarcode.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace qbm {
namespace {

constexpr int kListedFailures = 20;
constexpr int kQuietModules = 10;

// Shown in messages: printable ASCII as it is, other bytes as \xHH.
std::string Shown(const std::string& s) {
    static const char* hex = "0123456789ABCDEF";
    std::string r;
    for (const unsigned char c : s) {
        if (c >= 32 && c < 127) {
            r += static_cast<char>(c);
        } else {
            r += "\\x";
            r += hex[c >> 4];
            r += hex[c & 15];
        }
    }
    return r;
}

} // namespace

struct TLabelVerifier::Job {
    long long label = 0;
    TGreyPicture picture;
    std::string expected;
    bool compare = true; // false: reading it at all is the test
    std::string error;   // the engine refused to draw it
};

namespace {

// Labels drawn and waiting to be read; the drawing thread waits while it is full.
template <typename T> class TBoundedQueue {
public:
    explicit TBoundedQueue(size_t capacity) : m_capacity(capacity) {}
    void Push(T item) {
        std::unique_lock lock(m_mutex);
        m_notFull.wait(lock, [&] { return m_items.size() < m_capacity || m_closed; });
        m_items.push_back(std::move(item));
        m_notEmpty.notify_one();
    }
    std::optional<T> Pop() {
        std::unique_lock lock(m_mutex);
        m_notEmpty.wait(lock, [&] { return !m_items.empty() || m_closed; });
        if (m_items.empty()) return std::nullopt;
        T item = std::move(m_items.front());
        m_items.pop_front();
        m_notFull.notify_one();
        return item;
    }
    void Close() {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_notEmpty.notify_all();
        m_notFull.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_notFull, m_notEmpty;
    std::deque<T> m_items;
    size_t m_capacity;
    bool m_closed = false;
};

} // namespace

TLabelVerifier::TLabelVerifier(const TBarcode& working) : m_working(std::make_unique<TBarcode>()) {
    m_working->Assign(working);
    m_working->SetOnChange({});
    m_working->SetShowTextFont(working.ShowTextFont());
    m_working->SetExtCapFont(working.ExtCapFont());
    m_working->SetShowTextPosition(working.ShowTextPosition());
    m_working->ExtCaptionPosition = working.ExtCaptionPosition;
}

TLabelVerifier::TLabelVerifier(TStCustom2DBarcode& symbol, int dpiX, int dpiY, bool maxiCode)
    : m_symbol(&symbol), m_dpiX(dpiX), m_dpiY(dpiY), m_maxiCode(maxiCode) {
    if (const auto* symbols = dynamic_cast<const TStSymbolBarcode*>(&symbol))
        m_symbology = symbols->Settings().symbology;
}

TLabelVerifier::~TLabelVerifier() = default;

std::string TLabelVerifier::NoReader() const {
    if (m_working && !CanReadLinear(m_working->Typ()))
        return std::string("no reader for ") + m_working->TypeName() + " symbols";
    if (m_symbology && !CanReadSymbology(*m_symbology))
        return "no reader for " + SymbologyName(*m_symbology) + " symbols";
    return {};
}

TLabelVerifier::Job TLabelVerifier::Draw(long long label, const TLabelValue& value) {
    Job job;
    job.label = label;
    try {
        if (m_working) {
            if (const std::string reason = NoReader(); !reason.empty()) {
                job.error = reason;
                return job;
            }
            job.expected = ExpectedLinearReading(*m_working, value.code);
            m_working->SetText(value.code);
            m_working->ExtCaption = value.caption;
            const int margin = std::max(20, kQuietModules * m_working->Modul());
            // Readers take grey: drawn so, the bars are a quarter of the bytes and need no conversion.
            job.picture = TGreyPicture::Of(RenderBarcode(*m_working, margin, TBitmapPixels::Grey));
        } else if (const std::string reason = NoReader(); !reason.empty()) {
            job.error = reason;
            return job;
        } else {
            // These symbols hold the Code's text as it is, without escapes.
            const std::optional<std::string> expected =
                m_symbology ? SymbolText(value.code) : Expected2DReading(value.code);
            job.compare = expected.has_value();
            job.expected = expected.value_or(value.code);
            m_symbol->SetCode(value.code);
            // Sized as the print loop sizes it, so what is read is what will be printed.
            SizeToSymbol(*m_symbol);
            TBitmap picture;
            m_symbol->RenderToBitmap(picture, m_dpiX, m_dpiY);
            job.picture = TGreyPicture::Of(picture);
        }
    } catch (const std::exception& e) {
        job.error = e.what();
    }
    return job;
}

TVerifyReport TLabelVerifier::Verify(TLabelFeed& feed, long long first, long long last,
                                     const TVerifyProgress& progress) {
    TVerifyReport report;
    first = std::max(first, feed.FirstIndex());
    last = std::min(last, feed.Count() - 1);
    if (last < first) return report;
    const long long total = last - first + 1;
    const std::string savedCode = m_symbol ? m_symbol->Code() : std::string();
    const int savedWidth = m_symbol ? m_symbol->Width() : 0, savedHeight = m_symbol ? m_symbol->Height() : 0;

    const int threads =
        m_threads > 0 ? m_threads : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    TBoundedQueue<Job> queue(static_cast<size_t>(threads) * 4);
    std::mutex resultMutex;
    std::atomic<long long> done{0};
    const TBarcodeType type = m_working ? m_working->Typ() : bcCodeEAN13;
    const bool checksum = m_working && m_working->Checksum();

    auto read = [&] {
        while (std::optional<Job> job = queue.Pop()) {
            TVerifyFailure failure;
            failure.label = job->label;
            failure.expected = job->expected;
            bool ok = false;
            if (!job->error.empty()) {
                failure.read = "not drawn: " + job->error;
            } else {
                const std::optional<std::string> got =
                    m_working     ? ReadLinearSymbol(job->picture, type, checksum)
                    : m_symbology ? ReadSymbologyText(job->picture, *m_symbology)
                                  : Read2DSymbol(job->picture, m_maxiCode);
                failure.readSomething = got.has_value();
                failure.read = got.value_or("nothing");
                ok = got && (!job->compare ||
                             (m_working ? ReadingMatches(type, job->expected, *got) : *got == job->expected));
            }
            if (!ok) {
                std::lock_guard lock(resultMutex);
                ++report.failed;
                if (report.failures.size() < kKeptFailures) report.failures.push_back(std::move(failure));
            }
            ++done;
        }
    };

    std::vector<std::thread> readers;
    readers.reserve(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t) readers.emplace_back(read);
    // Whatever ends the drawing, the readers finish what was queued and stop.
    struct TJoin {
        TBoundedQueue<Job>& queue;
        std::vector<std::thread>& readers;
        ~TJoin() {
            queue.Close();
            for (std::thread& t : readers) t.join();
        }
    };
    {
        TJoin join{queue, readers};
        // Often enough that a caller can say how far a run of millions of labels is within a second.
        const long long step = std::clamp(total / 100, 1LL, 256LL);
        for (long long i = first; i <= last; ++i) {
            const long long label = i - feed.FirstIndex() + 1;
            queue.Push(Draw(label, feed.Value(i)));
            ++report.checked;
            if (progress && (i - first) % step == 0 && !progress(done.load(), total)) {
                report.cancelled = true;
                break;
            }
        }
    }
    if (m_symbol && (m_symbol->Code() != savedCode || m_symbol->Width() != savedWidth ||
                     m_symbol->Height() != savedHeight)) {
        try {
            m_symbol->SetCode(savedCode);
            m_symbol->SetBounds(savedWidth, savedHeight);
        } catch (const std::exception&) {
        }
    }
    if (progress && !report.cancelled) progress(total, total);
    std::sort(report.failures.begin(), report.failures.end(),
              [](const TVerifyFailure& a, const TVerifyFailure& b) { return a.label < b.label; });
    return report;
}

std::string VerifyFailuresMessage(const TVerifyReport& report, bool datasheetRows) {
    std::string message;
    int listed = 0;
    for (const TVerifyFailure& f : report.failures) {
        if (listed++ == kListedFailures) break;
        if (!message.empty()) message += "\n";
        message += (datasheetRows ? "Row(" : "Label(") + std::to_string(f.label) + "): expected \"" +
                   Shown(f.expected) + "\", read " +
                   (f.readSomething ? "\"" + Shown(f.read) + "\"" : Shown(f.read));
    }
    if (report.failed > kListedFailures)
        message += "\n... and " + std::to_string(report.failed - kListedFailures) + " more";
    return message;
}

} // namespace qbm
