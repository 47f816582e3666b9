#pragma once
// Reading every label of a run back before it is printed: each label is drawn at the printer's
// resolution, read as a scanner would read it and compared with the value its source gives. Drawing
// stays on the calling thread (the barcodes and fonts are not shared); the reading, which is most of
// the work, runs on every core.

#include "barcode/TBarcodeTypes.h"
#include "output/TLabelFeed.h"
#include "symbols/TSymbology.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qbm {

class TBarcode;
class TStCustom2DBarcode;

struct TVerifyFailure {
    long long label = 0; // the label's number in the run, 1 for the first (a datasheet row's number)
    std::string expected;
    std::string read; // what was read, or why nothing could be
    bool readSomething = false;
};

struct TVerifyReport {
    long long checked = 0;
    long long failed = 0;
    std::vector<TVerifyFailure> failures; // by label number; the first kKeptFailures of them
    bool cancelled = false;
};

// Called now and then with (labels read, labels in all); returning false cancels the verification.
using TVerifyProgress = std::function<bool(long long done, long long total)>;

class TLabelVerifier {
public:
    static constexpr size_t kKeptFailures = 1000;

    // Linear labels drawn with the settings of `working` (module and height in printer pixels).
    explicit TLabelVerifier(const TBarcode& working);
    // 2D labels drawn by `symbol` for a device of dpiX x dpiY, each sized to its symbol as the print
    // loop sizes it; its code and size are put back afterwards.
    TLabelVerifier(TStCustom2DBarcode& symbol, int dpiX, int dpiY, bool maxiCode);
    ~TLabelVerifier();
    TLabelVerifier(const TLabelVerifier&) = delete;
    TLabelVerifier& operator=(const TLabelVerifier&) = delete;

    // Why these labels cannot be read back at all (no reader for their symbology), or empty.
    std::string NoReader() const;

    // Reading threads; all cores by default.
    void SetThreads(int threads) { m_threads = threads; }

    // Verifies the labels at feed indexes first..last (inclusive). A label's number is its index less
    // the feed's FirstIndex, plus one.
    TVerifyReport Verify(TLabelFeed& feed, long long first, long long last,
                         const TVerifyProgress& progress = {});

private:
    struct Job;
    Job Draw(long long label, const TLabelValue& value);

    std::unique_ptr<TBarcode> m_working;
    TStCustom2DBarcode* m_symbol = nullptr;
    int m_dpiX = 0, m_dpiY = 0;
    bool m_maxiCode = false;
    // QR Code, Data Matrix, Aztec, Micro QR: read as text, compared with the Code's text.
    std::optional<TSymbology> m_symbology;
    int m_threads = 0;
};

// The failures as the print command lists them, like its check of the datasheet before printing:
// "Row(3): expected "...", read "..."" (datasheet runs) or "Label(3): ...", the first 20, then
// "... and N more".
std::string VerifyFailuresMessage(const TVerifyReport& report, bool datasheetRows);

} // namespace qbm
